#include "devices/CGateSystem.h"

#include "common/Trace.h"
#include "devices/GateSentence.h"
#include "devices/GateStreamTap.h"
#include "devices/GateSystemOwner.h"
#include "platform/Clock.h"

#include <algorithm>

CGateSystem::CGateSystem(GateSystemOwner* owner) : owner(owner)
{
    ring.Init(256);
    sentence.reserve(MaxSentenceLength);
}

CGateSystem::~CGateSystem()
{
    sentence.clear();
    ring.Free();
}

void CGateSystem::Poll()
{
    if (!link.IsOpen() && platform::tickCount() - lastStatusTime > ReconnectDelayMs) {
        if (link.AutoDetect())
            link.Open(false);
    }
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
    unsigned char chunk[CSerialLink::StoreSize];
    for (int count = ring.PopAll(chunk, sizeof chunk); count > 0; count = ring.PopAll(chunk, sizeof chunk)) {
        for (int i = 0; i < count; ++i)
            HandleByte(chunk[i]);
    }
}

// A sentence runs from "$" to the second character after the next "*"; a "$" restarts it.
void CGateSystem::HandleByte(unsigned char c)
{
    bool complete = false;
    if (c == '$') {
        checksumCharsLeft = 0;
        sentence.clear();
        inSentence = true;
    }
    if (inSentence || checksumCharsLeft != 0) {
        // Line noise or a wrong baud rate can open a sentence that never closes.
        if (sentence.size() >= MaxSentenceLength) {
            sentence.clear();
            inSentence = false;
            checksumCharsLeft = 0;
            return;
        }
        sentence.push_back(static_cast<char>(c));
        if (checksumCharsLeft != 0 && --checksumCharsLeft == 0)
            complete = true;
    }
    if (c == '*') {
        inSentence = false;
        checksumCharsLeft = 2;
    }
    if (!complete)
        return;
    if (sentence.compare(0, 5, "$PSTS") == 0)
        DecodeStatus(sentence);
    else if (sentence.compare(0, 5, "$PEVT") == 0)
        DecodeEvent(sentence);
    inSentence = false;
    checksumCharsLeft = 0;
    sentence.clear();
}

void CGateSystem::DecodeStatus(const std::string& text)
{
    const std::optional<StatusSentence> status = ParseStatusSentence(text);
    if (!status || !status->checksumOk)
        return;
    if (owner)
        owner->OnStatusTime(status->deviceTime);
    lastStatusTime = platform::tickCount();
    if (owner)
        owner->SetGateStatus(status->gates[0], status->gates[1], status->gates[2], status->gates[3]);
}

void CGateSystem::DecodeEvent(const std::string& text)
{
    qCDebug(swiftlaneTrace, " Decoding PEVT ");
    const std::optional<EventSentence> event = ParseEventSentence(text);
    if (!event)
        return;
    if (!event->checksumOk) {
        qCDebug(swiftlaneTrace, " checksum failed");
        return;
    }
    if (owner)
        owner->OnGateEvent(event->gate, event->deviceTime, event->state);
}
