#pragma once

#include "devices/CSerialLink.h"

// The gate link: finds the gate adapter among the FTDI devices by itself.
class CSerialLinkSL : public CSerialLink
{
public:
    // Whether the constructor looks for the adapter and opens it. Listing the serial devices takes
    // long enough to hold up a window's first frame, so the application does it later.
    enum Detection
    {
        DetectNow,
        DetectLater
    };

    explicit CSerialLinkSL(Detection detection = DetectNow);
    ~CSerialLinkSL() override;

    // Selects the first FTDI device whose description contains the product word (any case) and
    // whose location id is not 0. Sets linkKind, ftdiSerial and portName; does not open it.
    bool AutoDetect();
    // Finds the adapter and opens it, unless the link is open already. True when it is open.
    bool DetectAndOpen();
    // The adapter found is the gate simulator's, not gates on a real course.
    bool IsVirtualAdapter() const { return virtualAdapter; }

private:
    bool virtualAdapter = false;
};
