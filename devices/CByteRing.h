#pragma once

#include <QByteArray>

// Fixed-size byte queue. Positions advance modulo size - 1, so a ring of `size` holds at most
// size - 2 unread bytes; pushing into a full ring drops the oldest byte.
class CByteRing
{
public:
    void Init(int size);
    void Push(unsigned char b);
    bool Pop(unsigned char& b);
    void Free();

    // How many bytes can be pushed without losing any.
    int FreeSpace() const;
    int Count() const;

private:
    int size = 0;
    QByteArray data;
    int readPos = 0;
    int writePos = 0;
};
