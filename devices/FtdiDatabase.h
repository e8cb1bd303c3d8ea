#pragma once

#include "platform/FtdiDevices.h"

#include <QString>

// Process-wide memory of the FTDI devices seen in earlier listings. A device the driver lists
// without a location id (as some drivers do while another program holds it) is shown under the
// location id and serial number remembered for it. Lives as long as the gate link.
void InitFtdiDatabase();
void EmptyFtdiDatabase();
void RememberFtdiDevice(unsigned locId, const QString& serial);
// Remembers the nodes that carry a location id and a serial number, then gives each node without
// a location id the last remembered device not seen in this listing.
void PatchFtdiDeviceList(platform::FtDeviceListInfoNode* nodes, int count);
