#include "subjects/TextLines.h"

#include <QCoreApplication>

#include "common/Utf8.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <vector>

namespace {

constexpr int NamedSkippedLines = 10;

bool holdsControlCharacter(const QString& line)
{
    for (const QChar c : line) {
        const char16_t code = c.unicode();
        if ((code < 0x20 && code != u'\t') || (code >= 0x7F && code <= 0x9F))
            return true;
    }
    return false;
}

} // namespace

QString TextLines::skipReason() const
{
    if (skippedLines == 0)
        return QString();
    QStringList numbers;
    for (const int number : skippedNumbers)
        numbers << QString::number(number);
    if (skippedLines > skippedNumbers.size())
        numbers << QStringLiteral("...");
    const QString lines = numbers.join(QStringLiteral(", "));
    if (skippedLines == 1)
        return QCoreApplication::translate("TextLines",
                                           "1 line holds control characters and was skipped (line %1)")
            .arg(lines);
    return QCoreApplication::translate("TextLines",
                                       "%1 lines hold control characters and were skipped (lines %2)")
        .arg(skippedLines)
        .arg(lines);
}

QString TextLines::stopReason() const
{
    if (!stopped())
        return QString();
    return QCoreApplication::translate("TextLines",
                                       "line %1 is %2 bytes long; a line may hold at most %3 bytes")
        .arg(stopLine)
        .arg(stopLineBytes)
        .arg(MaxLineBytes);
}

TextLines readTextLines(const QByteArray& bytes)
{
    TextLines result;
    std::vector<QByteArrayView> kept;
    std::vector<int> keptNumbers;
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    int lineNumber = 0;
    while (!rest.isEmpty()) {
        ++lineNumber;
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        // CRs at a line's end belong to its line end (also where a file was cut between CR and
        // LF); a name written back would lose them anyway.
        while (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > TextLines::MaxLineBytes) {
            result.stopLine = lineNumber;
            result.stopLineBytes = static_cast<int>(line.size());
            break;
        }
        if (!line.isEmpty()) {
            kept.push_back(line);
            keptNumbers.push_back(lineNumber);
        }
    }

    // One decision for the whole file: a Latin-1 file is never half read as UTF-8.
    QByteArray read;
    for (const QByteArrayView line : kept)
        read.append(line).append('\n');
    const bool utf8 = IsUtf8(read);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        // Only the file's first bytes may be a byte order mark; inside, U+FEFF is kept as written.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        const QString line = utf8 ? QString(decoder(kept[i])) : QString::fromLatin1(kept[i]);
        if (holdsControlCharacter(line)) {
            if (++result.skippedLines <= NamedSkippedLines)
                result.skippedNumbers << keptNumbers[i];
            continue;
        }
        result.lines << line;
    }
    return result;
}
