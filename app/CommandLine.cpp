#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>

namespace {

struct ProgramOptions
{
    QCommandLineOption verbose{
        QStringLiteral("verbose"),
        QStringLiteral("Print trace lines (sentences decoded, runs, files) on the console.")};
    QCommandLineOption noRecording{
        QStringLiteral("no-recording"),
        QStringLiteral("Do not keep the bytes the gates send in a session file (Swiftlane/Sessions).")};
    QCommandLineOption rfid{QStringLiteral("rfid"),
                            QStringLiteral("Show the RFID reader's menu actions and scan button.")};
    QCommandLineOption language{
        QStringLiteral("lang"),
        QStringLiteral("Use the language CODE (de, es, en) instead of the desktop's for the windows."),
        QStringLiteral("CODE")};
};

void AddOptions(QCommandLineParser& parser, const ProgramOptions& options)
{
    parser.setApplicationDescription(QStringLiteral("Times sprint runs over up to four timing gates."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({options.verbose, options.noRecording, options.rfid, options.language});
}

} // namespace

CommandLineOptions ApplyCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const ProgramOptions known;
    AddOptions(parser, known);
    parser.process(arguments);
    // QT_LOGGING_RULES still has the last word, as Qt applies it after these rules.
    if (parser.isSet(known.verbose))
        QLoggingCategory::setFilterRules(QStringLiteral("swiftlane.trace=true"));
    CommandLineOptions options;
    options.recording = !parser.isSet(known.noRecording);
    options.rfid = parser.isSet(known.rfid);
    options.language = parser.value(known.language);
    return options;
}

void ExitOnHelpOrVersion(int& argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const ProgramOptions known;
    AddOptions(parser, known);
    // Qt's own options (-platform, -style) are unknown here; mistakes are told by ApplyCommandLine.
    parser.parse(arguments);
    const bool help = parser.isSet(QStringLiteral("help"));
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    const bool version = parser.isSet(QStringLiteral("version"));
    if (!help && !helpAll && !version)
        return;
    // A core application only, for the usage line's program name: the GUI needs a display.
    const QCoreApplication core(argc, argv);
    if (version)
        parser.showVersion();
    if (helpAll)
        parser.process(arguments); // Qt's options listed too
    parser.showHelp(0);
}
