#include "devices/SentenceAssembler.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsMark(char c)
{
    return c == '$' || c == '*';
}

constexpr std::uint64_t EveryByte(unsigned char c)
{
    return 0x0101010101010101ull * c;
}

// A high bit in each byte of `word` that is zero. Exact for the lowest such byte, which is all that
// is asked of it; a byte above a zero byte may be flagged wrongly.
constexpr std::uint64_t ZeroBytes(std::uint64_t word)
{
    return (word - EveryByte(0x01)) & ~word & EveryByte(0x80);
}

// The first "$" or "*" from `at`, or `end`. Eight bytes at a time, since most bytes of a stream
// are fields and noise between the marks.
const char* FindMark(const char* at, const char* end)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; end - at >= 8; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, at, sizeof word);
        const std::uint64_t marks = ZeroBytes(word ^ EveryByte('$')) | ZeroBytes(word ^ EveryByte('*'));
        if (marks != 0)
            return at + __builtin_ctzll(marks) / 8;
    }
#endif
    while (at != end && !IsMark(*at))
        ++at;
    return at;
}

// The sentence that starts at `at` when it lies whole before `end` and the byte rule would take
// it as it is: a "$", no mark up to a "*", two characters that are not marks, all within the
// longest sentence.
std::optional<std::string_view> WholeSentenceAt(const char* at, const char* end)
{
    if (at == end || *at != '$')
        return std::nullopt;
    const char* const star = FindMark(at + 1, end);
    if (end - star < 3 || *star != '*' || IsMark(star[1]) || IsMark(star[2]))
        return std::nullopt;
    const std::size_t size = static_cast<std::size_t>(star + 3 - at);
    if (size > SentenceAssembler::MaxSentenceLength)
        return std::nullopt;
    return std::string_view(at, size);
}

} // namespace

std::optional<std::string_view> SentenceAssembler::Next(const char*& at, const char* end)
{
    while (at != end) {
        // Between marks the state stays the same, so whole runs are copied or skipped at once.
        if (checksumCharsLeft == 0) {
            if (inSentence) {
                AppendRun(at, end);
            } else {
                at = FindMark(at, end);
                // Most sentences arrive whole and are handed out where they lie.
                if (const std::optional<std::string_view> whole = WholeSentenceAt(at, end)) {
                    at += whole->size();
                    return whole;
                }
            }
            if (at == end)
                break;
        }
        if (TakeByte(*at++)) {
            const std::string_view complete(sentence, length);
            Reset();
            return complete;
        }
    }
    return std::nullopt;
}

// One "$", "*" or checksum character; true when it completes the sentence.
bool SentenceAssembler::TakeByte(char c)
{
    if (c == '$')
        Restart();
    bool complete = false;
    if (inSentence || checksumCharsLeft != 0) {
        if (!Append(c))
            return false;
        complete = checksumCharsLeft != 0 && --checksumCharsLeft == 0;
    }
    if (c == '*' && !complete) {
        inSentence = false;
        checksumCharsLeft = 2;
    }
    return complete;
}

void SentenceAssembler::AppendRun(const char*& at, const char* end)
{
    const std::size_t room = MaxSentenceLength - length;
    const char* limit = static_cast<std::size_t>(end - at) > room ? at + room : end;
    const char* const runStart = at;
    at = FindMark(at, limit);
    std::memcpy(sentence + length, runStart, static_cast<std::size_t>(at - runStart));
    length += static_cast<std::size_t>(at - runStart);
    // A full buffer: the byte that finds it full is dropped with the sentence. A mark there is
    // left to TakeByte, which knows what a full buffer means for it.
    if (at != end && !IsMark(*at)) {
        ++at;
        Reset();
    }
}

bool SentenceAssembler::Append(char c)
{
    if (length >= MaxSentenceLength) {
        Reset();
        return false;
    }
    sentence[length++] = c;
    return true;
}

void SentenceAssembler::Restart()
{
    length = 0;
    checksumCharsLeft = 0;
    inSentence = true;
}

void SentenceAssembler::Reset()
{
    length = 0;
    checksumCharsLeft = 0;
    inSentence = false;
}
