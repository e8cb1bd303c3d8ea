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

// Every row the dialog lists here: the two adapters, COM1 to COM19, the other serial devices.
QStringList allRows()
{
    QStringList rows{"<none>", "USB11", "USB22"};
    for (int i = 1; i <= 19; ++i)
        rows << QStringLiteral("COM%1").arg(i);
    return rows << "/dev/ttyACM0"
                << "/dev/pts/7";
}

const char* const LineBoxes[] = {"baudRateComboBox", "parityComboBox", "flowComboBox", "dataBitsComboBox",
                                 "stopBitsComboBox"};

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

    SerialPortDialog* show()
    {
        link->ShowPortDialog(QStringLiteral("Port"));
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
        QVERIFY2(combo("COMPortComboBox")->findText(label) >= 0, qPrintable(label));
        combo("COMPortComboBox")->setCurrentIndex(combo("COMPortComboBox")->findText(label));
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

    void listsEveryPortAndSelectsTheLinks()
    {
        const struct
        {
            const char *portName, *ftdiSerial;
            int selected;
        } cases[] = {
            {"COM3", "", 5},          // after two adapters
            {"USB22", "FT2", 2},      // adapter found by its serial number
            {"USB99", "FT1", 1},      // the serial number wins over a stale label
            {"/dev/ttyACM0", "", 22}, // other device, by path
            {"", "", 0},              // no port
            {"COM42", "", 0},         // a port that is gone
        };
        for (const auto& c : cases) {
            link->SetFtdiSerial(c.ftdiSerial);
            link->SetPortName(c.portName);
            show();
            QCOMPARE(portRows(), allRows());
            QVERIFY2(combo("COMPortComboBox")->currentIndex() == c.selected, c.portName);
        }
    }

    // A device list that fails leaves the COM rows usable; a device that a later listing reports
    // without its location id keeps its row (not "USB0").
    void deviceListFaults()
    {
        for (const QString fault : {"create", "get", "locId"}) {
            cleanup();
            init();
            if (fault == "locId") { // known from an earlier listing
                show();
                ftdi->device("FT1")->locId = 0;
            }
            ftdi->createListStatus = fault == "create" ? platform::FT_IO_ERROR : platform::FT_OK;
            ftdi->getListStatus = fault == "get" ? platform::FT_IO_ERROR : platform::FT_OK;
            show();
            QCOMPARE(portRows().value(1), fault == "locId" ? "USB11" : "COM1");
            choosePort("COM3");
            click("startPushButton");
            QVERIFY(link->IsOpen() && link->linkKind == CSerialLink::ComLink);
        }
    }

    // Start opens the row chosen, or closes the link on "<none>" (no port of that name to fail on);
    // a port that will not open is reported and forgotten.
    void start()
    {
        const struct
        {
            const char *row, *serial, *portAfter, *message;
            int kind; // -1: closed
        } cases[] = {
            {"USB22", "FT2", "USB22", "", CSerialLink::FtdiLink},
            {"COM3", "", "COM3", "", CSerialLink::ComLink},
            {"/dev/ttyACM0", "", "/dev/ttyACM0", "", CSerialLink::ComLink},
            {"<none>", "", "", "", -1},
            {"COM7", "", "", "Failed to open\nCom link COM7", -1},
        };
        for (const auto& c : cases) {
            cleanup();
            init();
            link->SetPortName("COM3");
            if (c.row == QLatin1String("<none>"))
                QVERIFY(link->Open(false));
            link->SetFtdiSerial("FT1");
            show();
            choosePort(c.row);
            click("startPushButton");
            QVERIFY2(link->IsOpen() == (c.kind >= 0) && (c.kind < 0 || link->linkKind == c.kind), c.row);
            QCOMPARE(link->FtdiSerial(), QString(c.serial));
            QCOMPARE(link->PortName(), QString(c.portAfter));
            QCOMPARE(dialogs.calls.empty() ? QString() : dialogs.calls[0].text, QString(c.message));
            show();
            QCOMPARE(combo("COMPortComboBox")->currentText(), QString(*c.portAfter ? c.portAfter : "<none>"));
        }
    }

    // What Start stores comes back on the next showing; a baud rate outside the list is kept.
    void lineSettingsRoundTrip()
    {
        // Shown: baud rate, parity, flow control, data bits, stop bits. Stored: baud, parity,
        // xon/xoff, hardware flow, data bits, stop bits.
        const std::pair<QString, QList<int>> cases[] = {
            {"9600 None Xon/Xoff 8 1", {9600, 0, 1, 0, 8, 0}},
            {"115200 Even Hardware 7 2", {115200, 2, 0, 1, 7, 2}},
            {"19200 Mark None 5 1.5", {19200, 3, 0, 0, 5, 1}},
            {" None None 8 1", {4800, 0, 0, 0, 8, 0}}, // the baud rate set before, not listed
        };
        for (const auto& [shown, stored] : cases) {
            cleanup();
            init();
            const QStringList texts = shown.split(' ');
            link->baudRate = 4800;
            show();
            choosePort("COM3");
            for (int i = 0; i < 5; ++i)
                if (!texts[i].isEmpty())
                    combo(LineBoxes[i])->setCurrentText(texts[i]);
            click("startPushButton");
            QVERIFY(link->IsOpen());
            QCOMPARE((QList<int>{int(link->baudRate), link->parity, link->xonXoff, link->hardwareFlow,
                                 link->dataBits, link->stopBits}),
                     stored);
            click("closePushButton");
            show();
            QCOMPARE(combo("COMPortComboBox")->currentText(), QString("COM3"));
            for (int i = 0; i < 5; ++i)
                QCOMPARE(combo(LineBoxes[i])->currentText(), texts[i]);
        }
    }

    void stopClosesAndStartReopens()
    {
        show();
        choosePort("COM3");
        click("startPushButton");
        click("stopPushButton");
        QVERIFY(!link->IsOpen());
        QCOMPARE(listener.changes, 2);
        click("startPushButton");
        QVERIFY(link->IsOpen());
        QCOMPARE(link->PortName(), QString("COM3"));
        QVERIFY(dialogs.calls.empty());
    }

    // One modeless dialog per link, kept when closed.
    void eachLinkKeepsOneModelessDialog()
    {
        SerialPortDialog* first = show();
        QVERIFY(first->isVisible() && !first->isModal());
        click("closePushButton");
        QVERIFY(!first->isVisible());
        QCOMPARE(show(), first);
        CSerialLink other;
        other.SetUi(linkUi.get());
        other.ShowPortDialog(QStringLiteral("Other"));
        QVERIFY(linkUi->DialogOf(other) && linkUi->DialogOf(other) != first);
    }
};

QTEST_MAIN(TestSerialPortDialog)
#include "test_serial_port_dialog.moc"
