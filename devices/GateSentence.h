#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The gate hardware's sentences: "$" tag "," fields "*" two upper-case hex digits of the XOR of
// every byte between "$" and "*".

// XOR of the bytes at positions 1 .. n-4 of a complete sentence (the "$" and the trailing "*HH"
// excluded), as two upper-case hex digits.
std::string SentenceChecksum(std::string_view sentence);

// Appends "*" and the checksum to a sentence body such as "$PSTS,1234,1,1,0,0".
std::string WithChecksum(std::string_view body);

struct StatusSentence
{
    std::uint32_t deviceTime = 0;
    bool gates[4] = {};
    bool checksumOk = false;
};

struct EventSentence
{
    std::uint32_t deviceTime = 0;
    int gate = 0;
    bool state = false;
    bool checksumOk = false;
};

// $PSTS,1234,1,1,0,0*2C  -> device time 1234, gates 0 and 1 set, gates 2 and 3 clear.
// Empty when the tag is not exactly $PSTS or fields are missing; checksumOk tells the rest.
std::optional<StatusSentence> ParseStatusSentence(std::string_view sentence);

// $PEVT,102,2,1*0B  -> gate 2 changed to state 1 at device time 102.
std::optional<EventSentence> ParseEventSentence(std::string_view sentence);

// Whole sentences without the line end; the caller appends "\r\n".
std::string FormatStatusSentence(std::uint32_t deviceTime, const bool flags[4]);
std::string FormatEventSentence(std::uint32_t deviceTime, int gate, bool state);

// Reads like the C library: leading blanks, optional sign, decimal digits up to the first other
// character; no number reads as 0. Wraps modulo 2^32 instead of overflowing.
std::uint32_t ReadSentenceNumber(std::string_view field);
