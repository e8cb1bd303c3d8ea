// The gate byte stream through the real link: bytes arrive at a fake FTDI adapter (or a fake COM
// port) in chunks of random sizes, one chunk per 25 ms tick, and Poll reads them through the
// link's store, the ring, the assembler and the decoders. Whatever the chunking, the owner must
// hear exactly what it hears when the whole stream is assembled in one go.
#include "FuzzSupport.h"

#include "devices/CGateSystem.h"
#include "platform/FakeClock.h"
#include "support/FakeComPort.h"
#include "support/FakeFtdiDevices.h"
#include "support/RecordingGateOwner.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

namespace {

const char* const adapterSerial = "SL0001";
const QString comPortName = QStringLiteral("COM7");

struct Fakes
{
    Fakes() { fuzz::silenceQtMessages(); }
    platform::FakeClock clock;
    platform::FakeFtdiDevices ftdi;
    platform::FakeComPorts ports;
};

bool sameCalls(const RecordingGateOwner& a, const RecordingGateOwner& b)
{
    return a.calls == b.calls;
}

// Bytes still queued at the device, in the link's store or in the ring are read by later ticks.
int pendingAtDevice(Fakes& fakes, bool useCom)
{
    if (useCom)
        return static_cast<int>(fakes.ports.addPort(comPortName).incoming.size());
    return static_cast<int>(fakes.ftdi.device(adapterSerial)->incoming.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fakes fakes;
    FuzzedDataProvider input(data, size);
    const bool useCom = input.ConsumeBool();

    fakes.ftdi.clearDevices();
    fakes.ports.addPort(comPortName).incoming.clear();
    RecordingGateOwner whole;
    RecordingGateOwner chunked;
    CGateSystem reference(&whole); // no adapter listed yet: stays closed
    fakes.ftdi.addDevice("Swiftlane gate adapter", adapterSerial, 0x1A2B);
    CGateSystem gates(&chunked); // finds and opens the adapter
    if (useCom) {
        gates.Link().Close();
        gates.Link().SetFtdiSerial(QString());
        gates.Link().SetPortName(comPortName);
        if (!gates.Link().Open(false))
            fuzz::fail("the fake COM port did not open");
    } else if (!gates.IsLinkOpen()) {
        fuzz::fail("the fake adapter was not detected");
    }

    std::vector<unsigned char> stream;
    while (input.remaining_bytes() > 0) {
        const std::size_t chunkSize = input.ConsumeIntegralInRange<std::size_t>(0, 700);
        const std::vector<char> chunk = input.ConsumeBytes<char>(chunkSize);
        stream.insert(stream.end(), chunk.begin(), chunk.end());
        const QByteArray bytes(chunk.data(), static_cast<qsizetype>(chunk.size()));
        if (useCom)
            fakes.ports.addPort(comPortName).incoming += bytes;
        else
            fakes.ftdi.pushIncoming(adapterSerial, bytes);
        gates.Poll();
        fakes.clock.advance(25);
    }
    // Drain: a tick takes at most what the ring can hold, the rest waits for the next ones.
    for (int ticks = pendingAtDevice(fakes, useCom) / 200 + 3; ticks > 0; --ticks) {
        gates.Poll();
        fakes.clock.advance(25);
    }
    if (pendingAtDevice(fakes, useCom) != 0)
        fuzz::fail("bytes left unread at the device");
    if (!gates.IsLinkOpen())
        fuzz::fail("the link closed while reading");

    reference.AssembleBytes(stream.data(), static_cast<int>(stream.size()));
    if (!sameCalls(whole, chunked))
        fuzz::fail("the chunked stream decoded differently from the whole stream");
    return 0;
}
