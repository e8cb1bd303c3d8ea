#include "app/CommandLine.h"
#include "app/ProgramIdentity.h"
#include "app/SLMain.h"
#include "platform/ProcessSignals.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::ignoreFileSizeSignal();
    programidentity::Apply();
    ExitOnHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    const CommandLineOptions options = ApplyCommandLine(QApplication::arguments());
    int code = 0;
    {
        SLMain controller;
        controller.Init(options.rfid);
        if (options.recording)
            controller.StartRecording();
        code = app.exec();
    } // the controller's destruction writes the configuration file
    return code;
}
