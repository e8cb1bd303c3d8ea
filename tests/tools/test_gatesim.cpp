#include "devices/GateSentence.h"
#include "devices/sim/AthleteRunner.h"
#include "devices/sim/DeviceClock.h"
#include "devices/sim/EventScript.h"
#include "devices/sim/GateSimulator.h"

#include <QtTest>

namespace {

// The simulator's output cut back into sentences, each with the elapsed time it was sent at.
struct Capture
{
    QStringList sentences;
    QList<std::int64_t> sentAt;
    const sim::GateSimulator* simulator = nullptr;

    sim::GateSimulator::Output Output()
    {
        return [this](const QByteArray& bytes) {
            for (const QByteArray& line : bytes.split('\n')) {
                if (line.trimmed().isEmpty())
                    continue;
                sentences << QString::fromLatin1(line.trimmed());
                sentAt << simulator->ElapsedMs();
            }
        };
    }
};

} // namespace

class GateSim : public QObject
{
    Q_OBJECT

private slots:
    void deviceClockWraps_data()
    {
        QTest::addColumn<std::uint32_t>("start");
        QTest::addColumn<qint64>("elapsed");
        QTest::addColumn<std::uint32_t>("reading");
        QTest::newRow("start") << 0u << qint64(0) << 0u;
        QTest::newRow("before the wrap") << 65000u << qint64(535) << 65535u;
        QTest::newRow("at the wrap") << 65000u << qint64(536) << 0u;
        QTest::newRow("after the wrap") << 65000u << qint64(1536) << 1000u;
        QTest::newRow("many periods later") << 5u << qint64(65536) * 1000 + 7 << 12u;
        QTest::newRow("start taken modulo") << 65537u << qint64(0) << 1u;
    }

    void deviceClockWraps()
    {
        QFETCH(std::uint32_t, start);
        QFETCH(qint64, elapsed);
        QFETCH(std::uint32_t, reading);
        QCOMPARE(sim::DeviceClock(start).At(elapsed), reading);
    }

    void statusAndPassagesGoOutInClockOrder()
    {
        sim::GateSimSettings settings;
        settings.gateCount = 2;
        settings.notReady[1] = true;
        settings.statusIntervalMs = 100;
        settings.clockStart = 65500;
        Capture capture;
        sim::GateSimulator gates(settings, capture.Output());
        capture.simulator = &gates;
        gates.SchedulePassage(150, 1);
        gates.SchedulePassage(50, 0, false);
        gates.AdvanceTo(120); // late: everything up to 120 at once, each with its own time
        QCOMPARE(capture.sentences, QStringList({QString::fromStdString(WithChecksum("$PSTS,65500,1,0,0,0")),
                                                 QString::fromStdString(WithChecksum("$PEVT,14,0,0")),
                                                 QString::fromStdString(WithChecksum("$PSTS,64,1,0,0,0"))}));
        capture.sentences.clear();
        QCOMPARE(gates.NextDueMs(), qint64(150));
        gates.AdvanceTo(200);
        QCOMPARE(capture.sentences, QStringList({QString::fromStdString(WithChecksum("$PEVT,114,1,1")),
                                                 QString::fromStdString(WithChecksum("$PSTS,164,1,0,0,0"))}));
    }

    void burstsHoldSentencesUntilTheirTime()
    {
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 100;
        settings.burstMs = 450;
        Capture capture;
        sim::GateSimulator gates(settings, capture.Output());
        capture.simulator = &gates;
        gates.AdvanceTo(440);
        QVERIFY(capture.sentences.isEmpty());
        QCOMPARE(gates.NextDueMs(), qint64(450));
        gates.AdvanceTo(450);
        QCOMPARE(capture.sentences.size(), 5);
        QCOMPARE(capture.sentAt.first(), qint64(450));
        gates.AdvanceTo(899);
        QCOMPARE(capture.sentences.size(), 5);
        gates.AdvanceTo(900);
        QCOMPARE(capture.sentences.size(), 10);
    }

