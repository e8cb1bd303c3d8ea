#pragma once

#include <QStringList>

// Takes the program's own options from the arguments left once the application object has taken
// Qt's (-platform, -style, ...). --help lists them and ends the program, as does an unknown
// option with a message; --verbose turns the trace lines on.
struct CommandLineOptions
{
    bool recording = true; // --no-recording: no gate session file
    bool rfid = false;     // --rfid: the RFID reader's menu actions and scan button are shown
};
CommandLineOptions ApplyCommandLine(const QStringList& arguments);
