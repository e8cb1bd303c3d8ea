#include "app/CommandLine.h"
#include "app/ProgramIdentity.h"
#include "app/SLMain.h"
#include "app/Translations.h"
#include "platform/ProcessSignals.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    platform::ignoreFileSizeSignal();
    programidentity::Apply();
    ExitOnHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    const CommandLineOptions options = ApplyCommandLine(QApplication::arguments());
    const LanguageChoice language = InstallTranslations(app, options.language);
    if (!language.known)
        std::fprintf(stderr, "swiftlane: --lang %s names no language; the windows stay in English.\n",
                     qUtf8Printable(options.language));
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
