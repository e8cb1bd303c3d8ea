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

    // A device list that fails leaves the COM rows usable; a device that a later listing reports
    // without its location id keeps its row (not "USB0").
    void listsEveryPortAndSelectsTheLinks()
    {
        const struct
        {
            const char *portName, *ftdiSerial;
            int selected;
            QString fault;
        } cases[] = {
            {"COM3", "", 5, ""},          // after two adapters
            {"USB22", "FT2", 2, ""},      // adapter found by its serial number
            {"USB99", "FT1", 1, ""},      // the serial number wins over a stale label
            {"/dev/ttyACM0", "", 22, ""}, // other device, by path
            {"", "", 0, ""},              // no port
            {"COM42", "", 0, ""},         // a port that is gone
            {"USB99", "FT1", 1, "locId"}, // known from the listings before
            {"COM3", "", 3, "create"},
            {"COM3", "", 3, "get"},
        };
        for (const auto& c : cases) {
            if (c.fault == "locId")
                ftdi->device("FT1")->locId = 0;
            ftdi->createListStatus = c.fault == "create" ? platform::FT_IO_ERROR : platform::FT_OK;
            ftdi->getListStatus = c.fault == "get" ? platform::FT_IO_ERROR : platform::FT_OK;
            link->SetFtdiSerial(c.ftdiSerial);
            link->SetPortName(c.portName);
            show();
            QStringList rows = allRows(), shown;
            if (c.fault == "create" || c.fault == "get")
                rows.remove(1, 2);
            for (int i = 0; i < combo("COMPortComboBox")->count(); ++i)
                shown << combo("COMPortComboBox")->itemText(i);
            QCOMPARE(shown, rows);
            QVERIFY2(combo("COMPortComboBox")->currentIndex() == c.selected, c.portName);
        }
        // Stop closes the link; the modeless dialog is kept when closed, one per link.
        SerialPortDialog* first = linkUi->DialogOf(*link);
        QVERIFY(first->isVisible() && !first->isModal());
        listener.changes = 0;
        click("startPushButton");
        QVERIFY(link->IsOpen() && link->linkKind == CSerialLink::ComLink);
        click("stopPushButton");
        QVERIFY(!link->IsOpen());
        QCOMPARE(listener.changes, 2);
        click("closePushButton");
        QVERIFY(!first->isVisible());
        QCOMPARE(show(), first);
        CSerialLink other;
        other.SetUi(linkUi.get());
        other.ShowPortDialog(QStringLiteral("Other"));
        QVERIFY(linkUi->DialogOf(other) && linkUi->DialogOf(other) != first);
    }

    // Start opens the row chosen, or closes the link on "<none>" (no port of that name to fail on);
    // a port that will not open is reported and forgotten. The line settings Start stores come back
    // on the next showing, a baud rate outside the list included.
    void start()
    {
        const struct
        {
            const char* row;
            int kind;                    // -1: closed
            const char *message, *shown; // shown: baud rate, parity, flow control, data bits, stop bits
            QList<int> stored;           // baud, parity, xon/xoff, hardware flow, data bits, stop bits
        } cases[] = {
            {"USB22", CSerialLink::FtdiLink, "", "", {}},
            {"COM3", CSerialLink::ComLink, "", "9600 None Xon/Xoff 8 1", {9600, 0, 1, 0, 8, 0}},
            {"COM3", CSerialLink::ComLink, "", "115200 Even Hardware 7 2", {115200, 2, 0, 1, 7, 2}},
            {"/dev/ttyACM0", CSerialLink::ComLink, "", "19200 Mark None 5 1.5", {19200, 3, 0, 0, 5, 1}},
            {"COM3", CSerialLink::ComLink, "", " None None 8 1", {4800, 0, 0, 0, 8, 0}}, // baud unlisted
            {"<none>", -1, "", "", {}},
            {"COM7", -1, "Failed to open\nCom link COM7", "", {}},
        };
        for (const auto& c : cases) {
            cleanup();
            init();
            link->SetPortName("COM3");
            if (c.row == QLatin1String("<none>"))
                QVERIFY(link->Open(false));
            link->SetFtdiSerial("FT1");
            link->baudRate = 4800;
            show();
            choosePort(c.row);
            const QStringList texts = QString(c.shown).split(' ');
            for (int i = 0; i < 5 && !c.stored.isEmpty(); ++i)
                combo(LineBoxes[i])->setCurrentText(texts[i]); // "" matches no row: left as shown
            click("startPushButton");
            QVERIFY2(link->IsOpen() == (c.kind >= 0) && (c.kind < 0 || link->linkKind == c.kind), c.row);
            const QString portAfter = c.kind < 0 ? "" : c.row;
            QCOMPARE(link->FtdiSerial(), QString(c.kind == CSerialLink::FtdiLink ? "FT2" : ""));
            QCOMPARE(link->PortName(), portAfter);
            QCOMPARE(dialogs.calls.empty() ? QString() : dialogs.calls[0].text, QString(c.message));
            click("closePushButton");
            show();
            QCOMPARE(combo("COMPortComboBox")->currentText(), c.kind < 0 ? "<none>" : portAfter);
            if (c.stored.isEmpty())
                continue;
            QCOMPARE((QList<int>{int(link->baudRate), link->parity, link->xonXoff, link->hardwareFlow,
                                 link->dataBits, link->stopBits}),
                     c.stored);
            for (int i = 0; i < 5; ++i)
                QCOMPARE(combo(LineBoxes[i])->currentText(), texts[i]);
        }
    }
};

QTEST_MAIN(TestSerialPortDialog)
#include "test_serial_port_dialog.moc"
