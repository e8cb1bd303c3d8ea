#include "ui/SerialPortDialog.h"

#include "common/Trace.h"
#include "devices/CSerialLink.h"
#include "devices/FtdiDatabase.h"
#include "platform/SerialDevices.h"
#include "ui/Resources.h"
#include "ui_SerialPortDialog.h"

#include <cstring>
#include <optional>

namespace {

constexpr int ComPortNames = 19;
constexpr int MaxParityCode = 4;
enum FlowRow
{
    FlowNone = 0,
    FlowHardware = 1,
    FlowXonXoff = 2
};

std::optional<int> NumberIn(const QString& text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

// No row reading `number` leaves the combo without a selection.
void SelectNumber(QComboBox* combo, long long number)
{
    int row = -1;
    for (int i = 0; i < combo->count() && row < 0; ++i) {
        if (NumberIn(combo->itemText(i)) == number)
            row = i;
    }
    combo->setCurrentIndex(row);
}

} // namespace

SerialPortDialog::SerialPortDialog(CSerialLink& serialLink, QWidget* parent)
    : QDialog(parent), ui(new Ui::SerialPortDialog), link(&serialLink)
{
    EnsureResources();
    ui->setupUi(this);
}

SerialPortDialog::~SerialPortDialog()
{
    delete ui;
}

void SerialPortDialog::GetDataFromComPort()
{
    const QString linkPort = link->PortName();
    const QByteArray linkSerial = link->FtdiSerial().toLatin1();
    ui->COMPortComboBox->clear();
    ui->COMPortComboBox->addItem(tr("<none>"));
    int rowToSelect = -1;

    qCDebug(swiftlaneTrace, "GetDataFromComPort 0\n");
    ListFtdiDevices(linkSerial, rowToSelect);
    qCDebug(swiftlaneTrace, "GetDataFromComPort 1\n");
    for (int i = 1; i <= ComPortNames; ++i)
        AddPortRow(QString::asprintf("COM%i", i), linkPort, rowToSelect);
    for (const QString& path : platform::otherSerialDevices())
        AddPortRow(path, linkPort, rowToSelect);
    qCDebug(swiftlaneTrace, "GetDataFromComPort 2\n");
    ui->COMPortComboBox->setCurrentIndex(rowToSelect < 0 ? 0 : rowToSelect);
    ShowLineSettings();
    qCDebug(swiftlaneTrace, "GetDataFromComPort 4, exit\n");
}

void SerialPortDialog::ListFtdiDevices(const QByteArray& linkSerial, int& rowToSelect)
{
    platform::FtdiDeviceList list = platform::readFtdiDeviceList();
    qCDebug(swiftlaneTrace, "FTDI status %lu, devices = %lu\n", static_cast<unsigned long>(list.status),
            static_cast<unsigned long>(list.count));
    nodes = std::move(list.nodes);
    deviceCount = static_cast<std::uint32_t>(nodes.size());
    PatchFtdiDeviceList(nodes.data(), static_cast<int>(nodes.size()));
    qCDebug(swiftlaneTrace, "---");
    for (const platform::FtDeviceListInfoNode& node : nodes) {
        const QByteArray serial = platform::ftdiText(node.SerialNumber).toLatin1();
        qCDebug(swiftlaneTrace, "Desc  = %s", platform::ftdiText(node.Description).toLatin1().constData());
        qCDebug(swiftlaneTrace, "ID = %08X", node.ID);
        qCDebug(swiftlaneTrace, "Type = %lu", static_cast<unsigned long>(node.Type));
        qCDebug(swiftlaneTrace, "LocID = 0x%X", node.LocId);
        qCDebug(swiftlaneTrace, "SerNo = %s", serial.constData());
        ui->COMPortComboBox->addItem(QString::asprintf("USB%X", node.LocId));
        // A link without a serial number is on no FTDI device, whatever a node lacks.
        if (!linkSerial.isEmpty() && serial == linkSerial)
            rowToSelect = ui->COMPortComboBox->count() - 1;
    }
}

void SerialPortDialog::AddPortRow(const QString& label, const QString& linkPort, int& rowToSelect)
{
    ui->COMPortComboBox->addItem(label);
    if (label == linkPort)
        rowToSelect = ui->COMPortComboBox->count() - 1;
}

void SerialPortDialog::ShowLineSettings()
{
    SelectNumber(ui->baudRateComboBox, link->baudRate);
    qCDebug(swiftlaneTrace, "GetDataFromComPort 3\n");
    ui->parityComboBox->setCurrentIndex(link->parity);
    ui->flowComboBox->setCurrentIndex(link->hardwareFlow ? FlowHardware
                                      : link->xonXoff    ? FlowXonXoff
                                                         : FlowNone);
    SelectNumber(ui->dataBitsComboBox, link->dataBits);
    ui->stopBitsComboBox->setCurrentIndex(link->stopBits);
}

QString SerialPortDialog::SerialOfRow(int row) const
{
    const int n = row - 1;
    if (n < 0 || static_cast<std::uint32_t>(n) >= deviceCount || nodes.empty())
        return QString();
    const platform::FtDeviceListInfoNode& node = nodes[static_cast<std::size_t>(n)];
    return platform::ftdiText(node.SerialNumber);
}

void SerialPortDialog::OnBnClickedStart()
{
    qCDebug(swiftlaneTrace, "OnBnClickedStart 0");
    const QString portText = ui->COMPortComboBox->currentText();
    const int row = ui->COMPortComboBox->currentIndex();
    link->SetPortName(portText);
    const QString serial = SerialOfRow(row);
    link->SetFtdiSerial(serial);
    qCDebug(swiftlaneTrace, "selected n = %i, string = %s, FTDI SN = %s\n", row - 1,
            portText.toLatin1().constData(), serial.toLatin1().constData());
    StoreLineSettings();
    link->Close();
    // "<none>" names no port: choosing it closes the link instead of failing to open "<none>".
    if (row <= 0) {
        link->SetPortName(QString());
    } else {
        link->ApplySettings();
        link->Open(true);
    }
    link->NotifyListener();
}

void SerialPortDialog::StoreLineSettings()
{
    if (const auto baud = NumberIn(ui->baudRateComboBox->currentText()))
        link->baudRate = static_cast<std::uint32_t>(*baud);
    const int parityRow = ui->parityComboBox->currentIndex();
    link->parity = static_cast<std::int8_t>(parityRow >= 0 && parityRow <= MaxParityCode ? parityRow : 0);
    switch (ui->flowComboBox->currentIndex()) {
    case FlowNone:
        link->xonXoff = 0;
        link->hardwareFlow = 0;
        break;
    case FlowHardware:
        link->xonXoff = 0;
        link->hardwareFlow = 1;
        break;
    case FlowXonXoff:
        link->xonXoff = 1;
        link->hardwareFlow = 0;
        break;
    default:
        break;
    }
    if (const auto bits = NumberIn(ui->dataBitsComboBox->currentText()))
        link->dataBits = static_cast<std::uint8_t>(*bits);
    if (ui->stopBitsComboBox->currentIndex() >= 0)
        link->stopBits = static_cast<std::uint8_t>(ui->stopBitsComboBox->currentIndex());
}

void SerialPortDialog::on_startPushButton_clicked()
{
    OnBnClickedStart();
}

void SerialPortDialog::on_stopPushButton_clicked()
{
    link->Close();
    link->NotifyListener();
}

// Hidden, not destroyed: the link shows the same dialog next time.
void SerialPortDialog::on_closePushButton_clicked()
{
    close();
}
