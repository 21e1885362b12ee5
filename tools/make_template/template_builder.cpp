#include "tools/make_template/template_builder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "workbook/formula/formula.h"
#include "workbook/model/style.h"

namespace kavro::tpl {

namespace fs = std::filesystem;
using wb::formula::columnLetters;
using wb::formula::columnNumber;

namespace {

// Font colours of the workbook's colour code (blue-green-red, as the object model gives them).
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

[[noreturn]] void fail(const std::string& file, int line, const std::string& what) {
    throw SourceError(file + ":" + std::to_string(line) + ": " + what);
}

std::optional<double> parseNumber(std::string_view s) {
    if (s.empty()) return std::nullopt;
    double v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A source table laid onto a sheet: the header "F:County key" puts the field into column F with
// the title "County key" in row 1; the records fill rows 2, 3, ...
struct Table {
    std::string file;
    int headerLine = 0;
    std::vector<int> columns;
    std::vector<std::string> titles;
    std::vector<CsvRecord> rows;

    int fieldOf(int col) const {
        auto it = std::find(columns.begin(), columns.end(), col);
        return it == columns.end() ? -1 : static_cast<int>(it - columns.begin());
    }
    const std::string& at(size_t row, int col) const { return rows[row].fields[fieldOf(col)]; }
    int line(size_t row) const { return rows[row].line; }
};

int col(std::string_view letters) { return columnNumber(letters); }

Table readTable(const fs::path& path, std::initializer_list<std::string_view> required) {
    Table t;
    t.file = path.filename().string();
    std::vector<CsvRecord> records = readCsv(path);
    if (records.empty()) fail(t.file, 1, "no header line");
    const CsvRecord& header = records.front();
    t.headerLine = header.line;
    for (const std::string& f : header.fields) {
        size_t colon = f.find(':');
        int c = colon == std::string::npos ? 0 : columnNumber(f.substr(0, colon));
        if (c <= 0)
            fail(t.file, header.line, "header field \"" + f + "\" is not COLUMN:Title");
        if (t.fieldOf(c) >= 0)
            fail(t.file, header.line, "column " + columnLetters(c) + " named twice");
        t.columns.push_back(c);
        t.titles.push_back(f.substr(colon + 1));
    }
    for (std::string_view r : required)
        if (t.fieldOf(col(r)) < 0)
            fail(t.file, header.line, "the header has no column " + std::string(r));
    for (size_t i = 1; i < records.size(); ++i) {
        if (records[i].fields.size() != t.columns.size())
            fail(t.file, records[i].line,
                 std::to_string(records[i].fields.size()) + " fields where the header has " +
                     std::to_string(t.columns.size()));
        t.rows.push_back(std::move(records[i]));
    }
    return t;
}

void requireRows(const Table& t, size_t min, size_t max) {
    if (t.rows.size() < min || t.rows.size() > max) {
        std::string want = min == max ? std::to_string(min)
                                      : std::to_string(min) + " to " + std::to_string(max);
        fail(t.file, t.headerLine,
             std::to_string(t.rows.size()) + " rows where the workbook reads " + want);
    }
}

void requireText(const Table& t, std::string_view letters) {
    for (size_t r = 0; r < t.rows.size(); ++r)
        if (t.at(r, col(letters)).empty())
            fail(t.file, t.line(r), "column " + std::string(letters) + " is empty");
}

void requireNumbers(const Table& t, std::initializer_list<std::string_view> cols) {
    for (size_t r = 0; r < t.rows.size(); ++r)
        for (std::string_view c : cols)
            if (!parseNumber(t.at(r, col(c))))
                fail(t.file, t.line(r),
                     "column " + std::string(c) + " holds \"" + t.at(r, col(c)) +
                         "\", not a number");
}

// Keys of an approximate lookup: strictly ascending in the spreadsheet's text order.
void requireAscendingText(const Table& t, std::string_view letters) {
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const std::string& key = t.at(r, col(letters));
        if (!lookupKeyIsPortable(key))
            fail(t.file, t.line(r),
                 "lookup key \"" + key + "\" may hold only letters, digits, blanks and periods");
        if (r > 0 && !lookupKeyLess(t.at(r - 1, col(letters)), key))
            fail(t.file, t.line(r),
                 "key \"" + key + "\" is not above the key before it (keys must ascend)");
    }
}

// The rows of one state must be together: the in-cell lists of the Input sheet show the block of
// the chosen state.
void requireGroupedBy(const Table& t, std::string_view letters) {
    std::set<std::string> closed;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        std::string k = lower(t.at(r, col(letters)));
        if (r > 0 && k == lower(t.at(r - 1, col(letters)))) continue;
        if (!closed.insert(k).second)
            fail(t.file, t.line(r),
                 "\"" + t.at(r, col(letters)) + "\" appears again after other rows");
    }
}

void place(wb::Worksheet& ws, const Table& t) {
    for (size_t f = 0; f < t.columns.size(); ++f) {
        ws.cells(1, t.columns[f]).setText(t.titles[f]);
        for (size_t r = 0; r < t.rows.size(); ++r) {
            const std::string& v = t.rows[r].fields[f];
            if (v.empty()) continue;
            wb::Range cell = ws.cells(static_cast<int>(r) + 2, t.columns[f]);
            if (auto n = parseNumber(v))
                cell.setValue(*n);
            else
                cell.setText(v);
        }
    }
}

// "State|County", "State|Station": the text the Input sheet's choice is matched against.
std::string choiceKey(std::string_view state, std::string_view name) {
    return std::string(state) + "|" + std::string(name);
}

void requireUniqueChoices(const Table& t, std::string_view a, std::string_view b) {
    std::map<std::string, int> seen;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        std::string k = lower(choiceKey(t.at(r, col(a)), t.at(r, col(b))));
        auto [it, fresh] = seen.emplace(k, t.line(r));
        if (!fresh)
            fail(t.file, t.line(r),
                 "\"" + choiceKey(t.at(r, col(a)), t.at(r, col(b))) +
                     "\" is already on line " + std::to_string(it->second));
    }
}

