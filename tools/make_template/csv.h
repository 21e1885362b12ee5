// A small reader for the comma-separated source tables of the template: fields may be quoted
// with double quotes (a doubled quote inside stands for one), quoted fields may hold commas and
// line breaks, and lines starting with '#' outside a record are comments.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kavro::tpl {

// A malformed or inconsistent template source. The message names the file and the line.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CsvRecord {
    int line = 0;  // 1-based line where the record starts
    std::vector<std::string> fields;
};

// Parses CSV text; `name` is used in error messages. Blank lines are skipped.
std::vector<CsvRecord> parseCsv(std::string_view text, const std::string& name);
// Reads and parses a file; throws SourceError when it cannot be read.
std::vector<CsvRecord> readCsv(const std::filesystem::path& path);

}  // namespace kavro::tpl
