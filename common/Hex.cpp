#include "common/Hex.h"

char HexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

char LowerHexDigit(unsigned value)
{
    return "0123456789abcdef"[value & 0xF];
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
