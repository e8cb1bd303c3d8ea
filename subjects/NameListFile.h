#pragma once

#include "subjects/OperatorTextFile.h"
#include "subjects/TextLines.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Subject name list files: one name per line, UTF-8, read by the rules of TextLines.

struct NameListRead
{
    TextLines text; // text.lines are the names
    QString error;  // why the file could not be read; empty when it was
};

// Files larger than this are not name lists; reading one would stall the window.
constexpr qint64 MaxNameListFileBytes = 16 * 1024 * 1024;
static_assert(MaxNameListFileBytes == OperatorTextFile::MaxBytes);

NameListRead readNameListFile(const QString& path);

// The bytes of a name list file: each name in UTF-8 followed by a line end.
QByteArray nameListBytes(const QStringList& names);
// Why the names cannot be written so that they read back the same (a name holding a line end or
// longer than a line may be); empty when they can.
QString nameListProblem(const QStringList& names);
// Writes the whole file or leaves the old one as it was; returns why it failed, empty on success.
QString writeNameListFile(const QString& path, const QStringList& names);

// The ".txt" rule for exported lists: ".txt" is appended unless the name holds it in any case.
QString withTextSuffix(const QString& name);

// Operator messages shared by every import and export of a name list.
QString nameListReadFailedText(const QString& path, const QString& error);
QString nameListImportStoppedText(const QString& path, const TextLines& text);
// What the operator is told after an import: the stop and the lines skipped; empty when neither.
QString nameListImportNoteText(const QString& path, const TextLines& text);
QString nameListWriteFailedText(const QString& path, const QString& error);