std::vector<std::string> statesOf(const Table& t) {
    std::vector<std::string> states;
    for (size_t r = 0; r < t.rows.size(); ++r)
        if (states.empty() || lower(states.back()) != lower(t.at(r, col("A"))))
            states.push_back(t.at(r, col("A")));
    return states;
}

void buildCountyData(wb::Worksheet& ws, const Table& t) {
    requireRows(t, 1, kCountyRows);
    requireText(t, "A");
    requireText(t, "C");
    requireNumbers(t, {"F", "O", "P", "Q", "R", "S"});
    // The county key is looked up approximately (the last key not above Input!I13): it must be a
    // whole number and ascend strictly.
    for (size_t r = 0; r < t.rows.size(); ++r) {
        double key = *parseNumber(t.at(r, col("F")));
        if (key != std::floor(key) || key <= 0)
            fail(t.file, t.line(r), "county key " + t.at(r, col("F")) + " is not a whole number");
        if (r > 0 && key <= *parseNumber(t.at(r - 1, col("F"))))
            fail(t.file, t.line(r),
                 "county key " + t.at(r, col("F")) + " is not above the key before it");
    }
    requireGroupedBy(t, "A");
    requireUniqueChoices(t, "A", "C");
    if (t.fieldOf(col("E")) >= 0 || t.fieldOf(col("U")) >= 0)
        fail(t.file, t.headerLine, "columns E and U are written by the template builder");

    place(ws, t);
    ws.cells(1, col("E")).setText("State|County (matched by Input!I13)");
    for (size_t r = 0; r < t.rows.size(); ++r)
        ws.cells(static_cast<int>(r) + 2, col("E"))
            .setText(choiceKey(t.at(r, col("A")), t.at(r, col("C"))));
    ws.cells(1, col("U")).setText("States");
    std::vector<std::string> states = statesOf(t);
    for (size_t i = 0; i < states.size(); ++i)
        ws.cells(static_cast<int>(i) + 2, col("U")).setText(states[i]);
}

