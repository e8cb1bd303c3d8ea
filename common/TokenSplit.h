#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits 8-bit text into the maximal runs of characters not in `delimiters`. Empty runs produce
// no token, so "a,,b" and ",a,b" both give {"a", "b"}.
std::vector<std::string> SplitTokens(std::string_view text, std::string_view delimiters);
