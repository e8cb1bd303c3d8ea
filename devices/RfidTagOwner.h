#pragma once

#include <QString>

// Receiver of the tags the RFID reader sends (the controller; a recorder in tests).
class RfidTagOwner
{
public:
    virtual ~RfidTagOwner() = default;
    virtual void OnRFIDTag(const QString& tag) = 0;
};
