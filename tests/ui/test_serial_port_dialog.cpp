// The serial port dialog on fake FTDI devices and fake COM ports: the rows it lists, the row it
// selects, and what Start, Stop and Close do to the link.
#include "devices/CSerialLink.h"
#include "devices/CSerialLnkInf.h"
#include "devices/FtdiDatabase.h"
#include "platform/SerialDevices.h"
#include "support/FakeComPort.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtdiDevices.h"
#include "ui/SerialLinkDialogs.h"
#include "ui/SerialPortDialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

struct CountingListener : CSerialLnkInf
{
    void OnPortChanged() override { ++changes; }
    int changes = 0;
};

QStringList comRows()
{
    QStringList rows;
    for (int i = 1; i <= 19; ++i)
        rows << QStringLiteral("COM%1").arg(i);
    return rows;
}

} // namespace

class TestSerialPortDialog : public QObject
{
    Q_OBJECT

    FakeDialogs dialogs;
    std::unique_ptr<platform::FakeFtdiDevices> ftdi;
    std::unique_ptr<platform::FakeComPorts> ports;
    std::unique_ptr<SerialLinkDialogs> linkUi;
    std::unique_ptr<CSerialLink> link;
    CountingListener listener;

    SerialPortDialog* show(const QString& title = QStringLiteral("RFID Scanner Port"))
    {
        link->ShowPortDialog(title);
        return linkUi->DialogOf(*link);
    }
    QComboBox* combo(const char* name) { return linkUi->DialogOf(*link)->findChild<QComboBox*>(name); }
    QStringList portRows()
    {
        QStringList rows;
        for (int i = 0; i < combo("COMPortComboBox")->count(); ++i)
            rows << combo("COMPortComboBox")->itemText(i);
        return rows;
    }
    void choosePort(const QString& label)
    {
        const int row = combo("COMPortComboBox")->findText(label);
        QVERIFY2(row >= 0, qPrintable(label));
        combo("COMPortComboBox")->setCurrentIndex(row);
    }
    void click(const char* button)
    {
        QTest::mouseClick(linkUi->DialogOf(*link)->findChild<QPushButton*>(button), Qt::LeftButton);
    }

private slots:
    void init()
    {
        dialogs.calls.clear();
        ftdi.reset(); // the old fakes uninstall themselves on the way out
        ports.reset();
        ftdi = std::make_unique<platform::FakeFtdiDevices>();
        ftdi->addDevice("Swiftlane gate adapter", "FT1", 0x11);
        ftdi->addDevice("Reader", "FT2", 0x22);
        ports = std::make_unique<platform::FakeComPorts>();
        ports->addPort("COM3");
        ports->addPort("/dev/ttyACM0");
        platform::setOtherSerialDevices([] { return QStringList{"/dev/ttyACM0", "/dev/pts/7"}; });
        InitFtdiDatabase();
        linkUi = std::make_unique<SerialLinkDialogs>();
        link = std::make_unique<CSerialLink>();
        link->SetUi(linkUi.get());
        link->SetListener(&listener);
        listener.changes = 0;
    }
    void cleanup()
    {
        link.reset();
        linkUi.reset();
        EmptyFtdiDatabase();
        platform::setOtherSerialDevices(nullptr);
    }

    void listsEveryPortAndSelectsTheLinks_data()
    {
        QTest::addColumn<QString>("portName");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("ftdiSerial");
        QTest::newRow("COM3 after two adapters is row 5") << "COM3" << 5 << "";
        QTest::newRow("adapter found by its serial number") << "USB22" << 2 << "FT2";
        QTest::newRow("serial number wins over a stale label") << "USB99" << 1 << "FT1";
        QTest::newRow("other device by path") << "/dev/ttyACM0" << 22 << "";
        QTest::newRow("no port") << "" << 0 << "";
        QTest::newRow("port that is gone") << "COM42" << 0 << "";
    }
    void listsEveryPortAndSelectsTheLinks()
    {
        QFETCH(QString, portName);
        QFETCH(int, selected);
        QFETCH(QString, ftdiSerial);
        link->SetFtdiSerial(ftdiSerial);
        link->SetPortName(portName);
        show();
        QCOMPARE(portRows(), QStringList({"<none>", "USB11", "USB22"}) + comRows() +
                                 QStringList({"/dev/ttyACM0", "/dev/pts/7"}));
        QCOMPARE(combo("COMPortComboBox")->currentIndex(), selected);
    }

    void failingDeviceListLeavesTheOtherRows()
    {
        ftdi->createListStatus = platform::FT_IO_ERROR;
        show();
        QCOMPARE(portRows().mid(0, 2), QStringList({"<none>", "COM1"}));
        ftdi->createListStatus = platform::FT_OK;
        ftdi->getListStatus = platform::FT_IO_ERROR;
        show();
        QCOMPARE(portRows().mid(0, 2), QStringList({"<none>", "COM1"}));
        choosePort("COM3");
        click("startPushButton");
        QCOMPARE(link->linkKind, int(CSerialLink::ComLink));
        QVERIFY(link->IsOpen());
    }

    // A device that a later listing reports without its location id keeps its row.
    void rememberedAdapterKeepsItsRow()
    {
        show();
        ftdi->device("FT1")->locId = 0;
        show();
        QCOMPARE(portRows().mid(0, 3), QStringList({"<none>", "USB11", "USB22"})); // not "USB0"
    }

