// Test support: recalculate a workbook file in LibreOffice headless and read back the computed
// values of every sheet. LibreOffice computes every formula of a file that carries no cached
// results, so what comes back is what the spreadsheet application shows.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kavro::testing {

// The computed values of one sheet, as LibreOffice exports them (unformatted, full precision).
class SheetValues {
public:
    std::vector<std::vector<std::string>> rows;

    // The text of a cell given in A1 notation ("C6"); empty when outside the exported area.
    std::string text(const std::string& a1) const;
    std::string text(int row, int col) const;  // 1-based
    // The cell as a number; throws std::runtime_error naming the cell when it is not one.
    double number(const std::string& a1) const;
    double number(int row, int col) const;
    bool isNumber(int row, int col) const;
};

// Opens `path` in LibreOffice headless (a private profile under `workDir`), recalculates it and
// returns the values of every sheet by sheet name. Throws std::runtime_error with LibreOffice's
// output when the file cannot be opened or converted.
std::map<std::string, SheetValues> recalculate(const std::string& path, const std::string& workDir);

// Converts `path` to PDF in `outDir`; returns the PDF's path (throws on failure).
std::string convertToPdf(const std::string& path, const std::string& outDir);

// True when Debian's python3-openpyxl reads the file without error; `error` receives its output.
bool openpyxlReads(const std::string& path, std::string* error = nullptr);

// Error values LibreOffice shows for failed formulas ("#VALUE!", "#REF!", "Err:502", ...).
bool isErrorValue(const std::string& text);

}  // namespace kavro::testing
