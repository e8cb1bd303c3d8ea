// The RFID reader as the operator uses it: the hidden controls, the scan button that follows the
// scanner link, scanned tags in the subject list, and the tag/name import.
#include "support/ControllerHarness.h"
#include "support/FakeComPort.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

class RfidControllerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir files;

    QString write(const QString& name, const QByteArray& content)
    {
        const QString path = files.filePath(name);
        return WriteAll(path, content) ? path : QString();
    }

private Q_SLOTS:
    void rfidControlsAreHiddenUnlessAskedFor()
    {
        for (bool asked : {false, true}) {
            ControllerHarness h;
            h.start(asked);
            QCOMPARE(h.child<QPushButton>("RFIDScanButton")->isVisible(), asked);
            for (const char* action : {"actionRFID_Scanning", "actionImport_RFID_Tag_Names"})
                QCOMPARE(h.child<QAction>(action)->isVisible(), asked);
        }
    }

    // The scan button follows the scanner link (fake port COM4, opened as Start in its port dialog
    // would); scanned tags join the subject list by their imported names.
    void scannedTagsJoinTheSubjectListByName()
    {
        platform::FakeComPorts ports;
        ControllerHarness h;
        h.start(true);
        QPushButton* scan = h.child<QPushButton>("RFIDScanButton");
        h.tick();
        QVERIFY(!scan->isEnabled());
        platform::FakeComPortState& reader = ports.addPort("COM4");
        h.controller->RfidScanner().Link().SetPortName("COM4");
        QVERIFY(h.controller->RfidScanner().Link().Open(false));
        h.dialogs.fileAnswers.push_back(write("tags.csv", "04A3B2C1,Ann Lee\n"));
        h.child<QAction>("actionImport_RFID_Tag_Names")->trigger();
        h.tick();
        QVERIFY(scan->isEnabled());
        QTest::mouseClick(scan, Qt::LeftButton);
        QCOMPARE(reader.sent, QByteArray("r"));
        reader.incoming = "04A3B2C1\r\n";
        h.tick();
        reader.incoming = "99AA\r\n";
        h.tick();
        QCOMPARE(h.controller->SubjectNames(), QStringList({"Ann Lee", "99AA"}));
        h.controller->RfidScanner().Link().Close();
        h.tick();
        QVERIFY(!scan->isEnabled());
    }

    // A cancelled import changes nothing; one stopped by a line too long for its buffer keeps the
    // pairs before it, and the operator hears where, as when the file cannot be read.
    void tagImport_data()
    {
        QTest::addColumn<QString>("file"); // empty: the dialog is cancelled
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("cancelled") << "" << 0 << QStringList{};
        QTest::newRow("too long a line")
            << "long.csv" << 2 << QStringList{"Line 3 of long.csv", "2 tag/name pairs"};
        QTest::newRow("unreadable") << "gone.csv" << 0 << QStringList{"gone.csv"};
    }
    void tagImport()
    {
        QFETCH(QString, file);
        QFETCH(int, pairs);
        QFETCH(QStringList, told);
        ControllerHarness h;
        h.start(true);
        write("long.csv", "A,Ann\nB,Bob\nC," + QByteArray(600, 'x') + "\nD,Dee\n");
        h.dialogs.fileAnswers = {file.isEmpty() ? QString() : files.filePath(file)};
        h.controller->ImportRFIDTagNames();
        QCOMPARE(h.dialogs.fileCalls.size(), std::size_t(1));
        QCOMPARE(int(h.controller->TagNames().size()), pairs);
        QCOMPARE(h.dialogs.calls.size(), std::size_t(told.isEmpty() ? 0 : 1));
        for (const QString& part : told)
            QVERIFY2(h.dialogs.calls[0].text.contains(part), qPrintable(h.dialogs.calls[0].text));
    }
};

QTEST_MAIN(RfidControllerTest)
#include "test_rfid_controller.moc"
