#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QLoggingCategory>

CommandLineOptions ApplyCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times sprint runs over up to four timing gates."));
    parser.addHelpOption();
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Print trace lines (sentences decoded, runs, files) on the console."));
    parser.addOption(verbose);
    const QCommandLineOption noRecording(
        QStringLiteral("no-recording"),
        QStringLiteral("Do not keep the bytes the gates send in a session file (Swiftlane/Sessions)."));
    parser.addOption(noRecording);
    const QCommandLineOption rfid(QStringLiteral("rfid"),
                                  QStringLiteral("Show the RFID reader's menu actions and scan button."));
    parser.addOption(rfid);
    parser.process(arguments);
    // QT_LOGGING_RULES still has the last word, as Qt applies it after these rules.
    if (parser.isSet(verbose))
        QLoggingCategory::setFilterRules(QStringLiteral("swiftlane.trace=true"));
    CommandLineOptions options;
    options.recording = !parser.isSet(noRecording);
    options.rfid = parser.isSet(rfid);
    return options;
}
