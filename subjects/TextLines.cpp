#include "subjects/TextLines.h"

#include "common/Utf8.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <vector>

QString TextLines::stopReason() const
{
    if (!stopped())
        return QString();
    return QStringLiteral("line %1 is %2 bytes long; a line may hold at most %3 bytes")
        .arg(stopLine)
        .arg(stopLineBytes)
        .arg(MaxLineBytes);
}

TextLines readTextLines(const QByteArray& bytes)
{
    TextLines result;
    std::vector<QByteArrayView> kept;
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
        if (!line.isEmpty())
            kept.push_back(line);
    }

    // One decision for the whole file: a Latin-1 file is never half read as UTF-8.
    QByteArray read;
    for (const QByteArrayView line : kept)
        read.append(line).append('\n');
    const bool utf8 = IsUtf8(read);
    for (const QByteArrayView line : kept) {
        // Only the file's first bytes may be a byte order mark; inside, U+FEFF is kept as written.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        result.lines << (utf8 ? QString(decoder(line)) : QString::fromLatin1(line));
    }
    return result;
}
