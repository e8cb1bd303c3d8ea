// Latency of a gate passage through the whole receive path: from the simulator writing the $PEVT
// sentence into the pseudo-terminal to the controller's OnGateEvent, with the controller's own
// 25 ms tick, window and all. The simulator runs on its own thread as the gate hardware would.
// Prints min, median and 99th percentile; exits 1 when the targets are missed.
//   build/bench/bench_latency [events]   (default 250; run with QT_QPA_PLATFORM=offscreen)
#include "app/SLMain.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

double NowMs()
{
    const platform::Clock& clock = platform::clock();
    return static_cast<double>(clock.highResCounter()) * 1000.0 /
           static_cast<double>(clock.highResFrequency());
}

// Passages are matched by device time, which is unique over one measurement (under 65 s).
struct Timings
{
    std::mutex mutex;
    std::map<std::uint32_t, double> written;
    std::map<std::uint32_t, double> received;
};

class TimedController : public SLMain
{
public:
    explicit TimedController(Timings& timings) : timings(timings) {}

    void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) override
    {
        const double now = NowMs();
        {
            std::lock_guard<std::mutex> lock(timings.mutex);
            timings.received.emplace(deviceTime, now);
        }
        SLMain::OnGateEvent(gate, deviceTime, state);
    }

private:
    Timings& timings;
};

// The gate hardware: status every 100 ms and a passage every 40 to 120 ms, on real time.
void RunGates(sim::PtyAdapter& adapter, int events, Timings& timings, std::atomic<bool>& done)
{
    sim::GateSimSettings settings;
    sim::GateSimulator gates(settings, [&adapter](const QByteArray& bytes) { adapter.Write(bytes); });
    std::mt19937 random(5);
    std::uniform_int_distribution<int> gap(40, 120);
    const double start = NowMs();
    auto elapsed = [&] { return static_cast<std::int64_t>(NowMs() - start); };
    // Let the controller find the adapter first.
    while (!adapter.HasReader() && elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::int64_t next = elapsed() + 500;
    for (int sent = 0; sent < events;) {
        gates.AdvanceTo(elapsed());
        if (elapsed() >= next) {
            {
                std::lock_guard<std::mutex> lock(timings.mutex);
                timings.written.emplace(gates.DeviceTime(), NowMs());
            }
            gates.Passage(sent % 4);
            ++sent;
            next = elapsed() + gap(random);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    done = true;
}

double Percentile(const std::vector<double>& sorted, double p)
{
    const auto index = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir scratch;
    qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath(QStringLiteral("adapters")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication application(argc, argv);
    // Other arguments (a benchmark runner's flags) are ignored.
    bool numeric = false;
    const int asked = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt(&numeric) : 0;
    const int events = numeric && asked > 0 ? asked : 250;

    sim::PtyAdapter adapter(QStringLiteral("LATENCY"));
    QString error;
    if (!adapter.Plug(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    Timings timings;
    TimedController controller(timings);
    controller.Init();
    std::atomic<bool> done{false};
    std::thread gates(RunGates, std::ref(adapter), events, std::ref(timings), std::ref(done));
    QTimer finish;
    QObject::connect(&finish, &QTimer::timeout, [&] {
        if (done)
            QTimer::singleShot(200, &application, &QApplication::quit);
    });
    finish.start(100);
    application.exec();
    gates.join();

    std::vector<double> latencies;
    for (const auto& [deviceTime, written] : timings.written) {
        const auto received = timings.received.find(deviceTime);
        if (received != timings.received.end())
            latencies.push_back(received->second - written);
    }
    std::sort(latencies.begin(), latencies.end());
    if (latencies.empty()) {
        std::printf("no passage arrived\n");
        return 1;
    }
    const double median = Percentile(latencies, 0.5), p99 = Percentile(latencies, 0.99);
    std::printf("passages written %zu, received %zu\n", timings.written.size(), latencies.size());
    std::printf("latency ms: min %.2f  median %.2f  p99 %.2f  max %.2f\n", latencies.front(), median, p99,
                latencies.back());
    const bool met = latencies.size() == timings.written.size() && median <= 15.0 && p99 <= 27.0;
    std::printf("targets (median <= 15, p99 <= 27, none lost): %s\n", met ? "met" : "MISSED");
    return met ? 0 : 1;
}
