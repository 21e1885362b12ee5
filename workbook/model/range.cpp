#include "workbook/model/range.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <unordered_map>

#include "workbook/model/workbook.h"

namespace wb {

namespace {

// Largest block an operation walks cell by cell; whole-row and whole-column ranges go through
// the row and column settings instead.
constexpr long long kMaxCellsPerOperation = 20'000'000;

std::string numberText(double v) {
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, p);
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// A snapshot of one cell, for copy, fill and sort.
struct CellCopy {
    int row = 0, col = 0;
    CellType type = CellType::Empty;
    uint32_t style = 0;
    double number = 0;
    bool boolean = false;
    uint32_t text = 0;
    formula::Formula f;
    std::vector<TextRun> runs;
    bool hasRuns = false;
};

CellCopy snapshot(const Worksheet& ws, int row, int col) {
    CellCopy s;
    s.row = row;
    s.col = col;
    if (const Cell* c = ws.find(row, col)) {
        s.type = c->type;
        s.style = c->style;
        switch (c->type) {
            case CellType::Number: s.number = c->number; break;
            case CellType::Boolean: s.boolean = c->boolean; break;
            case CellType::Text: s.text = c->text; break;
            case CellType::Formula: s.f = ws.formulaAt(c->formula); break;
            case CellType::Empty: break;
        }
    }
    auto it = ws.runs.find({row, col});
    if (it != ws.runs.end()) {
        s.runs = it->second;
        s.hasRuns = true;
    }
    return s;
}

// Writes a snapshot into (row, col); formulas move their relative references by the distance.
void restore(Worksheet& ws, const CellCopy& s, int row, int col, bool withFormat) {
    if (s.type == CellType::Empty && !withFormat) {
        if (ws.find(row, col)) ws.at(row, col).type = CellType::Empty;
        ws.runs.erase({row, col});
        return;
    }
    if (s.type == CellType::Empty && s.style == 0 && withFormat) {
        ws.erase(row, col);
        ws.runs.erase({row, col});
        return;
    }
    Cell& c = ws.at(row, col);
    if (withFormat) c.style = s.style;
    c.type = s.type;
    switch (s.type) {
        case CellType::Number: c.number = s.number; break;
        case CellType::Boolean: c.boolean = s.boolean; break;
        case CellType::Text: c.text = s.text; break;
        case CellType::Formula: {
            formula::Formula f = s.f;
            formula::shiftRelative(f, row - s.row, col - s.col);
            c.formula = ws.addFormula(std::move(f));
            break;
        }
        case CellType::Empty: c.number = 0; break;
    }
    if (s.hasRuns)
        ws.runs[{row, col}] = s.runs;
    else
        ws.runs.erase({row, col});
}

// Sort order of the spreadsheet for an ascending sort: numbers, texts (without regard to
// case), logical values; empty cells always go last.
int sortClass(const CellCopy& c) {
    switch (c.type) {
        case CellType::Number: return 0;
        case CellType::Text: return 1;
        case CellType::Boolean: return 2;
        default: return 3;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and sub-ranges

Range::Range(Worksheet* ws, int r1, int c1, int r2, int c2) : ws_(ws) {
    if (r1 > r2) std::swap(r1, r2);
    if (c1 > c2) std::swap(c1, c2);
    if (r1 < 1 || c1 < 1 || r2 > formula::kMaxRow || c2 > formula::kMaxCol)
        throw WorkbookError("Cell range (" + std::to_string(r1) + ", " + std::to_string(c1) +
                            ") to (" + std::to_string(r2) + ", " + std::to_string(c2) +
                            ") is outside the sheet \"" + ws->name() + "\"");
    ref_ = {r1, c1, r2, c2};
}

Range Range::cells(int r, int c) const {
    return Range(ws_, ref_.r1 + r - 1, ref_.c1 + c - 1, ref_.r1 + r - 1, ref_.c1 + c - 1);
}
Range Range::entireRow() const { return Range(ws_, ref_.r1, 1, ref_.r2, formula::kMaxCol); }
Range Range::entireColumn() const { return Range(ws_, 1, ref_.c1, formula::kMaxRow, ref_.c2); }
Range Range::offset(int dRow, int dCol) const {
    return Range(ws_, ref_.r1 + dRow, ref_.c1 + dCol, ref_.r2 + dRow, ref_.c2 + dCol);
}
Range Range::resize(int rows, int cols) const {
    return Range(ws_, ref_.r1, ref_.c1, ref_.r1 + rows - 1, ref_.c1 + cols - 1);
}
bool Range::isEntireRows() const { return ref_.c1 == 1 && ref_.c2 == formula::kMaxCol; }
bool Range::isEntireColumns() const { return ref_.r1 == 1 && ref_.r2 == formula::kMaxRow; }

// ---------------------------------------------------------------------------------------------
// Content

namespace {

enum class Entry { A1, R1C1 };

void checkSize(const Range& r, const char* what) {
    if (r.count() > kMaxCellsPerOperation)
        throw WorkbookError(std::string(what) + " over " + r.address(false, false) +
                            " of sheet \"" + r.sheet().name() + "\" is too large a block");
}

// Rows of the range whose automatic height may have changed: those with a wrapped or
// larger-than-default text, or an automatic height already.
void refitRows(const Range& r) {
    if (r.isEntireColumns()) return;
    Worksheet& ws = r.sheet();
    const StyleTable& styles = ws.workbook().styles();
    const double defaultSize = ws.workbook().defaultFont().size;
    const int last = std::min(r.lastRow(), std::min(ws.maxRow(), r.row() + 5000));
    for (int row = r.row(); row <= last; ++row) {
        auto info = ws.rowInfo.find(row);
        bool fit = info != ws.rowInfo.end() && info->second.autoHeight >= 0;
        for (const Cell& c : ws.rowCells(row)) {
            if (fit) break;
            if (c.type == CellType::Empty) continue;
            const CellFormat& f = styles.get(c.style);
            fit = f.align.wrap || f.font.size > defaultSize;
        }
        if (fit) ws.autoFitRow(row);
    }
}

void writeEntry(const Range& r, std::string_view text, Entry mode) {
    checkSize(r, "An entry");
    Worksheet& ws = r.sheet();
    Workbook& wb = ws.workbook();
    std::string_view trimmed = text;
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    if (!text.empty() && text.front() == '=') {
        formula::Formula f;
        try {
            f = mode == Entry::R1C1 ? formula::parseR1C1(text, r.row(), r.column(), wb)
                                    : formula::parseA1(text, wb);
        } catch (const formula::FormulaError& e) {
            throw WorkbookError("Sheet \"" + ws.name() + "\", cell " +
                                formula::cellAddress(r.row(), r.column()) + ": the formula \"" +
                                std::string(text) + "\" cannot be read (" + e.what() + ")");
        }
        for (int row = r.row(); row <= r.lastRow(); ++row)
            for (int col = r.column(); col <= r.lastColumn(); ++col) {
                formula::Formula g = f;
                if (row != r.row() || col != r.column())
                    formula::shiftRelative(g, row - r.row(), col - r.column());
                Cell& c = ws.at(row, col);
                c.type = CellType::Formula;
                c.formula = ws.addFormula(std::move(g));
                ws.runs.erase({row, col});
            }
        return;
    }
    auto typed = readTypedEntry(text);
    uint32_t textId = 0;
    if (!typed && !text.empty()) textId = wb.strings().intern(text);
    for (int row = r.row(); row <= r.lastRow(); ++row)
        for (int col = r.column(); col <= r.lastColumn(); ++col) {
            ws.runs.erase({row, col});
            if (text.empty()) {
                if (ws.find(row, col)) ws.at(row, col).type = CellType::Empty;
                continue;
            }
            Cell& c = ws.at(row, col);
            if (!typed) {
                c.type = CellType::Text;
                c.text = textId;
            } else if (std::holds_alternative<bool>(*typed)) {
                c.type = CellType::Boolean;
                c.boolean = std::get<bool>(*typed);
            } else {
                c.type = CellType::Number;
                c.number = std::get<double>(*typed);
            }
        }
    if (!typed) refitRows(r);
}

}  // namespace

Range& Range::setValue(std::string_view text) {
    writeEntry(*this, text, Entry::A1);
    return *this;
}
Range& Range::setFormula(std::string_view a1) {
    writeEntry(*this, a1, Entry::A1);
    return *this;
}
Range& Range::setFormulaR1C1(std::string_view r1c1) {
    writeEntry(*this, r1c1, Entry::R1C1);
    return *this;
}

Range& Range::setValue(double number) {
    checkSize(*this, "An entry");
    for (int row = ref_.r1; row <= ref_.r2; ++row)
        for (int col = ref_.c1; col <= ref_.c2; ++col) {
            Cell& c = ws_->at(row, col);
            c.type = CellType::Number;
            c.number = number;
            ws_->runs.erase({row, col});
        }
    return *this;
}

Range& Range::setValue(bool b) {
    checkSize(*this, "An entry");
    for (int row = ref_.r1; row <= ref_.r2; ++row)
        for (int col = ref_.c1; col <= ref_.c2; ++col) {
            Cell& c = ws_->at(row, col);
            c.type = CellType::Boolean;
            c.boolean = b;
            ws_->runs.erase({row, col});
        }
    return *this;
}

Range& Range::setText(std::string_view text) {
    checkSize(*this, "An entry");
    uint32_t id = ws_->workbook().strings().intern(text);
    for (int row = ref_.r1; row <= ref_.r2; ++row)
        for (int col = ref_.c1; col <= ref_.c2; ++col) {
            Cell& c = ws_->at(row, col);
            c.type = CellType::Text;
            c.text = id;
            ws_->runs.erase({row, col});
        }
    refitRows(*this);
    return *this;
}

CellValue Range::value() const {
    const Cell* c = ws_->find(ref_.r1, ref_.c1);
    if (!c) return {};
    switch (c->type) {
        case CellType::Number: return c->number;
        case CellType::Boolean: return c->boolean;
        case CellType::Text: return ws_->workbook().strings().get(c->text);
        default: return {};
    }
}

bool Range::hasFormula() const {
    const Cell* c = ws_->find(ref_.r1, ref_.c1);
    return c && c->type == CellType::Formula;
}

std::string Range::formula() const {
    const Cell* c = ws_->find(ref_.r1, ref_.c1);
    if (c && c->type == CellType::Formula)
        return "=" + formula::toA1(ws_->formulaAt(c->formula), ws_->workbook());
    return text();
}

std::string Range::formulaR1C1() const {
    const Cell* c = ws_->find(ref_.r1, ref_.c1);
    if (c && c->type == CellType::Formula)
        return formula::toR1C1(ws_->formulaAt(c->formula), ref_.r1, ref_.c1, ws_->workbook());
    return text();
}

std::string Range::text() const {
    const Cell* c = ws_->find(ref_.r1, ref_.c1);
    if (!c) return {};
    switch (c->type) {
        case CellType::Number: return numberText(c->number);
        case CellType::Boolean: return c->boolean ? "TRUE" : "FALSE";
        case CellType::Text: return ws_->workbook().strings().get(c->text);
        default: return {};
    }
}

std::string Range::address(bool rowAbs, bool colAbs) const {
    std::string a = formula::cellAddress(ref_.r1, ref_.c1, rowAbs, colAbs);
    if (ref_.r1 == ref_.r2 && ref_.c1 == ref_.c2) return a;
    return a + ":" + formula::cellAddress(ref_.r2, ref_.c2, rowAbs, colAbs);
}

// ---------------------------------------------------------------------------------------------
// Formats

template <class F>
void Range::modifyFormats(F f) const {
    StyleTable& styles = ws_->workbook().styles();
    std::unordered_map<uint32_t, uint32_t> done;  // old style -> new style for this operation
    auto apply = [&](uint32_t old) {
        auto it = done.find(old);
        if (it != done.end()) return it->second;
        CellFormat cf = styles.get(old);
        f(cf);
        uint32_t id = styles.intern(cf);
        done.emplace(old, id);
        return id;
    };
    if (isEntireRows()) {
        for (int row = ref_.r1; row <= ref_.r2; ++row) {
            RowInfo& ri = ws_->rowInfo[row];
            ri.style = apply(ri.hasStyle ? ri.style : 0);
            ri.hasStyle = true;
            if (row <= ws_->maxRow())
                for (const Cell& c : ws_->rowCells(row))
                    const_cast<Cell&>(c).style = apply(c.style);
        }
        return;
    }
    if (isEntireColumns()) {
        for (int col = ref_.c1; col <= ref_.c2; ++col) {
            ColInfo& ci = ws_->colInfo[col];
            ci.style = apply(ci.hasStyle ? ci.style : 0);
            ci.hasStyle = true;
        }
        for (int row = 1; row <= ws_->maxRow(); ++row)
            for (const Cell& c : ws_->rowCells(row))
                if (c.col >= ref_.c1 && c.col <= ref_.c2)
                    const_cast<Cell&>(c).style = apply(c.style);
        return;
    }
    checkSize(*this, "A format");
    for (int row = ref_.r1; row <= ref_.r2; ++row)
        for (int col = ref_.c1; col <= ref_.c2; ++col) {
            Cell& c = ws_->at(row, col);
            c.style = apply(c.style);
        }
}

const CellFormat& Range::format() const {
    const Cell* c = ws_->find(ref_.r1, ref_.c1);
    return ws_->workbook().styles().get(c ? c->style : 0);
}

Range& Range::setFormat(const CellFormat& f) {
    modifyFormats([&](CellFormat& cf) { cf = f; });
    return *this;
}

Range& Range::setNumberFormat(std::string_view fmt) {
    modifyFormats([&](CellFormat& cf) { cf.numberFormat = std::string(fmt); });
    return *this;
}
Range& Range::setWrapText(bool b) {
    modifyFormats([&](CellFormat& cf) { cf.align.wrap = b; });
    refitRows(*this);
    return *this;
}
Range& Range::setShrinkToFit(bool b) {
    modifyFormats([&](CellFormat& cf) { cf.align.shrink = b; });
    return *this;
}
Range& Range::setHorizontalAlignment(int a) {
    modifyFormats([&](CellFormat& cf) { cf.align.horizontal = a; });
    return *this;
}
Range& Range::setVerticalAlignment(int a) {
    modifyFormats([&](CellFormat& cf) { cf.align.vertical = a; });
    return *this;
}
Range& Range::setOrientation(int degrees) {
    modifyFormats([&](CellFormat& cf) { cf.align.orientation = degrees; });
    return *this;
}
Range& Range::setIndentLevel(int level) {
    modifyFormats([&](CellFormat& cf) { cf.align.indent = level; });
    return *this;
}
Range& Range::setAddIndent(bool) {
    // Automatic indent of distributed text: nothing the file keeps for these cells.
    return *this;
}
Range& Range::setLocked(bool b) {
    modifyFormats([&](CellFormat& cf) { cf.locked = b; });
    return *this;
}

// Font

FontRef::FontRef(const Range* r, int start, int length)
    : ws_(&r->sheet()), ref_(r->ref()), start_(start), length_(length) {}
InteriorRef::InteriorRef(const Range* r) : ws_(&r->sheet()), ref_(r->ref()) {}
BorderRef::BorderRef(const Range* r, int index) : ws_(&r->sheet()), ref_(r->ref()), index_(index) {}

template <class F>
FontRef& FontRef::apply(F f) {
    const Range r(ws_, ref_);
    if (length_ < 0) {
        r.modifyFormats([&](CellFormat& cf) { f(cf.font); });
        return *this;
    }
    // Characters(start, length) of the top-left cell's text.
    Worksheet& ws = r.sheet();
    const Cell* c = ws.find(r.row(), r.column());
    if (!c || c->type != CellType::Text) return *this;
    const std::string& text = ws.workbook().strings().get(c->text);
    int n = static_cast<int>(text.size());
    int from = std::clamp(start_ - 1, 0, n);
    int to = std::clamp(start_ - 1 + length_, 0, n);
    if (from >= to) return *this;
    auto& runs = ws.runs[{r.row(), r.column()}];
    if (runs.empty()) runs.push_back({0, n, ws.workbook().styles().get(c->style).font});
    std::vector<TextRun> out;
    for (const TextRun& run : runs) {
        int a = run.start, b = run.start + run.length;
        int s = std::max(a, from), e = std::min(b, to);
        if (s >= e) {
            out.push_back(run);
            continue;
        }
        if (a < s) out.push_back({a, s - a, run.font});
        TextRun mid{s, e - s, run.font};
        f(mid.font);
        out.push_back(mid);
        if (e < b) out.push_back({e, b - e, run.font});
    }
    // Merge neighbours with equal fonts.
    runs.clear();
    for (auto& run : out) {
        if (!runs.empty() && runs.back().font == run.font)
            runs.back().length += run.length;
        else
            runs.push_back(run);
    }
    return *this;
}

FontRef& FontRef::setBold(bool b) {
    apply([&](Font& f) { f.bold = b; });
    if (length_ < 0) refitRows(Range(ws_, ref_));
    return *this;
}
FontRef& FontRef::setItalic(bool b) {
    return apply([&](Font& f) { f.italic = b; });
}
FontRef& FontRef::setUnderline(bool b) {
    return apply([&](Font& f) { f.underline = b; });
}
FontRef& FontRef::setFontStyle(std::string_view style) {
    std::string s = lower(style);
    bool bold = s.find("bold") != std::string::npos;
    bool italic = s.find("italic") != std::string::npos;
    return apply([&](Font& f) {
        f.bold = bold;
        f.italic = italic;
    });
}
FontRef& FontRef::setSize(double points) {
    apply([&](Font& f) { f.size = points; });
    if (length_ < 0) refitRows(Range(ws_, ref_));
    return *this;
}
FontRef& FontRef::setName(std::string_view name) {
    return apply([&](Font& f) { f.name = std::string(name); });
}
FontRef& FontRef::setColor(uint32_t bgr) {
    return apply([&](Font& f) { f.color = Color::fromBgr(bgr); });
}
FontRef& FontRef::setColorIndex(int index) {
    return apply([&](Font& f) { f.color = Color::indexed(index); });
}

// Interior

InteriorRef& InteriorRef::setColorIndex(int index) {
    Color c = Color::indexed(index);
    bool none = index == xl::None;
    Range(ws_, ref_).modifyFormats([&](CellFormat& cf) {
        if (none) {
            cf.fill = Fill{};
            return;
        }
        cf.fill.color = c;
        if (cf.fill.pattern == xl::None) cf.fill.pattern = xl::Solid;
    });
    return *this;
}
InteriorRef& InteriorRef::setColor(uint32_t bgr) {
    Color c = Color::fromBgr(bgr);
    Range(ws_, ref_).modifyFormats([&](CellFormat& cf) {
        cf.fill.color = c;
        if (cf.fill.pattern == xl::None) cf.fill.pattern = xl::Solid;
    });
    return *this;
}
InteriorRef& InteriorRef::setPattern(int pattern) {
    Range(ws_, ref_).modifyFormats([&](CellFormat& cf) {
        if (pattern == xl::None)
            cf.fill = Fill{};
        else
            cf.fill.pattern = pattern;
    });
    return *this;
}
InteriorRef& InteriorRef::setPatternColorIndex(int index) {
    Color c = Color::indexed(index);
    Range(ws_, ref_).modifyFormats([&](CellFormat& cf) { cf.fill.patternColor = c; });
    return *this;
}

// Borders

namespace {

enum Side { kLeft, kRight, kTop, kBottom, kDiagDown, kDiagUp };

Border& sideOf(CellFormat& cf, Side s) {
    switch (s) {
        case kLeft: return cf.left;
        case kRight: return cf.right;
        case kTop: return cf.top;
        case kBottom: return cf.bottom;
        case kDiagDown: return cf.diagonalDown;
        default: return cf.diagonalUp;
    }
}

const Border& sideOf(const CellFormat& cf, Side s) { return sideOf(const_cast<CellFormat&>(cf), s); }

Side opposite(Side s) {
    switch (s) {
        case kLeft: return kRight;
        case kRight: return kLeft;
        case kTop: return kBottom;
        case kBottom: return kTop;
        default: return s;
    }
}

}  // namespace

template <class F>
BorderRef& BorderRef::apply(F f) {
    const Range r(ws_, ref_);
    Worksheet& ws = r.sheet();
    StyleTable& styles = ws.workbook().styles();
    const RangeRef& g = r.ref();
    checkSize(r, "A border");

    // Cells mostly share a few formats, so each change is worked out once per format: by side,
    // the new format of a cell's format, and the neighbour's new format for its own format and
    // the cell's new one (which fixes the line it takes on).
    std::unordered_map<uint32_t, uint32_t> changed[6];
    std::unordered_map<uint64_t, uint32_t> neighbourChanged[6];

    // The line between two neighbouring cells is one line: a side changed on one cell changes
    // the touching side of the neighbour too, when the neighbour has a line there or the line
    // is being removed.
    auto setSide = [&](int row, int col, Side side) {
        Cell& c = ws.at(row, col);
        auto [it, fresh] = changed[side].try_emplace(c.style, 0);
        if (fresh) {
            CellFormat cf = styles.get(c.style);
            f(sideOf(cf, side));
            it->second = styles.intern(cf);
        }
        c.style = it->second;
        if (side == kDiagDown || side == kDiagUp) return;
        int nr = row, nc = col;
        switch (side) {
            case kLeft: nc = col - 1; break;
            case kRight: nc = col + 1; break;
            case kTop: nr = row - 1; break;
            default: nr = row + 1; break;
        }
        if (nr < 1 || nc < 1 || nr > formula::kMaxRow || nc > formula::kMaxCol) return;
        const Cell* n = ws.find(nr, nc);
        if (!n) return;
        const uint64_t key = (uint64_t{n->style} << 32) | c.style;
        auto [nit, nfresh] = neighbourChanged[side].try_emplace(key, n->style);
        if (nfresh) {
            CellFormat ncf = styles.get(n->style);
            Border& other = sideOf(ncf, opposite(side));
            // A neighbour without a line there keeps it so: the line shows from this cell's side.
            if (other.lineStyle == xl::None) return;
            other = sideOf(styles.get(c.style), side);
            nit->second = styles.intern(ncf);
        }
        if (nit->second != n->style) ws.at(nr, nc).style = nit->second;
    };

    switch (index_) {
        case xl::EdgeLeftOfCell:
        case xl::EdgeRightOfCell:
        case xl::EdgeTopOfCell:
        case xl::EdgeBottomOfCell:
        case xl::DiagonalDown:
        case xl::DiagonalUp: {
            Side s = index_ == 1 ? kLeft
                     : index_ == 2 ? kRight
                     : index_ == 3 ? kTop
                     : index_ == 4 ? kBottom
                     : index_ == 5 ? kDiagDown
                                   : kDiagUp;
            for (int row = g.r1; row <= g.r2; ++row)
                for (int col = g.c1; col <= g.c2; ++col) setSide(row, col, s);
            break;
        }
        case xl::EdgeLeft:
            for (int row = g.r1; row <= g.r2; ++row) setSide(row, g.c1, kLeft);
            break;
        case xl::EdgeRight:
            for (int row = g.r1; row <= g.r2; ++row) setSide(row, g.c2, kRight);
            break;
        case xl::EdgeTop:
            for (int col = g.c1; col <= g.c2; ++col) setSide(g.r1, col, kTop);
            break;
        case xl::EdgeBottom:
            for (int col = g.c1; col <= g.c2; ++col) setSide(g.r2, col, kBottom);
            break;
        case xl::InsideVertical:
            for (int row = g.r1; row <= g.r2; ++row)
                for (int col = g.c1; col < g.c2; ++col) {
                    setSide(row, col, kRight);
                    setSide(row, col + 1, kLeft);
                }
            break;
        case xl::InsideHorizontal:
            for (int row = g.r1; row < g.r2; ++row)
                for (int col = g.c1; col <= g.c2; ++col) {
                    setSide(row, col, kBottom);
                    setSide(row + 1, col, kTop);
                }
            break;
        default:
            throw WorkbookError("Unknown border index " + std::to_string(index_));
    }
    return *this;
}

BorderRef& BorderRef::setLineStyle(int style) {
    return apply([&](Border& b) {
        b.lineStyle = style;
        if (style == xl::None) b = Border{};
    });
}
BorderRef& BorderRef::setWeight(int weight) {
    return apply([&](Border& b) {
        b.weight = weight;
        if (b.lineStyle == xl::None) b.lineStyle = xl::Continuous;
    });
}
BorderRef& BorderRef::setColorIndex(int index) {
    Color c = Color::indexed(index);
    return apply([&](Border& b) {
        b.color = c;
        if (b.lineStyle == xl::None) b.lineStyle = xl::Continuous;
    });
}
BorderRef& BorderRef::setColor(uint32_t bgr) {
    Color c = Color::fromBgr(bgr);
    return apply([&](Border& b) {
        b.color = c;
        if (b.lineStyle == xl::None) b.lineStyle = xl::Continuous;
    });
}

// ---------------------------------------------------------------------------------------------
// Merged cells

Range& Range::setMergeCells(bool merge) {
    auto& merges = ws_->merges;
    merges.erase(std::remove_if(merges.begin(), merges.end(),
                                [&](const RangeRef& m) { return m.intersects(ref_); }),
                 merges.end());
    if (!merge || (ref_.r1 == ref_.r2 && ref_.c1 == ref_.c2)) return *this;
    checkSize(*this, "A merge");
    // Keep the only non-empty value (the first one in reading order when there are several)
    // in the top-left cell.
    const Cell* first = nullptr;
    int fr = 0, fc = 0;
    for (int row = ref_.r1; row <= ref_.r2 && !first; ++row)
        for (const Cell& c : ws_->rowCells(row))
            if (c.col >= ref_.c1 && c.col <= ref_.c2 && c.type != CellType::Empty) {
                first = &c;
                fr = row;
                fc = c.col;
                break;
            }
    if (first && (fr != ref_.r1 || fc != ref_.c1)) {
        CellCopy s = snapshot(*ws_, fr, fc);
        s.f = s.f;  // moved as by cut and paste: references stay where they point
        Cell& dst = ws_->at(ref_.r1, ref_.c1);
        dst.type = s.type;
        switch (s.type) {
            case CellType::Number: dst.number = s.number; break;
            case CellType::Boolean: dst.boolean = s.boolean; break;
            case CellType::Text: dst.text = s.text; break;
            case CellType::Formula: dst.formula = ws_->addFormula(s.f); break;
            default: break;
        }
        if (s.hasRuns) ws_->runs[{ref_.r1, ref_.c1}] = s.runs;
    }
    for (int row = ref_.r1; row <= ref_.r2; ++row)
        for (const Cell& c : ws_->rowCells(row))
            if (c.col >= ref_.c1 && c.col <= ref_.c2 && !(row == ref_.r1 && c.col == ref_.c1)) {
                const_cast<Cell&>(c).type = CellType::Empty;
                ws_->runs.erase({row, c.col});
            }
    merges.push_back(ref_);
    return *this;
}

bool Range::mergeCells() const { return ws_->mergeAt(ref_.r1, ref_.c1) != nullptr; }

Range Range::mergeArea() const {
    if (const RangeRef* m = ws_->mergeAt(ref_.r1, ref_.c1)) return Range(ws_, *m);
    return Range(ws_, ref_.r1, ref_.c1, ref_.r1, ref_.c1);
}

// ---------------------------------------------------------------------------------------------
// Rows, columns, geometry

Range& Range::setColumnWidth(double chars) {
    for (int col = ref_.c1; col <= ref_.c2; ++col) ws_->colInfo[col].width = chars;
    return *this;
}
double Range::columnWidth() const {
    auto it = ws_->colInfo.find(ref_.c1);
    return it != ws_->colInfo.end() && it->second.width >= 0 ? it->second.width
                                                            : ws_->defaultColumnWidth();
}
Range& Range::setRowHeight(double points) {
    if (rowCount() > 100000) throw WorkbookError("Row height over too many rows");
    for (int row = ref_.r1; row <= ref_.r2; ++row) ws_->rowInfo[row].height = points;
    return *this;
}
double Range::rowHeight() const {
    auto it = ws_->rowInfo.find(ref_.r1);
    return it != ws_->rowInfo.end() && it->second.height >= 0 ? it->second.height
                                                             : ws_->defaultRowHeight();
}
Range& Range::setHidden(bool hidden) {
    if (isEntireRows()) {
        if (rowCount() > 100000) throw WorkbookError("Hiding too many rows at once");
        for (int row = ref_.r1; row <= ref_.r2; ++row) ws_->rowInfo[row].hidden = hidden;
    } else if (isEntireColumns()) {
        for (int col = ref_.c1; col <= ref_.c2; ++col) ws_->colInfo[col].hidden = hidden;
    } else {
        throw WorkbookError("Only whole rows or whole columns can be hidden (" +
                            address(false, false) + " of sheet \"" + ws_->name() + "\")");
    }
    return *this;
}

double Range::left() const { return ws_->columnLeft(ref_.c1); }
double Range::top() const { return ws_->rowTop(ref_.r1); }
double Range::width() const {
    double w = 0;
    for (int col = ref_.c1; col <= ref_.c2; ++col) w += ws_->columnWidthPoints(col);
    return w;
}
double Range::height() const {
    double h = 0;
    for (int row = ref_.r1; row <= ref_.r2; ++row) h += ws_->rowHeightPoints(row);
    return h;
}

// ---------------------------------------------------------------------------------------------
// Insert and delete

void Range::insert() {
    if (!isEntireRows())
        throw WorkbookError("Only whole rows can be inserted (" + address(false, false) +
                            " of sheet \"" + ws_->name() + "\")");
    ws_->insertRows(ref_.r1, rowCount());
}

void Range::deleteRows() {
    if (!isEntireRows())
        throw WorkbookError("Only whole rows can be deleted (" + address(false, false) +
                            " of sheet \"" + ws_->name() + "\")");
    ws_->deleteRows(ref_.r1, rowCount());
}

// ---------------------------------------------------------------------------------------------
// Clipboard, fill, clear, sort

void Range::copy() const {
    // A copied block never cuts through a merged area: widen it to whole areas.
    RangeRef g = ref_;
    for (bool grown = true; grown;) {
        grown = false;
        for (const auto& m : ws_->merges)
            if (m.intersects(g)) {
                RangeRef u{std::min(g.r1, m.r1), std::min(g.c1, m.c1), std::max(g.r2, m.r2),
                           std::max(g.c2, m.c2)};
                if (!(u == g)) {
                    g = u;
                    grown = true;
                }
            }
    }
    ws_->workbook().clipboard() = Workbook::Clipboard{ws_->index(), g};
}

namespace {

void pasteBlock(const Range& dest, bool formatsOnly) {
    Worksheet& ws = dest.sheet();
    Workbook& wb = ws.workbook();
    auto& clip = wb.clipboard();
    if (!clip) throw WorkbookError("Nothing was copied to paste on sheet \"" + ws.name() + "\"");
    Worksheet& src = wb.sheet(clip->sheet);
    const RangeRef s = clip->source;
    const int dr = dest.row() - s.r1, dc = dest.column() - s.c1;
    if (s.r2 + dr > formula::kMaxRow || s.c2 + dc > formula::kMaxCol)
        throw WorkbookError("The copied block does not fit at " + dest.address(false, false) +
                            " of sheet \"" + ws.name() + "\"");
    const long long cells = 1LL * (s.r2 - s.r1 + 1) * (s.c2 - s.c1 + 1);
    if (cells > kMaxCellsPerOperation) throw WorkbookError("The copied block is too large");

    // Snapshot first: source and destination may overlap.
    std::vector<CellCopy> block;
    block.reserve(static_cast<size_t>(cells));
    for (int row = s.r1; row <= s.r2; ++row)
        for (int col = s.c1; col <= s.c2; ++col) block.push_back(snapshot(src, row, col));
    std::vector<std::pair<std::pair<int, int>, Comment>> notes;
    if (!formatsOnly)
        for (const auto& [key, c] : src.comments)
            if (s.contains(key.first, key.second)) notes.push_back({key, c});
    std::vector<RangeRef> merges;
    for (const auto& m : src.merges)
        if (m.r1 >= s.r1 && m.r2 <= s.r2 && m.c1 >= s.c1 && m.c2 <= s.c2) merges.push_back(m);

    // A destination that is a whole multiple of the copied block in both directions receives
    // the block tiled over it, as the spreadsheet pastes; otherwise the block goes in once.
    const int h = s.r2 - s.r1 + 1, w = s.c2 - s.c1 + 1;
    const bool tiled = dest.rowCount() % h == 0 && dest.columnCount() % w == 0;
    const int tilesDown = tiled ? dest.rowCount() / h : 1;
    const int tilesAcross = tiled ? dest.columnCount() / w : 1;
    if (tilesDown > 1 || tilesAcross > 1) {
        for (int ty = 0; ty < tilesDown; ++ty)
            for (int tx = 0; tx < tilesAcross; ++tx) {
                if (ty == 0 && tx == 0) continue;
                Range tile(&ws, dest.row() + ty * h, dest.column() + tx * w,
                           dest.row() + ty * h + h - 1, dest.column() + tx * w + w - 1);
                pasteBlock(tile.resize(h, w), formatsOnly);
            }
        // The first tile last, so a block that overlaps its own tiles is read before it moves.
        pasteBlock(dest.resize(h, w), formatsOnly);
        return;
    }
    const RangeRef target{s.r1 + dr, s.c1 + dc, s.r2 + dr, s.c2 + dc};
    ws.merges.erase(std::remove_if(ws.merges.begin(), ws.merges.end(),
                                   [&](const RangeRef& m) { return m.intersects(target); }),
                    ws.merges.end());
    for (const CellCopy& c : block) {
        int row = c.row + dr, col = c.col + dc;
        if (formatsOnly) {
            if (c.style == 0 && !ws.find(row, col)) continue;
            ws.at(row, col).style = c.style;
        } else {
            restore(ws, c, row, col, true);
        }
    }
    if (!formatsOnly) {
        for (auto it = ws.comments.begin(); it != ws.comments.end();)
            it = target.contains(it->first.first, it->first.second) ? ws.comments.erase(it)
                                                                     : std::next(it);
        for (auto& [key, c] : notes) ws.comments[{key.first + dr, key.second + dc}] = c;
    }
    for (auto m : merges) {
        m.r1 += dr;
        m.r2 += dr;
        m.c1 += dc;
        m.c2 += dc;
        ws.merges.push_back(m);
    }
}

}  // namespace

void Range::paste() const { pasteBlock(*this, false); }
void Range::pasteSpecialFormats() const { pasteBlock(*this, true); }

void Range::fillDown() const {
    checkSize(*this, "A fill");
    std::vector<CellCopy> first;
    for (int col = ref_.c1; col <= ref_.c2; ++col) first.push_back(snapshot(*ws_, ref_.r1, col));
    for (int row = ref_.r1 + 1; row <= ref_.r2; ++row)
        for (const CellCopy& c : first) restore(*ws_, c, row, c.col, true);
}

void Range::clearContents() const {
    clearContentsOnly();
    refitRows(*this);
}

void Range::clearContentsOnly() const {
    if (isEntireRows() || isEntireColumns()) {
        for (int row = ref_.r1; row <= std::min(ref_.r2, ws_->maxRow()); ++row)
            for (const Cell& c : ws_->rowCells(row))
                if (c.col >= ref_.c1 && c.col <= ref_.c2) {
                    const_cast<Cell&>(c).type = CellType::Empty;
                    ws_->runs.erase({row, c.col});
                }
        return;
    }
    for (int row = ref_.r1; row <= std::min(ref_.r2, ws_->maxRow()); ++row)
        for (const Cell& c : ws_->rowCells(row))
            if (c.col >= ref_.c1 && c.col <= ref_.c2) {
                const_cast<Cell&>(c).type = CellType::Empty;
                ws_->runs.erase({row, c.col});
            }
}

void Range::clear() const {
    for (int row = ref_.r1; row <= std::min(ref_.r2, ws_->maxRow()); ++row) {
        std::vector<int> cols;
        for (const Cell& c : ws_->rowCells(row))
            if (c.col >= ref_.c1 && c.col <= ref_.c2) cols.push_back(c.col);
        for (int col : cols) {
            ws_->erase(row, col);
            ws_->runs.erase({row, col});
        }
    }
    for (auto it = ws_->comments.begin(); it != ws_->comments.end();)
        it = ref_.contains(it->first.first, it->first.second) ? ws_->comments.erase(it)
                                                               : std::next(it);
    auto& merges = ws_->merges;
    merges.erase(std::remove_if(merges.begin(), merges.end(),
                                [&](const RangeRef& m) { return m.intersects(ref_); }),
                 merges.end());
}

void Range::sort(int keyColumn, bool ascending) const {
    if (keyColumn < ref_.c1 || keyColumn > ref_.c2)
        throw WorkbookError("The sort key column is outside the sorted block " +
                            address(false, false) + " of sheet \"" + ws_->name() + "\"");
    checkSize(*this, "A sort");
    const StringPool& strings = ws_->workbook().strings();
    struct RowData {
        int row;
        std::vector<CellCopy> cells;
        CellCopy key;
        std::string keyText;
    };
    std::vector<RowData> rows;
    for (int row = ref_.r1; row <= ref_.r2; ++row) {
        RowData d;
        d.row = row;
        for (int col = ref_.c1; col <= ref_.c2; ++col) d.cells.push_back(snapshot(*ws_, row, col));
        d.key = d.cells[keyColumn - ref_.c1];
        if (d.key.type == CellType::Text) d.keyText = lower(strings.get(d.key.text));
        rows.push_back(std::move(d));
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const RowData& a, const RowData& b) {
        int ca = sortClass(a.key), cb = sortClass(b.key);
        if (ca == 3 || cb == 3) return ca < cb;  // empty keys last in either order
        if (ca != cb) return ascending ? ca < cb : ca > cb;
        int cmp = 0;
        if (ca == 0)
            cmp = a.key.number < b.key.number ? -1 : a.key.number > b.key.number ? 1 : 0;
        else if (ca == 1)
            cmp = a.keyText.compare(b.keyText);
        else
            cmp = static_cast<int>(a.key.boolean) - static_cast<int>(b.key.boolean);
        return ascending ? cmp < 0 : cmp > 0;
    });
    for (size_t i = 0; i < rows.size(); ++i) {
        int row = ref_.r1 + static_cast<int>(i);
        for (const CellCopy& c : rows[i].cells) restore(*ws_, c, row, c.col, true);
    }
}

// ---------------------------------------------------------------------------------------------
// Comments and selection

Comment& Range::addComment(std::string_view text) {
    Comment& c = ws_->comments[{ref_.r1, ref_.c1}];
    c = Comment{};
    c.text = std::string(text);
    return c;
}

Comment* Range::comment() const {
    auto it = ws_->comments.find({ref_.r1, ref_.c1});
    return it == ws_->comments.end() ? nullptr : &it->second;
}

void Range::select() const {
    ws_->select();
    ws_->setSelection(ref_, ref_.r1, ref_.c1);
}

void Range::activate() const {
    ws_->select();
    const RangeRef& sel = ws_->selection();
    if (sel.contains(ref_.r1, ref_.c1))
        ws_->setSelection(sel, ref_.r1, ref_.c1);
    else
        ws_->setSelection(ref_, ref_.r1, ref_.c1);
}

}  // namespace wb
