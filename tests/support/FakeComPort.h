#pragma once

#include "platform/ComPort.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <map>
#include <memory>

namespace platform {

// What one named fake port holds; shared by every port opened on that name.
struct FakeComPortState
{
    bool open = false;
    QByteArray incoming; // received, not yet read
    QByteArray sent;     // everything the port sent
    int writeLimit = -1; // bytes a single write accepts; -1: all
};

// Installs a ComPort factory for its lifetime whose ports open only the names added here.
class FakeComPorts
{
public:
    FakeComPorts()
    {
        setComPortFactory([this] { return std::make_unique<Port>(ports); });
    }
    ~FakeComPorts() { setComPortFactory(nullptr); }
    FakeComPorts(const FakeComPorts&) = delete;
    FakeComPorts& operator=(const FakeComPorts&) = delete;

    // The port of that name, added on first use.
    FakeComPortState& addPort(const QString& name)
    {
        auto& slot = ports[name];
        if (!slot)
            slot = std::make_shared<FakeComPortState>();
        return *slot;
    }

private:
    using Ports = std::map<QString, std::shared_ptr<FakeComPortState>>;

    class Port : public ComPort
    {
    public:
        explicit Port(Ports& ports) : ports(ports) {}
        ~Port() override { close(); }

        bool open(const QString& portName) override
        {
            close();
            auto it = ports.find(portName);
            if (it == ports.end() || it->second->open)
                return false;
            state = it->second;
            return state->open = true;
        }
        bool isOpen() const override { return state && state->open; }
        bool applySettings(const LineSettings&) override { return isOpen(); }
        int read(char* buffer, int max) override
        {
            if (!isOpen())
                return -1;
            const int n = std::min(max, int(state->incoming.size()));
            std::copy_n(state->incoming.constData(), n, buffer);
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
        Ports& ports;
        std::shared_ptr<FakeComPortState> state;
    };

    Ports ports;
};

} // namespace platform
