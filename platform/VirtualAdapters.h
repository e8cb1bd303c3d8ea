#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace platform {

// Virtual gate adapters: symbolic links in the adapter folder whose target is a terminal device
// (the slave side of a pseudo-terminal, as the gate simulator makes). The FTDI device layer lists
// them after the USB devices and opens them like one.
struct VirtualAdapter
{
    QString name;       // the link's name: 1 to 15 letters or digits, used as the serial number
    QString devicePath; // the terminal the link points to
    std::uint32_t locId = 0;
};

inline const char* const VirtualAdapterDescription = "Swiftlane virtual gate adapter";

// $SWIFTLANE_ADAPTER_DIR, else $XDG_RUNTIME_DIR/swiftlane/adapters, else /tmp/swiftlane-<uid>/adapters.
QString virtualAdapterFolder();

// Virtual serial devices that are no gate adapter (the simulator's RFID reader): links of the same
// kind in a folder of their own. $SWIFTLANE_SERIAL_DIR, else $XDG_RUNTIME_DIR/swiftlane/serial,
// else /tmp/swiftlane-<uid>/serial.
QString virtualSerialFolder();

// The attached virtual adapters in name order. Left out: dangling links, links to anything but a
// terminal, and links whose lock file exists but is held by nobody (their owner died, and the
// terminal number may since belong to another program).
std::vector<VirtualAdapter> listVirtualAdapters();

// The same listing for the links in any folder.
std::vector<VirtualAdapter> listVirtualTerminals(const QString& folder);

// The lock file beside adapter `name`'s link, ".<name>.lock"; the program that made the link holds
// an exclusive flock on it for as long as the adapter is plugged in. Links without one are listed.
QString virtualAdapterLockPath(const QString& folder, const QString& name);

// A stable, non-zero location id for an adapter name.
std::uint32_t virtualAdapterLocId(const QString& name);

} // namespace platform
