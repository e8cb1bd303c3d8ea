#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool Install(QCoreApplication& app, const QLocale& locale, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

LanguageChoice InstallTranslations(QCoreApplication& app, const QString& code)
{
    LanguageChoice choice;
    QLocale locale = QLocale::system();
    if (!code.isEmpty()) {
        locale = QLocale(code);
        // QLocale turns a code it does not know into the C locale; "C" itself is English.
        choice.known = locale.language() != QLocale::C || code == QLatin1String("C");
        QLocale::setDefault(locale);
    }
    // English is the language the texts are written in: no catalogue, whatever else is installed.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return choice;
    choice.installed = Install(app, locale, QStringLiteral("swiftlane"), QStringLiteral(":/i18n"));
    if (choice.installed)
        Install(app, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return choice;
}
