#pragma once

#include <QStringList>

#include <functional>

namespace platform {

// Serial devices a link can open by path that neither the FTDI device layer nor the names COM1 to
// COM19 (/dev/ttyS0 to /dev/ttyS18) cover: the system's other serial ports in path order (an RFID
// reader on /dev/ttyACM0, say), then the virtual serial devices (see virtualSerialFolder()).
QStringList otherSerialDevices();
// Installs a replacement listing; an empty one restores the system's.
void setOtherSerialDevices(std::function<QStringList()> replacement);

} // namespace platform
