#include "common/TokenSplit.h"

std::vector<std::string> SplitTokens(std::string_view text, std::string_view delimiters)
{
    std::vector<std::string> tokens;
    tokens.reserve(8); // a gate sentence has at most 7 fields; saves the vector's regrowth
    std::size_t pos = text.find_first_not_of(delimiters);
    while (pos != std::string_view::npos) {
        const std::size_t end = text.find_first_of(delimiters, pos);
        tokens.emplace_back(
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        pos = text.find_first_not_of(delimiters, end);
    }
    return tokens;
}
