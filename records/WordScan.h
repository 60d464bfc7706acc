// Eight bytes at a time: the word loads and byte tests the number and line scanners share.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;

// Eight text bytes as one word, the first byte lowest; bytes at or past last read as 0.
inline std::uint64_t LoadWord(const char* p, const char* last) {
    std::uint64_t word = 0;
    const auto available = static_cast<std::size_t>(last - p);
    if (available >= 8) {
        std::memcpy(&word, p, 8);
    } else if (available > 0) {
        std::memcpy(&word, p, available);
    }
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

// A word whose lowest set high bit marks the first byte equal to byte (bits above that one
// may be wrong; only the first match is read from it).
inline std::uint64_t FirstByteMask(std::uint64_t word, unsigned char byte) {
    const std::uint64_t x = word ^ (byte * kEachByte);
    return (x - kEachByte) & ~x & (0x80 * kEachByte);
}

// The index (0..7) of the byte a non-zero mask marks first.
inline std::size_t FirstMarkedByte(std::uint64_t mask) {
    return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
}
