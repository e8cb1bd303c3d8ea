// The RFID reader as the operator uses it: the hidden controls, the scan button that follows the
// scanner link, scanned tags in the subject list, and the tag/name import.
#include "support/ControllerHarness.h"
#include "support/FakeComPort.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QPushButton* scanButton(ControllerHarness& h)
{
    return h.controller->MainWindow().findChild<QPushButton*>(QStringLiteral("RFIDScanButton"));
}

QStringList subjects(ControllerHarness& h)
{
    return h.controller->SubjectNames();
}

} // namespace

class RfidControllerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir files;

    QString write(const QString& name, const QByteArray& content)
    {
        const QString path = files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the test file");
        return path;
    }

    // The scanner link opened on fake port COM4, as Start in its port dialog would.
    static platform::FakeComPortState& openScanner(ControllerHarness& h, platform::FakeComPorts& ports)
    {
        platform::FakeComPortState& port = ports.addPort("COM4");
        h.controller->RfidScanner().Link().SetPortName("COM4");
        if (!h.controller->RfidScanner().Link().Open(false))
            qFatal("the fake port did not open");
        return port;
    }

private Q_SLOTS:
    void rfidControlsAreHiddenUnlessAskedFor_data()
    {
        QTest::addColumn<bool>("asked");
        QTest::newRow("default") << false;
        QTest::newRow("--rfid") << true;
    }
    void rfidControlsAreHiddenUnlessAskedFor()
    {
        QFETCH(bool, asked);
        ControllerHarness h;
        h.start(asked);
        SLMainWindow& window = h.controller->MainWindow();
        QCOMPARE(scanButton(h)->isVisible(), asked);
        for (const char* action : {"actionRFID_Scanning", "actionImport_RFID_Tag_Names"})
            QCOMPARE(window.findChild<QAction*>(action)->isVisible(), asked);
    }

    void scanButtonFollowsTheScannerLink()
    {
        platform::FakeComPorts ports;
        ControllerHarness h;
        h.start(true);
        h.tick();
        QVERIFY(!scanButton(h)->isEnabled());
        openScanner(h, ports);
        h.tick();
        QVERIFY(scanButton(h)->isEnabled());
        h.controller->RfidScanner().Link().Close();
        h.tick();
        QVERIFY(!scanButton(h)->isEnabled());
    }

    void scannedTagsJoinTheSubjectListByName()
    {
        platform::FakeComPorts ports;
        ControllerHarness h;
        h.start(true);
        platform::FakeComPortState& reader = openScanner(h, ports);
        h.dialogs.fileAnswers.push_back(write("tags.csv", "04A3B2C1,Ann Lee\n"));
        h.controller->MainWindow().findChild<QAction*>("actionImport_RFID_Tag_Names")->trigger();
        h.tick();
        QTest::mouseClick(scanButton(h), Qt::LeftButton);
        QCOMPARE(reader.sent, QByteArray("r"));
        reader.incoming = "04A3B2C1\r\n";
        h.tick();
        reader.incoming = "99AA\r\n";
        h.tick();
        QCOMPARE(subjects(h), QStringList({"Ann Lee", "99AA"}));
    }

    void tagImportAsksForTheFileAndMayBeCancelled()
    {
        ControllerHarness h;
        h.start(true);
        h.controller->ImportRFIDTagNames();
        QCOMPARE(h.dialogs.fileCalls.size(), std::size_t(1));
        QCOMPARE(h.dialogs.fileCalls[0].parent, &h.controller->MainWindow());
        QCOMPARE(h.dialogs.fileCalls[0].caption, QString("Select RFID tag / name file"));
        QCOMPARE(h.dialogs.fileCalls[0].filter, QString("Text (*.txt *.csv)"));
        QVERIFY(h.controller->TagNames().empty());
        QVERIFY(h.dialogs.calls.empty());
    }

    // The import still stops at a line too long for its buffer, but the operator hears where,
    // and how much came in before it.
    void tagImportTellsWhereATooLongLineStoppedIt()
    {
        ControllerHarness h;
        h.start(true);
        h.dialogs.fileAnswers.push_back(
            write("long.csv", "A,Ann\nB,Bob\nC," + QByteArray(600, 'x') + "\nD,Dee\n"));
        h.controller->ImportRFIDTagNames();
        QCOMPARE(h.controller->TagNames().size(), std::size_t(2));
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        QCOMPARE(h.dialogs.calls[0].parent, &h.controller->MainWindow());
        const QString text = h.dialogs.calls[0].text;
        QVERIFY2(text.contains("Line 3 of long.csv") && text.contains("2 tag/name pairs"), qPrintable(text));
    }

    void tagImportTellsWhenTheFileCannotBeRead()
    {
        ControllerHarness h;
        h.start(true);
        h.dialogs.fileAnswers.push_back(files.filePath("gone.csv"));
        h.controller->ImportRFIDTagNames();
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        QVERIFY2(h.dialogs.calls[0].text.contains("gone.csv"), qPrintable(h.dialogs.calls[0].text));
    }
};

QTEST_MAIN(RfidControllerTest)
#include "test_rfid_controller.moc"
