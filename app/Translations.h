#pragma once

#include <QString>

class QCoreApplication;

// The interface language: the catalogue for `code` ("de", "es_ES") or, when it is empty, for the
// desktop's languages, with Qt's own catalogue for the standard buttons and file dialogs. English,
// and a language without a catalogue, keep the texts as the program writes them. A code also sets
// the locale the windows write numbers in.
struct LanguageChoice
{
    bool known = true;      // false: `code` names no language Qt knows
    bool installed = false; // a catalogue of the program's own was loaded
};
LanguageChoice InstallTranslations(QCoreApplication& app, const QString& code);
