#include "devices/CByteRing.h"

void CByteRing::Init(int newSize)
{
    size = newSize;
    data = QByteArray(newSize > 0 ? newSize : 0, '\0');
    readPos = 0;
    writePos = 0;
}

void CByteRing::Push(unsigned char b)
{
    // A freed or never initialised ring has nowhere to put the byte.
    if (size < 2)
        return;
    data.data()[writePos] = static_cast<char>(b);
    writePos = (writePos + 1) % (size - 1);
    if (writePos == readPos)
        readPos = (readPos + 1) % (size - 1);
}

bool CByteRing::Pop(unsigned char& b)
{
    if (size < 2 || readPos == writePos)
        return false;
    b = static_cast<unsigned char>(data.at(readPos));
    readPos = (readPos + 1) % (size - 1);
    return true;
}

void CByteRing::Free()
{
    data = QByteArray();
    size = 0;
    readPos = 0;
    writePos = 0;
}

int CByteRing::Count() const
{
    if (size < 2)
        return 0;
    return (writePos - readPos + (size - 1)) % (size - 1);
}

int CByteRing::FreeSpace() const
{
    if (size < 2)
        return 0;
    return size - 2 - Count();
}
