#include "devices/CGateSystem.h"
#include "devices/GateSentence.h"
#include "devices/GateSystemOwner.h"
#include "platform/NoFtdiDevices.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace {

// Takes the decoded values and does no more with them than keep them from being optimised away, so
// the figure is the receive path's alone.
class SummingOwner : public GateSystemOwner
{
public:
    void OnStatusTime(std::uint32_t deviceTime) override { sum += deviceTime; }
    void SetGateStatus(bool g0, bool g1, bool g2, bool g3) override { sum += g0 + g1 + g2 + g3; }
    void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) override
    {
        sum += static_cast<std::uint32_t>(gate) + deviceTime + state;
    }
    std::uint32_t sum = 0;
};

// Ten minutes as the gates send it: a status every 100 ms, a passage every few seconds, now and
// then line noise and a sentence cut short.
std::string RecordedStream()
{
    std::string stream;
    std::uint32_t deviceTime = 0;
    for (int i = 0; i < 6000; ++i) {
        deviceTime = (deviceTime + 100) % 65536;
        const bool flags[4] = {true, i % 50 != 0, true, i % 7 != 0};
        stream += FormatStatusSentence(deviceTime, flags) + "\r\n";
        if (i % 37 == 0)
            stream += FormatEventSentence(deviceTime + 13, i % 4, i % 2 == 0) + "\r\n";
        if (i % 101 == 0)
            stream += std::string_view("\x00\xff~noise\r\n", 10);
        if (i % 211 == 0)
            stream += "$PSTS,12";
    }
    return stream;
}

const std::string& Stream()
{
    static const std::string stream = RecordedStream();
    return stream;
}

void SetBytesProcessed(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(Stream().size()));
}

// The floor for the decoder below: the same bytes, each looked at once, one at a time, and nothing
// else done with them. A decoder has to do at least this much.
void BM_ReadEveryByte(benchmark::State& state)
{
    const std::string& stream = Stream();
    for (auto _ : state) {
        unsigned marks = 0;
        for (const char c : stream) {
            marks += c == '$';
            // Keeps the loop one byte at a time, as a decoder's is, rather than vectorised.
            benchmark::ClobberMemory();
        }
        benchmark::DoNotOptimize(marks);
    }
    SetBytesProcessed(state);
}
BENCHMARK(BM_ReadEveryByte);

// The gate system's receive path: the ring, the sentence assembler and both decoders.
void BM_AssembleRecordedStream(benchmark::State& state)
{
    const platform::NoFtdiDevices noDevices; // the gate system under test never opens a real device
    const std::string& stream = Stream();
    SummingOwner owner;
    CGateSystem gates(&owner);
    for (auto _ : state) {
        gates.AssembleBytes(reinterpret_cast<const unsigned char*>(stream.data()),
                            static_cast<int>(stream.size()));
    }
    benchmark::DoNotOptimize(owner.sum);
    SetBytesProcessed(state);
}
BENCHMARK(BM_AssembleRecordedStream);

} // namespace

BENCHMARK_MAIN();
