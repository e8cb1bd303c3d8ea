#include "subjects/NameListFile.h"

#include "common/WriteWhole.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

NameListRead readNameListFile(const QString& path)
{
    NameListRead result;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.error = QStringLiteral("it is a folder");
    } else if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
    } else if (file.size() > MaxNameListFileBytes) {
        result.error = QStringLiteral("the file is %1 MB; a list of names is at most %2 MB")
                           .arg(file.size() / (1024 * 1024))
                           .arg(MaxNameListFileBytes / (1024 * 1024));
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            result.error = file.errorString();
        else
            result.text = readTextLines(bytes);
    }
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
            return QStringLiteral("name %1 holds a line end").arg(i + 1);
        const qsizetype bytes = name.toUtf8().size();
        if (bytes > TextLines::MaxLineBytes)
            return QStringLiteral("name %1 is %2 bytes long; a name may hold at most %3 bytes")
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
        return QStringLiteral("it is a folder");
    const QByteArray bytes = nameListBytes(names);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, bytes) && file.commit())
        return QString();
    const QString error = file.errorString();
    file.cancelWriting();
    return error.isEmpty() ? QStringLiteral("the file could not be written") : error;
}

QString withTextSuffix(const QString& name)
{
    if (name.contains(QStringLiteral(".txt"), Qt::CaseInsensitive))
        return name;
    return name + QStringLiteral(".txt");
}

QString nameListReadFailedText(const QString& path, const QString& error)
{
    return QStringLiteral("The list of names could not be read from \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), error);
}

QString nameListImportStoppedText(const QString& path, const TextLines& text)
{
    return QStringLiteral("Imported %1 names from \"%2\", then stopped: %3. The names from that line "
                          "on were not imported.")
        .arg(text.lines.size())
        .arg(QDir::toNativeSeparators(path), text.stopReason());
}

QString nameListWriteFailedText(const QString& path, const QString& error)
{
    return QStringLiteral("The list of names could not be written to \"%1\": %2. Nothing was written.")
        .arg(QDir::toNativeSeparators(path), error);
}
