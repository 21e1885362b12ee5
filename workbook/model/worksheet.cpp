#include "workbook/model/worksheet.h"

#include <algorithm>
#include <cmath>

#include "workbook/model/workbook.h"

namespace wb {

namespace {

const std::vector<Cell> kNoCells;

template <class Map>
void shiftKeysDown(Map& m, int at, int count) {
    // Keys are rows (int) or (row, col) pairs; walk from the bottom so moved keys never collide.
    Map moved;
    for (auto it = m.begin(); it != m.end();) {
        int row;
        if constexpr (std::is_same_v<typename Map::key_type, int>)
            row = it->first;
        else
            row = it->first.first;
        if (row >= at) {
            auto key = it->first;
            if constexpr (std::is_same_v<typename Map::key_type, int>)
                key += count;
            else
                key.first += count;
            moved.emplace(key, std::move(it->second));
            it = m.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& kv : moved) m.insert_or_assign(kv.first, std::move(kv.second));
}

template <class Map>
void removeAndShiftUp(Map& m, int first, int count) {
    Map moved;
    for (auto it = m.begin(); it != m.end();) {
        int row;
        if constexpr (std::is_same_v<typename Map::key_type, int>)
            row = it->first;
        else
            row = it->first.first;
        if (row >= first && row < first + count) {
            it = m.erase(it);
        } else if (row >= first + count) {
            auto key = it->first;
            if constexpr (std::is_same_v<typename Map::key_type, int>)
                key -= count;
            else
                key.first -= count;
            moved.emplace(key, std::move(it->second));
            it = m.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& kv : moved) m.insert_or_assign(kv.first, std::move(kv.second));
}

// Moves an A1 address text of this sheet ("$I$18", "AA1:AA4") for a row insertion or deletion.
std::string moveAddressText(const std::string& text, int at, int count, bool insert) {
    if (text.empty()) return text;
    std::string_view t = text;
    size_t bang = t.rfind('!');
    std::string prefix;
    if (bang != std::string_view::npos) {
        prefix = std::string(t.substr(0, bang + 1));
        t = t.substr(bang + 1);
    }
    int r1, c1, r2, c2;
    if (!formula::parseA1Range(t, r1, c1, r2, c2)) return text;
    bool absRow = t.find('$') != std::string_view::npos;
    auto move = [&](int r) {
        if (insert) return r >= at ? r + count : r;
        if (r >= at + count) return r - count;
        return r >= at ? at : r;
    };
    r1 = move(r1);
    r2 = move(r2);
    std::string out = prefix + formula::cellAddress(r1, c1, absRow, absRow);
    if (t.find(':') != std::string_view::npos)
        out += ":" + formula::cellAddress(r2, c2, absRow, absRow);
    return out;
}

}  // namespace

void Comment::setText(std::string_view t, int start) {
    if (start >= 1) {
        size_t keep = std::min(text.size(), static_cast<size_t>(start - 1));
        text = text.substr(0, keep) + std::string(t);
    } else {
        text = std::string(t);
    }
}

Worksheet::Worksheet(Workbook* wb, std::string name) : wb_(wb), name_(std::move(name)) {}

int Worksheet::index() const {
    return static_cast<const Workbook*>(wb_)->findSheet(std::string_view(name_));
}

Range Worksheet::range(std::string_view a1) {
    std::string_view t = a1;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    int r1, c1, r2, c2;
    if (formula::parseA1Range(t, r1, c1, r2, c2)) {
        if (r1 == 0) r1 = 1, r2 = formula::kMaxRow;  // whole columns
        if (c1 == 0) c1 = 1, c2 = formula::kMaxCol;  // whole rows
        return Range(this, std::min(r1, r2), std::min(c1, c2), std::max(r1, r2),
                     std::max(c1, c2));
    }
    throw WorkbookError("\"" + std::string(a1) + "\" is not a cell address (sheet \"" + name_ +
                        "\")");
}

Range Worksheet::range(const Range& a, const Range& b) {
    return Range(this, std::min(a.row(), b.row()), std::min(a.column(), b.column()),
                 std::max(a.lastRow(), b.lastRow()), std::max(a.lastColumn(), b.lastColumn()));
}

Range Worksheet::rows(int r1, int r2) { return Range(this, r1, 1, r2, formula::kMaxCol); }

Range Worksheet::columns(int c1, int c2) { return Range(this, 1, c1, formula::kMaxRow, c2); }

Range Worksheet::columns(std::string_view letters) {
    size_t colon = letters.find(':');
    int c1 = formula::columnNumber(letters.substr(0, colon));
    int c2 = colon == std::string_view::npos ? c1 : formula::columnNumber(letters.substr(colon + 1));
    if (c1 <= 0 || c2 <= 0)
        throw WorkbookError("\"" + std::string(letters) + "\" is not a column name");
    return columns(std::min(c1, c2), std::max(c1, c2));
}

void Worksheet::protect(bool drawingObjects, bool contents) {
    protection_.sheet = true;
    protection_.drawingObjects = drawingObjects;
    protection_.contents = contents;
}

void Worksheet::select() { wb_->setActiveSheet(index()); }

void Worksheet::setSelection(const RangeRef& sel, int activeRow, int activeCol) {
    selection_ = sel;
    activeRow_ = activeRow;
    activeCol_ = activeCol;
}

// ---------------------------------------------------------------------------------------------
// Geometry

double Worksheet::columnWidthPoints(int col) const {
    auto it = colInfo.find(col);
    double chars = defaultColWidth_;
    if (it != colInfo.end()) {
        if (it->second.hidden) return 0;
        if (it->second.width >= 0) chars = it->second.width;
    }
    if (chars <= 0) return 0;
    // Column widths are characters of the widest digit plus 5 pixels of padding.
    int mdw = wb_->maxDigitWidthPixels();
    double px = std::floor(chars * mdw + 5 + 1e-9);
    return px * 0.75;
}

double Worksheet::rowHeightPoints(int row) const {
    auto it = rowInfo.find(row);
    if (it != rowInfo.end()) {
        if (it->second.hidden) return 0;
        if (it->second.height >= 0) return it->second.height;
        if (it->second.autoHeight >= 0) return it->second.autoHeight;
    }
    return defaultRowHeight_;
}

namespace {

// Advance widths of Arial/Helvetica in 1/1000 em for the printable ASCII characters; others
// count as an average letter.
const short kHelveticaWidths[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,   //  !"#$%&'()*+,-./
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,   // 0-9:;<=>?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @A-O
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,   // P-Z[\]^_
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,   // `a-o
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584,        // p-z{|}~
};

double textWidthPixels(std::string_view text, const Font& f) {
    double em = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) == 0x80) continue;  // continuation bytes of one character
        em += (c >= 32 && c < 127) ? kHelveticaWidths[c - 32] : 556;
    }
    double px = em / 1000.0 * f.size * 96.0 / 72.0;
    return f.bold ? px * 1.07 : px;
}

// Lines a text takes when wrapped at `width` pixels, breaking at blanks (and inside a word
// that is wider than the cell).
int wrappedLines(const std::string& text, const Font& f, double width) {
    int lines = 1;
    double used = 0;
    const double blank = textWidthPixels(" ", f);
    size_t i = 0;
    while (i <= text.size()) {
        size_t j = text.find_first_of(" \n", i);
        if (j == std::string::npos) j = text.size();
        double w = textWidthPixels(std::string_view(text).substr(i, j - i), f);
        if (used > 0 && used + blank + w > width) {
            ++lines;
            used = 0;
        }
        if (w > width && width > 0) {
            lines += static_cast<int>(w / width);
            used = std::fmod(w, width);
        } else {
            used += (used > 0 ? blank : 0) + w;
        }
        if (j < text.size() && text[j] == '\n') {
            ++lines;
            used = 0;
        }
        i = j + 1;
    }
    return lines;
}

}  // namespace

