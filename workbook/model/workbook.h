// The in-memory workbook: sheets, the shared string pool, the style table, defined names, the
// clipboard and the active sheet. Reading and writing files lives in workbook/ooxml.
#pragma once

#include <any>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/formula/formula.h"
#include "workbook/model/range.h"
#include "workbook/model/style.h"
#include "workbook/model/worksheet.h"

namespace wb {

// Any failing workbook operation: a missing sheet, a formula that does not parse (the message
// names the sheet, the cell and the text), a file that cannot be read or written.
class WorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Interned texts of the workbook (the file's shared strings).
class StringPool {
public:
    uint32_t intern(std::string_view s);
    // Adds s at the next index even when it exists (keeps a file's own indices).
    uint32_t append(std::string s);
    const std::string& get(uint32_t id) const { return strings_[id]; }
    size_t size() const { return strings_.size(); }

private:
    std::vector<std::string> strings_;
    std::unordered_map<std::string, uint32_t> index_;
};

struct DefinedName {
    std::string name;
    formula::Formula refersTo;  // references are absolute sheet coordinates
    int localSheet = -1;        // -1: workbook scope
    bool hidden = false;
};

class Workbook : public formula::SheetResolver {
public:
    Workbook();
    ~Workbook() override;
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // Sheets, in tab order.
    Worksheet& addSheet(std::string name);
    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    Worksheet& sheet(int index);  // 0-based
    const Worksheet& sheet(int index) const;
    // The sheet of this name (without regard to case), loaded if it was read lazily; throws
    // WorkbookError naming the sheet when there is none.
    Worksheet& sheet(std::string_view name);
    Worksheet& worksheets(std::string_view name) { return sheet(name); }
    Worksheet* findSheet(std::string_view name);
    int activeSheetIndex() const { return active_; }
    Worksheet& activeSheet() { return sheet(active_); }
    void setActiveSheet(int index) { active_ = index; }

    // SheetResolver
    int findSheet(std::string_view name) const override;
    std::string sheetName(int index) const override;

    StringPool& strings() { return strings_; }
    const StringPool& strings() const { return strings_; }
    StyleTable& styles() { return styles_; }
    const StyleTable& styles() const { return styles_; }

    // Names.Add(Name, RefersToR1C1): the reference text is R1C1 relative to cell A1 of the
    // active sheet, as "=Sheet!R9C16" or "=R9C16".
    void addName(std::string_view name, std::string_view refersToR1C1);
    void addNameA1(std::string_view name, std::string_view refersToA1);
    std::vector<DefinedName>& names() { return names_; }
    const std::vector<DefinedName>& names() const { return names_; }
    const DefinedName* findName(std::string_view name) const;

    // The default font of the workbook (the format at style index 0): cell geometry follows it.
    const Font& defaultFont() const { return styles_.get(0).font; }
    // Width in pixels of the widest digit of the default font, used to turn column widths
    // (characters) into points.
    int maxDigitWidthPixels() const;

    // Copy/Paste clipboard.
    struct Clipboard {
        int sheet = -1;
        RangeRef source;
    };
    std::optional<Clipboard>& clipboard() { return clipboard_; }

    // What the file format keeps of the file this workbook was read from (parts it does not
    // model, passed through unchanged on save). Opaque to the model.
    std::any& packageState() { return package_; }

    // Adjusts every formula and name of the workbook after rows of sheet `sheetIndex` moved.
    void adjustReferencesForRowInsert(int sheetIndex, int at, int count);
    void adjustReferencesForRowDelete(int sheetIndex, int first, int count);

private:
    void defineName(std::string_view name, std::string_view text, bool r1c1);
    template <class Adjust> void adjustAllReferences(Adjust adjust);
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    StringPool strings_;
    StyleTable styles_;
    std::vector<DefinedName> names_;
    std::optional<Clipboard> clipboard_;
    int active_ = 0;
    std::any package_;
};

// Typed entry: how a constant text entered into a cell reads. Returns the number or boolean it
// reads as, or nothing when it stays text.
std::optional<CellValue> readTypedEntry(std::string_view text);

}  // namespace wb
