#include "tools/gatesim/SimOptions.h"

#include <QCommandLineParser>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstdio>

namespace {

// "--auto" and "--burst" take an optional number; QCommandLineParser wants a value, so a bare one
// gets its default written in.
QStringList WithOptionalValues(QStringList arguments)
{
    const QList<QPair<QString, QString>> defaults = {{QStringLiteral("--auto"), QStringLiteral("0")},
                                                     {QStringLiteral("--burst"), QStringLiteral("500")}};
    for (int i = 1; i < arguments.size(); ++i) {
        for (const auto& option : defaults) {
            if (arguments[i] != option.first)
                continue;
            bool numeric = false;
            if (i + 1 < arguments.size())
                arguments[i + 1].toLongLong(&numeric);
            if (!numeric)
                arguments[i] = option.first + QLatin1Char('=') + option.second;
        }
    }
    return arguments;
}

// "2,3" in operator numbering (1 = master) to wire numbers.
std::optional<std::vector<int>> ParseGateList(const QString& text, int limit)
{
    std::vector<int> gates;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int gate = item.trimmed().toInt(&ok);
        if (!ok || gate < 1 || gate > limit)
            return std::nullopt;
        gates.push_back(gate - 1);
    }
    return gates;
}

bool Fail(const QString& message)
{
    std::fprintf(stderr, "swiftlane-gatesim: %s\n", qPrintable(message));
    return false;
}

bool ReadNumber(const QCommandLineParser& parser, const QString& name, double low, double high, double* value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const double number = parser.value(name).toDouble(&ok);
    if (!ok || number < low || number > high)
        return Fail(QStringLiteral("--%1 wants a number from %2 to %3").arg(name).arg(low).arg(high));
    *value = number;
    return true;
}

bool ReadWhole(const QCommandLineParser& parser, const QString& name, double low, double high, double* value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const qlonglong number = parser.value(name).toLongLong(&ok);
    if (!ok || number < low || number > high)
        return Fail(QStringLiteral("--%1 wants a whole number from %2 to %3")
                        .arg(name)
                        .arg(static_cast<qlonglong>(low))
                        .arg(static_cast<qlonglong>(high)));
    *value = static_cast<double>(number);
    return true;
}

bool ApplySeed(const QCommandLineParser& parser, SimOptions& options)
{
    double seed = QRandomGenerator::global()->generate();
    if (!ReadWhole(parser, QStringLiteral("seed"), 0, 4294967295.0, &seed))
        return false;
    options.gates.faults.seed = static_cast<std::uint32_t>(seed);
    options.athletes.seed = options.gates.faults.seed + 1;
    return true;
}

bool ApplyScript(const QCommandLineParser& parser, SimOptions& options)
{
    options.scriptPath = parser.value(QStringLiteral("script"));
    if (options.scriptPath.isEmpty())
        return true;
    QString error;
    const auto script = sim::LoadEventScript(options.scriptPath, &error);
    if (!script)
        return Fail(error);
    options.script = script->passages;
    return true;
}

bool ApplyGateOptions(const QCommandLineParser& parser, SimOptions& options)
{
    double gates = options.gates.gateCount, interval = options.gates.statusIntervalMs,
           clockStart = options.gates.clockStart;
    if (!ReadWhole(parser, QStringLiteral("gates"), 1, 4, &gates) ||
        !ReadWhole(parser, QStringLiteral("interval"), 0, 60000, &interval) ||
        !ReadWhole(parser, QStringLiteral("clock-start"), 0, 65535, &clockStart))
        return false;
    options.gates.gateCount = static_cast<int>(gates);
    options.gates.statusIntervalMs = static_cast<std::uint32_t>(interval);
    options.gates.clockStart = static_cast<std::uint32_t>(clockStart);
    if (parser.isSet(QStringLiteral("not-ready"))) {
        const auto notReady =
            ParseGateList(parser.value(QStringLiteral("not-ready")), options.gates.gateCount);
        if (!notReady)
            return Fail(QStringLiteral("--not-ready wants simulated gate numbers 1 to %1, e.g. 2,3")
                            .arg(options.gates.gateCount));
        for (const int gate : *notReady)
            options.gates.notReady[static_cast<std::size_t>(gate)] = true;
    }
    return true;
}

