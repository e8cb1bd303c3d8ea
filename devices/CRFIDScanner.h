#pragma once

#include "devices/CByteRing.h"
#include "devices/CSerialLink.h"
#include "devices/CSerialLnkInf.h"

#include <cstdint>

class RfidTagOwner;

// The RFID reader on a second serial port: asks for a scan with "r" and hands each tag it sends
// to the owner, from Poll() on the controller's tick. Opened only through its port dialog.
//
// A reply ends at a CR or LF, or after 100 ms without a new byte: at 9600 baud one reply often
// spans two ticks, and one tick may hold two replies. A reply longer than the ring holds is
// dropped whole rather than handed on cut; an empty one is no tag.
class CRFIDScanner : public CSerialLnkInf
{
public:
    static constexpr int RingSize = 64;
    static constexpr std::uint32_t QuietMs = 100;

    explicit CRFIDScanner(RfidTagOwner* owner);
    ~CRFIDScanner() override;
    CRFIDScanner(const CRFIDScanner&) = delete;
    CRFIDScanner& operator=(const CRFIDScanner&) = delete;

    void Poll();
    bool IsOpen() const { return link.IsOpen(); }
    void ShowPortDialog();
    void RequestScan();

    void OnPortChanged() override {}

    CSerialLink& Link() { return link; }

private:
    void TakeByte(unsigned char byte);
    void EndReply();
    void DeliverTag();

    RfidTagOwner* owner;
    CSerialLink link;
    unsigned char readBuffer[CSerialLink::StoreSize] = {};
    int readCount = 0;
    CByteRing ring; // the reply in progress
    bool replyStarted = false;
    bool replyTooLong = false;
    std::uint32_t lastByteAt = 0;
};
