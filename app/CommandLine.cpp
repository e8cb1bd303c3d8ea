#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QLoggingCategory>

void ApplyCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times sprint runs over up to four timing gates."));
    parser.addHelpOption();
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Print trace lines (sentences decoded, runs, files) on the console."));
    parser.addOption(verbose);
    parser.process(arguments);
    // QT_LOGGING_RULES still has the last word, as Qt applies it after these rules.
    if (parser.isSet(verbose))
        QLoggingCategory::setFilterRules(QStringLiteral("swiftlane.trace=true"));
}
