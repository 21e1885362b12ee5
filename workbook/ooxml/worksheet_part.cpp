#include "workbook/ooxml/worksheet_part.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>

#include "workbook/formula/formula.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/comments.h"
#include "workbook/ooxml/content_types.h"
#include "workbook/ooxml/xml_reader.h"
#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

namespace {

// The order of a worksheet's top-level elements.
const char* const kSheetOrder[] = {
    "sheetPr",         "dimension",     "sheetViews",     "sheetFormatPr",      "cols",
    "sheetData",       "sheetCalcPr",   "sheetProtection", "protectedRanges",   "scenarios",
    "autoFilter",      "sortState",     "dataConsolidate", "customSheetViews",  "mergeCells",
    "phoneticPr",      "conditionalFormatting", "dataValidations", "hyperlinks", "printOptions",
    "pageMargins",     "pageSetup",     "headerFooter",   "rowBreaks",          "colBreaks",
    "customProperties", "cellWatches",  "ignoredErrors",  "smartTags",          "drawing",
    "legacyDrawing",   "legacyDrawingHF", "drawingHF",    "picture",            "oleObjects",
    "controls",        "webPublishItems", "tableParts",   "extLst",
};
constexpr int kSheetOrderCount = sizeof(kSheetOrder) / sizeof(kSheetOrder[0]);

int sheetRank(std::string_view name) {
    for (int i = 0; i < kSheetOrderCount; ++i)
        if (name == kSheetOrder[i]) return i;
    return -1;
}

enum Rank : int {
    kSheetPr = 0, kDimension = 1, kSheetViews = 2, kSheetFormatPr = 3, kCols = 4, kSheetData = 5,
    kSheetProtection = 7, kMergeCells = 14, kDataValidations = 17, kPageMargins = 20,
    kDrawing = 29, kLegacyDrawing = 30, kOleObjects = 34, kControls = 35,
};

std::string relIdOf(const pugi::xml_node& n) {
    for (pugi::xml_attribute a : n.attributes()) {
        std::string_view name = a.name();
        if (name == "r:id" || (name.size() > 3 && name.substr(name.size() - 3) == ":id"))
            return a.value();
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> attributesOf(const pugi::xml_node& n,
                                                              std::initializer_list<std::string_view> skip) {
    std::vector<std::pair<std::string, std::string>> out;
    for (pugi::xml_attribute a : n.attributes()) {
        bool drop = false;
        for (std::string_view s : skip) drop = drop || s == a.name();
        if (!drop) out.emplace_back(a.name(), a.value());
    }
    return out;
}

bool parseSqrefFirst(std::string_view sqref, RangeRef& out) {
    size_t sp = sqref.find(' ');
    std::string first(sqref.substr(0, sp));
    int r1, c1, r2, c2;
    if (!formula::parseA1Range(first, r1, c1, r2, c2)) return false;
    out = RangeRef{r1, c1, r2, c2};
    return true;
}

std::vector<RangeRef> parseSqref(std::string_view sqref) {
    std::vector<RangeRef> out;
    size_t pos = 0;
    while (pos < sqref.size()) {
        size_t sp = sqref.find(' ', pos);
        if (sp == std::string_view::npos) sp = sqref.size();
        std::string part(sqref.substr(pos, sp - pos));
        int r1, c1, r2, c2;
        if (!part.empty() && formula::parseA1Range(part, r1, c1, r2, c2))
            out.push_back(RangeRef{r1, c1, r2, c2});
        pos = sp + 1;
    }
    return out;
}

std::string rangeText(const RangeRef& r) {
    std::string s = formula::cellAddress(r.r1, r.c1);
    if (r.r2 != r.r1 || r.c2 != r.c1) s += ":" + formula::cellAddress(r.r2, r.c2);
    return s;
}

[[noreturn]] void failLoad(const PackageState& st, const SheetSource& src, const Worksheet& ws,
                           const std::string& why) {
    throw WorkbookError("Cannot read the sheet \"" + ws.name() + "\" (" + src.part +
                        ") of the workbook \"" + st.sourcePath + "\": " + why);
}

// The rank of a kept element: its own, that of the element an mc:AlternateContent wraps, or for
// unknown elements the rank of the element before it.
int keptRank(const pugi::xml_node& n, int previous) {
    int r = sheetRank(n.name());
    if (r >= 0) return r;
    if (localNameOf(n) == "AlternateContent") {
        for (pugi::xml_node branch : n.children())
            for (pugi::xml_node inner : branch.children())
                if (inner.type() == pugi::node_element) {
                    int ir = sheetRank(inner.name());
                    if (ir >= 0) return ir;
                }
    }
    return previous;
}

void readCells(Worksheet& ws, const pugi::xml_node& sheetData, const PackageState& st,
               const SheetSource& src) {
    Workbook& book = ws.workbook();
    const uint32_t styleCount = static_cast<uint32_t>(book.styles().size());
    struct Shared {
        formula::Formula f;
        int row, col;
    };
    std::map<int, Shared> shared;
    int row = 0;
    for (pugi::xml_node rn : sheetData.children("row")) {
        row = attrInt(rn, "r", row + 1);
        if (row < 1 || row > formula::kMaxRow) failLoad(st, src, ws, "row number out of range");
        RowInfo info;
        bool any = false;
        if (rn.attribute("ht")) {
            // A height the user set is custom; otherwise it is the automatic height.
            if (attrBool(rn, "customHeight", false))
                info.height = attrDouble(rn, "ht", -1);
            else
                info.autoHeight = attrDouble(rn, "ht", -1);
            any = true;
        }
        if (attrBool(rn, "hidden", false)) info.hidden = any = true;
        if (attrBool(rn, "customFormat", false)) {
            uint32_t s = static_cast<uint32_t>(attrInt(rn, "s", 0));
            info.hasStyle = true;
            info.style = s < styleCount ? s : 0;
            any = true;
        }
        if (int lvl = attrInt(rn, "outlineLevel", 0)) {
            info.outlineLevel = lvl;
            any = true;
        }
        if (any) ws.rowInfo[row] = info;

        int col = 0;
        for (pugi::xml_node cn : rn.children("c")) {
            int r = row, c = col + 1;
            if (pugi::xml_attribute ref = cn.attribute("r")) {
                if (!parseCellRef(ref.value(), r, c) || r != row)
                    failLoad(st, src, ws, std::string("bad cell reference \"") + ref.value() + "\"");
            }
            col = c;
            if (c > formula::kMaxCol) failLoad(st, src, ws, "column out of range");
            uint32_t style = static_cast<uint32_t>(attrInt(cn, "s", 0));
            if (style >= styleCount) style = 0;
            std::string_view type = cn.attribute("t").value();
            pugi::xml_node fn = cn.child("f");
            pugi::xml_node vn = cn.child("v");

            auto cellRef = [&] { return formula::cellAddress(r, c); };
            auto parse = [&](std::string_view text) {
                try {
                    return formula::parseA1(text, book);
                } catch (const formula::FormulaError& e) {
                    failLoad(st, src, ws,
                             "the formula \"" + std::string(text) + "\" in cell " + cellRef() +
                                 " cannot be read (" + e.what() + ")");
                }
            };

            // Formulas (their cached results are dropped: the application recalculates).
            if (fn && std::string_view(fn.attribute("t").value()) != "dataTable") {
                std::string_view ft = fn.attribute("t").value();
                std::string_view text = fn.child_value();
                formula::Formula f;
                bool have = false;
                if (ft == "shared") {
                    int si = attrInt(fn, "si", -1);
                    if (!text.empty()) {
                        f = parse(text);
                        shared[si] = Shared{f, r, c};
                        have = true;
                    } else {
                        auto it = shared.find(si);
                        if (it == shared.end())
                            failLoad(st, src, ws, "cell " + cellRef() + " uses an unknown shared formula");
                        f = it->second.f;
                        formula::shiftRelative(f, r - it->second.row, c - it->second.col);
                        have = true;
                    }
                } else if (!text.empty()) {
                    f = parse(text);
                    have = true;
                }
                if (have) {
                    Cell& cell = ws.at(r, c);
                    cell.style = style;
                    cell.type = CellType::Formula;
                    cell.formula = ws.addFormula(std::move(f));
                    continue;
                }
            }

            std::string_view v = vn.child_value();
            if (type == "s") {
                uint32_t idx = 0;
                auto res = std::from_chars(v.data(), v.data() + v.size(), idx);
                if (res.ec != std::errc() || idx >= book.strings().size())
                    failLoad(st, src, ws, "cell " + cellRef() + " refers to a missing shared string");
                Cell& cell = ws.at(r, c);
                cell.style = style;
                cell.type = CellType::Text;
                cell.text = idx;
                auto rich = st.richStrings.find(idx);
                if (rich != st.richStrings.end()) {
                    const Font& cellFont = book.styles().get(style).font;
                    std::vector<TextRun> runs;
                    for (const auto& run : rich->second.runs)
                        runs.push_back({run.start, run.length, run.hasFont ? run.font : cellFont});
                    if (!runs.empty()) ws.runs[{r, c}] = std::move(runs);
                }
            } else if (type == "inlineStr") {
                pugi::xml_node is = cn.child("is");
                std::string text;
                std::vector<TextRun> runs;
                if (pugi::xml_node t = is.child("t")) text = t.child_value();
                for (pugi::xml_node rr : is.children("r")) {
                    std::string part = rr.child("t").child_value();
                    TextRun run{static_cast<int>(text.size()), static_cast<int>(part.size()),
                                book.styles().get(style).font};
                    if (pugi::xml_node rpr = rr.child("rPr")) run.font = readFont(rpr);
                    text += part;
                    if (run.length > 0) runs.push_back(run);
                }
                Cell& cell = ws.at(r, c);
                cell.style = style;
                cell.type = CellType::Text;
                cell.text = book.strings().intern(decodeExcelEscapes(text));
                if (!runs.empty()) ws.runs[{r, c}] = std::move(runs);
            } else if (type == "b") {
                Cell& cell = ws.at(r, c);
                cell.style = style;
                cell.type = CellType::Boolean;
                cell.boolean = v == "1" || v == "true";
            } else if (type == "str" || type == "d" || type == "e") {
                if (!vn) {
                    if (style != 0) ws.at(r, c).style = style;
                    continue;
                }
                Cell& cell = ws.at(r, c);
                cell.style = style;
                if (type == "e") {
                    // An error constant keeps its meaning as a formula of the error literal.
                    try {
                        cell.formula = ws.addFormula(formula::parseA1(v, book));
                        cell.type = CellType::Formula;
                        continue;
                    } catch (const formula::FormulaError&) {
                    }
                }
                cell.type = CellType::Text;
                cell.text = book.strings().intern(decodeExcelEscapes(v));
            } else if (vn) {
                double d = 0;
                while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
                if (!v.empty() && v.front() == '+') v.remove_prefix(1);
                auto res = std::from_chars(v.data(), v.data() + v.size(), d);
                if (res.ec != std::errc())
                    failLoad(st, src, ws, "cell " + cellRef() + " holds the bad number \"" + std::string(v) + "\"");
                Cell& cell = ws.at(r, c);
                cell.style = style;
                cell.type = CellType::Number;
                cell.number = d;
            } else if (style != 0) {
                ws.at(r, c).style = style;
            }
        }
    }
}

}  // namespace

double fileWidthFromChars(double chars, int mdw) {
    if (chars <= 0) return 0;
    return std::trunc((chars * mdw + 5) / mdw * 256) / 256;
}

double charsFromFileWidth(double width, int mdw) {
    if (width <= 0) return 0;
    double chars = width - 5.0 / mdw;
    return chars <= 0 ? 0 : std::round(chars * 100) / 100;
}

// ---------------------------------------------------------------------------------------------
// Reading

void loadWorksheet(Worksheet& ws, PackageState& st, SheetSource& src) {
    if (src.relType != rel::kWorksheet)
        failLoad(st, src, ws, "this kind of sheet is kept as it is and cannot be edited");
    pugi::xml_document doc;
    try {
        parseXml(doc, *src.xml);
    } catch (const std::exception& e) {
        failLoad(st, src, ws, e.what());
    }
    pugi::xml_node root = doc.document_element();
    if (localNameOf(root) != "worksheet") failLoad(st, src, ws, "the part is not a worksheet");

    auto kept = std::make_unique<SheetKept>();
    kept->root = RootAttributes::of(root);
    if (src.relsXml) {
        try {
            kept->rels = Relationships::parse(*src.relsXml);
        } catch (const std::exception& e) {
            failLoad(st, src, ws, std::string("its relationships: ") + e.what());
        }
    }
    const std::string folder = partFolder(src.part);
    const int mdw = ws.workbook().maxDigitWidthPixels();

    int previousRank = -1;
    std::string legacyDrawingId;
    for (pugi::xml_node n : root.children()) {
        if (n.type() != pugi::node_element) continue;
        std::string_view name = n.name();
        int rank = keptRank(n, previousRank);
        previousRank = rank;
        if (name == "sheetPr") {
            kept->sheetPrAttrs = attributesOf(n, {});
            for (pugi::xml_node c : n.children()) {
                if (std::string_view(c.name()) == "tabColor" && c.attribute("rgb"))
                    ws.tabColor = c.attribute("rgb").value();
                else
                    kept->sheetPrChildren += outerXml(c);
            }
        } else if (name == "dimension") {
        } else if (name == "sheetViews") {
            pugi::xml_node view = n.child("sheetView");
            if (!view) continue;
            kept->hadSheetView = true;
            kept->sheetViewAttrs = attributesOf(view, {"tabSelected"});
            pugi::xml_node pane = view.child("pane");
            std::string activePane;
            if (pane) {
                kept->paneXml = outerXml(pane);
                activePane = pane.attribute("activePane").value();
            }
            pugi::xml_node sel;
            for (pugi::xml_node s : view.children("selection"))
                if (!sel || (!activePane.empty() && activePane == s.attribute("pane").value())) sel = s;
            if (sel) {
                RangeRef r{1, 1, 1, 1};
                int ar = 1, ac = 1;
                parseCellRef(sel.attribute("activeCell").value(), ar, ac);
                if (!parseSqrefFirst(sel.attribute("sqref").value(), r)) r = RangeRef{ar, ac, ar, ac};
                ws.setSelection(r, ar, ac);
            }
        } else if (name == "sheetFormatPr") {
            kept->sheetFormatAttrs =
                attributesOf(n, {"defaultRowHeight", "defaultColWidth"});
            ws.setDefaultRowHeight(attrDouble(n, "defaultRowHeight", ws.defaultRowHeight()));
            if (n.attribute("defaultColWidth"))
                ws.setDefaultColumnWidth(charsFromFileWidth(attrDouble(n, "defaultColWidth", 0), mdw));
        } else if (name == "cols") {
            for (pugi::xml_node c : n.children("col")) {
                int lo = std::max(1, attrInt(c, "min", 1));
                int hi = std::min(formula::kMaxCol, attrInt(c, "max", lo));
                ColInfo info;
                if (c.attribute("width")) info.width = charsFromFileWidth(attrDouble(c, "width", 0), mdw);
                info.hidden = attrBool(c, "hidden", false);
                uint32_t s = static_cast<uint32_t>(attrInt(c, "style", 0));
                if (s != 0 && s < ws.workbook().styles().size()) {
                    info.hasStyle = true;
                    info.style = s;
                }
                info.outlineLevel = attrInt(c, "outlineLevel", 0);
                for (int k = lo; k <= hi; ++k) ws.colInfo[k] = info;
            }
        } else if (name == "sheetData") {
            readCells(ws, n, st, src);
        } else if (name == "sheetProtection") {
            kept->protectionAttrs = attributesOf(n, {"sheet", "objects"});
            bool sheet = attrBool(n, "sheet", false), objects = attrBool(n, "objects", false);
            if (sheet || objects) ws.protect(objects, sheet);
        } else if (name == "mergeCells") {
            for (pugi::xml_node m : n.children("mergeCell")) {
                int r1, c1, r2, c2;
                if (formula::parseA1Range(m.attribute("ref").value(), r1, c1, r2, c2))
                    ws.merges.push_back(RangeRef{r1, c1, r2, c2});
            }
        } else if (name == "dataValidations") {
            for (pugi::xml_node d : n.children("dataValidation")) {
                DataValidation dv;
                dv.ranges = parseSqref(d.attribute("sqref").value());
                dv.type = d.attribute("type") ? d.attribute("type").value() : "none";
                dv.op = d.attribute("operator").value();
                dv.formula1 = d.child_value("formula1");
                dv.formula2 = d.child_value("formula2");
                dv.allowBlank = attrBool(d, "allowBlank", false);
                dv.showDropDown = !attrBool(d, "showDropDown", false);
                dv.showErrorMessage = attrBool(d, "showErrorMessage", false);
                dv.showInputMessage = attrBool(d, "showInputMessage", false);
                dv.promptTitle = d.attribute("promptTitle").value();
                dv.prompt = d.attribute("prompt").value();
                dv.errorTitle = d.attribute("errorTitle").value();
                dv.error = d.attribute("error").value();
                ws.validations.push_back(std::move(dv));
            }
        } else if (name == "legacyDrawing") {
            legacyDrawingId = relIdOf(n);
        } else {
            kept->elements.push_back({std::string(name), outerXml(n), rank});
        }
    }

    // Comments, with their boxes from the legacy drawing; both parts are rebuilt on save.
    std::vector<ReadComment> comments;
    if (const Relationship* r = kept->rels.findByType(rel::kComments)) {
        std::string part = resolveTarget(folder, r->target);
        auto it = st.parts.find(part);
        if (it != st.parts.end()) {
            try {
                comments = readComments(*it->second);
            } catch (const std::exception& e) {
                failLoad(st, src, ws, "its comments (" + part + "): " + e.what());
            }
            st.consumed.insert(part);
        }
        kept->rels.removeById(std::string(r->id));
    }
    if (!legacyDrawingId.empty()) {
        if (const Relationship* r = kept->rels.findById(legacyDrawingId)) {
            std::string part = resolveTarget(folder, r->target);
            auto it = st.parts.find(part);
            if (it != st.parts.end()) {
                kept->vml = readVml(*it->second);
                st.consumed.insert(part);
                // The drawing's own relationships (images of kept shapes) move to the rebuilt
                // drawing, which lives in the same folder.
                auto relsIt = st.parts.find(relsPartName(part));
                if (relsIt != st.parts.end()) {
                    try {
                        kept->vmlRels = Relationships::parse(*relsIt->second);
                    } catch (const std::exception& e) {
                        failLoad(st, src, ws, "the relationships of " + part + ": " + e.what());
                    }
                    st.consumed.insert(relsIt->first);
                }
            }
            kept->rels.removeById(legacyDrawingId);
        }
    }
    for (auto& rc : comments) {
        Comment& c = ws.comments[{rc.row, rc.col}];
        c.text = std::move(rc.text);
        c.author = std::move(rc.author);
        auto note = kept->vml.notes.find({rc.row, rc.col});
        if (note != kept->vml.notes.end()) {
            if (note->second.heightPt > 0) c.heightScale = note->second.heightPt / kNoteHeightPt;
            c.visible = note->second.visible;
        }
    }
    src.kept = std::move(kept);
}

// ---------------------------------------------------------------------------------------------
// Writing

PartData withTabSelected(const PartData& xml, bool selected) {
    const std::string& s = *xml;
    size_t pos = 0;
    while ((pos = s.find("<sheetView", pos)) != std::string::npos) {
        char next = pos + 10 < s.size() ? s[pos + 10] : '\0';
        if (next == ' ' || next == '>' || next == '/' || next == '\n' || next == '\t' || next == '\r')
            break;
        pos += 10;
    }
    if (pos == std::string::npos) return xml;
    size_t end = s.find('>', pos);
    if (end == std::string::npos) return xml;
    std::string_view tag(s.data() + pos, end - pos);
    size_t attr = tag.find(" tabSelected=\"");
    bool isSelected = false;
    size_t attrEnd = 0;
    if (attr != std::string_view::npos) {
        size_t vstart = attr + 14;
        size_t vend = tag.find('"', vstart);
        if (vend == std::string_view::npos) return xml;
        std::string_view v = tag.substr(vstart, vend - vstart);
        isSelected = v == "1" || v == "true";
        attrEnd = vend + 1;
    }
    if (isSelected == selected) return xml;
    auto out = std::make_shared<std::string>();
    if (selected) {
        if (attr != std::string_view::npos) {  // tabSelected="0"
            *out = s.substr(0, pos + attr) + " tabSelected=\"1\"" + s.substr(pos + attrEnd);
        } else {
            *out = s.substr(0, pos + 10) + " tabSelected=\"1\"" + s.substr(pos + 10);
        }
    } else {
        *out = s.substr(0, pos + attr) + s.substr(pos + attrEnd);
    }
    return out;
}

namespace {

class ColumnNames {
public:
    const std::string& operator()(int col) {
        if (static_cast<size_t>(col) >= names_.size()) names_.resize(col + 1);
        std::string& s = names_[col];
        if (s.empty()) s = formula::columnLetters(col);
        return s;
    }

private:
    std::vector<std::string> names_;
};

void writeAttrs(XmlWriter& w, const std::vector<std::pair<std::string, std::string>>& attrs) {
    for (const auto& [k, v] : attrs) w.attr(k, v);
}

bool hasAttr(const std::vector<std::pair<std::string, std::string>>& attrs, std::string_view name) {
    for (const auto& a : attrs)
        if (a.first == name) return true;
    return false;
}

void writeCols(XmlWriter& w, const Worksheet& ws, int mdw) {
    if (ws.colInfo.empty()) return;
    w.open("cols");
    auto it = ws.colInfo.begin();
    while (it != ws.colInfo.end()) {
        int lo = it->first, hi = lo;
        const ColInfo& info = it->second;
        auto next = std::next(it);
        // Runs of adjacent columns with equal settings become one entry.
        while (next != ws.colInfo.end() && next->first == hi + 1 &&
               next->second.width == info.width && next->second.hidden == info.hidden &&
               next->second.hasStyle == info.hasStyle && next->second.style == info.style &&
               next->second.outlineLevel == info.outlineLevel) {
            hi = next->first;
            ++next;
        }
        w.open("col");
        w.attr("min", lo);
        w.attr("max", hi);
        double width = info.width >= 0 ? info.width : ws.defaultColumnWidth();
        w.attrNum("width", fileWidthFromChars(width, mdw));
        if (info.hasStyle) w.attr("style", info.style);
        if (info.hidden) w.attr("hidden", 1);
        if (info.width >= 0) w.attr("customWidth", 1);
        if (info.outlineLevel > 0) w.attr("outlineLevel", info.outlineLevel);
        w.close("col");
        it = next;
    }
    w.close("cols");
}

void writeDataValidations(XmlWriter& w, const Worksheet& ws) {
    if (ws.validations.empty()) return;
    w.open("dataValidations");
    w.attr("count", ws.validations.size());
    for (const DataValidation& dv : ws.validations) {
        w.open("dataValidation");
        if (!dv.type.empty() && dv.type != "none") w.attr("type", dv.type);
        if (!dv.op.empty()) w.attr("operator", dv.op);
        if (dv.allowBlank) w.attr("allowBlank", 1);
        if (!dv.showDropDown) w.attr("showDropDown", 1);  // the file says "hide the arrow"
        if (dv.showInputMessage) w.attr("showInputMessage", 1);
        if (dv.showErrorMessage) w.attr("showErrorMessage", 1);
        if (!dv.errorTitle.empty()) w.attr("errorTitle", dv.errorTitle);
        if (!dv.error.empty()) w.attr("error", dv.error);
        if (!dv.promptTitle.empty()) w.attr("promptTitle", dv.promptTitle);
        if (!dv.prompt.empty()) w.attr("prompt", dv.prompt);
        std::string sqref;
        for (const RangeRef& r : dv.ranges) {
            if (!sqref.empty()) sqref += ' ';
            sqref += rangeText(r);
        }
        w.attr("sqref", sqref);
        if (!dv.formula1.empty()) w.element("formula1", dv.formula1);
        if (!dv.formula2.empty()) w.element("formula2", dv.formula2);
        w.close("dataValidation");
    }
    w.close("dataValidations");
}

}  // namespace

std::string writeWorksheet(SheetWriteContext& ctx, const SheetKept* kept, SharedStringsWriter& sst,
                           const PackageState* /*st*/, bool tabSelected) {
    const Worksheet& ws = ctx.ws;
    const Workbook& book = ws.workbook();
    const std::string folder = partFolder(ctx.partName);
    const int mdw = book.maxDigitWidthPixels();

    // Legacy drawing: kept shapes first (their ids stay), then the comment notes.
    if (kept) {
        for (const auto& [id, xml] : kept->vml.shapeTypes) ctx.vml.addShapeType(id, xml);
        for (int id : kept->vml.shapeIds) ctx.vml.reserveShapeId(id);
        for (const auto& s : kept->vml.otherShapes) ctx.vml.addShape(s);
        for (const auto& [attr, uri] : kept->vml.namespaces) ctx.vml.addNamespace(attr, uri);
        for (const auto& r : kept->vmlRels.items()) ctx.vml.rels().add(r);
        for (const auto& e : kept->elements) {
            if (e.rank == kDrawing) ctx.drawing.push_back(e.xml);
            else if (e.rank == kOleObjects) ctx.oleObjects.push_back(e.xml);
            else if (e.rank == kControls) ctx.controls.push_back(e.xml);
        }
    }
    if (!ws.comments.empty()) {
        std::string part = ctx.parts.uniqueName("xl/comments", ".xml");
        ctx.parts.add(part, writeComments(ws), ct::kComments);
        ctx.rels.add(rel::kComments, relativeTarget(folder, part));
        addCommentShapes(ws, ctx.vml);
    }
    writeSheetObjects(ctx);
    std::string legacyDrawingId;
    if (!ctx.vml.empty()) {
        std::string part = ctx.parts.uniqueName("xl/drawings/vmlDrawing", ".vml");
        ctx.parts.addDefault("vml", ct::kVml);
        ctx.parts.add(part, ctx.vml.write(), "");
        if (!ctx.vml.rels().empty()) ctx.parts.add(relsPartName(part), ctx.vml.rels().write(), "");
        legacyDrawingId = ctx.rels.add(rel::kVmlDrawing, relativeTarget(folder, part));
    }

    // Size the buffer for the cells: about 40 bytes a cell.
    size_t cellCount = 0;
    for (int r = 1; r <= ws.maxRow(); ++r) cellCount += ws.rowCells(r).size();
    std::string out;
    out.reserve(4096 + cellCount * 40);
    XmlWriter w(out);
    w.declaration();
    w.open("worksheet");
    w.attr("xmlns", "http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    w.attr("xmlns:r", rel::kNamespace);
    if (kept) kept->root.write(w, {"xmlns", "xmlns:r"});

    size_t keptIndex = 0;
    auto keptUpTo = [&](int rank) {
        // Kept elements of ranks up to `rank`, except those the context writes.
        if (!kept) return;
        while (keptIndex < kept->elements.size() && kept->elements[keptIndex].rank <= rank) {
            const auto& e = kept->elements[keptIndex++];
            if (e.rank == kDrawing || e.rank == kOleObjects || e.rank == kControls) continue;
            w.raw(e.xml);
        }
    };

    // sheetPr
    {
        bool any = !ws.tabColor.empty() || (kept && (!kept->sheetPrAttrs.empty() || !kept->sheetPrChildren.empty()));
        keptUpTo(kSheetPr - 1);
        if (any) {
            w.open("sheetPr");
            if (kept) writeAttrs(w, kept->sheetPrAttrs);
            if (!ws.tabColor.empty()) {
                w.open("tabColor");
                w.attr("rgb", ws.tabColor);
                w.close("tabColor");
            }
            if (kept) w.raw(kept->sheetPrChildren);
            w.close("sheetPr");
        }
    }
    // dimension
    {
        keptUpTo(kDimension - 1);
        int minR = 0, maxR = 0, minC = 0, maxC = 0;
        for (int r = 1; r <= ws.maxRow(); ++r) {
            const auto& cells = ws.rowCells(r);
            if (cells.empty()) continue;
            if (!minR) minR = r;
            maxR = r;
            if (!minC || cells.front().col < minC) minC = cells.front().col;
            if (cells.back().col > maxC) maxC = cells.back().col;
        }
        w.open("dimension");
        w.attr("ref", minR ? rangeText(RangeRef{minR, minC, maxR, maxC}) : std::string("A1"));
        w.close("dimension");
    }
    // sheetViews
    {
        keptUpTo(kSheetViews - 1);
        w.open("sheetViews");
        w.open("sheetView");
        if (tabSelected) w.attr("tabSelected", 1);
        if (kept && kept->hadSheetView) writeAttrs(w, kept->sheetViewAttrs);
        if (!(kept && hasAttr(kept->sheetViewAttrs, "workbookViewId"))) w.attr("workbookViewId", 0);
        std::string pane;
        if (kept && !kept->paneXml.empty()) {
            w.raw(kept->paneXml);
            pugi::xml_document d;
            if (d.load_string(kept->paneXml.c_str())) pane = d.first_child().attribute("activePane").value();
        }
        const RangeRef& sel = ws.selection();
        w.open("selection");
        if (!pane.empty()) w.attr("pane", pane);
        w.attr("activeCell", formula::cellAddress(ws.activeRow(), ws.activeCol()));
        w.attr("sqref", rangeText(sel));
        w.close("selection");
        w.close("sheetView");
        w.close("sheetViews");
    }
    // sheetFormatPr
    {
        keptUpTo(kSheetFormatPr - 1);
        w.open("sheetFormatPr");
        if (kept) writeAttrs(w, kept->sheetFormatAttrs);
        if (std::abs(ws.defaultColumnWidth() - 8.43) > 1e-9)
            w.attrNum("defaultColWidth", fileWidthFromChars(ws.defaultColumnWidth(), mdw));
        w.attrNum("defaultRowHeight", ws.defaultRowHeight());
        if (std::abs(ws.defaultRowHeight() - 12.75) > 1e-9 &&
            !(kept && hasAttr(kept->sheetFormatAttrs, "customHeight")))
            w.attr("customHeight", 1);
        w.close("sheetFormatPr");
    }
    keptUpTo(kCols - 1);
    writeCols(w, ws, mdw);

    // sheetData, streamed.
    keptUpTo(kSheetData - 1);
    {
        const uint32_t poolSize = static_cast<uint32_t>(book.strings().size());
        ColumnNames colName;
        out += "<sheetData>";
        auto ri = ws.rowInfo.begin();
        int lastRow = ws.maxRow();
        if (!ws.rowInfo.empty()) lastRow = std::max(lastRow, ws.rowInfo.rbegin()->first);
        std::string rowText;
        for (int r = 1; r <= lastRow; ++r) {
            while (ri != ws.rowInfo.end() && ri->first < r) ++ri;
            const RowInfo* info = ri != ws.rowInfo.end() && ri->first == r ? &ri->second : nullptr;
            const auto& cells = ws.rowCells(r);
            if (cells.empty() && !info) continue;
            rowText.clear();
            appendInt(rowText, r);
            out += "<row r=\"";
            out += rowText;
            out += '"';
            if (info) {
                if (info->hasStyle) {
                    out += " s=\"";
                    appendInt(out, info->style);
                    out += "\" customFormat=\"1\"";
                }
                if (info->height >= 0) {
                    out += " ht=\"";
                    appendNumber(out, info->height);
                    out += "\" customHeight=\"1\"";
                }
                else if (info->autoHeight >= 0) {
                    // The automatic height the spreadsheet computed: stored, not custom.
                    out += " ht=\"";
                    appendNumber(out, info->autoHeight);
                    out += '"';
                }
                if (info->hidden) out += " hidden=\"1\"";
                if (info->outlineLevel > 0) {
                    out += " outlineLevel=\"";
                    appendInt(out, info->outlineLevel);
                    out += '"';
                }
            }
            if (cells.empty()) {
                out += "/>";
                continue;
            }
            out += '>';
            for (const Cell& c : cells) {
                if (c.type == CellType::Empty && c.style == 0) continue;
                out += "<c r=\"";
                out += colName(c.col);
                out += rowText;
                out += '"';
                if (c.style != 0) {
                    out += " s=\"";
                    appendInt(out, c.style);
                    out += '"';
                }
                switch (c.type) {
                    case CellType::Empty:
                        out += "/>";
                        break;
                    case CellType::Number:
                        if (std::isfinite(c.number)) {
                            out += "><v>";
                            appendNumber(out, c.number);
                            out += "</v></c>";
                        } else {
                            out += " t=\"e\"><v>#NUM!</v></c>";
                        }
                        break;
                    case CellType::Boolean:
                        out += c.boolean ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>";
                        break;
                    case CellType::Text: {
                        uint32_t idx = c.text;
                        if (idx >= poolSize) {
                            out += "/>";
                            break;
                        }
                        if (!ws.runs.empty()) {
                            auto run = ws.runs.find({r, c.col});
                            if (run != ws.runs.end() && !run->second.empty())
                                idx = sst.addRich(book.strings().get(c.text), run->second);
                        }
                        out += " t=\"s\"><v>";
                        appendInt(out, idx);
                        out += "</v></c>";
                        break;
                    }
                    case CellType::Formula:
                        out += "><f>";
                        appendEscaped(out, formula::toA1(ws.formulaAt(c.formula), book), false, false);
                        out += "</f></c>";
                        break;
                }
            }
            out += "</row>";
        }
        out += "</sheetData>";
    }

    // sheetProtection
    keptUpTo(kSheetProtection - 1);
    if (ws.protection().sheet) {
        w.open("sheetProtection");
        if (kept) writeAttrs(w, kept->protectionAttrs);
        if (ws.protection().contents) w.attr("sheet", 1);
        if (ws.protection().drawingObjects) w.attr("objects", 1);
        if (!(kept && hasAttr(kept->protectionAttrs, "scenarios"))) w.attr("scenarios", 1);
        w.close("sheetProtection");
    }
    keptUpTo(kMergeCells - 1);
    if (!ws.merges.empty()) {
        w.open("mergeCells");
        w.attr("count", ws.merges.size());
        for (const RangeRef& m : ws.merges) {
            w.open("mergeCell");
            w.attr("ref", rangeText(m));
            w.close("mergeCell");
        }
        w.close("mergeCells");
    }
    keptUpTo(kDataValidations - 1);
    writeDataValidations(w, ws);
    keptUpTo(kPageMargins - 1);
    bool keptMargins = false;
    if (kept)
        for (const auto& e : kept->elements) keptMargins = keptMargins || e.rank == kPageMargins;
    if (!keptMargins)
        w.raw("<pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"1\" header=\"0.5\" footer=\"0.5\"/>");
    keptUpTo(kDrawing - 1);
    for (const auto& x : ctx.drawing) w.raw(x);
    keptUpTo(kDrawing);
    if (!legacyDrawingId.empty()) {
        w.open("legacyDrawing");
        w.attr("r:id", legacyDrawingId);
        w.close("legacyDrawing");
    }
    keptUpTo(kOleObjects - 1);
    for (const auto& x : ctx.oleObjects) w.raw(x);
    keptUpTo(kOleObjects);
    for (const auto& x : ctx.controls) w.raw(x);
    keptUpTo(1000);
    w.close("worksheet");
    return out;
}

}  // namespace wb::ooxml
