#include "subjects/NameListFile.h"

#include <QCoreApplication>

#include "common/WriteWhole.h"
#include "subjects/OperatorTextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

NameListRead readNameListFile(const QString& path)
{
    NameListRead result;
    const OperatorTextFile file =
        readOperatorTextFile(path, QCoreApplication::translate("NameListFile", "a list of names"));
    result.error = file.error;
    if (result.error.isEmpty())
        result.text = readTextLines(file.bytes);
    return result;
}

QByteArray nameListBytes(const QStringList& names)
{
    QByteArray bytes;
    for (const QString& name : names)
        bytes.append(name.toUtf8()).append('\n');
    return bytes;
}

QString nameListProblem(const QStringList& names)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (name.contains(QLatin1Char('\n')))
            return QCoreApplication::translate("NameListFile", "name %1 holds a line end").arg(i + 1);
        const qsizetype bytes = name.toUtf8().size();
        if (bytes > TextLines::MaxLineBytes)
            return QCoreApplication::translate("NameListFile",
                                               "name %1 is %2 bytes long; a name may hold at most %3 bytes")
                .arg(i + 1)
                .arg(bytes)
                .arg(TextLines::MaxLineBytes);
    }
    return QString();
}

QString writeNameListFile(const QString& path, const QStringList& names)
{
    const QString problem = nameListProblem(names);
    if (!problem.isEmpty())
        return problem;
    if (QFileInfo(path).isDir())
        return QCoreApplication::translate("NameListFile", "it is a folder");
    const QByteArray bytes = nameListBytes(names);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, bytes) && file.commit())
        return QString();
    const QString error = file.errorString();
    file.cancelWriting();
    return error.isEmpty() ? QCoreApplication::translate("NameListFile", "the file could not be written")
                           : error;
}

QString withTextSuffix(const QString& name)
{
    if (name.contains(QStringLiteral(".txt"), Qt::CaseInsensitive))
        return name;
    return name + QStringLiteral(".txt");
}

QString nameListReadFailedText(const QString& path, const QString& error)
{
    return QCoreApplication::translate("NameListFile", "The list of names could not be read from \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), error);
}

QString nameListImportStoppedText(const QString& path, const TextLines& text)
{
    return QCoreApplication::translate(
               "NameListFile", "Imported %1 names from \"%2\", then stopped: %3. The names from that line "
                               "on were not imported.")
        .arg(text.lines.size())
        .arg(QDir::toNativeSeparators(path), text.stopReason());
}

QString nameListImportNoteText(const QString& path, const TextLines& text)
{
    QString note = text.stopped() ? nameListImportStoppedText(path, text) : QString();
    if (text.skippedLines > 0) {
        if (note.isEmpty())
            note = QCoreApplication::translate("NameListFile", "Imported %1 names from \"%2\".")
                       .arg(text.lines.size())
                       .arg(QDir::toNativeSeparators(path));
        note += QCoreApplication::translate("NameListFile",
                                            " %1: a name may hold tabs but no other control characters.")
                    .arg(text.skipReason());
    }
    return note;
}

QString nameListWriteFailedText(const QString& path, const QString& error)
{
    return QCoreApplication::translate(
               "NameListFile", "The list of names could not be written to \"%1\": %2. Nothing was written.")
        .arg(QDir::toNativeSeparators(path), error);
}
