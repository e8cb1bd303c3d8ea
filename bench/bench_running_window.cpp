// Swiftlane with a run in progress and the run display open, for scripts/measure-idle-cpu.sh
// --running: the application as started by main, plus an operator who types a subject, presses
// "Start run" as soon as every gate reports ready, and opens the run view. Not a Google Benchmark
// program; it runs until it is stopped.
#include "app/SLMain.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <cstdio>

namespace {

bool allGatesReady(const SLMain& controller)
{
    bool ready[4] = {};
    controller.GetGateReady(ready[0], ready[1], ready[2], ready[3]);
    return ready[0] && ready[1] && ready[2] && ready[3];
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    SLMain controller;
    controller.Init();
    SLMainWindow& window = controller.MainWindow();

    QTimer operatorHand;
    QObject::connect(&operatorHand, &QTimer::timeout, [&] {
        if (!allGatesReady(controller))
            return;
        operatorHand.stop();
        window.setSubjectNames({QStringLiteral("Runner")});
        window.findChild<QComboBox*>(QStringLiteral("subjectNameComboBox"))->setCurrentIndex(0);
        QMetaObject::invokeMethod(&window, "on_startRunPushButton_clicked");
        QMetaObject::invokeMethod(&window, "on_raceViewPushButton_clicked");
        std::printf("run started: %s\n", qPrintable(controller.RunStateText()));
        std::fflush(stdout);
    });
    operatorHand.start(100);
    return application.exec();
}
