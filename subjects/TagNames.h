#pragma once

#include <QString>

#include <map>
#include <string>

// RFID tag to subject name, both as UTF-8 text, one entry per distinct tag.
using TagNameMap = std::map<std::string, std::string>;

struct TagFileImport
{
    bool opened = false;
    QString error;         // why it could not be read
    int pairs = 0;         // lines stored, replacements included
    int stoppedAtLine = 0; // the line too long that ended the import; 0: read to the end
    QString skipReason;    // lines skipped for control characters; empty when none
};

// Reads an RFID tag/name file into `tags`: one "tag,name" pair a line, more fields ignored,
// lines with fewer skipped, both fields trimmed. A later line replaces the name of a known tag;
// entries the file does not mention stay.
TagFileImport ImportTagNameFile(const QString& path, TagNameMap& tags);

// The operator's message when the import stopped at a line that is too long.
QString TagImportStoppedText(const QString& path, const TagFileImport& result);
// What the operator is told after an import that opened: the stop and the lines skipped; empty
// when neither.
QString TagImportNoteText(const QString& path, const TagFileImport& result);

// The subject name of a scanned tag: the mapped name when the map knows the tag, else the tag.
QString SubjectNameForTag(const TagNameMap& tags, const QString& tag);
