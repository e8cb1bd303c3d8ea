#pragma once

#include "platform/ComPort.h"
#include "platform/FtdiDevices.h"

#include <QString>

#include <cstdint>
#include <memory>

class CSerialLnkInf;
class SerialLinkUi;

// One polled byte-stream connection, to a COM port or to an FTDI device. Never blocks and runs
// no thread: Read takes only what the device has already received.
class CSerialLink
{
public:
    static constexpr int StoreSize = 256;
    enum LinkKind
    {
        ComLink = 0,
        FtdiLink = 1
    };

    CSerialLink();
    virtual ~CSerialLink();
    CSerialLink(const CSerialLink&) = delete;
    CSerialLink& operator=(const CSerialLink&) = delete;

    bool IsOpen() const;
    virtual bool Open(bool showError);
    virtual bool OpenPort(bool showError, const QString& name);
    void Close();

    int Read(unsigned char* buffer, int max);
    int Write(const unsigned char* data, unsigned length);
    bool ApplySettings();

    void SetPortName(const QString& name) { portName = name; }
    QString PortName() const { return portName; }
    void SetFtdiSerial(const QString& serial);
    QString FtdiSerial() const { return ftdiSerial; }

    // Where warnings and the port dialog are shown (not owned); without one, warnings go to the
    // console and there is no port dialog.
    void SetUi(SerialLinkUi* value) { ui = value; }
    void ShowPortDialog(const QString& title);
    void SetListener(CSerialLnkInf* value) { listener = value; }
    void NotifyListener();

    // Settings, written directly by the port dialog and by auto-detection.
    QString portName;
    int linkKind = ComLink;
    QString ftdiSerial;
    int ftdiOpen = 0;
    platform::FtHandle ftdiHandle = nullptr;
    std::uint32_t baudRate = 9600;
    std::int8_t parity = 0;
    std::uint8_t dataBits = 8;
    std::uint8_t stopBits = 0;
    std::uint8_t xonXoff = 0;
    std::uint8_t hardwareFlow = 0;

protected:
    bool OpenDevice(bool showError);

private:
    bool OpenCom(bool showError);
    bool OpenFtdi(bool showError);
    void FillReceiveStore();
    void FillFromCom();
    void FillFromFtdi();
    void SendQueued();
    void ShowOpenFailure(bool showError) const;
    void ShowWarning(const QString& text) const;

    int transmitGuard = 0;
    std::unique_ptr<platform::ComPort> comPort;
    SerialLinkUi* ui = nullptr;
    CSerialLnkInf* listener = nullptr;
    int receiveCount = 0;
    unsigned char receiveStore[StoreSize] = {};
    int transmitCount = 0;
    unsigned char transmitQueue[StoreSize] = {};
};
