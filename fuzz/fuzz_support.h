// Shared by the fuzz targets: the readers take file paths, so every input is written to a
// scratch file of this process first. A broken expectation prints what was expected and
// aborts, which libFuzzer records as a crash with the input that caused it.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kavro::fuzz {

// A folder of this process under the system's temporary folder, removed at exit.
inline const std::filesystem::path& scratchDir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d =
            std::filesystem::temp_directory_path() / ("kavro-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratchDir(), ec);
        });
        return d;
    }();
    return dir;
}

inline std::string scratchPath(const char* name) { return (scratchDir() / name).string(); }

inline std::string writeScratch(const char* name, std::string_view bytes) {
    std::string path = scratchPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "fuzz: cannot write the scratch file %s\n", path.c_str());
        std::abort();
    }
    return path;
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Whether `s` is well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
// The workbook's files hold only characters; other bytes are written as U+FFFD.
inline bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80                 ? 1
                          : c >= 0xC2 && c <= 0xDF ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
        if (len == 0 || i + len > s.size()) return false;
        unsigned cp = len == 1 ? c : c & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

[[noreturn]] inline void broken(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz: %s: %s\n", what, detail.c_str());
    std::abort();
}

inline void expect(bool ok, const char* what, const std::string& detail = {}) {
    if (!ok) broken(what, detail);
}

}  // namespace kavro::fuzz
