#include "workbook/ooxml/xml_writer.h"

#include <cmath>
#include <cstring>

namespace wb::ooxml {

namespace {

const char kHex[] = "0123456789ABCDEF";

void appendExcelEscape(std::string& out, unsigned cp) {
    out += "_x";
    out += kHex[(cp >> 12) & 15];
    out += kHex[(cp >> 8) & 15];
    out += kHex[(cp >> 4) & 15];
    out += kHex[cp & 15];
    out += '_';
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "_xHHHH_" at s[i].
bool looksLikeEscape(std::string_view s, size_t i) {
    return i + 7 <= s.size() && s[i] == '_' && s[i + 1] == 'x' && isHex(s[i + 2]) &&
           isHex(s[i + 3]) && isHex(s[i + 4]) && isHex(s[i + 5]) && s[i + 6] == '_';
}

// Length of the valid UTF-8 sequence at s[i] (2..4) and its code point, or 0 when malformed.
size_t utf8Sequence(std::string_view s, size_t i, unsigned& cp) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF) return 0;  // surrogates are not characters
    return len;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view s, bool escapeQuotes, bool excelEscapes) {
    size_t i = 0, n = s.size();
    while (i < n) {
        // Copy the run of bytes that need nothing.
        size_t j = i;
        while (j < n) {
            unsigned char c = static_cast<unsigned char>(s[j]);
            if (c < 0x20 || c >= 0x80 || c == '<' || c == '>' || c == '&' || c == '_' ||
                (escapeQuotes && c == '"'))
                break;
            ++j;
        }
        out.append(s.data() + i, j - i);
        i = j;
        if (i >= n) break;
        unsigned char c = static_cast<unsigned char>(s[i]);
        switch (c) {
            case '<': out += "&lt;"; ++i; continue;
            case '>': out += "&gt;"; ++i; continue;
            case '&': out += "&amp;"; ++i; continue;
            case '"': out += "&quot;"; ++i; continue;
            case '_':
                if (excelEscapes && looksLikeEscape(s, i)) out += "_x005F_";
                else out += '_';
                ++i;
                continue;
            default: break;
        }
        if (c < 0x20) {
            if (c == '\t' || c == '\n' || c == '\r') {
                // In attributes these would be normalised to blanks by readers, and a carriage
                // return anywhere to a line feed: a character reference keeps them.
                if (escapeQuotes || c == '\r') {
                    out += "&#";
                    appendInt(out, c);
                    out += ';';
                } else {
                    out += static_cast<char>(c);
                }
            } else if (excelEscapes) {
                appendExcelEscape(out, c);
            }
            ++i;
            continue;
        }
        unsigned cp = 0;
        size_t len = utf8Sequence(s, i, cp);
        if (len == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for a malformed byte
            ++i;
            continue;
        }
        if (cp == 0xFFFE || cp == 0xFFFF) {
            if (excelEscapes) appendExcelEscape(out, cp);
        } else {
            out.append(s.data() + i, len);
        }
        i += len;
    }
}

std::string decodeExcelEscapes(std::string_view s) {
    if (s.find("_x") == std::string_view::npos) return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        if (looksLikeEscape(s, i)) {
            unsigned cp = static_cast<unsigned>(std::stoul(std::string(s.substr(i + 2, 4)), nullptr, 16));
            if (cp < 0x80) {
                out += static_cast<char>(cp);
            } else if (cp < 0x800) {
                out += static_cast<char>(0xC0 | (cp >> 6));
                out += static_cast<char>(0x80 | (cp & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (cp >> 12));
                out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (cp & 0x3F));
            }
            i += 7;
        } else {
            out += s[i++];
        }
    }
    return out;
}

bool needsSpacePreserve(std::string_view s) {
    if (s.empty()) return false;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    if (blank(s.front()) || blank(s.back())) return true;
    return s.find('\n') != std::string_view::npos || s.find("  ") != std::string_view::npos;
}

void appendNumber(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += '0';
        return;
    }
    if (v == 0) {  // also -0
        out += '0';
        return;
    }
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

}  // namespace wb::ooxml
