#pragma once

#include <cstdint>
#include <string_view>

// The 32-bit FNV-1a hash of the bytes: stable from run to run, unlike std::hash.
inline std::uint32_t Fnv1a(std::string_view bytes)
{
    std::uint32_t hash = 2166136261u;
    for (const char byte : bytes)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 16777619u;
    return hash;
}
