// The line reader under name list and tag/name files, on any bytes: what it reads is written as a
// name list and must read back the same, and the names after a stop are never returned.
#include "FuzzSupport.h"

#include "subjects/NameListFile.h"
#include "subjects/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TextLines read = readTextLines(bytes);
    for (const QString& line : read.lines) {
        if (line.isEmpty() || line.contains(QLatin1Char('\n')))
            fuzz::fail("an empty line or a line end came through as a name");
    }
    if (read.stopped() && read.stopLineBytes <= TextLines::MaxLineBytes)
        fuzz::fail("stopped at a line that fits");
    if (!nameListProblem(read.lines).isEmpty())
        return 0; // a Latin-1 line may grow past the limit in UTF-8; the export refuses it
    if (!read.lines.isEmpty() && read.lines.first().startsWith(QChar(0xFEFF)))
        return 0; // written first, it reads as a byte order mark
    const TextLines again = readTextLines(nameListBytes(read.lines));
    if (again.stopped() || again.lines != read.lines)
        fuzz::fail("names read from a file do not survive a write and a read");
    return 0;
}
