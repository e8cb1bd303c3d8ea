// The console belongs to the person at the terminal: trace lines only when asked for, and the
// program's own options.
#include "app/CommandLine.h"
#include "support/ControllerHarness.h"

#include <QLoggingCategory>
#include <QTest>

namespace {

QStringList* captured = nullptr;

void capture(QtMsgType, const QMessageLogContext&, const QString& text)
{
    // The headless test platform's own remark on showing a window; a desktop does not make it.
    if (text != QLatin1String("This plugin does not support propagateSizeHints()"))
        captured->append(text);
}

// Everything written to the console while a controller with no gate adapter attached starts, runs
// a second of ticks and ends.
QStringList consoleOfASecondWithoutAdapter()
{
    QStringList lines;
    captured = &lines;
    const QtMessageHandler previous = qInstallMessageHandler(capture);
    {
        ControllerHarness h(false);
        h.start();
        h.tick(1000 / SLMain::TickIntervalMs);
    }
    qInstallMessageHandler(previous);
    captured = nullptr;
    return lines;
}

} // namespace

class ConsoleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void silentUnlessVerbose()
    {
        ApplyCommandLine({QStringLiteral("swiftlane")});
        const QStringList quiet = consoleOfASecondWithoutAdapter();
        QVERIFY2(quiet.isEmpty(), qPrintable(quiet.join(QLatin1Char('|'))));

        // The same second with --verbose shows the adapter search on every tick.
        ApplyCommandLine({QStringLiteral("swiftlane"), QStringLiteral("--verbose")});
        const QStringList lines = consoleOfASecondWithoutAdapter();
        QLoggingCategory::setFilterRules(QString());
        QVERIFY2(lines.count(QStringLiteral("ft_status = 0\n")) >= 1000 / SLMain::TickIntervalMs,
                 qPrintable(lines.join(QLatin1Char('|'))));
    }

    void optionsFromTheCommandLine()
    {
        const CommandLineOptions plain = ApplyCommandLine({QStringLiteral("swiftlane")});
        QVERIFY(plain.recording);
        QVERIFY(!plain.rfid);

        const CommandLineOptions both = ApplyCommandLine(
            {QStringLiteral("swiftlane"), QStringLiteral("--rfid"), QStringLiteral("--no-recording")});
        QVERIFY(both.rfid);
        QVERIFY(!both.recording);
    }
};

QTEST_MAIN(ConsoleTest)
#include "test_console.moc"
