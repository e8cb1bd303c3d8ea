#include "subjects/TagNames.h"

#include <QCoreApplication>

#include "common/TokenSplit.h"
#include "subjects/OperatorTextFile.h"
#include "subjects/TextLines.h"

#include <QFileInfo>
#include <QStringList>

namespace {

std::string Trimmed(const std::string& field)
{
    return QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size()))
        .trimmed()
        .toUtf8()
        .toStdString();
}

// False for a line with fewer than two fields.
bool StorePair(const QString& line, TagNameMap& tags)
{
    const QByteArray bytes = line.toUtf8();
    const std::vector<std::string> fields =
        SplitTokens(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), ",");
    if (fields.size() < 2)
        return false;
    tags[Trimmed(fields[0])] = Trimmed(fields[1]);
    return true;
}

} // namespace

TagFileImport ImportTagNameFile(const QString& path, TagNameMap& tags)
{
    TagFileImport result;
    const OperatorTextFile file =
        readOperatorTextFile(path, QCoreApplication::translate("TagNames", "a tag/name list"));
    if (!file.error.isEmpty()) {
        result.error = file.error;
        return result;
    }
    result.opened = true;
    const TextLines text = readTextLines(file.bytes);
    for (const QString& line : text.lines) {
        if (StorePair(line, tags))
            ++result.pairs;
    }
    result.stoppedAtLine = text.stopLine;
    result.skipReason = text.skipReason();
    return result;
}

QString TagImportStoppedText(const QString& path, const TagFileImport& result)
{
    return QCoreApplication::translate(
               "TagNames", "Line %1 of %2 is longer than %3 bytes, so the import stopped there.\n"
                           "%4 tag/name pairs before it were imported; that line and the lines after "
                           "it were not.")
        .arg(result.stoppedAtLine)
        .arg(QFileInfo(path).fileName())
        .arg(TextLines::MaxLineBytes)
        .arg(result.pairs);
}

QString TagImportNoteText(const QString& path, const TagFileImport& result)
{
    QStringList parts;
    if (result.stoppedAtLine > 0)
        parts << TagImportStoppedText(path, result);
    if (!result.skipReason.isEmpty())
        parts << QCoreApplication::translate("TagNames", "In %1, %2.")
                     .arg(QFileInfo(path).fileName(), result.skipReason);
    return parts.join(QLatin1Char('\n'));
}

QString SubjectNameForTag(const TagNameMap& tags, const QString& tag)
{
    const auto it = tags.find(tag.toUtf8().toStdString());
    return it == tags.end() ? tag : QString::fromStdString(it->second);
}
