// Soak: the simulator's athletes run 1000 runs over 2-, 3- and 4-gate sequences through the real
// link, decoder, run engine and report writer, on a fast-forward clock, with noise between
// sentences, damaged and dropped status sentences, bursts, and unplugs between runs. Every byte
// read is recorded; each session file is then timed again offline and must give the same rows.
// Prints runs sent, rows written, rows equal to the true splits, rows wrong, rows marked suspect,
// rows lost, and rows the replay gave again; exits 1 when a target is missed.
//   build/bench/bench_soak [runs] [seed] [damage]   (default 1000, 1 and 0)
// `damage` is the fraction of bytes damaged in every sentence, events included: a lost finish then
// joins two athletes into one row, which the run engine marks suspect when it can; the targets are
// then not checked.
#include "devices/CGateSystem.h"
#include "devices/GateSystemOwner.h"
#include "devices/session/SessionRecorder.h"
#include "devices/sim/AthleteRunner.h"
#include "devices/sim/GateSimulator.h"
#include "platform/FakeClock.h"
#include "support/FakeFtdiDevices.h"
#include "timing/GateSequence.h"
#include "timing/RunOwner.h"
#include "timing/SequenceRun.h"
#include "tools/replay/SessionReplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr const char* Serial = "SOAK0001";
constexpr int TickMs = 25;
constexpr std::uint32_t PauseMs = 8000;
constexpr std::uint32_t BurstMs = 200;

// The controller's part in timing, without the window: a run armed at the start and after each
// finished one.
class Timer : public GateSystemOwner, public RunOwner
{
public:
    explicit Timer(const QString& sequencePath)
    {
        run.SetOwner(this);
        run.LoadSequence(sequencePath);
        Arm();
    }
    void OnStatusTime(std::uint32_t deviceTime) override { run.Tick(deviceTime); }
    void SetGateStatus(bool, bool, bool, bool) override {}
    void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) override
    {
        run.GateEvent(gate, deviceTime, state);
        if (finished)
            Arm();
    }
    void OnRunFinished() override
    {
        ++finishedRuns;
        finished = true;
        suspect.push_back(!run.SuspectMark().isEmpty());
    }
    QString ReportFileName() const { return run.ReportFileName(); }
    std::vector<bool> suspect; // per finished run, in report order

private:
    void Arm()
    {
        finished = false;
        run.SetSubjectName(QStringLiteral("Run %1").arg(finishedRuns + 1));
        run.StartRun();
    }
    SequenceRun run;
    int finishedRuns = 0;
    bool finished = false;
};

// The line between simulator and adapter: damages everything but the events, and sends in bursts.
class NoisyLine
{
public:
    NoisyLine(platform::FakeFtdiDevices& devices, std::uint32_t seed, double damage)
        : devices(devices), random(seed), byteDamage(damage)
    {
    }

    void Carry(const QByteArray& sentence)
    {
        if (sentence.startsWith("$PEVT")) {
            held += DamageBytes(sentence);
            return;
        }
        if (Chance(0.02))
            return; // a whole status lost
        QByteArray damaged = DamageBytes(sentence);
        if (Chance(0.02))
            damaged[Pick(damaged.size())] =
                static_cast<char>(damaged[Pick(damaged.size())] ^ (1 + Pick(254)));
        if (Chance(0.05)) {
            for (int i = Pick(12); i >= 0; --i)
                damaged += static_cast<char>(Pick(256));
        }
        held += damaged;
    }
    // Sends what has been held since the last burst, unless the adapter is unplugged.
    void Release(bool plugged)
    {
        if (plugged && !held.isEmpty())
            devices.pushIncoming(Serial, held);
        held.clear();
    }

private:
    QByteArray DamageBytes(QByteArray bytes)
    {
        for (char& byte : bytes) {
            if (byteDamage > 0 && Chance(byteDamage))
                byte = static_cast<char>(byte ^ (1 + Pick(255)));
        }
        return bytes;
    }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    platform::FakeFtdiDevices& devices;
    std::mt19937 random;
    double byteDamage;
    QByteArray held;
};

struct Block
{
    QString name;
    std::vector<int> gates;
    double distance;
    int runs;
};

struct Outcome
{
    int sent = 0, written = 0, exact = 0, wrong = 0, suspect = 0, wrongUnmarked = 0, lost = 0,
        replayedEqual = 0;
};

QString SaveSequence(const QString& folder, const Block& block)
{
    GateSequence sequence;
    sequence.SetName(block.name);
    sequence.SetTotalDistance(block.distance);
    for (std::size_t i = 0; i < block.gates.size(); ++i)
        sequence.InsertGate(static_cast<unsigned>(i), block.gates[i]);
    const QString path = folder + QLatin1Char('/') + block.name + QStringLiteral(".run");
    sequence.Save(path);
    return path;
}

// The report file's rows without its header.
QStringList ReportRows(const QByteArray& text)
{
    QStringList rows = QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!rows.isEmpty())
        rows.removeFirst();
    return rows;
}