void buildWeatherData(wb::Worksheet& ws, const Table& t, const Table& counties) {
    requireRows(t, 1, kStationRows);
    requireText(t, "A");
    requireText(t, "B");
    requireNumbers(t, {"W", "X", "Y", "AA"});
    requireGroupedBy(t, "A");
    requireUniqueChoices(t, "A", "B");
    if (t.fieldOf(col("V")) >= 0)
        fail(t.file, t.headerLine, "column V is written by the template builder");
    // Every state that can be chosen needs both its counties and its stations.
    std::vector<std::string> a = statesOf(counties), b = statesOf(t);
    for (auto& s : a) s = lower(s);
    for (auto& s : b) s = lower(s);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    if (a != b) {
        std::vector<std::string> diff;
        std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(),
                                      std::back_inserter(diff));
        fail(t.file, t.headerLine,
             "state \"" + diff.front() + "\" has counties but no stations, or stations but no "
             "counties");
    }

    place(ws, t);
    ws.cells(1, col("V")).setText("Station key (State|Station)");
    for (size_t r = 0; r < t.rows.size(); ++r)
        ws.cells(static_cast<int>(r) + 2, col("V"))
            .setText(choiceKey(t.at(r, col("A")), t.at(r, col("B"))));
}

void buildLookupTable(wb::Worksheet& ws, const Table& t, size_t rows, std::string_view key,
                      std::initializer_list<std::string_view> numbers) {
    requireRows(t, rows, rows);
    requireText(t, key);
    requireAscendingText(t, key);
    requireNumbers(t, numbers);
    place(ws, t);
}

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

void applyFormat(wb::Range r, const std::string& format, const std::string& file, int line) {
    for (const std::string& w : words(format)) {
        size_t eq = w.find('=');
        std::string key = w.substr(0, eq), arg = eq == std::string::npos ? "" : w.substr(eq + 1);
        if (w == "bold") r.font().setBold(true);
        else if (w == "italic") r.font().setItalic(true);
        else if (w == "wrap") r.setWrapText(true);
        else if (w == "left") r.setHorizontalAlignment(wb::xl::Left);
        else if (w == "center") r.setHorizontalAlignment(wb::xl::Center);
        else if (w == "right") r.setHorizontalAlignment(wb::xl::Right);
        else if (w == "red") r.font().setColor(kRed);
        else if (w == "blue") r.font().setColor(kBlue);
        else if (w == "box") {
            for (int edge : {wb::xl::EdgeLeft, wb::xl::EdgeTop, wb::xl::EdgeBottom,
                             wb::xl::EdgeRight})
                r.borders(edge).setLineStyle(wb::xl::Continuous).setWeight(wb::xl::Thin);
        } else if (key == "fill" && parseNumber(arg)) {
            r.interior().setColorIndex(static_cast<int>(*parseNumber(arg)));
            r.interior().setPattern(wb::xl::Solid);
        } else if (key == "nf" && !arg.empty()) {
            r.setNumberFormat(arg);
        } else if (key == "width" && parseNumber(arg)) {
            r.setColumnWidth(*parseNumber(arg));
        } else {
            fail(file, line, "unknown format word \"" + w + "\"");
        }
    }
}

wb::Worksheet& sheetOf(wb::Workbook& book, const std::string& name, const std::string& file,
                       int line) {
    wb::Worksheet* ws = book.findSheet(name);
    if (!ws) fail(file, line, "no sheet \"" + name + "\" in sheets.csv");
    return *ws;
}

wb::Range rangeOf(wb::Worksheet& ws, const std::string& a1, const std::string& file, int line) {
    int r1, c1, r2, c2;
    if (!wb::formula::parseA1Range(a1, r1, c1, r2, c2))
        fail(file, line, "\"" + a1 + "\" is not a cell or a range");
    return ws.range(a1);
}

// Reads records of exactly `fields` fields after the header line.
std::vector<CsvRecord> readRecords(const fs::path& path, size_t fields) {
    std::vector<CsvRecord> records = readCsv(path);
    std::string file = path.filename().string();
    if (records.empty()) fail(file, 1, "no header line");
    if (records.front().fields.size() != fields)
        fail(file, records.front().line,
             "the header has " + std::to_string(records.front().fields.size()) +
                 " fields where " + std::to_string(fields) + " are expected");
    records.erase(records.begin());
    for (const CsvRecord& rec : records)
        if (rec.fields.size() != fields)
            fail(file, rec.line,
                 std::to_string(rec.fields.size()) + " fields where " + std::to_string(fields) +
                     " are expected");
    return records;
}

