#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Line rules shared by the text files operators hand in (name lists, tag/name lists): LF or CR LF
// line ends, a last line without a line end still counts, empty lines are skipped, nothing is
// trimmed, and a line longer than MaxLineBytes ends the reading there. A line holding a control
// character other than tab (NUL, ESC, a CR inside the line...) is skipped and counted: such bytes
// would reach report rows and the screen as they are.
struct TextLines
{
    static constexpr int MaxLineBytes = 511;

    QStringList lines;     // the non-empty lines read, in file order
    int stopLine = 0;      // 1-based number of the over-long line that ended the reading; 0: read to the end
    int stopLineBytes = 0; // that line's length in bytes, without its line end

    int skippedLines = 0;      // lines skipped for a control character
    QList<int> skippedNumbers; // the first few of them, 1-based

    bool stopped() const { return stopLine > 0; }
    // "2 lines hold control characters and were skipped (lines 3, 7)", or empty.
    QString skipReason() const;
    // "line 3 is 600 bytes long; a line may hold at most 511 bytes", or empty.
    QString stopReason() const;
};

// Decodes UTF-8 when the bytes read are valid UTF-8, else Latin-1 (files of older tools), so
// neither kind loses a letter. A leading UTF-8 byte order mark is not part of the first line.
TextLines readTextLines(const QByteArray& bytes);