bool ApplyAthleteOptions(const QCommandLineParser& parser, SimOptions& options)
{
    options.athletes.order.clear();
    for (int gate = 0; gate < options.gates.gateCount; ++gate)
        options.athletes.order.push_back(gate);
    const int gates = options.gates.gateCount;
    if (parser.isSet(QStringLiteral("order"))) {
        const auto order = ParseGateList(parser.value(QStringLiteral("order")), gates);
        if (!order || order->size() < 2)
            return Fail(QStringLiteral("--order wants at least two of the simulated gates 1 to %1, e.g. 1,%1")
                            .arg(gates));
        options.athletes.order = *order;
    }
    double count = 0, pause = options.athletes.pauseMs / 1000.0;
    if (!ReadWhole(parser, QStringLiteral("auto"), 0, 1e9, &count) ||
        !ReadNumber(parser, QStringLiteral("pause"), 0.5, 3600, &pause))
        return false;
    options.autoAthletes = parser.isSet(QStringLiteral("auto"));
    if (options.autoAthletes && gates < 2)
        return Fail(QStringLiteral("--auto needs at least two gates for an athlete to run between, "
                                   "but --gates %1 simulates one")
                        .arg(gates));
    options.athletes.count = static_cast<int>(count);
    options.athletes.pauseMs = static_cast<std::uint32_t>(pause * 1000);
    return true;
}

bool ApplyFaultOptions(const QCommandLineParser& parser, SimOptions& options)
{
    double burst = 0, unplugAfter = -1, unplugFor = options.unplugForMs / 1000.0, exitAfter = -1;
    if (!ReadNumber(parser, QStringLiteral("corrupt"), 0, 1, &options.gates.faults.corruptFraction) ||
        !ReadNumber(parser, QStringLiteral("drop"), 0, 1, &options.gates.faults.dropFraction) ||
        !ReadWhole(parser, QStringLiteral("burst"), 1, 60000, &burst) ||
        !ReadNumber(parser, QStringLiteral("unplug-after"), 0, 1e6, &unplugAfter) ||
        !ReadNumber(parser, QStringLiteral("unplug-for"), 0, 1e6, &unplugFor) ||
        !ReadNumber(parser, QStringLiteral("exit-after"), 0, 1e7, &exitAfter))
        return false;
    options.gates.burstMs = static_cast<std::uint32_t>(burst);
    options.unplugAfterMs = unplugAfter < 0 ? -1 : static_cast<std::int64_t>(unplugAfter * 1000);
    options.unplugForMs = static_cast<std::int64_t>(unplugFor * 1000);
    options.exitAfterMs = exitAfter < 0 ? -1 : static_cast<std::int64_t>(exitAfter * 1000);
    return true;
}

bool ApplyReplay(const QCommandLineParser& parser, SimOptions& options)
{
    if (parser.isSet(QStringLiteral("speed")) && !parser.isSet(QStringLiteral("replay")))
        return Fail(QStringLiteral("--speed goes with --replay"));
    if (!ReadNumber(parser, QStringLiteral("speed"), 0.01, 1000, &options.replaySpeed))
        return false;
    options.replayPath = parser.value(QStringLiteral("replay"));
    if (options.replayPath.isEmpty())
        return true;
    if (options.autoAthletes || !options.scriptPath.isEmpty())
        return Fail(QStringLiteral("--replay plays a recorded session alone, without --auto or --script"));
    QString error;
    const auto session = session::ReadSessionFile(options.replayPath, &error);
    if (!session)
        return Fail(QStringLiteral("%1: %2").arg(options.replayPath, error));
    if (session->records.empty())
        return Fail(QStringLiteral("%1 holds no gate session records").arg(options.replayPath));
    options.replay = session->records;
    options.gates.statusIntervalMs = 0; // the session carries the gates' own status sentences
    return true;
}

// Tags the application takes whole: printable, and no longer than its 62-byte reply ring.
bool ApplyRfidReader(const QCommandLineParser& parser, SimOptions& options)
{
    if (!parser.isSet(QStringLiteral("rfid-reader")))
        return true;
    static const QRegularExpression tag(QStringLiteral("^[\\x21-\\x7E]{1,62}$"));
    options.rfidTags = parser.value(QStringLiteral("rfid-reader")).split(QLatin1Char(','));
    for (const QString& text : options.rfidTags) {
        if (!tag.match(text).hasMatch())
            return Fail(QStringLiteral("--rfid-reader wants tags of 1 to 62 printable characters without "
                                       "blanks, comma separated; got \"%1\"")
                            .arg(text));
    }
    return true;
}

void AddOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {QStringLiteral("name"), QStringLiteral("Adapter name, 1 to 15 letters or digits (default SIM1)."),
         QStringLiteral("NAME")},
        {QStringLiteral("interval"), QStringLiteral("Status sentence interval (default 100; 0: none)."),
         QStringLiteral("MS")},
        {QStringLiteral("gates"), QStringLiteral("Number of gates, 1 to 4 (default 4)."),
         QStringLiteral("N")},
        {QStringLiteral("not-ready"), QStringLiteral("Gates that report not ready, e.g. 2,3."),
         QStringLiteral("LIST")},
        {QStringLiteral("clock-start"), QStringLiteral("Device clock at start, 0 to 65535 (default 0)."),
         QStringLiteral("MS")},
        {QStringLiteral("auto"),
         QStringLiteral("--auto [N]: simulated athletes run the gate order, N of them (default: forever)."),
         QStringLiteral("N")},
        {QStringLiteral("order"), QStringLiteral("Gate order of the athletes (default all gates, 1,2,3,4)."),
         QStringLiteral("LIST")},
        {QStringLiteral("pause"), QStringLiteral("Seconds between athletes (default 8)."),
         QStringLiteral("S")},
        {QStringLiteral("script"),
         QStringLiteral("Play timed passages from FILE: lines \"<ms> <gate 1-4> [state]\"."),
         QStringLiteral("FILE")},
        {QStringLiteral("corrupt"), QStringLiteral("Fraction of bytes to corrupt, e.g. 0.01."),
         QStringLiteral("F")},
        {QStringLiteral("drop"), QStringLiteral("Fraction of bytes to drop."), QStringLiteral("F")},
        {QStringLiteral("burst"), QStringLiteral("--burst [MS]: send in bursts every MS (default 500)."),
         QStringLiteral("MS")},
        {QStringLiteral("unplug-after"), QStringLiteral("Unplug the adapter after S seconds."),
         QStringLiteral("S")},
        {QStringLiteral("unplug-for"), QStringLiteral("Stay unplugged for S seconds (default 3)."),
         QStringLiteral("S")},
        {QStringLiteral("exit-after"), QStringLiteral("Stop after S seconds."), QStringLiteral("S")},
        {QStringLiteral("replay"),
         QStringLiteral("Play a recorded gate session (a .session file) with its chunks, gaps and unplugs."),
         QStringLiteral("FILE")},
        {QStringLiteral("speed"),
         QStringLiteral(
             "Replay speed, e.g. 10 (default 1). Above 1, segments of over a minute may time wrongly."),
         QStringLiteral("X")},
        {QStringLiteral("seed"), QStringLiteral("Random seed, for repeatable athletes and faults."),
         QStringLiteral("N")},
        {QStringLiteral("rfid-reader"),
         QStringLiteral("Also play an RFID reader on a second pseudo-terminal: each \"r\" it receives is "
                        "answered with the next of these tags (after the last, the first again)."),
         QStringLiteral("TAG1,TAG2,...")},
        {QStringLiteral("list-adapters"), QStringLiteral("Print the attached gate adapters and exit.")},
        {QStringLiteral("real-adapter-attached"),
         QStringLiteral("Exit with 0 when a USB gate adapter is attached, 1 otherwise.")},
        {QStringLiteral("write-demo-sequence"),
         QStringLiteral("Write \"Demo 30 m.run\" into FOLDER when it holds no .run file, and exit."),
         QStringLiteral("FOLDER")},
    });
}

} // namespace

std::optional<SimOptions> ParseSimOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated Swiftlane timing gates on a virtual gate adapter (a pseudo-terminal).\n"
                       "Keys 1 to 4 typed here break the beam of gate 1 to 4; q quits."));
    parser.addHelpOption();
    parser.addVersionOption();
    AddOptions(parser);
    parser.process(WithOptionalValues(arguments)); // exits on --help, --version and unknown options

    if (!parser.positionalArguments().isEmpty()) {
        Fail(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
        return std::nullopt;
    }
    SimOptions options;
    if (parser.isSet(QStringLiteral("name")))
        options.adapterName = parser.value(QStringLiteral("name"));
    if (!QRegularExpression(QStringLiteral("^[A-Za-z0-9]{1,15}$")).match(options.adapterName).hasMatch()) {
        Fail(QStringLiteral("--name wants 1 to 15 letters or digits"));
        return std::nullopt;
    }
    options.listAdapters = parser.isSet(QStringLiteral("list-adapters"));
    options.realAdapterCheck = parser.isSet(QStringLiteral("real-adapter-attached"));
    options.demoSequenceFolder = parser.value(QStringLiteral("write-demo-sequence"));
    if (!ApplySeed(parser, options) || !ApplyGateOptions(parser, options) ||
        !ApplyAthleteOptions(parser, options) || !ApplyFaultOptions(parser, options) ||
        !ApplyScript(parser, options) || !ApplyReplay(parser, options) || !ApplyRfidReader(parser, options))
        return std::nullopt;
    return options;
}
