#pragma once

#include "platform/ComPort.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

namespace platform {

// What one named fake port holds; shared by every FakeComPort opened on that name.
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
    FakeComPorts();
    ~FakeComPorts();
    FakeComPorts(const FakeComPorts&) = delete;
    FakeComPorts& operator=(const FakeComPorts&) = delete;

    // The port of that name, added on first use.
    FakeComPortState& addPort(const QString& name);

private:
    std::map<QString, std::shared_ptr<FakeComPortState>> ports;
};

} // namespace platform
