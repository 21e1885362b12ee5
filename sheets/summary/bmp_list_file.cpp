#include "sheets/summary/bmp_list_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace kavro {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// Hands out the fields of the text one by one.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : s_(text) {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;  // UTF-8 byte order mark
    }

    // True when no field is left: nothing but blanks and line ends remain, and the last field did
    // not end with a comma (which promises one more, possibly empty, field).
    bool atEnd() const {
        if (afterComma_) return false;
        size_t p = pos_;
        while (p < s_.size() && (isBlank(s_[p]) || isLineEnd(s_[p]))) ++p;
        return p >= s_.size();
    }

    enum class Result { Field, End, Unterminated };

    Result next(std::string& out) {
        out.clear();
        if (afterComma_) {
            skipBlanks();
        } else {
            // At the start of a line: blank lines hold no field.
            while (pos_ < s_.size() && (isBlank(s_[pos_]) || isLineEnd(s_[pos_]))) ++pos_;
        }
        if (pos_ >= s_.size()) {
            if (!afterComma_) return Result::End;
            afterComma_ = false;  // "a,b," ends with an empty field
            return Result::Field;
        }
        if (s_[pos_] == '"') {
            ++pos_;
            for (;;) {
                if (pos_ >= s_.size()) return Result::Unterminated;
                char c = s_[pos_++];
                if (c != '"') {
                    out += c;
                } else if (pos_ < s_.size() && s_[pos_] == '"') {
                    out += '"';
                    ++pos_;
                } else {
                    break;
                }
            }
            // Anything between the closing quote and the delimiter is kept, not lost.
            out += takeUnquoted();
        } else {
            out = takeUnquoted();
        }
        endField();
        return Result::Field;
    }

private:
    void skipBlanks() {
        while (pos_ < s_.size() && isBlank(s_[pos_])) ++pos_;
    }

    // Up to the next comma or line end, without the blanks around it.
    std::string takeUnquoted() {
        skipBlanks();
        size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != ',' && !isLineEnd(s_[pos_])) ++pos_;
        size_t end = pos_;
        while (end > start && isBlank(s_[end - 1])) --end;
        return std::string(s_.substr(start, end - start));
    }

    void endField() {
        afterComma_ = false;
        if (pos_ >= s_.size()) return;
        if (s_[pos_] == ',') {
            ++pos_;
            afterComma_ = true;
        } else if (s_[pos_] == '\r') {
            ++pos_;
            if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
        } else if (s_[pos_] == '\n') {
            ++pos_;
        }
    }

    std::string_view s_;
    size_t pos_ = 0;
    bool afterComma_ = false;
};

}  // namespace

BmpListContents readBmpList(std::istream& in, const std::string& name) {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    BmpListContents result;
    FieldReader reader(text);
    while (!reader.atEnd()) {
        BmpRecord record;
        const size_t number = result.records.size() + 1;
        for (int k = 0; k < kBmpFieldsPerRecord; ++k) {
            FieldReader::Result r = reader.next(record[static_cast<size_t>(k)]);
            if (r == FieldReader::Result::Unterminated) {
                result.error = "The BMP list file \"" + name + "\" has a quoted field in record " +
                               std::to_string(number) + " that is never closed.";
                return result;
            }
            if (r == FieldReader::Result::End) {
                result.error = "The BMP list file \"" + name + "\" ends inside record " +
                               std::to_string(number) + ", after " + std::to_string(k) +
                               " of its " + std::to_string(kBmpFieldsPerRecord) + " fields.";
                return result;
            }
        }
        result.records.push_back(std::move(record));
    }
    return result;
}

BmpListContents readBmpListFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        BmpListContents result;
        result.error = "The BMP list file \"" + path + "\" cannot be opened.";
        return result;
    }
    return readBmpList(in, path);
}

std::string defaultBmpListPath() {
    return (std::filesystem::current_path() / "support" / "allBMPkavro.csv").string();
}

}  // namespace kavro
