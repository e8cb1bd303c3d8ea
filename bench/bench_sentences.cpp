#include "devices/CGateSystem.h"
#include "devices/GateSentence.h"
#include "platform/FtdiDevices.h"
#include "tests/support/RecordingGateOwner.h"

#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// No adapters attached, so the gate system under test never opens a real device.
class NoFtdiDevices : public platform::FtdiDevices
{
public:
    platform::FtStatus createDeviceInfoList(std::uint32_t* count) override
    {
        *count = 0;
        return platform::FT_OK;
    }
    platform::FtStatus getDeviceInfoList(platform::FtDeviceListInfoNode*, std::uint32_t* count) override
    {
        *count = 0;
        return platform::FT_OK;
    }
    platform::FtStatus openBySerialNumber(const char*, platform::FtHandle*) override
    {
        return platform::FT_DEVICE_NOT_FOUND;
    }
    platform::FtStatus setBaudRate(platform::FtHandle, std::uint32_t) override
    {
        return platform::FT_INVALID_HANDLE;
    }
    platform::FtStatus setDataCharacteristics(platform::FtHandle, std::uint8_t, std::uint8_t,
                                              std::uint8_t) override
    {
        return platform::FT_INVALID_HANDLE;
    }
    platform::FtStatus resetDevice(platform::FtHandle) override { return platform::FT_INVALID_HANDLE; }
    platform::FtStatus getQueueStatus(platform::FtHandle, std::uint32_t*) override
    {
        return platform::FT_INVALID_HANDLE;
    }
    platform::FtStatus read(platform::FtHandle, void*, std::uint32_t, std::uint32_t*) override
    {
        return platform::FT_INVALID_HANDLE;
    }
    platform::FtStatus write(platform::FtHandle, const void*, std::uint32_t, std::uint32_t*) override
    {
        return platform::FT_INVALID_HANDLE;
    }
    platform::FtStatus close(platform::FtHandle) override { return platform::FT_INVALID_HANDLE; }
};

void dropMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

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
            stream += "\x00\xff~noise\r\n";
        if (i % 211 == 0)
            stream += "$PSTS,12";
    }
    return stream;
}

void BM_AssembleRecordedStream(benchmark::State& state)
{
    NoFtdiDevices noDevices;
    platform::setFtdiDevices(&noDevices);
    qInstallMessageHandler(dropMessages);
    const std::string stream = RecordedStream();
    RecordingGateOwner owner;
    CGateSystem gates(&owner);
    for (auto _ : state) {
        gates.AssembleBytes(reinterpret_cast<const unsigned char*>(stream.data()),
                            static_cast<int>(stream.size()));
        benchmark::DoNotOptimize(owner.calls.data());
        owner.clear();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(stream.size()));
    qInstallMessageHandler(nullptr);
    platform::setFtdiDevices(nullptr);
}
BENCHMARK(BM_AssembleRecordedStream);

} // namespace

BENCHMARK_MAIN();
