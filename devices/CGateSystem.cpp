#include "devices/CGateSystem.h"

#include "common/Trace.h"
#include "devices/GateSentence.h"
#include "devices/GateStreamTap.h"
#include "devices/GateSystemOwner.h"
#include "platform/Clock.h"

#include <algorithm>

CGateSystem::CGateSystem(GateSystemOwner* owner, CSerialLinkSL::Detection detection)
    : owner(owner), link(detection)
{
    ring.Init(256);
}

CGateSystem::~CGateSystem()
{
    ring.Free();
}

void CGateSystem::Poll()
{
    if (!link.IsOpen() && platform::tickCount() - lastStatusTime > ReconnectDelayMs)
        Connect();
    // Never read more than the ring can hold: the rest waits in the link for the next tick.
    const int room = std::min(ring.FreeSpace(), static_cast<int>(sizeof readBuffer));
    readCount = room > 0 ? link.Read(readBuffer, room) : 0;
    if (tap)
        tap->OnGateRead(link, readBuffer, readCount);
    ring.PushAll(readBuffer, readCount);
    if (readCount > 0)
        AssembleSentences();
}

void CGateSystem::AssembleBytes(const unsigned char* bytes, int count)
{
    while (count > 0) {
        const int chunk = std::min(count, ring.FreeSpace());
        if (chunk <= 0)
            return;
        ring.PushAll(bytes, chunk);
        AssembleSentences();
        bytes += chunk;
        count -= chunk;
    }
}

void CGateSystem::AssembleSentences()
{
    char chunk[CSerialLink::StoreSize];
    const auto bytes = reinterpret_cast<unsigned char*>(chunk);
    for (int count = ring.PopAll(bytes, sizeof chunk); count > 0; count = ring.PopAll(bytes, sizeof chunk)) {
        const char* at = chunk;
        chunkTime.reset();
        while (const std::optional<std::string_view> sentence = assembler.Next(at, chunk + count))
            Decode(*sentence);
    }
}

void CGateSystem::Decode(std::string_view sentence)
{
    const std::string_view tag = sentence.substr(0, 5);
    if (tag == "$PSTS")
        DecodeStatus(sentence);
    else if (tag == "$PEVT")
        DecodeEvent(sentence);
}

void CGateSystem::DecodeStatus(std::string_view sentence)
{
    StatusSentence status;
    if (ParseStatusSentence(sentence, status) != SentenceFault::None)
        return;
    if (owner)
        owner->OnStatusTime(status.deviceTime);
    lastStatusTime = StatusTime();
    if (owner)
        owner->SetGateStatus(status.gates[0], status.gates[1], status.gates[2], status.gates[3]);
}

// Reading the clock costs more than decoding a sentence; the statuses of one chunk arrive within
// microseconds of each other and share one reading.
std::uint32_t CGateSystem::StatusTime()
{
    if (!chunkTime)
        chunkTime = platform::tickCount();
    return *chunkTime;
}

void CGateSystem::DecodeEvent(std::string_view sentence)
{
    qCDebug(swiftlaneTrace, " Decoding PEVT ");
    EventSentence event;
    switch (ParseEventSentence(sentence, event)) {
    case SentenceFault::None:
        if (owner)
            owner->OnGateEvent(event.gate, event.deviceTime, event.state);
        // A finished run may have put a box up for a while.
        chunkTime.reset();
        return;
    case SentenceFault::Frame:
        qCDebug(swiftlaneTrace, " checksum failed");
        return;
    case SentenceFault::EmptyField:
        qCDebug(swiftlaneTrace, " empty field");
        return;
    case SentenceFault::Layout:
        return;
    }
}
