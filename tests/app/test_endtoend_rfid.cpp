// The RFID reader end to end: the gate simulator plays the reader on a real pseudo-terminal, and
// the operator opens it in its port dialog, presses "RFID scan" and sees the subject's name.
#include "support/ControllerHarness.h"
#include "support/GateSimProgram.h"
#include "ui/SerialPortDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QtTest>

class EndToEndRfid : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

    static SerialPortDialog* shownDialog(const QString& title)
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<SerialPortDialog*>(widget);
            if (dialog && dialog->isVisible() && dialog->windowTitle() == title)
                return dialog;
        }
        return nullptr;
    }

private slots:
    void scannedTagAppearsInTheSubjectList()
    {
        if (gateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        qputenv("SWIFTLANE_SERIAL_DIR", scratch.filePath("serial").toLocal8Bit());
        QProcess simulator;
        simulator.start(gateSimProgram(),
                        {"--name", "RFID1", "--interval", "0", "--rfid-reader", "04A3B2C1,77"});
        const QString readerLink = scratch.filePath("serial/RFID1");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(readerLink).isSymLink(), 5000);
        const QString readerPath = QFileInfo(readerLink).symLinkTarget();

        ControllerHarness h(false);
        QFile tags(scratch.filePath("tags.csv"));
        QVERIFY(tags.open(QIODevice::WriteOnly) && tags.write("04A3B2C1, Ann Lee\n") > 0);
        tags.close();
        h.dialogs.fileAnswers.push_back(tags.fileName());
        h.start(true);
        SLMainWindow& window = h.controller->MainWindow();
        window.findChild<QAction*>("actionImport_RFID_Tag_Names")->trigger();

        window.findChild<QAction*>("actionRFID_Scanning")->trigger();
        SerialPortDialog* dialog = shownDialog("RFID Scanner Port");
        QVERIFY(dialog);
        auto* ports = dialog->findChild<QComboBox*>("COMPortComboBox");
        const int row = ports->findText(readerPath);
        QVERIFY2(row > 19, qPrintable(readerPath)); // listed after COM1 .. COM19
        ports->setCurrentIndex(row);
        QTest::mouseClick(dialog->findChild<QPushButton*>("startPushButton"), Qt::LeftButton);
        h.tick();
        auto* scan = window.findChild<QPushButton*>("RFIDScanButton");
        QVERIFY(scan->isEnabled());

        QTest::mouseClick(scan, Qt::LeftButton);
        QTest::mouseClick(scan, Qt::LeftButton);
        QElapsedTimer waited;
        waited.start();
        while (h.controller->SubjectNames().size() < 2 && waited.elapsed() < 3000) {
            QThread::msleep(5);
            h.tick();
        }
        QCOMPARE(h.controller->SubjectNames(), QStringList({"Ann Lee", "77"}));
        QVERIFY(h.dialogs.calls.empty());

        simulator.terminate();
        QVERIFY(simulator.waitForFinished(3000));
        QVERIFY(!QFileInfo(readerLink).isSymLink());
    }
};

QTEST_MAIN(EndToEndRfid)
#include "test_endtoend_rfid.moc"
