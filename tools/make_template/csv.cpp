#include "tools/make_template/csv.h"

#include <fstream>
#include <sstream>

namespace kavro::tpl {

std::vector<CsvRecord> parseCsv(std::string_view text, const std::string& name) {
    std::vector<CsvRecord> records;
    size_t i = 0;
    const size_t n = text.size();
    int line = 1;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;  // byte-order mark

    while (i < n) {
        // Between records: skip blank lines and comments.
        if (text[i] == '\n' || text[i] == '\r') {
            if (text[i] == '\n') ++line;
            ++i;
            continue;
        }
        if (text[i] == '#') {
            while (i < n && text[i] != '\n') ++i;
            continue;
        }
        CsvRecord rec;
        rec.line = line;
        std::string field;
        bool quoted = false;       // inside a quoted section
        bool wasQuoted = false;    // the current field began with a quote
        for (;;) {
            if (i >= n) {
                if (quoted)
                    throw SourceError(name + ":" + std::to_string(rec.line) +
                                      ": unterminated quoted field");
                rec.fields.push_back(std::move(field));
                break;
            }
            char ch = text[i];
            if (quoted) {
                if (ch == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                    } else {
                        quoted = false;
                        ++i;
                    }
                } else {
                    if (ch == '\n') ++line;
                    field += ch;
                    ++i;
                }
                continue;
            }
            if (ch == '"' && field.empty() && !wasQuoted) {
                quoted = wasQuoted = true;
                ++i;
            } else if (ch == ',') {
                rec.fields.push_back(std::move(field));
                field.clear();
                wasQuoted = false;
                ++i;
            } else if (ch == '\r' || ch == '\n') {
                rec.fields.push_back(std::move(field));
                if (ch == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
                ++i;
                ++line;
                break;
            } else if (wasQuoted) {
                throw SourceError(name + ":" + std::to_string(line) +
                                  ": text after the closing quote of a field");
            } else {
                field += ch;
                ++i;
            }
        }
        records.push_back(std::move(rec));
    }
    return records;
}

std::vector<CsvRecord> readCsv(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError(path.string() + ": cannot be read");
    std::ostringstream buf;
    buf << in.rdbuf();
    return parseCsv(buf.str(), path.filename().string());
}

}  // namespace kavro::tpl