// One sequence's block of runs, live: returns the report rows and the true splits, and leaves
// the session file in `sessions`.
void RunLive(const Block& block, const QString& sequencePath, const QString& sessions, std::uint32_t seed,
             double damage, QStringList& rows, QStringList& truth, std::vector<bool>& suspect, int& sent)
{
    platform::FakeClock clock;
    platform::FakeFtdiDevices devices;
    devices.addDevice("Swiftlane gate adapter", Serial, 0x121);
    Timer timer(sequencePath);
    CGateSystem gates(&timer);
    SessionRecorder recorder;
    recorder.Start(sessions, QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addSecs(seed));
    gates.SetStreamTap(&recorder);

    NoisyLine line(devices, seed, damage);
    sim::GateSimSettings settings;
    settings.clockStart = seed * 7919 % 65536;
    sim::GateSimulator simulator(settings, [&](const QByteArray& bytes) { line.Carry(bytes); });
    sim::AthleteRunner::Settings plan;
    plan.order = block.gates;
    plan.count = block.runs;
    plan.pauseMs = PauseMs;
    plan.seed = seed;
    std::int64_t unplugAt = -1, plugAt = -1;
    const QRegularExpression splitsLine(QStringLiteral("true splits: (.*) total (\\S+) s"));
    sim::AthleteRunner athletes(plan, simulator, [&](const QString& text) {
        const auto match = splitsLine.match(text);
        if (!match.hasMatch())
            return;
        truth << match.captured(2) + QLatin1Char(',') + match.captured(1).replace(QLatin1Char(' '), ',');
        // Every seventh athlete's finish is followed by an unplug before the next one starts.
        if (++sent % 7 == 0) {
            unplugAt = simulator.ElapsedMs() + 700;
            plugAt = unplugAt + 5000;
        }
    });
    bool plugged = true;
    std::int64_t endMs = -1; // a second after the last athlete, so the last burst is read
    for (std::int64_t now = 0; endMs < 0 || now < endMs; now += TickMs) {
        if (endMs < 0 && athletes.Finished())
            endMs = now + 1000;
        simulator.AdvanceTo(now);
        athletes.AdvanceTo(now);
        if (now % BurstMs == 0)
            line.Release(plugged);
        if (plugged && unplugAt >= 0 && now >= unplugAt) {
            devices.unplug(Serial);
            plugged = false;
        } else if (!plugged && now >= plugAt) {
            devices.plugIn(Serial);
            plugged = true;
            unplugAt = -1;
        }
        clock.advance(TickMs);
        gates.Poll();
    }
    recorder.Flush();
    QFile report(timer.ReportFileName());
    if (report.open(QIODevice::ReadOnly))
        rows = ReportRows(report.readAll());
    suspect = timer.suspect;
}

Outcome Soak(int totalRuns, std::uint32_t seed, double damage, const QString& data)
{
    const QString sessions = data + QStringLiteral("/sessions");
    const std::vector<Block> blocks = {
        {QStringLiteral("Soak 2 gates"), {0, 3}, 30.0, totalRuns - 2 * (totalRuns / 3)},
        {QStringLiteral("Soak 3 gates"), {0, 1, 3}, 30.0, totalRuns / 3},
        {QStringLiteral("Soak 4 gates"), {0, 1, 2, 3}, 30.0, totalRuns / 3}};
    Outcome outcome;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const Block& block = blocks[b];
        const QString sequencePath = SaveSequence(data, block);
        const QString blockSessions = sessions + QString::number(b);
        QStringList rows, truth;
        std::vector<bool> suspect;
        int sent = 0;
        RunLive(block, sequencePath, blockSessions, seed + static_cast<std::uint32_t>(b), damage, rows, truth,
                suspect, sent);
        outcome.sent += sent;
        outcome.written += rows.size();
        outcome.lost += std::max(0, sent - static_cast<int>(rows.size()));
        // A row is exact when it equals the true times of an athlete after the one the last exact
        // row matched (athletes whose rows were lost are passed over).
        int nextAthlete = 0;
        for (int i = 0; i < rows.size(); ++i) {
            // Subject, total, splits..., distance, speed: compare total and splits.
            const QStringList fields = rows[i].split(QLatin1Char(','));
            const QString timed = fields.mid(1, fields.size() - 3).join(QLatin1Char(','));
            const qsizetype athlete = truth.indexOf(timed, nextAthlete);
            const bool marked =
                static_cast<std::size_t>(i) < suspect.size() && suspect[static_cast<std::size_t>(i)];
            outcome.suspect += marked;
            if (athlete >= 0) {
                ++outcome.exact;
                nextAthlete = static_cast<int>(athlete) + 1;
            } else {
                ++outcome.wrong;
                outcome.wrongUnmarked += !marked;
            }
        }

        const QStringList files = QDir(blockSessions).entryList({QStringLiteral("*.session")});
        const auto session =
            files.size() == 1 ? session::ReadSessionFile(blockSessions + "/" + files[0]) : std::nullopt;
        if (!session)
            continue;
        SessionReplay replay(sequencePath);
        replay.Play(session->records);
        const QStringList again = ReportRows(replay.ReportText());
        for (int i = 0; i < std::min(again.size(), rows.size()); ++i)
            outcome.replayedEqual += again[i] == rows[i];
    }
    return outcome;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\nswiftlane.trace=false"));
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 1000;
    const std::uint32_t seed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 1;
    const double damage = argc > 3 ? std::clamp(std::atof(argv[3]), 0.0, 1.0) : 0.0;
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());

    const Outcome o = Soak(runs, seed, damage, data.path());
    std::printf("runs sent %d, rows written %d, rows exact %d, rows wrong %d (%d not marked suspect), "
                "rows suspect %d, rows lost %d\n",
                o.sent, o.written, o.exact, o.wrong, o.wrongUnmarked, o.suspect, o.lost);
    std::printf("replayed from the session files: %d rows equal\n", o.replayedEqual);
    if (damage > 0) {
        std::printf("targets not checked: %.4f of all bytes damaged, events included\n", damage);
        return 0;
    }
    const bool met = o.sent == runs && o.written == runs && o.exact == runs && o.wrong == 0 && o.lost == 0 &&
                     o.replayedEqual == runs;
    std::printf("targets (all %d sent, written, exact and replayed; none wrong or lost): %s\n", runs,
                met ? "met" : "MISSED");
    return met ? 0 : 1;
}
