#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A gate session file keeps every byte the gate link read, with the PC time of the read, so a
// session can be timed again later. It is plain text, one record per line:
//
//   # Swiftlane gate session 1
//   # started 2026-12-06T19:27:44.123+01:00
//   0 open USB1A2B
//   48211 read $PSTS,1234,1,1,0,0*2C\r\n
//   73190 read $PEVT,1259,0,1*0F\r\n$PS
//   91250022 close
//
// - The number is the PC's high-resolution clock in microseconds since the session started.
// - "open PORT": the link to the gate adapter opened; "close": it closed (unplugged, stopped).
// - "read BYTES": the bytes of one read, exactly as they came. Everything from the byte after
//   "read " up to the line end is data; "\\" stands for a backslash, "\r" and "\n" for CR and LF,
//   "\xHH" for any other byte below 0x20 or above 0x7E. All other bytes are written as they are.
// - Lines starting with "#" are comments. A record counts only once its line end is written, so
//   a file cut by a crash or a power cut reads up to its last whole record.
namespace session {

enum class RecordKind
{
    Open,
    Read,
    Close
};

struct Record
{
    std::int64_t atUs = 0; // PC time since the session started
    RecordKind kind = RecordKind::Read;
    QByteArray data; // the bytes of a read; the port of an open
};

bool operator==(const Record& a, const Record& b);

QByteArray FileHeader(const QDateTime& started);
QByteArray EncodeRecord(const Record& record);
// One line without its line end; empty for a comment, a blank line or a malformed line.
std::optional<Record> DecodeLine(QByteArrayView line, bool* malformed = nullptr);

struct ParsedSession
{
    std::vector<Record> records;
    int malformedLines = 0;   // skipped
    bool cutLastLine = false; // the file ended inside a record, which was left out
};

ParsedSession ParseSession(QByteArrayView bytes);
// Empty with *error set when the file cannot be read.
std::optional<ParsedSession> ReadSessionFile(const QString& path, QString* error = nullptr);

} // namespace session
