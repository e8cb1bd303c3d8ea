// The operator's set-up survives a restart through the program's settings file (in the harness's
// scratch folder), and a settings file that cannot be used costs one message, never a run.
#include "support/ControllerHarness.h"
#include "ui/RunDisplayDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

namespace {

QCheckBox* autoAdvance(ControllerHarness& h)
{
    return h.controller->MainWindow().findChild<QCheckBox*>(QStringLiteral("autoAdvSubjectCheckBox"));
}

QString settingsFile(const ControllerHarness& h)
{
    return h.dataDir.path() + QStringLiteral("/config/Swiftlane/swiftlane.conf"); // where the harness puts it
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class KeptSettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void restartKeepsTheOperatorsSetUp()
    {
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Alpha"), {0, 1}, 20.0);
        h.writeSequence(QStringLiteral("Bravo"), {0, 1, 2}, 30.0);
        h.start();
        h.setSubjects({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cleo")});
        h.subjectCombo()->setCurrentIndex(2);
        h.runCombo()->setCurrentIndex(1);
        autoAdvance(h)->click();
        h.controller->MainWindow().resize(900, 800);
        h.controller->MainWindow().findChild<QPushButton*>(QStringLiteral("raceViewPushButton"))->click();
        h.controller->MainWindow().runDisplayDialog()->resize(640, 400);
        h.controller.reset(); // the program ends

        h.start();
        QCOMPARE(h.controller->SubjectNames(), (QStringList{"Ann", "Bob", "Cleo"}));
        QCOMPARE(h.subjectCombo()->currentText(), QStringLiteral("Cleo"));
        QCOMPARE(h.runCombo()->currentText(), QStringLiteral("Bravo"));
        QCOMPARE(h.controller->GetSequenceRun().GateCount(), 3); // and loaded for the next run
        QVERIFY(autoAdvance(h)->isChecked());
        QCOMPARE(h.controller->MainWindow().size(), QSize(900, 800));
        h.controller->MainWindow().findChild<QPushButton*>(QStringLiteral("raceViewPushButton"))->click();
        QCOMPARE(h.controller->MainWindow().runDisplayDialog()->size(), QSize(640, 400));
        // The configuration file keeps its one empty section.
        QCOMPARE(readAll(SLMain::ConfigPath()),
                 QByteArray("<?xml version=\"1.0\" ?>\n<Configuration>\n    <SLMain />\n</Configuration>\n"));
        QCOMPARE(h.dialogs.calls.size(), std::size_t(0));
    }

    // A name typed into the box but not in the list comes back as typed.
    void restartKeepsATypedName()
    {
        ControllerHarness h;
        h.start();
        h.setSubjects({QStringLiteral("Ann")});
        h.subjectCombo()->setEditText(QStringLiteral("Zoe"));
        h.controller.reset();
        h.start();
        QCOMPARE(h.controller->SubjectNames(), QStringList{"Ann"});
        QCOMPARE(h.subjectCombo()->currentText(), QStringLiteral("Zoe"));
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
        // Timing goes on.
        h.status(500);
        h.tick();
        h.clickStart();
        h.event(1000, 0);
        h.event(2500, 1);
        h.tick();
        QCOMPARE(h.lastTableRow().mid(0, 3), (QStringList{"Ann", "1.500", "1.500"}));
        h.controller.reset(); // saving at the end tells nothing more
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
    }
};

QTEST_MAIN(KeptSettingsTest)
#include "test_kept_settings.moc"
