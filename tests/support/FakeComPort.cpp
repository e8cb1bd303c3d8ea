#include "support/FakeComPort.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

class FakeComPort : public ComPort
{
public:
    explicit FakeComPort(std::map<QString, std::shared_ptr<FakeComPortState>>& ports) : ports(ports) {}
    ~FakeComPort() override { close(); }

    bool open(const QString& portName) override
    {
        close();
        auto it = ports.find(portName);
        if (it == ports.end() || it->second->open)
            return false;
        state = it->second;
        state->open = true;
        return true;
    }

    bool isOpen() const override { return state && state->open; }
    bool applySettings(const LineSettings&) override { return isOpen(); }

    int read(char* buffer, int max) override
    {
        if (!isOpen())
            return -1;
        const int n = std::min(max, static_cast<int>(state->incoming.size()));
        std::memcpy(buffer, state->incoming.constData(), static_cast<std::size_t>(n));
        state->incoming.remove(0, n);
        return n;
    }

    int write(const char* data, int length) override
    {
        if (!isOpen())
            return -1;
        const int n = state->writeLimit < 0 ? length : std::min(length, state->writeLimit);
        state->sent.append(data, n);
        return n;
    }

    void close() override
    {
        if (state)
            state->open = false;
        state.reset();
    }

private:
    std::map<QString, std::shared_ptr<FakeComPortState>>& ports;
    std::shared_ptr<FakeComPortState> state;
};

} // namespace

FakeComPorts::FakeComPorts()
{
    setComPortFactory([this] { return std::make_unique<FakeComPort>(ports); });
}

FakeComPorts::~FakeComPorts()
{
    setComPortFactory(nullptr);
}

FakeComPortState& FakeComPorts::addPort(const QString& name)
{
    auto& slot = ports[name];
    if (!slot)
        slot = std::make_shared<FakeComPortState>();
    return *slot;
}

} // namespace platform
