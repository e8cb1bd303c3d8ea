#include "app/CommandLine.h"
#include "app/SLMain.h"
#include "platform/ProcessSignals.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::ignoreFileSizeSignal();
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