void Worksheet::autoFitRow(int row) {
    auto it = rowInfo.find(row);
    if (it != rowInfo.end() && it->second.height >= 0) return;  // the user's height stays
    const StyleTable& styles = wb_->styles();
    double needed = -1;
    for (const Cell& c : rowCells(row)) {
        if (c.type == CellType::Empty) continue;
        const CellFormat& f = styles.get(c.style);
        if (mergeAt(row, c.col)) continue;
        const double lineHeight = f.font.size * 1.275;
        double h = lineHeight;
        if (f.align.wrap && c.type == CellType::Text && f.align.orientation == 0) {
            double width = columnWidthPoints(c.col) / 0.75 - 4;
            h = lineHeight * wrappedLines(wb_->strings().get(c.text), f.font, width);
        }
        needed = std::max(needed, h);
    }
    // Heights are whole pixels.
    if (needed > 0) needed = std::ceil(needed / 0.75 - 1e-9) * 0.75;
    double value = needed > defaultRowHeight_ + 1e-9 ? needed : -1;
    if (it == rowInfo.end()) {
        if (value < 0) return;
        rowInfo[row].autoHeight = value;
    } else {
        it->second.autoHeight = value;
    }
}

double Worksheet::columnLeft(int col) const {
    double left = 0;
    for (int c = 1; c < col; ++c) left += columnWidthPoints(c);
    return left;
}

