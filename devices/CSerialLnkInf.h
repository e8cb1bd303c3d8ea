#pragma once

// Told by a serial link after its port dialog opened or closed it.
class CSerialLnkInf
{
public:
    virtual ~CSerialLnkInf() = default;
    virtual void OnPortChanged() = 0;
};
