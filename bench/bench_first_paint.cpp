// Process start to first paint: the application as main starts it, with 1000 ".run" files in its
// runs folder, beside a bare window. Each iteration starts this program again as a child that
// prints a line when its window first paints and then ends. Offscreen unless DISPLAY is set.
#include "app/SLMain.h"
#include "timing/GateSequence.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int RunFileCount = 1000;

// Ends the child at the first paint of the watched window, once the paint is done.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget* window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::puts("painted");
                    std::fflush(stdout);
                    _exit(0);
                },
                Qt::QueuedConnection);
        return false;
    }
};

int RunChild(int argc, char** argv, bool application)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    if (application) {
        SLMain controller;
        FirstPaint watch(&controller.MainWindow());
        controller.Init();
        return app.exec();
    }
    QLabel window(QStringLiteral("Swiftlane"));
    window.resize(640, 480);
    FirstPaint watch(&window);
    window.show();
    return app.exec();
}

QTemporaryDir& DataFolder()
{
    static QTemporaryDir folder;
    static const bool filled = [] {
        const QString runs = folder.path() + QStringLiteral("/Swiftlane/Runs/");
        QDir().mkpath(runs);
        for (int i = 0; i < RunFileCount; ++i) {
            GateSequence sequence;
            sequence.SetName(QStringLiteral("Sequence %1").arg(i, 4, 10, QLatin1Char('0')));
            for (unsigned k = 0; k < 4; ++k)
                sequence.InsertGate(k, static_cast<int>(k));
            sequence.SetTotalDistance(30.0);
            sequence.Save(runs + sequence.Name() + QStringLiteral(".run"));
        }
        return true;
    }();
    Q_UNUSED(filled);
    return folder;
}

void StartUntilFirstPaint(benchmark::State& state, const char* kind)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), DataFolder().path());
    if (!environment.contains(QStringLiteral("DISPLAY")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QString::fromLatin1(kind)});
        if (!child.waitForReadyRead(30000) || !child.readAll().contains("painted")) {
            state.SkipWithError("the child did not paint");
            break;
        }
        child.waitForFinished(5000);
    }
}

void BM_BareWindowFirstPaint(benchmark::State& state)
{
    StartUntilFirstPaint(state, "bare");
}
BENCHMARK(BM_BareWindowFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SwiftlaneFirstPaint(benchmark::State& state)
{
    StartUntilFirstPaint(state, "app");
}
BENCHMARK(BM_SwiftlaneFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return RunChild(argc, argv, QByteArray(argv[2]) == "app");
    QCoreApplication app(argc, argv);
    DataFolder();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