double Worksheet::rowTop(int row) const {
    // Rows without settings have the default height: count them in bulk.
    double top = 0;
    int counted = 0;
    for (const auto& [r, info] : rowInfo) {
        if (r >= row) break;
        top += rowHeightPoints(r);
        ++counted;
    }
    top += (row - 1 - counted) * defaultRowHeight_;
    return top;
}

// ---------------------------------------------------------------------------------------------
// Cell store

const std::vector<Cell>& Worksheet::rowCells(int row) const {
    if (row < 1 || row > static_cast<int>(rows_.size())) return kNoCells;
    return rows_[row - 1];
}

const Cell* Worksheet::find(int row, int col) const {
    if (row < 1 || row > static_cast<int>(rows_.size())) return nullptr;
    const auto& cells = rows_[row - 1];
    auto it = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Cell& c, int col) { return c.col < col; });
    return it != cells.end() && it->col == col ? &*it : nullptr;
}

Cell& Worksheet::at(int row, int col) {
    if (row < 1 || row > formula::kMaxRow || col < 1 || col > formula::kMaxCol)
        throw WorkbookError("Cell (" + std::to_string(row) + ", " + std::to_string(col) +
                            ") is outside the sheet \"" + name_ + "\"");
    if (row > static_cast<int>(rows_.size())) rows_.resize(row);
    auto& cells = rows_[row - 1];
    if (cells.empty() || cells.back().col < col) {
        cells.emplace_back();
        cells.back().col = col;
        // A new cell takes the whole-row or whole-column format, as the spreadsheet shows it.
        auto ri = rowInfo.find(row);
        if (ri != rowInfo.end() && ri->second.hasStyle) {
            cells.back().style = ri->second.style;
        } else {
            auto ci = colInfo.find(col);
            if (ci != colInfo.end() && ci->second.hasStyle) cells.back().style = ci->second.style;
        }
        return cells.back();
    }
    auto it = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Cell& c, int col) { return c.col < col; });
    if (it != cells.end() && it->col == col) return *it;
    Cell c;
    c.col = col;
    auto ri = rowInfo.find(row);
    if (ri != rowInfo.end() && ri->second.hasStyle) {
        c.style = ri->second.style;
    } else {
        auto ci = colInfo.find(col);
        if (ci != colInfo.end() && ci->second.hasStyle) c.style = ci->second.style;
    }
    return *cells.insert(it, c);
}

void Worksheet::erase(int row, int col) {
    if (row < 1 || row > static_cast<int>(rows_.size())) return;
    auto& cells = rows_[row - 1];
    auto it = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Cell& c, int col) { return c.col < col; });
    if (it != cells.end() && it->col == col) cells.erase(it);
}

uint32_t Worksheet::addFormula(formula::Formula f) {
    formulas_.push_back(std::move(f));
    return static_cast<uint32_t>(formulas_.size() - 1);
}

const RangeRef* Worksheet::mergeAt(int row, int col) const {
    for (const auto& m : merges)
        if (m.contains(row, col)) return &m;
    return nullptr;
}

void Worksheet::setLoader(std::function<void(Worksheet&)> loader, bool mayHaveFormulas) {
    loader_ = std::move(loader);
    loaderMayHaveFormulas_ = mayHaveFormulas;
}

void Worksheet::ensureLoaded() {
    if (!loader_) return;
    auto loader = std::move(loader_);
    loader_ = nullptr;
    loader(*this);
}

// ---------------------------------------------------------------------------------------------
// Row insertion and deletion

