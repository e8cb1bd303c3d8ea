#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The gate hardware's sentences: "$" tag "," fields "*" two upper-case hex digits of the XOR of
// every byte between "$" and "*". Parsing works on views of the received bytes and allocates
// nothing; the frame and its checksum are checked before any field is looked at.

// XOR of the bytes at positions 1 .. n-4 of a complete sentence (the "$" and the trailing "*HH"
// excluded), as two upper-case hex digits. For building sentences; the parsers do not use it.
std::string SentenceChecksum(std::string_view sentence);

// Appends "*" and the checksum to a sentence body such as "$PSTS,1234,1,1,0,0".
std::string WithChecksum(std::string_view body);

// Why a sentence was not taken. The order is the order of the checks.
enum class SentenceFault
{
    None,
    Frame,      // no "$" at the start, no "*HH" at the end, or HH is not the body's checksum
    EmptyField, // two delimiters in a row, or one at an end of the body
    Layout,     // another tag, or another number of fields
};

// $PEVT,102,2,1*0B -> "PEVT,102,2,1"
// The text between "$" and the last "*" when exactly two upper-case hex digits follow that "*" and
// they are the XOR of that text. Empty otherwise.
std::optional<std::string_view> CheckedSentenceBody(std::string_view sentence);

struct StatusSentence
{
    std::uint32_t deviceTime = 0;
    bool gates[4] = {};
};

struct EventSentence
{
    std::uint32_t deviceTime = 0;
    int gate = 0;
    bool state = false;
};

// $PSTS,1234,1,1,0,0*2C -> device time 1234, gates 0 and 1 set, gates 2 and 3 clear.
// `status` is written only when the result is SentenceFault::None.
SentenceFault ParseStatusSentence(std::string_view sentence, StatusSentence& status);

// $PEVT,102,2,1*0B -> gate 2 changed to state 1 at device time 102.
SentenceFault ParseEventSentence(std::string_view sentence, EventSentence& event);

// Whole sentences without the line end; the caller appends "\r\n".
std::string FormatStatusSentence(std::uint32_t deviceTime, const bool flags[4]);
std::string FormatEventSentence(std::uint32_t deviceTime, int gate, bool state);