    void startOpensTheChosenPort_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("serial");
        QTest::newRow("FTDI device") << "USB22" << int(CSerialLink::FtdiLink) << "FT2";
        QTest::newRow("COM port") << "COM3" << int(CSerialLink::ComLink) << "";
        QTest::newRow("device path") << "/dev/ttyACM0" << int(CSerialLink::ComLink) << "";
    }
    void startOpensTheChosenPort()
    {
        QFETCH(QString, row);
        QFETCH(int, kind);
        QFETCH(QString, serial);
        link->SetFtdiSerial("FT1");
        show();
        choosePort(row);
        click("startPushButton");
        QVERIFY(link->IsOpen());
        QCOMPARE(link->linkKind, kind);
        QCOMPARE(link->FtdiSerial(), serial);
        QCOMPARE(link->PortName(), row);
        QCOMPARE(listener.changes, 1);
        QVERIFY(dialogs.calls.empty());
    }

    // Start with "<none>" closes the link; there is no port named "<none>" to fail on.
    void startOnNoneClosesTheLinkQuietly()
    {
        link->SetPortName("COM3");
        QVERIFY(link->Open(false));
        show();
        choosePort("<none>");
        click("startPushButton");
        QVERIFY(!link->IsOpen());
        QCOMPARE(link->PortName(), QString());
        QVERIFY2(dialogs.calls.empty(), dialogs.calls.empty() ? "" : qPrintable(dialogs.calls[0].text));
        QCOMPARE(listener.changes, 1);
        show();
        QCOMPARE(combo("COMPortComboBox")->currentIndex(), 0);
    }

    void startOnAMissingPortWarnsAndClearsIt()
    {
        show();
        choosePort("COM7");
        click("startPushButton");
        QVERIFY(!link->IsOpen());
        QCOMPARE(dialogs.calls.size(), std::size_t(1));
        QCOMPARE(dialogs.calls[0].text, QString("Failed to open\nCom link COM7"));
        QCOMPARE(link->PortName(), QString());
    }

    // What Start stores comes back on the next showing.
    void lineSettingsRoundTrip_data()
    {
        QTest::addColumn<QString>("shown");     // baud rate, parity, flow control, data bits, stop bits
        QTest::addColumn<QList<int>>("stored"); // baud, parity, xon/xoff, hardware, data bits, stop bits
        QTest::newRow("Xon/Xoff") << "9600 None Xon/Xoff 8 1" << QList<int>{9600, 0, 1, 0, 8, 0};
        QTest::newRow("Hardware") << "115200 Even Hardware 7 2" << QList<int>{115200, 2, 0, 1, 7, 2};
        QTest::newRow("Mark, 1.5 stop bits") << "19200 Mark None 5 1.5" << QList<int>{19200, 3, 0, 0, 5, 1};
    }
    void lineSettingsRoundTrip()
    {
        QFETCH(QString, shown);
        QFETCH(QList<int>, stored);
        const char* boxes[] = {"baudRateComboBox", "parityComboBox", "flowComboBox", "dataBitsComboBox",
                               "stopBitsComboBox"};
        const QStringList texts = shown.split(' ');
        show();
        choosePort("COM3");
        for (int i = 0; i < 5; ++i)
            combo(boxes[i])->setCurrentText(texts[i]);
        click("startPushButton");
        QCOMPARE((QList<int>{int(link->baudRate), link->parity, link->xonXoff, link->hardwareFlow,
                             link->dataBits, link->stopBits}),
                 stored);
        click("closePushButton");
        show();
        QCOMPARE(combo("COMPortComboBox")->currentText(), QString("COM3"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(combo(boxes[i])->currentText(), texts[i]);
    }

    void baudRateOutsideTheListIsKept()
    {
        link->baudRate = 4800;
        show();
        QCOMPARE(combo("baudRateComboBox")->currentIndex(), -1);
        choosePort("COM3");
        click("startPushButton");
        QCOMPARE(link->baudRate, 4800u);
        QVERIFY(link->IsOpen());
    }

    void stopClosesAndStartReopens()
    {
        show();
        choosePort("COM3");
        click("startPushButton");
        QVERIFY(link->IsOpen());
        click("stopPushButton");
        QVERIFY(!link->IsOpen());
        QCOMPARE(listener.changes, 2);
        click("startPushButton");
        QVERIFY(link->IsOpen());
        QCOMPARE(link->PortName(), QString("COM3"));
        QVERIFY(dialogs.calls.empty());
    }

    // One modeless dialog per link, kept when closed, titled by whoever shows it.
    void eachLinkKeepsOneModelessDialog()
    {
        SerialPortDialog* first = show(QStringLiteral("Swiftlane COM Port"));
        QVERIFY(first->isVisible());
        QVERIFY(!first->isModal());
        QCOMPARE(first->windowTitle(), QString("Swiftlane COM Port"));
        click("closePushButton");
        QVERIFY(!first->isVisible());
        QCOMPARE(show(QStringLiteral("Again")), first);
        QCOMPARE(first->windowTitle(), QString("Again"));
        CSerialLink other;
        other.SetUi(linkUi.get());
        other.ShowPortDialog(QStringLiteral("Other"));
        QVERIFY(linkUi->DialogOf(other) && linkUi->DialogOf(other) != first);
    }
};

QTEST_MAIN(TestSerialPortDialog)
#include "test_serial_port_dialog.moc"
