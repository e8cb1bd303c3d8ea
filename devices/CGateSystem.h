#pragma once

#include "devices/CByteRing.h"
#include "devices/CSerialLinkSL.h"
#include "devices/SentenceAssembler.h"

#include <cstdint>
#include <optional>
#include <string_view>

class GateStreamTap;
class GateSystemOwner;

// Keeps the gate link connected, cuts its byte stream into $PSTS / $PEVT sentences, checks them
// and reports them to the owner, all inside Poll() on the controller's tick.
class CGateSystem
{
public:
    static constexpr std::uint32_t ReconnectDelayMs = 4000;

    // DetectLater leaves the link closed until Connect() or the first Poll().
    explicit CGateSystem(GateSystemOwner* owner,
                         CSerialLinkSL::Detection detection = CSerialLinkSL::DetectNow);
    ~CGateSystem();
    CGateSystem(const CGateSystem&) = delete;
    CGateSystem& operator=(const CGateSystem&) = delete;

    void Poll();
    // Finds the gate adapter and opens it, if the link is not open yet.
    bool Connect() { return link.DetectAndOpen(); }

    std::uint32_t LastStatusTime() const { return lastStatusTime; }
    bool IsLinkOpen() const { return link.IsOpen(); }
    CSerialLinkSL& Link() { return link; }
    // Sees every read (a session recorder); not owned.
    void SetStreamTap(GateStreamTap* value) { tap = value; }
    const CSerialLinkSL& Link() const { return link; }

    // Exposed for tests and benchmarks: feeds bytes as if they had been read from the link.
    void AssembleBytes(const unsigned char* bytes, int count);

private:
    void AssembleSentences();
    void Decode(std::string_view sentence);
    void DecodeStatus(std::string_view sentence);
    void DecodeEvent(std::string_view sentence);
    std::uint32_t StatusTime();

    GateSystemOwner* owner;
    GateStreamTap* tap = nullptr;
    CSerialLinkSL link;
    unsigned char readBuffer[CSerialLink::StoreSize] = {};
    int readCount = 0;
    CByteRing ring;
    std::uint32_t lastStatusTime = 0;
    SentenceAssembler assembler;
    // The tick count read for the statuses of one chunk, so that it is read once per chunk.
    std::optional<std::uint32_t> chunkTime;
};
