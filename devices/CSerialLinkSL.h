#pragma once

#include "devices/CSerialLink.h"

// The gate link: finds the gate adapter among the FTDI devices by itself.
class CSerialLinkSL : public CSerialLink
{
public:
    CSerialLinkSL();
    ~CSerialLinkSL() override;

    // Selects the first FTDI device whose description contains the product word (any case) and
    // whose location id is not 0. Sets linkKind, ftdiSerial and portName; does not open it.
    bool AutoDetect();
};
