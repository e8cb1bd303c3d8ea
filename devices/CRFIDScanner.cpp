#include "devices/CRFIDScanner.h"

#include "common/Trace.h"
#include "devices/RfidTagOwner.h"
#include "platform/Clock.h"

CRFIDScanner::CRFIDScanner(RfidTagOwner* tagOwner) : owner(tagOwner)
{
    ring.Init(RingSize);
    link.SetListener(this);
}

CRFIDScanner::~CRFIDScanner()
{
    ring.Free();
}

// Takes everything waiting, not one link read a tick: after a flood the port holds up to its
// bound, and a tag sent then must not wait behind it for seconds. The reads per poll are bounded
// (a few port buffers) so an endless flood cannot hold up the tick.
void CRFIDScanner::Poll()
{
    constexpr int MaxReadsPerPoll = 1024;
    int total = 0;
    for (int reads = 0; reads < MaxReadsPerPoll; ++reads) {
        readCount = link.Read(readBuffer, static_cast<int>(sizeof readBuffer));
        for (int i = 0; i < readCount; ++i)
            TakeByte(readBuffer[i]);
        total += readCount;
        if (readCount <= 0)
            break;
    }
    const std::uint32_t now = platform::tickCount();
    if (total > 0)
        lastByteAt = now;
    else if (replyStarted && now - lastByteAt >= QuietMs)
        EndReply();
}

void CRFIDScanner::TakeByte(unsigned char byte)
{
    if (byte == '\r' || byte == '\n') {
        EndReply();
        return;
    }
    replyStarted = true;
    // A full ring would push out the reply's first byte.
    if (ring.FreeSpace() == 0)
        replyTooLong = true;
    else
        ring.Push(byte);
}

void CRFIDScanner::EndReply()
{
    if (replyTooLong) {
        qCDebug(swiftlaneTrace, "RFID reply longer than %d bytes dropped", RingSize - 2);
        unsigned char byte = 0;
        while (ring.Pop(byte)) {
        }
    } else {
        DeliverTag();
    }
    replyStarted = false;
    replyTooLong = false;
}

void CRFIDScanner::DeliverTag()
{
    QString text;
    unsigned char byte = 0;
    while (ring.Pop(byte))
        text += QChar::fromLatin1(static_cast<char>(byte));
    text = text.trimmed();
    if (!text.isEmpty())
        owner->OnRFIDTag(text);
}

void CRFIDScanner::ShowPortDialog()
{
    link.ShowPortDialog(QStringLiteral("RFID Scanner Port"));
}

void CRFIDScanner::RequestScan()
{
    static const unsigned char scanRequest[] = {'r'};
    link.Write(scanRequest, sizeof scanRequest);
}
