#include "devices/GateSentence.h"

#include "common/TokenSplit.h"

#include <vector>

namespace {

constexpr std::string_view FieldDelimiters = ",*";

char HexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::string SentenceChecksum(std::string_view sentence)
{
    unsigned sum = 0;
    if (sentence.size() > 4) {
        for (std::size_t i = 1; i <= sentence.size() - 4; ++i)
            sum ^= static_cast<unsigned char>(sentence[i]);
    }
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

std::uint32_t ReadSentenceNumber(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && IsBlank(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    std::uint32_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(field[i] - '0');
    return negative ? 0u - value : value;
}

std::optional<StatusSentence> ParseStatusSentence(std::string_view sentence)
{
    const std::vector<std::string> tokens = SplitTokens(sentence, FieldDelimiters);
    if (tokens.size() < 7 || tokens[0] != "$PSTS")
        return std::nullopt;
    StatusSentence status;
    status.deviceTime = ReadSentenceNumber(tokens[1]);
    for (int gate = 0; gate < 4; ++gate)
        status.gates[gate] = ReadSentenceNumber(tokens[2 + gate]) != 0;
    status.checksumOk = tokens[6] == SentenceChecksum(sentence);
    return status;
}

std::optional<EventSentence> ParseEventSentence(std::string_view sentence)
{
    const std::vector<std::string> tokens = SplitTokens(sentence, FieldDelimiters);
    if (tokens.size() < 5 || tokens[0] != "$PEVT")
        return std::nullopt;
    EventSentence event;
    event.deviceTime = ReadSentenceNumber(tokens[1]);
    event.gate = static_cast<int>(ReadSentenceNumber(tokens[2]));
    event.state = ReadSentenceNumber(tokens[3]) != 0;
    event.checksumOk = tokens[4] == SentenceChecksum(sentence);
    return event;
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
