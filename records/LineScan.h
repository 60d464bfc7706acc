// Walking the lines and fields of a record file in place, without copying: the byte classes
// of its syntax and the scans the readers' fast paths are made of.
#pragma once

#include <array>
#include <cstdint>

#include "records/WordScan.h"

// What a byte means to the line and field syntax: lines end at CR or LF; codes 1..32 are
// blanks between fields; a comma delimits a field. Everything else, NUL and the double quote
// included, may stand inside a field.
enum class ByteClass : std::uint8_t { Other, Blank, Break, Comma };

inline constexpr std::array<ByteClass, 256> kByteClasses = [] {
    std::array<ByteClass, 256> classes{};
    for (int code = 1; code <= 32; ++code) {
        classes[static_cast<std::size_t>(code)] = ByteClass::Blank;
    }
    classes['\r'] = ByteClass::Break;
    classes['\n'] = ByteClass::Break;
    classes[','] = ByteClass::Comma;
    return classes;
}();

inline ByteClass ClassOf(char c) {
    return kByteClasses[static_cast<unsigned char>(c)];
}

// The first blank-free position at or after p within the line.
inline const char* SkipBlanks(const char* p, const char* last) {
    while (p < last && ClassOf(*p) == ByteClass::Blank) {
        ++p;
    }
    return p;
}

// The end of the run of field characters starting at p (the next blank, break or comma),
// eight bytes per step: a word's first byte below 33 or equal to ',' ends the run, unless
// it is a NUL, which belongs to the run and is passed byte by byte.
inline const char* SkipRun(const char* p, const char* last) {
    while (last - p >= 8) {
        const std::uint64_t word = LoadWord(p, last);
        const std::uint64_t ends =
            ((word - 33 * kEachByte) & ~word & (0x80 * kEachByte)) | FirstByteMask(word, ',');
        if (ends == 0) {
            p += 8;
            continue;
        }
        p += FirstMarkedByte(ends);
        if (*p != '\0') {
            return p;
        }
        ++p;
    }
    while (p < last && ClassOf(*p) == ByteClass::Other) {
        ++p;
    }
    return p;
}

// Whether a field's text may end where a number scan stopped.
inline bool EndsField(const char* p, const char* last) {
    return p == last || ClassOf(*p) != ByteClass::Other;
}

// The first CR or LF at or after p, or last: eight bytes per step, so a header line of
// megabytes is skipped at memory speed.
inline const char* FindLineBreak(const char* p, const char* last) {
    if (p < last && (*p == '\n' || *p == '\r')) {
        return p;  // the common case: the break right after the field just read
    }
    while (last - p >= 8) {
        const std::uint64_t word = LoadWord(p, last);
        const std::uint64_t breaks = FirstByteMask(word, '\n') | FirstByteMask(word, '\r');
        if (breaks != 0) {
            return p + FirstMarkedByte(breaks);
        }
        p += 8;
    }
    while (p < last && *p != '\n' && *p != '\r') {
        ++p;
    }
    return p;
}

// Past the line break at p (CR LF counts as one), or last when p is there.
inline const char* PastLineBreak(const char* p, const char* last) {
    if (p == last) {
        return p;
    }
    if (*p == '\r' && p + 1 < last && p[1] == '\n') {
        return p + 2;
    }
    return p + 1;
}

// Past the line that starts at p.
inline const char* NextLine(const char* p, const char* last) {
    return PastLineBreak(FindLineBreak(p, last), last);
}
