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

    // Bulk forms of Push and Pop with the same rules; PopAll returns how many it copied.
    void PushAll(const unsigned char* bytes, int count);
    int PopAll(unsigned char* out, int max);

    // How many bytes can be pushed without losing any.
    int FreeSpace() const;
    int Count() const;

private:
    int size = 0;
    QByteArray data;
    int readPos = 0;
    int writePos = 0;
    int wrapAt = 0; // size - 1: where the positions wrap to 0
};
