// The floors for scripts/measure-idle-cpu.sh: a bare window whose 25 ms timer changes one label on
// every tick, the least a window with the application's tick and something redrawn can cost. With
// --quiet the timer still fires but nothing is redrawn: the least any window with that tick costs.
// Not a Google Benchmark program; it runs until it is stopped.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("0"));
    label.setWindowTitle(QStringLiteral("Idle floor"));
    label.resize(320, 120);
    label.show();
    int ticks = 0;
    QTimer timer;
    const bool quiet = application.arguments().contains(QStringLiteral("--quiet"));
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (!quiet)
            label.setText(QString::number(ticks));
    });
    timer.start(25);
    return application.exec();
}
