#pragma once

class CSerialLink;

// Sees every poll of the gate link right after its read: the link's state and the bytes it gave.
class GateStreamTap
{
public:
    virtual ~GateStreamTap() = default;
    virtual void OnGateRead(const CSerialLink& link, const unsigned char* bytes, int count) = 0;
};
