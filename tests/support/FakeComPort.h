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
    bool exists = true;
    bool failSettings = false;
    bool open = false;
    int openCount = 0;
    LineSettings settings;
    QByteArray incoming; // received, not yet read
    QByteArray sent;     // everything the port sent
    int writeLimit = -1; // bytes a single write accepts; -1: all
    bool failed = false; // the device has gone: reads report an error and the port closes
};

// Installs a ComPort factory for its lifetime whose ports open only the names added here.
class FakeComPorts
{
public:
    FakeComPorts();
    ~FakeComPorts();
    FakeComPorts(const FakeComPorts&) = delete;
    FakeComPorts& operator=(const FakeComPorts&) = delete;

    FakeComPortState& addPort(const QString& name);
    // Null when no such port was added.
    FakeComPortState* port(const QString& name);

    int created = 0;

private:
    std::map<QString, std::shared_ptr<FakeComPortState>> ports;
};

} // namespace platform
