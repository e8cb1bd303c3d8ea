#include "devices/session/SessionFormat.h"

#include "common/Hex.h"
#include "platform/RegularFile.h"

#include <QFile>

namespace session {
namespace {

void AppendEscaped(QByteArray& out, const QByteArray& bytes)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte > 0x7E) {
            out += "\\x";
            out += HexDigit(byte >> 4);
            out += HexDigit(byte);
        } else {
            out += c;
        }
    }
}

std::optional<QByteArray> Unescape(QByteArrayView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\':
            bytes += '\\';
            break;
        case 'r':
            bytes += '\r';
            break;
        case 'n':
            bytes += '\n';
            break;
        case 'x': {
            const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
            if (high < 0 || low < 0)
                return std::nullopt;
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return bytes;
}

std::optional<std::int64_t> ReadTime(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<Record> ParseRecord(QByteArrayView line)
{
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return std::nullopt;
    const auto atUs = ReadTime(line.first(space));
    if (!atUs)
        return std::nullopt;
    const QByteArrayView rest = line.sliced(space + 1);
    if (rest == "close")
        return Record{*atUs, RecordKind::Close, {}};
    if (rest.startsWith("open "))
        return Record{*atUs, RecordKind::Open, rest.sliced(5).toByteArray()};
    if (!rest.startsWith("read "))
        return std::nullopt;
    auto bytes = Unescape(rest.sliced(5));
    if (!bytes || bytes->isEmpty())
        return std::nullopt;
    return Record{*atUs, RecordKind::Read, std::move(*bytes)};
}

} // namespace

bool operator==(const Record& a, const Record& b)
{
    return a.atUs == b.atUs && a.kind == b.kind && a.data == b.data;
}

QByteArray FileHeader(const QDateTime& started)
{
    return "# Swiftlane gate session 1\n# started " + started.toString(Qt::ISODateWithMs).toLatin1() + '\n';
}

QByteArray EncodeRecord(const Record& record)
{
    QByteArray line = QByteArray::number(static_cast<qlonglong>(record.atUs));
    switch (record.kind) {
    case RecordKind::Open:
        line += " open ";
        AppendEscaped(line, record.data);
        break;
    case RecordKind::Close:
        line += " close";
        break;
    case RecordKind::Read:
        line += " read ";
        AppendEscaped(line, record.data);
        break;
    }
    line += '\n';
    return line;
}

std::optional<Record> DecodeLine(QByteArrayView line, bool* malformed)
{
    if (malformed)
        *malformed = false;
    if (line.isEmpty() || line.startsWith('#'))
        return std::nullopt;
    auto record = ParseRecord(line);
    if (!record && malformed)
        *malformed = true;
    return record;
}

ParsedSession ParseSession(QByteArrayView bytes)
{
    ParsedSession parsed;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            parsed.cutLastLine = true;
            break;
        }
        bool malformed = false;
        if (auto record = DecodeLine(bytes.sliced(start, end - start), &malformed))
            parsed.records.push_back(std::move(*record));
        else if (malformed)
            ++parsed.malformedLines;
        start = end + 1;
    }
    return parsed;
}

std::optional<ParsedSession> ReadSessionFile(const QString& path, QString* error)
{
    const QString notAFile = platform::notRegularFileReason(path);
    if (!notAFile.isEmpty()) {
        if (error)
            *error = notAFile;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return ParseSession(file.readAll());
}

} // namespace session
