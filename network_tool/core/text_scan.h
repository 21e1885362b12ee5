// Locale-independent scanning of numbers in the way the C library's scanf/atof read them:
// leading white space skipped, an optional sign, then the longest number that fits.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace combra::detail {

inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

inline std::string_view TrimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    return s.substr(i);
}

// Skips white space and a '+' sign; `pos` is left at the number's first character.
inline void SkipToNumber(std::string_view s, std::size_t& pos) {
    while (pos < s.size() && IsSpace(s[pos])) ++pos;
    if (pos + 1 < s.size() && s[pos] == '+' && s[pos + 1] != '-' && s[pos + 1] != '+') ++pos;
}

// A 32-bit integer at `pos`; false when there is none or it does not fit.
inline bool ScanInt(std::string_view s, std::size_t& pos, std::int32_t& out) {
    SkipToNumber(s, pos);
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(s.data() + pos, s.data() + s.size(), value);
    if (ec != std::errc() || value < INT32_MIN || value > INT32_MAX) return false;
    pos = static_cast<std::size_t>(end - s.data());
    out = static_cast<std::int32_t>(value);
    return true;
}

// A finite decimal number at `pos`; false when there is none.
template <typename Float>
bool ScanFloat(std::string_view s, std::size_t& pos, Float& out) {
    SkipToNumber(s, pos);
    Float value = 0;
    auto [end, ec] = std::from_chars(s.data() + pos, s.data() + s.size(), value,
                                     std::chars_format::general);
    if (ec != std::errc() || !std::isfinite(value)) return false;
    pos = static_cast<std::size_t>(end - s.data());
    out = value;
    return true;
}

// Reads one line from a file opened in binary mode, without its "\n" or "\r\n".
// False at end of file when nothing was read.
template <typename Stream>
bool ReadLine(Stream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace combra::detail
