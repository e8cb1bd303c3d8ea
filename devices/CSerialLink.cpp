#include "devices/CSerialLink.h"

#include "common/Trace.h"
#include "devices/CSerialLnkInf.h"
#include "devices/SerialLinkUi.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace {

// The store keeps one byte in reserve: a chunk is taken only while it leaves the count below 256.
constexpr int StoreCapacity = CSerialLink::StoreSize - 1;

} // namespace

CSerialLink::CSerialLink() = default;

CSerialLink::~CSerialLink()
{
    Close();
}

bool CSerialLink::IsOpen() const
{
    switch (linkKind) {
    case ComLink:
        return comPort && comPort->isOpen();
    case FtdiLink:
        return ftdiOpen != 0;
    default:
        return false;
    }
}

bool CSerialLink::Open(bool showError)
{
    if ((linkKind == ComLink || linkKind == FtdiLink) && IsOpen()) {
        ShowWarning(portName + " already open!");
        return true;
    }
    return OpenDevice(showError);
}

bool CSerialLink::OpenPort(bool showError, const QString& name)
{
    portName = name;
    return OpenDevice(showError);
}

bool CSerialLink::OpenDevice(bool showError)
{
    switch (linkKind) {
    case ComLink:
        return OpenCom(showError);
    case FtdiLink:
        return OpenFtdi(showError);
    default:
        return false;
    }
}

bool CSerialLink::OpenCom(bool showError)
{
    // A port still held from an earlier open is released rather than leaked.
    Close();
    comPort = platform::createComPort();
    if (comPort && comPort->open(portName) && ApplySettings())
        return true;
    Close();
    ShowOpenFailure(showError);
    portName.clear();
    return false;
}

bool CSerialLink::OpenFtdi(bool showError)
{
    // A handle left by an open whose last step failed, or by a device that went away, is closed
    // before the next attempt.
    Close();
    platform::FtdiDevices& ftdi = platform::ftdiDevices();
    const QByteArray serial = ftdiSerial.toLatin1();
    ftdiHandle = nullptr;
    if (ftdi.openBySerialNumber(serial.constData(), &ftdiHandle) != platform::FT_OK)
        ftdiHandle = nullptr;
    if (ftdiHandle) {
        ftdi.setBaudRate(ftdiHandle, baudRate);
        const std::uint8_t wordLength = dataBits == 8 ? platform::FT_BITS_8 : platform::FT_BITS_7;
        const std::uint8_t stop = stopBits == 2 ? platform::FT_STOP_BITS_2 : platform::FT_STOP_BITS_1;
        const std::uint8_t ftParity = parity >= 1 && parity <= 4 ? static_cast<std::uint8_t>(parity)
                                                                 : std::uint8_t{platform::FT_PARITY_NONE};
        ftdi.setDataCharacteristics(ftdiHandle, wordLength, stop, ftParity);
        ftdiOpen = ftdi.resetDevice(ftdiHandle) == platform::FT_OK ? 1 : 0;
    }
    if (!ftdiOpen)
        ShowOpenFailure(showError);
    return ftdiOpen != 0;
}

void CSerialLink::ShowOpenFailure(bool showError) const
{
    if (showError)
        ShowWarning(QCoreApplication::translate("CSerialLink", "Failed to open\nCom link %1").arg(portName));
}

void CSerialLink::ShowWarning(const QString& text) const
{
    if (ui)
        ui->ShowLinkWarning(text);
    else
        qWarning("%s", qUtf8Printable(text));
}

void CSerialLink::Close()
{
    // Both kinds are released whatever linkKind says now, so switching kinds never leaks a port.
    if (ftdiHandle) {
        platform::ftdiDevices().close(ftdiHandle);
        ftdiHandle = nullptr;
    }
    ftdiOpen = 0;
    if (comPort) {
        comPort->close();
        comPort.reset();
        transmitCount = 0;
    }
}

bool CSerialLink::ApplySettings()
{
    if (!comPort || !comPort->isOpen())
        return false;
    platform::LineSettings settings;
    settings.baudRate = baudRate;
    settings.parity = parity;
    settings.dataBits = dataBits;
    settings.stopBits = stopBits;
    settings.xonXoff = xonXoff != 0;
    return comPort->applySettings(settings);
}

