#pragma once

#include <QStringList>

// Takes the program's own options from the arguments left once the application object has taken
// Qt's (-platform, -style, ...). An unknown option ends the program with a message; --verbose
// turns the trace lines on.
struct CommandLineOptions
{
    bool recording = true; // --no-recording: no gate session file
    bool rfid = false;     // --rfid: the RFID reader's menu actions and scan button are shown
    QString language;      // --lang CODE: the interface language; empty for the desktop's
};
CommandLineOptions ApplyCommandLine(const QStringList& arguments);

// Run before any application object: when the arguments ask for --help or --version, prints it and
// ends the program with status 0, without a display; otherwise returns and changes nothing.
void ExitOnHelpOrVersion(int& argc, char** argv);