void Worksheet::insertRows(int at, int count) {
    if (count <= 0) return;
    ensureLoaded();
    if (at < 1 || at > formula::kMaxRow)
        throw WorkbookError("Cannot insert rows at row " + std::to_string(at) + " of sheet \"" +
                            name_ + "\"");
    if (maxRow() + count > formula::kMaxRow && at <= maxRow())
        throw WorkbookError("Cannot insert rows into sheet \"" + name_ +
                            "\": cells would be pushed off the sheet");

    const double insertedTop = rowTop(at);

    // The new rows take the format of the row above.
    std::vector<Cell> formatRow;
    RowInfo aboveInfo;
    bool hasAboveInfo = false;
    if (at > 1) {
        for (const Cell& c : rowCells(at - 1)) {
            if (c.style == 0) continue;
            Cell e;
            e.col = c.col;
            e.style = c.style;
            formatRow.push_back(e);
        }
        auto ri = rowInfo.find(at - 1);
        if (ri != rowInfo.end()) {
            aboveInfo = ri->second;
            aboveInfo.hidden = false;
            aboveInfo.outlineLevel = 0;
            aboveInfo.autoHeight = -1;
            hasAboveInfo = aboveInfo.hasStyle || aboveInfo.height >= 0;
        }
    }

    if (at <= maxRow()) rows_.insert(rows_.begin() + (at - 1), count, std::vector<Cell>());
    if (!formatRow.empty()) {
        if (static_cast<int>(rows_.size()) < at + count - 1) rows_.resize(at + count - 1);
        for (int r = at; r < at + count; ++r) rows_[r - 1] = formatRow;
    }

    shiftKeysDown(rowInfo, at, count);
    if (hasAboveInfo)
        for (int r = at; r < at + count; ++r) rowInfo[r] = aboveInfo;
    shiftKeysDown(comments, at, count);
    shiftKeysDown(runs, at, count);
    auto moveRef = [&](RangeRef& m) {
        if (m.r1 >= at) {
            m.r1 += count;
            m.r2 += count;
        } else if (m.r2 >= at) {
            m.r2 += count;
        }
    };
    for (auto& m : merges) moveRef(m);
    for (auto& dv : validations)
        for (auto& r : dv.ranges) moveRef(r);
    if (selection_.r1 >= at) {
        moveRef(selection_);
        activeRow_ += count;
    }

    double insertedHeight = 0;
    for (int r = at; r < at + count; ++r) insertedHeight += rowHeightPoints(r);
    for (auto& c : controls) {
        if (c.top >= insertedTop - 1e-9) c.top += insertedHeight;
        c.linkedCell = moveAddressText(c.linkedCell, at, count, true);
        c.listFillRange = moveAddressText(c.listFillRange, at, count, true);
    }
    for (auto& ch : charts)
        if (ch.top >= insertedTop - 1e-9) ch.top += insertedHeight;

    wb_->adjustReferencesForRowInsert(index(), at, count);
}

void Worksheet::deleteRows(int first, int count) {
    if (count <= 0) return;
    ensureLoaded();
    if (first < 1 || first > formula::kMaxRow)
        throw WorkbookError("Cannot delete row " + std::to_string(first) + " of sheet \"" +
                            name_ + "\"");
    const double deletedTop = rowTop(first);
    double deletedHeight = 0;
    for (int r = first; r < first + count; ++r) deletedHeight += rowHeightPoints(r);

    if (first <= maxRow()) {
        int last = std::min(maxRow(), first + count - 1);
        rows_.erase(rows_.begin() + (first - 1), rows_.begin() + last);
    }
    removeAndShiftUp(rowInfo, first, count);
    removeAndShiftUp(comments, first, count);
    removeAndShiftUp(runs, first, count);
    const int lastDeleted = first + count - 1;
    auto moveRef = [&](RangeRef& m) -> bool {  // false: the area is gone
        if (m.r1 > lastDeleted) {
            m.r1 -= count;
            m.r2 -= count;
            return true;
        }
        if (m.r2 < first) return true;
        int r1 = m.r1 < first ? m.r1 : first;
        int r2 = m.r2 > lastDeleted ? m.r2 - count : first - 1;
        if (r2 < r1) return false;
        m.r1 = r1;
        m.r2 = r2;
        return true;
    };
    merges.erase(std::remove_if(merges.begin(), merges.end(),
                                [&](RangeRef& m) { return !moveRef(m) || (m.r1 == m.r2 && m.c1 == m.c2); }),
                 merges.end());
    for (auto& dv : validations)
        dv.ranges.erase(std::remove_if(dv.ranges.begin(), dv.ranges.end(),
                                       [&](RangeRef& r) { return !moveRef(r); }),
                        dv.ranges.end());
    validations.erase(std::remove_if(validations.begin(), validations.end(),
                                     [](const DataValidation& d) { return d.ranges.empty(); }),
                      validations.end());
    if (!moveRef(selection_)) selection_ = {first, 1, first, 1};
    if (activeRow_ > lastDeleted)
        activeRow_ -= count;
    else if (activeRow_ >= first)
        activeRow_ = first;

    for (auto& c : controls) {
        if (c.top >= deletedTop + deletedHeight - 1e-9)
            c.top -= deletedHeight;
        else if (c.top > deletedTop)
            c.top = deletedTop;
        c.linkedCell = moveAddressText(c.linkedCell, first, count, false);
        c.listFillRange = moveAddressText(c.listFillRange, first, count, false);
    }
    for (auto& ch : charts) {
        if (ch.top >= deletedTop + deletedHeight - 1e-9)
            ch.top -= deletedHeight;
        else if (ch.top > deletedTop)
            ch.top = deletedTop;
    }

    wb_->adjustReferencesForRowDelete(index(), first, count);
}

}  // namespace wb
