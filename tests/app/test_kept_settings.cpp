// The operator's set-up survives a restart through the program's settings file (in the harness's
// scratch folder), and a settings file that cannot be used costs one message, never a run.
#include "support/ControllerHarness.h"
#include "support/TestFiles.h"
#include "ui/RunDisplayDialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

class KeptSettingsTest : public QObject
{
    Q_OBJECT

    static QString settingsFile(const ControllerHarness& h)
    {
        return h.dataDir.path() +
               QStringLiteral("/config/Swiftlane/swiftlane.conf"); // where the harness puts it
    }

private Q_SLOTS:
    // A name picked from the list comes back as the pick, one typed but not in the list as typed.
    void restartKeepsTheOperatorsSetUp_data()
    {
        QTest::addColumn<QString>("typed"); // empty: Cleo is picked
        QTest::newRow("picked") << QString();
        QTest::newRow("typed") << QStringLiteral("Zoe");
    }
    void restartKeepsTheOperatorsSetUp()
    {
        QFETCH(QString, typed);
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Alpha"), {0, 1}, 20.0);
        h.writeSequence(QStringLiteral("Bravo"), {0, 1, 2}, 30.0);
        h.start();
        h.setSubjects({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cleo")});
        h.subjectCombo()->setCurrentIndex(2);
        if (!typed.isEmpty())
            h.subjectCombo()->setEditText(typed);
        h.runCombo()->setCurrentIndex(1);
        h.child<QCheckBox>("autoAdvSubjectCheckBox")->click();
        h.controller->MainWindow().resize(900, 800);
        h.child<QPushButton>("raceViewPushButton")->click();
        h.controller->MainWindow().runDisplayDialog()->resize(640, 400);
        h.controller.reset(); // the program ends

        h.start();
        QCOMPARE(h.controller->SubjectNames(), (QStringList{"Ann", "Bob", "Cleo"}));
        QCOMPARE(h.subjectCombo()->currentText(), typed.isEmpty() ? QStringLiteral("Cleo") : typed);
        QCOMPARE(h.runCombo()->currentText(), QStringLiteral("Bravo"));
        QCOMPARE(h.controller->GetSequenceRun().GateCount(), 3); // and loaded for the next run
        QVERIFY(h.child<QCheckBox>("autoAdvSubjectCheckBox")->isChecked());
        QCOMPARE(h.controller->MainWindow().size(), QSize(900, 800));
        h.child<QPushButton>("raceViewPushButton")->click();
        QCOMPARE(h.controller->MainWindow().runDisplayDialog()->size(), QSize(640, 400));
        QCOMPARE(ReadAll(SLMain::ConfigPath()), // the configuration file keeps its one empty section
                 QByteArray("<?xml version=\"1.0\" ?>\n<Configuration>\n    <SLMain />\n</Configuration>\n"));
        QVERIFY(h.dialogs.calls.empty());
    }

    // A folder where the settings file belongs can be neither read nor written.
    void unusableSettingsAreToldOnce_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<QString>("told");
        QTest::newRow("unreadable at start") << true << "Swiftlane could not read its settings file:\n";
        QTest::newRow("unwritable later") << false << "Swiftlane could not save its settings file:\n";
    }
    void unusableSettingsAreToldOnce()
    {
        QFETCH(bool, atStart);
        QFETCH(QString, told);
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Sprint"), {0, 1}, 20.0);
        if (atStart)
            QVERIFY(QDir().mkpath(settingsFile(h)));
        h.start();
        if (!atStart)
            QVERIFY(QDir().mkpath(settingsFile(h)));
        h.setSubjects({QStringLiteral("Ann")}); // saved at once: fails
        h.setSubjects({QStringLiteral("Ann"), QStringLiteral("Bob")});
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        QVERIFY(h.dialogs.calls[0].text.startsWith(told + settingsFile(h) + QStringLiteral("\n\n")));
        h.startPastTheStartGate(); // timing goes on
        h.event(2500, 1);
        h.tick();
        QCOMPARE(h.lastTableRow().mid(0, 3), (QStringList{"Ann", "1.500", "1.500"}));
        h.controller.reset(); // saving at the end tells nothing more
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
    }
};

QTEST_MAIN(KeptSettingsTest)
#include "test_kept_settings.moc"
