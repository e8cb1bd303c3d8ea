#include "devices/GateSentence.h"

#include "common/Hex.h"

#include <cstring>

namespace {

// The C library's white space: blank, or tab through carriage return.
bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The XOR of every byte, taken eight bytes at a time and folded to one byte at the end.
unsigned XorOf(std::string_view text)
{
    std::uint64_t wide = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        wide ^= word;
    }
    wide ^= wide >> 32;
    wide ^= wide >> 16;
    wide ^= wide >> 8;
    unsigned sum = static_cast<unsigned>(wide & 0xFF);
    for (; at < text.size(); ++at)
        sum ^= static_cast<unsigned char>(text[at]);
    return sum;
}

bool IsFieldDelimiter(char c)
{
    // A "*" inside the body is not a field character; as a delimiter it makes the sentence fail
    // the empty-field or the field-count check.
    return c == ',' || c == '*';
}

const char* FindFieldEnd(const char* at, const char* end)
{
    while (at != end && !IsFieldDelimiter(*at))
        ++at;
    return at;
}

// Blanks, an optional sign and digits from `at`, which is left after the last digit.
inline std::uint32_t ReadNumber(const char*& at, const char* end)
{
    while (at != end && IsBlank(*at))
        ++at;
    bool negative = false;
    if (at != end && (*at == '+' || *at == '-'))
        negative = *at++ == '-';
    std::uint32_t value = 0;
    for (; at != end && *at >= '0' && *at <= '9'; ++at)
        value = value * 10u + static_cast<std::uint32_t>(*at - '0');
    return negative ? 0u - value : value;
}

// Reads a checked body made of `tag` and exactly Count numbers, every field holding a character:
// "PSTS,1234,1,1,0,0" with tag "PSTS" gives 1234, 1, 1, 0, 0. One pass: each number is read where
// its field starts, and the field's end is looked for from where the number stopped.
template <std::size_t Count>
SentenceFault ScanFields(std::string_view body, std::string_view tag, std::uint32_t (&numbers)[Count])
{
    const char* at = body.data();
    const char* const end = at + body.size();
    const char* const tagEnd = FindFieldEnd(at, end);
    if (tagEnd == at)
        return SentenceFault::EmptyField;
    const bool tagMatches = std::string_view(at, static_cast<std::size_t>(tagEnd - at)) == tag;
    std::size_t fields = 1;
    for (at = tagEnd; at != end;) {
        const char* const start = ++at; // past the delimiter
        std::uint32_t number = ReadNumber(at, end);
        at = FindFieldEnd(at, end);
        if (at == start)
            return SentenceFault::EmptyField;
        if (fields <= Count)
            numbers[fields - 1] = number;
        ++fields;
    }
    return tagMatches && fields == Count + 1 ? SentenceFault::None : SentenceFault::Layout;
}

template <std::size_t Count>
SentenceFault ScanSentence(std::string_view sentence, std::string_view tag, std::uint32_t (&numbers)[Count])
{
    const std::optional<std::string_view> body = CheckedSentenceBody(sentence);
    return body ? ScanFields(*body, tag, numbers) : SentenceFault::Frame;
}

} // namespace

std::string SentenceChecksum(std::string_view sentence)
{
    const unsigned sum = sentence.size() > 4 ? XorOf(sentence.substr(1, sentence.size() - 4)) : 0;
    return std::string{HexDigit(sum >> 4), HexDigit(sum)};
}

std::string WithChecksum(std::string_view body)
{
    std::string sentence(body);
    sentence += "*00";
    const std::string sum = SentenceChecksum(sentence);
    sentence.replace(sentence.size() - 2, 2, sum);
    return sentence;
}

std::optional<std::string_view> CheckedSentenceBody(std::string_view sentence)
{
    const std::size_t n = sentence.size();
    if (n < 4 || sentence[0] != '$' || sentence[n - 3] != '*')
        return std::nullopt;
    const std::string_view body = sentence.substr(1, n - 4);
    const unsigned sum = XorOf(body);
    // Upper-case digits only: the hardware never sends lower case, so "2c" is line noise.
    if (sentence[n - 2] != HexDigit(sum >> 4) || sentence[n - 1] != HexDigit(sum))
        return std::nullopt;
    return body;
}

SentenceFault ParseStatusSentence(std::string_view sentence, StatusSentence& status)
{
    std::uint32_t numbers[5];
    const SentenceFault fault = ScanSentence(sentence, "PSTS", numbers);
    if (fault != SentenceFault::None)
        return fault;
    status.deviceTime = numbers[0];
    for (int gate = 0; gate < 4; ++gate)
        status.gates[gate] = numbers[1 + gate] != 0;
    return SentenceFault::None;
}

SentenceFault ParseEventSentence(std::string_view sentence, EventSentence& event)
{
    std::uint32_t numbers[3];
    const SentenceFault fault = ScanSentence(sentence, "PEVT", numbers);
    if (fault != SentenceFault::None)
        return fault;
    event.deviceTime = numbers[0];
    event.gate = static_cast<int>(numbers[1]);
    event.state = numbers[2] != 0;
    return SentenceFault::None;
}

std::string FormatStatusSentence(std::uint32_t deviceTime, const bool flags[4])
{
    std::string body = "$PSTS," + std::to_string(deviceTime);
    for (int gate = 0; gate < 4; ++gate)
        body += flags[gate] ? ",1" : ",0";
    return WithChecksum(body);
}

std::string FormatEventSentence(std::uint32_t deviceTime, int gate, bool state)
{
    return WithChecksum("$PEVT," + std::to_string(deviceTime) + "," + std::to_string(gate) +
                        (state ? ",1" : ",0"));
}