void addSheets(wb::Workbook& book, const fs::path& path) {
    const std::string file = path.filename().string();
    int active = -1;
    for (const CsvRecord& rec : readRecords(path, 2)) {
        const std::string& name = rec.fields[0];
        const std::string& state = rec.fields[1];
        if (state != "visible" && state != "hidden" && state != "active")
            fail(file, rec.line, "state \"" + state + "\" is not visible, hidden or active");
        wb::Worksheet* ws = nullptr;
        try {
            ws = &book.addSheet(name);
        } catch (const wb::WorkbookError& e) {
            fail(file, rec.line, e.what());
        }
        ws->setVisible(state != "hidden");
        if (state == "active") {
            if (active >= 0) fail(file, rec.line, "a second active sheet");
            active = book.sheetCount() - 1;
        }
    }
    for (std::string_view name : kRequiredSheets)
        if (!book.findSheet(name))
            fail(file, 1, "the sheet \"" + std::string(name) + "\" is missing");
    if (active < 0) fail(file, 1, "no sheet is marked active");
    book.setActiveSheet(active);
}

void writeCells(wb::Workbook& book, const fs::path& path) {
    const std::string file = path.filename().string();
    for (const CsvRecord& rec : readRecords(path, 4)) {
        wb::Worksheet& ws = sheetOf(book, rec.fields[0], file, rec.line);
        wb::Range r = rangeOf(ws, rec.fields[1], file, rec.line);
        const std::string& entry = rec.fields[2];
        try {
            if (!entry.empty() && entry.front() == '\'')
                r.setText(std::string_view(entry).substr(1));
            else if (!entry.empty())
                r.setValue(entry);
        } catch (const wb::WorkbookError& e) {
            fail(file, rec.line, e.what());
        }
        applyFormat(r, rec.fields[3], file, rec.line);
    }
}

void addValidations(wb::Workbook& book, const fs::path& path) {
    const std::string file = path.filename().string();
    for (const CsvRecord& rec : readRecords(path, 4)) {
        wb::Worksheet& ws = sheetOf(book, rec.fields[0], file, rec.line);
        wb::Range r = rangeOf(ws, rec.fields[1], file, rec.line);
        // The list source is stored as text; parse it here so that a misspelt sheet or a broken
        // formula stops the build instead of giving an empty list in the workbook.
        try {
            wb::formula::parseA1(rec.fields[2], book);
        } catch (const wb::formula::FormulaError& e) {
            fail(file, rec.line, "list source \"" + rec.fields[2] + "\": " + e.what());
        }
        wb::DataValidation dv;
        dv.ranges.push_back(r.ref());
        dv.type = "list";
        dv.formula1 = rec.fields[2];
        dv.prompt = rec.fields[3];
        dv.showInputMessage = !dv.prompt.empty();
        dv.errorTitle = "KAVRO";
        dv.error = "Please choose an entry of the list.";
        ws.validations.push_back(std::move(dv));
    }
}

}  // namespace

bool lookupKeyIsPortable(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '.';
    });
}

bool lookupKeyLess(std::string_view a, std::string_view b) { return lower(a) < lower(b); }

void buildTemplate(wb::Workbook& book, const fs::path& dir) {
    addSheets(book, dir / "sheets.csv");

    Table counties = readTable(dir / "county_data.csv", {"A", "C", "F", "O", "P", "Q", "R", "S"});
    buildCountyData(book.sheet("CountyData"), counties);
    buildWeatherData(book.sheet("WeatherData"),
                     readTable(dir / "weather_stations.csv", {"A", "B", "W", "X", "Y", "AA"}),
                     counties);
    wb::Worksheet& gully = book.sheet("Gully&Streambank");
    buildLookupTable(gully, readTable(dir / "soil_texture.csv", {"AB", "AC", "AD"}),
                     kSoilClasses, "AB", {"AC", "AD"});
    buildLookupTable(gully, readTable(dir / "lateral_recession.csv", {"AF", "AG", "AH"}),
                     kRecessionCategories, "AF", {"AH"});

    writeCells(book, dir / "cells.csv");
    addValidations(book, dir / "validations.csv");
}

}  // namespace kavro::tpl