    void athletesPassTheGatesAtTheirTrueSplits()
    {
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 0;
        settings.clockStart = 64000; // the first athlete crosses the wrap
        Capture capture;
        sim::GateSimulator gates(settings, capture.Output());
        capture.simulator = &gates;
        QStringList log;
        sim::AthleteRunner::Settings plan;
        plan.order = {0, 2, 3};
        plan.count = 2;
        plan.pauseMs = 1000;
        plan.firstStartMs = 500;
        plan.seed = 11;
        sim::AthleteRunner runner(plan, gates, [&](const QString& line) { log << line; });
        for (std::int64_t t = 0; t < 20000 && !runner.Finished(); t += 10) {
            gates.AdvanceTo(t);
            runner.AdvanceTo(t);
        }
        QVERIFY(runner.Finished());
        QCOMPARE(runner.StartedCount(), 2);
        QCOMPARE(capture.sentences.size(), 6);

        // Each reported split is the device-clock difference between two consecutive passages.
        const QStringList reports = log.filter(QStringLiteral("true splits"));
        QCOMPARE(reports.size(), 2);
        for (int athlete = 0; athlete < 2; ++athlete) {
            std::uint32_t times[3];
            for (int i = 0; i < 3; ++i) {
                const auto event = ParseEventSentence(capture.sentences[athlete * 3 + i].toStdString());
                QVERIFY(event && event->checksumOk);
                QCOMPARE(event->gate, plan.order[static_cast<std::size_t>(i)]);
                times[i] = event->deviceTime;
            }
            const std::uint32_t first = sim::DeviceClock::Difference(times[1], times[0]);
            const std::uint32_t second = sim::DeviceClock::Difference(times[2], times[1]);
            QVERIFY(first >= 1750 && first <= 2250);
            QVERIFY(second >= 1050 && second <= 1450);
            const QString expected = QStringLiteral("Athlete %1 true splits: %2 %3 total %4 s")
                                         .arg(athlete + 1)
                                         .arg(first / 1000.0, 0, 'f', 3)
                                         .arg(second / 1000.0, 0, 'f', 3)
                                         .arg((first + second) / 1000.0, 0, 'f', 3);
            QCOMPARE(reports[athlete], expected);
        }
        QCOMPARE(capture.sentAt[3] - capture.sentAt[2], qint64(1000)); // the pause
    }

    void scriptsAreReadStrictly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("passages"); // "ms:wire gate:state ..." or "error"
        QTest::newRow("ordered, comments, default state")
            << "# warm-up\n\n2500 2\n500 1 0\n  4100   4   1  \n"
            << "500:0:0 2500:1:1 4100:3:1";
        QTest::newRow("gate beyond the four") << "10 8\n"
                                              << "10:7:1";
        QTest::newRow("gate 0 is not a gate") << "10 0\n"
                                              << "error";
        QTest::newRow("negative time") << "-5 1\n"
                                       << "error";
        QTest::newRow("missing gate") << "100\n"
                                      << "error";
        QTest::newRow("extra field") << "100 1 1 1\n"
                                     << "error";
        QTest::newRow("not a number") << "soon 1\n"
                                      << "error";
    }

    void scriptsAreReadStrictly()
    {
        QFETCH(QString, text);
        QFETCH(QString, passages);
        const sim::EventScript script = sim::ParseEventScript(text);
        if (passages == QLatin1String("error")) {
            QVERIFY(!script.error.isEmpty());
            return;
        }
        QVERIFY2(script.error.isEmpty(), qPrintable(script.error));
        QStringList got;
        for (const auto& passage : script.passages)
            got << QStringLiteral("%1:%2:%3").arg(passage.atMs).arg(passage.gate).arg(int(passage.state));
        QCOMPARE(got.join(QLatin1Char(' ')), passages);
    }

    void faultInjectionChangesTheRequestedShare()
    {
        QByteArray clean(100000, 'A');
        sim::FaultInjector corrupt({0.05, 0.0, 3});
        const QByteArray damaged = corrupt.Apply(clean);
        QCOMPARE(damaged.size(), clean.size());
        const auto changed = std::count_if(damaged.begin(), damaged.end(), [](char c) { return c != 'A'; });
        QCOMPARE(changed, corrupt.CorruptedCount()); // every corruption really changes the byte
        QVERIFY(changed > 4500 && changed < 5500);

        sim::FaultInjector drop({0.0, 0.1, 3});
        const qsizetype kept = drop.Apply(clean).size();
        QCOMPARE(kept + drop.DroppedCount(), clean.size());
        QVERIFY(kept > 89000 && kept < 91000);
    }
};

QTEST_GUILESS_MAIN(GateSim)
#include "test_gatesim.moc"