void CSerialLink::SetFtdiSerial(const QString& serial)
{
    ftdiSerial = serial;
    linkKind = serial.isEmpty() ? ComLink : FtdiLink;
}

void CSerialLink::ShowPortDialog(const QString& title)
{
    if (ui)
        ui->ShowPortDialog(*this, title);
}

void CSerialLink::NotifyListener()
{
    if (listener)
        listener->OnPortChanged();
}

int CSerialLink::Read(unsigned char* buffer, int max)
{
    if (!IsOpen())
        return 0;
    if (linkKind == ComLink)
        SendQueued();
    FillReceiveStore();
    if (receiveCount == 0)
        return 0;
    max = std::max(max, 0);
    if (receiveCount <= max) {
        const int copied = receiveCount;
        std::memcpy(buffer, receiveStore, static_cast<std::size_t>(copied));
        receiveCount = 0;
        return copied;
    }
    qCDebug(swiftlaneTrace, "Q exceeds buffer\n");
    if (max > 0)
        std::memcpy(buffer, receiveStore, static_cast<std::size_t>(max));
    std::memmove(receiveStore, receiveStore + max, static_cast<std::size_t>(receiveCount - max));
    receiveCount -= max;
    return max;
}

void CSerialLink::FillReceiveStore()
{
    if (linkKind == ComLink)
        FillFromCom();
    else if (linkKind == FtdiLink)
        FillFromFtdi();
}

// Only what fits is taken; the rest stays with the driver for the next Read.
void CSerialLink::FillFromCom()
{
    const int room = StoreCapacity - receiveCount;
    if (room <= 0 || !comPort)
        return;
    const int got = comPort->read(reinterpret_cast<char*>(receiveStore + receiveCount), room);
    if (got < 0) {
        // The port has gone (for example the adapter was unplugged): the link is closed now.
        Close();
        return;
    }
    receiveCount += std::min(got, room);
}

void CSerialLink::FillFromFtdi()
{
    if (!ftdiHandle)
        return;
    platform::FtdiDevices& ftdi = platform::ftdiDevices();
    std::uint32_t queued = 0;
    if (ftdi.getQueueStatus(ftdiHandle, &queued) != platform::FT_OK) {
        ftdiOpen = 0;
        return;
    }
    const int room = StoreCapacity - receiveCount;
    if (queued == 0 || room <= 0)
        return;
    const std::uint32_t toRead = std::min<std::uint32_t>(queued, static_cast<std::uint32_t>(room));
    std::uint32_t got = 0;
    if (ftdi.read(ftdiHandle, receiveStore + receiveCount, toRead, &got) != platform::FT_OK)
        return;
    receiveCount += static_cast<int>(std::min(got, toRead));
}

int CSerialLink::Write(const unsigned char* data, unsigned length)
{
    length &= 0x1FFFu;
    if (!IsOpen())
        return 0;
    if (linkKind == FtdiLink) {
        std::uint32_t written = 0;
        platform::ftdiDevices().write(ftdiHandle, data, length, &written);
        return static_cast<int>(written);
    }
    int accepted = 0;
    if (++transmitGuard == 1) {
        accepted =
            static_cast<int>(std::min<unsigned>(length, static_cast<unsigned>(StoreSize - transmitCount)));
        std::memcpy(transmitQueue + transmitCount, data, static_cast<std::size_t>(accepted));
        transmitCount += accepted;
        SendQueued();
    } else {
        qCDebug(swiftlaneTrace, "Can't add data to queue - busy TXing");
    }
    --transmitGuard;
    return accepted;
}

// Hands the queued bytes to the port; what the port does not take now goes at the next Read.
void CSerialLink::SendQueued()
{
    if (transmitCount == 0 || !comPort || !comPort->isOpen())
        return;
    const int sent = comPort->write(reinterpret_cast<const char*>(transmitQueue), transmitCount);
    if (sent <= 0)
        return;
    const int taken = std::min(sent, transmitCount);
    std::memmove(transmitQueue, transmitQueue + taken, static_cast<std::size_t>(transmitCount - taken));
    transmitCount -= taken;
}
