#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Cuts the gate byte stream into sentences. A sentence runs from a "$" to the second character
// after the next "*"; a "$" anywhere restarts it; bytes outside a sentence are dropped. A "*"
// outside a sentence still collects the next two bytes, which no tag matches. A sentence that
// lies whole in the bytes at hand is handed out where it lies; one cut by the end of the bytes
// carries over to the next chunk in a fixed buffer. Nothing is allocated.
class SentenceAssembler
{
public:
    // Line noise or a wrong baud rate can open a sentence that never closes: past this length it
    // is dropped, and the byte that would have exceeded it with it.
    static constexpr std::size_t MaxSentenceLength = 128;

    // Consumes bytes from `at` up to and including the last byte of the next complete sentence and
    // returns that sentence, which may point into the bytes themselves: valid until the next call
    // and while those bytes are. Empty once every byte is consumed.
    std::optional<std::string_view> Next(const char*& at, const char* end);

private:
    bool TakeByte(char c);
    void AppendRun(const char*& at, const char* end);
    bool Append(char c);
    void Restart();
    void Reset();

    char sentence[MaxSentenceLength];
    std::size_t length = 0;
    bool inSentence = false;
    int checksumCharsLeft = 0;
};
