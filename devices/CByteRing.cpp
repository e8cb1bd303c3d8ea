#include "devices/CByteRing.h"

#include <algorithm>
#include <cstring>

void CByteRing::Init(int newSize)
{
    size = newSize;
    data = QByteArray(newSize > 0 ? newSize : 0, '\0');
    wrapAt = newSize - 1;
    readPos = 0;
    writePos = 0;
}

void CByteRing::Push(unsigned char b)
{
    // A freed or never initialised ring has nowhere to put the byte.
    if (size < 2)
        return;
    data.data()[writePos] = static_cast<char>(b);
    if (++writePos == wrapAt)
        writePos = 0;
    if (writePos == readPos && ++readPos == wrapAt)
        readPos = 0;
}

bool CByteRing::Pop(unsigned char& b)
{
    if (size < 2 || readPos == writePos)
        return false;
    b = static_cast<unsigned char>(data.constData()[readPos]);
    if (++readPos == wrapAt)
        readPos = 0;
    return true;
}

void CByteRing::PushAll(const unsigned char* bytes, int count)
{
    if (size < 2 || count <= 0)
        return;
    // Only the newest wrapAt - 1 bytes can survive; older ones would be overwritten anyway.
    const int kept = std::min(count, wrapAt - 1);
    const int dropped = std::max(0, Count() + kept - (wrapAt - 1));
    bytes += count - kept;
    char* store = data.data();
    for (int done = 0; done < kept;) {
        const int chunk = std::min(kept - done, wrapAt - writePos);
        std::memcpy(store + writePos, bytes + done, static_cast<std::size_t>(chunk));
        writePos = (writePos + chunk) % wrapAt;
        done += chunk;
    }
    readPos = (readPos + dropped) % wrapAt;
}

int CByteRing::PopAll(unsigned char* out, int max)
{
    const int count = std::min(Count(), std::max(max, 0));
    const char* store = data.constData();
    for (int done = 0; done < count;) {
        const int chunk = std::min(count - done, wrapAt - readPos);
        std::memcpy(out + done, store + readPos, static_cast<std::size_t>(chunk));
        readPos = (readPos + chunk) % wrapAt;
        done += chunk;
    }
    return count;
}

void CByteRing::Free()
{
    data = QByteArray();
    wrapAt = 0;
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
