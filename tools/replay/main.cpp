// swiftlane-replay FILE --sequence SEQ.run: times a recorded gate session again for one gate
// sequence and prints the report lines it gives, so a doubted result can be checked in a second;
// --hold-off MS re-times it with another hold-off than the sequence's.
#include "devices/session/SessionFormat.h"
#include "platform/ProcessSignals.h"
#include "timing/GateSequence.h"
#include "tools/replay/SessionReplay.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

int Fail(const QString& message)
{
    std::fprintf(stderr, "swiftlane-replay: %s\n", qPrintable(message));
    return 2;
}

// Whole milliseconds from 0 to the most a sequence may hold.
std::optional<int> HoldOffArgument(const QString& text)
{
    bool isNumber = false;
    const int ms = text.toInt(&isNumber);
    if (!isNumber || ms < 0 || ms > GateSequence::MaxHoldOffMs)
        return std::nullopt;
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    platform::ignoreFileSizeSignal();
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("swiftlane-replay"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times a recorded gate session again with the run engine, a run armed at the start "
        "and after each finished run (subjects \"Run 1\", \"Run 2\", ...), and prints the report "
        "file's header and rows."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A gate session file."));
    parser.addOption({QStringLiteral("sequence"), QStringLiteral("The gate sequence (.run file) to time."),
                      QStringLiteral("SEQ.run")});
    parser.addOption({QStringLiteral("hold-off"),
                      QStringLiteral("Ignore a break of the awaited gate this soon after that gate's last "
                                     "passage, instead of the sequence's own hold-off (0 switches it off)."),
                      QStringLiteral("MS")});
    parser.addOption({QStringLiteral("verbose"), QStringLiteral("Print the engine's debug lines.")});
    parser.process(application);
    if (parser.positionalArguments().size() != 1)
        return Fail(QStringLiteral("give one session file (see --help)"));
    if (!parser.isSet(QStringLiteral("sequence")))
        return Fail(QStringLiteral("--sequence SEQ.run is required"));
    std::optional<int> holdOff;
    if (parser.isSet(QStringLiteral("hold-off"))) {
        holdOff = HoldOffArgument(parser.value(QStringLiteral("hold-off")));
        if (!holdOff)
            return Fail(QStringLiteral("--hold-off takes whole milliseconds from 0 to %1")
                            .arg(GateSequence::MaxHoldOffMs));
    }
    if (!parser.isSet(QStringLiteral("verbose")))
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\nswiftlane.trace=false"));

    QString error;
    const QString sessionPath = parser.positionalArguments().first();
    const auto session = session::ReadSessionFile(sessionPath, &error);
    if (!session)
        return Fail(QStringLiteral("%1: %2").arg(sessionPath, error));
    // Nothing to time is a failed replay, not an empty report: the simulator refuses the same file.
    if (session->records.empty())
        return Fail(QStringLiteral("%1 holds no gate session records").arg(sessionPath));
    if (session->malformedLines > 0)
        std::fprintf(stderr, "swiftlane-replay: %d malformed line(s) skipped\n", session->malformedLines);
    if (session->cutLastLine)
        std::fprintf(stderr, "swiftlane-replay: the last line is cut off and was left out\n");

    // The run engine writes its report into the data folder: a scratch one, never the user's.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return Fail(QStringLiteral("no temporary folder: %1").arg(scratch.errorString()));
    qputenv("XDG_DATA_HOME", scratch.path().toLocal8Bit());

    SessionReplay replay(parser.value(QStringLiteral("sequence")), holdOff);
    if (!replay.SequenceLoaded())
        return Fail(QStringLiteral("%1 is not a gate sequence with gates").arg(parser.value("sequence")));
    replay.Play(session->records);
    const QByteArray report = replay.ReportText();
    std::fwrite(report.constData(), 1, static_cast<std::size_t>(report.size()), stdout);
    for (const QString& note : replay.RejectedBreakNotes())
        std::fprintf(stderr, "swiftlane-replay: %s\n", qPrintable(note));
    std::fprintf(stderr, "swiftlane-replay: %d run(s) finished, hold-off %d ms\n", replay.FinishedRuns(),
                 replay.HoldOffMs());
    return 0;
}
