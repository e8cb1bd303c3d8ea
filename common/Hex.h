#pragma once

// Hexadecimal digits of the file formats and the gate protocol.

// The upper-case digit of the low four bits of `value`.
char HexDigit(unsigned value);
// The lower-case digit of the low four bits of `value`.
char LowerHexDigit(unsigned value);
// The value of a digit of either case; -1 for any other character.
int HexValue(char c);
