#include "workbook/ooxml/styles.h"

#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <unordered_map>

namespace wb::ooxml {

namespace {

// Object-model codes not named in style.h.
constexpr int kDashDot = 4, kDashDotDot = 5, kSlantDashDot = 13;
constexpr int kHAlignFill = 5, kDistributed = -4117;
constexpr int kOrientVertical = -4166, kOrientUpward = -4171, kOrientDownward = -4170,
              kOrientHorizontal = -4128;

struct PatternEntry {
    const char* name;
    int code;
};
// The file's pattern names with the object model's pattern codes.
const PatternEntry kPatterns[] = {
    {"none", xl::None},       {"solid", xl::Solid},         {"mediumGray", -4125},
    {"darkGray", -4126},      {"lightGray", -4124},         {"darkHorizontal", -4128},
    {"darkVertical", -4166},  {"darkDown", -4121},          {"darkUp", -4162},
    {"darkGrid", 9},          {"darkTrellis", 10},          {"lightHorizontal", 11},
    {"lightVertical", 12},    {"lightDown", 13},            {"lightUp", 14},
    {"lightGrid", 15},        {"lightTrellis", 16},         {"gray125", 17},
    {"gray0625", 18},
};

struct NumFmtEntry {
    int id;
    const char* code;
};
const NumFmtEntry kBuiltinNumFmts[] = {
    {0, "General"},
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {4, "#,##0.00"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {12, "# ?/?"},
    {13, "# ?" "?/?" "?"},
    {14, "mm-dd-yy"},
    {15, "d-mmm-yy"},
    {16, "d-mmm"},
    {17, "mmm-yy"},
    {18, "h:mm AM/PM"},
    {19, "h:mm:ss AM/PM"},
    {20, "h:mm"},
    {21, "h:mm:ss"},
    {22, "m/d/yy h:mm"},
    {37, "#,##0 ;(#,##0)"},
    {38, "#,##0 ;[Red](#,##0)"},
    {39, "#,##0.00;(#,##0.00)"},
    {40, "#,##0.00;[Red](#,##0.00)"},
    {45, "mm:ss"},
    {46, "[h]:mm:ss"},
    {47, "mmss.0"},
    {48, "##0.0E+0"},
    {49, "@"},
};
// Built-in ids written for these codes; the others (dates, times) are written as custom formats
// because readers show the built-in ones in their own locale's form.
const int kWrittenBuiltins[] = {0, 1, 2, 3, 4, 9, 10, 11, 12, 13, 49};

std::string hex6(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "FF%06X", v & 0xFFFFFFu);
    return buf;
}

const char* horizontalName(int a) {
    switch (a) {
        case xl::Left: return "left";
        case xl::Center: return "center";
        case xl::Right: return "right";
        case kHAlignFill: return "fill";
        case xl::Justify: return "justify";
        case xl::CenterAcrossSelection: return "centerContinuous";
        case kDistributed: return "distributed";
        default: return nullptr;  // general
    }
}
int horizontalFromName(std::string_view n) {
    if (n == "left") return xl::Left;
    if (n == "center") return xl::Center;
    if (n == "right") return xl::Right;
    if (n == "fill") return kHAlignFill;
    if (n == "justify") return xl::Justify;
    if (n == "centerContinuous") return xl::CenterAcrossSelection;
    if (n == "distributed") return kDistributed;
    return xl::HAlignGeneral;
}
const char* verticalName(int a) {
    switch (a) {
        case xl::Top: return "top";
        case xl::Center: return "center";
        case xl::Justify: return "justify";
        case kDistributed: return "distributed";
        default: return nullptr;  // bottom
    }
}
int verticalFromName(std::string_view n) {
    if (n == "top") return xl::Top;
    if (n == "center") return xl::Center;
    if (n == "justify") return xl::Justify;
    if (n == "distributed") return kDistributed;
    return xl::Bottom;
}
int textRotation(int orientation) {
    switch (orientation) {
        case kOrientVertical: return 255;
        case kOrientUpward: return 90;
        case kOrientDownward: return 180;
        case kOrientHorizontal: return 0;
        default: break;
    }
    if (orientation > 0) return std::min(orientation, 90);
    if (orientation < 0) return 90 + std::min(-orientation, 90);
    return 0;
}
int orientationFromRotation(int r) {
    if (r == 255) return kOrientVertical;
    if (r > 90 && r <= 180) return 90 - r;
    if (r >= 0 && r <= 90) return r;
    return 0;
}

// Default ids of the fills every styles part starts with.
constexpr int kFillNone = 0, kFillGray125 = 1;

void writeFill(XmlWriter& w, const Fill& f) {
    w.open("fill");
    w.open("patternFill");
    std::string name = patternName(f.pattern);
    w.attr("patternType", name);
    if (f.pattern == xl::Solid) {
        writeColor(w, "fgColor", f.color, false);
        if (f.patternColor.kind == Color::Kind::Automatic) {
            w.open("bgColor");
            w.attr("indexed", 64);
            w.close("bgColor");
        } else {
            writeColor(w, "bgColor", f.patternColor, false);
        }
    } else if (f.pattern != xl::None) {
        // Patterned fills: the pattern's colour is the foreground, the interior colour the
        // background.
        if (f.patternColor.kind == Color::Kind::Automatic) {
            w.open("fgColor");
            w.attr("indexed", 64);
            w.close("fgColor");
        } else {
            writeColor(w, "fgColor", f.patternColor, false);
        }
        writeColor(w, "bgColor", f.color, false);
    }
    w.close("patternFill");
    w.close("fill");
}

Fill readFill(const pugi::xml_node& n) {
    Fill f;
    pugi::xml_node p = n.child("patternFill");
    if (!p) return f;  // gradient fills are not modelled
    std::string_view type = p.attribute("patternType").value();
    // A patternFill without a type but with a colour is solid in practice.
    f.pattern = type.empty() ? (p.child("fgColor") ? xl::Solid : xl::None) : patternFromName(type);
    if (f.pattern == xl::Solid) {
        f.color = readColor(p.child("fgColor"));
        Color bg = readColor(p.child("bgColor"));
        if (!(bg.kind == Color::Kind::Indexed && bg.value == 64)) f.patternColor = bg;
    } else if (f.pattern != xl::None) {
        Color fg = readColor(p.child("fgColor"));
        if (!(fg.kind == Color::Kind::Indexed && fg.value == 64)) f.patternColor = fg;
        f.color = readColor(p.child("bgColor"));
    }
    return f;
}

void writeBorderSide(XmlWriter& w, const char* name, const Border& b) {
    w.open(name);
    std::string style = borderStyleName(b);
    if (!style.empty()) {
        w.attr("style", style);
        writeColor(w, "color", b.color, true);
    }
    w.close(name);
}

void writeBorder(XmlWriter& w, const CellFormat& f) {
    w.open("border");
    bool down = !borderStyleName(f.diagonalDown).empty();
    bool up = !borderStyleName(f.diagonalUp).empty();
    if (up) w.attr("diagonalUp", 1);
    if (down) w.attr("diagonalDown", 1);
    writeBorderSide(w, "left", f.left);
    writeBorderSide(w, "right", f.right);
    writeBorderSide(w, "top", f.top);
    writeBorderSide(w, "bottom", f.bottom);
    // The file has one diagonal line style for both diagonals.
    writeBorderSide(w, "diagonal", down ? f.diagonalDown : up ? f.diagonalUp : Border{});
    w.close("border");
}

Border readBorderSide(const pugi::xml_node& n) {
    Border b;
    if (!n) return b;
    std::string_view style = n.attribute("style").value();
    if (style.empty() || style == "none") return b;
    setBorderFromName(style, b);
    b.color = readColor(n.child("color"));
    return b;
}

void readBorder(const pugi::xml_node& n, CellFormat& f) {
    f.left = readBorderSide(n.child("left") ? n.child("left") : n.child("start"));
    f.right = readBorderSide(n.child("right") ? n.child("right") : n.child("end"));
    f.top = readBorderSide(n.child("top"));
    f.bottom = readBorderSide(n.child("bottom"));
    Border diag = readBorderSide(n.child("diagonal"));
    if (attrBool(n, "diagonalDown", false)) f.diagonalDown = diag;
    if (attrBool(n, "diagonalUp", false)) f.diagonalUp = diag;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Mappings

std::string borderStyleName(const Border& b) {
    switch (b.lineStyle) {
        case xl::Continuous:
            if (b.weight == xl::Hairline) return "hair";
            if (b.weight == xl::Medium) return "medium";
            if (b.weight == xl::Thick) return "thick";
            return "thin";
        case xl::Dash: return b.weight == xl::Medium || b.weight == xl::Thick ? "mediumDashed" : "dashed";
        case xl::Dot: return "dotted";
        case xl::Double: return "double";
        case kDashDot: return b.weight == xl::Medium || b.weight == xl::Thick ? "mediumDashDot" : "dashDot";
        case kDashDotDot:
            return b.weight == xl::Medium || b.weight == xl::Thick ? "mediumDashDotDot" : "dashDotDot";
        case kSlantDashDot: return "slantDashDot";
        default: return "";
    }
}

void setBorderFromName(std::string_view n, Border& b) {
    struct E {
        const char* name;
        int style, weight;
    };
    static const E table[] = {
        {"hair", xl::Continuous, xl::Hairline},  {"thin", xl::Continuous, xl::Thin},
        {"medium", xl::Continuous, xl::Medium},  {"thick", xl::Continuous, xl::Thick},
        {"dashed", xl::Dash, xl::Thin},          {"mediumDashed", xl::Dash, xl::Medium},
        {"dotted", xl::Dot, xl::Thin},           {"double", xl::Double, xl::Thin},
        {"dashDot", kDashDot, xl::Thin},         {"mediumDashDot", kDashDot, xl::Medium},
        {"dashDotDot", kDashDotDot, xl::Thin},   {"mediumDashDotDot", kDashDotDot, xl::Medium},
        {"slantDashDot", kSlantDashDot, xl::Medium},
    };
    for (const E& e : table)
        if (n == e.name) {
            b.lineStyle = e.style;
            b.weight = e.weight;
            return;
        }
    b = Border{};
}

std::string patternName(int pattern) {
    for (const auto& p : kPatterns)
        if (p.code == pattern) return p.name;
    return "solid";
}

int patternFromName(std::string_view name) {
    for (const auto& p : kPatterns)
        if (name == p.name) return p.code;
    return xl::None;
}

int builtinNumFmtId(std::string_view code) {
    for (int id : kWrittenBuiltins)
        if (builtinNumFmtCode(id) == code) return id;
    return -1;
}

std::string builtinNumFmtCode(int id) {
    for (const auto& e : kBuiltinNumFmts)
        if (e.id == id) return e.code;
    return "";
}

Color readColor(const pugi::xml_node& n) {
    if (!n) return Color::automatic();
    if (attrBool(n, "auto", false)) return Color::automatic();
    if (pugi::xml_attribute a = n.attribute("rgb")) {
        uint32_t v = static_cast<uint32_t>(std::strtoul(a.value(), nullptr, 16));
        return Color::fromRgb(v & 0xFFFFFFu);
    }
    if (pugi::xml_attribute a = n.attribute("indexed")) {
        int i = a.as_int();
        // The file's 0..7 are the legacy copies of the first eight palette colours, 8..63 the
        // 56-colour palette; 64, 65 and higher stay as they are.
        if (i >= 0 && i <= 7) return Color{Color::Kind::Indexed, static_cast<uint32_t>(i + 1), 0};
        if (i >= 8 && i <= 63) return Color{Color::Kind::Indexed, static_cast<uint32_t>(i - 7), 0};
        return Color{Color::Kind::Indexed, static_cast<uint32_t>(i), 0};
    }
    if (pugi::xml_attribute a = n.attribute("theme"))
        return Color{Color::Kind::Theme, static_cast<uint32_t>(a.as_int()),
                     attrDouble(n, "tint", 0)};
    return Color::automatic();
}

void writeColor(XmlWriter& w, std::string_view name, const Color& c, bool writeAuto) {
    switch (c.kind) {
        case Color::Kind::Automatic:
            if (!writeAuto) return;
            w.open(name);
            w.attr("auto", 1);
            break;
        case Color::Kind::Indexed:
            w.open(name);
            w.attr("indexed", c.value >= 1 && c.value <= 56 ? c.value + 7 : c.value);
            break;
        case Color::Kind::Rgb:
            w.open(name);
            w.attr("rgb", hex6(c.value));
            break;
        case Color::Kind::Theme:
            w.open(name);
            w.attr("theme", c.value);
            if (c.tint != 0) w.attrNum("tint", c.tint);
            break;
    }
    w.close(name);
}

Font readFont(const pugi::xml_node& n) {
    Font f;
    auto flag = [&](const char* name) {
        pugi::xml_node c = n.child(name);
        return c && attrBool(c, "val", true);
    };
    f.bold = flag("b");
    f.italic = flag("i");
    f.strike = flag("strike");
    if (pugi::xml_node u = n.child("u")) {
        std::string_view v = u.attribute("val").value();
        f.underline = v != "none";
    }
    if (pugi::xml_node sz = n.child("sz")) f.size = attrDouble(sz, "val", f.size);
    pugi::xml_node name = n.child("name");
    if (!name) name = n.child("rFont");
    if (name) f.name = name.attribute("val").value();
    f.color = readColor(n.child("color"));
    return f;
}

void writeFontChildren(XmlWriter& w, const Font& f, std::string_view nameElement) {
    if (f.bold) { w.open("b"); w.close("b"); }
    if (f.italic) { w.open("i"); w.close("i"); }
    if (f.strike) { w.open("strike"); w.close("strike"); }
    if (f.underline) { w.open("u"); w.close("u"); }
    w.open("sz");
    w.attrNum("val", f.size);
    w.close("sz");
    writeColor(w, "color", f.color, false);
    w.open(nameElement);
    w.attr("val", f.name);
    w.close(nameElement);
}

// ---------------------------------------------------------------------------------------------
// Reading

std::vector<CellFormat> readStyles(std::string_view xml, StylesExtras* extras) {
    pugi::xml_document doc;
    parseXml(doc, xml);
    pugi::xml_node root = doc.document_element();

    std::map<int, std::string> numFmts;
    for (pugi::xml_node n : root.child("numFmts").children("numFmt"))
        numFmts[attrInt(n, "numFmtId", 0)] = n.attribute("formatCode").value();
    std::vector<Font> fonts;
    for (pugi::xml_node n : root.child("fonts").children("font")) fonts.push_back(readFont(n));
    std::vector<Fill> fills;
    for (pugi::xml_node n : root.child("fills").children("fill")) fills.push_back(readFill(n));
    std::vector<pugi::xml_node> borders;
    for (pugi::xml_node n : root.child("borders").children("border")) borders.push_back(n);

    std::vector<CellFormat> out;
    for (pugi::xml_node xf : root.child("cellXfs").children("xf")) {
        CellFormat f;
        size_t font = static_cast<size_t>(attrInt(xf, "fontId", 0));
        if (font < fonts.size()) f.font = fonts[font];
        size_t fill = static_cast<size_t>(attrInt(xf, "fillId", 0));
        if (fill < fills.size()) f.fill = fills[fill];
        size_t border = static_cast<size_t>(attrInt(xf, "borderId", 0));
        if (border < borders.size()) readBorder(borders[border], f);
        int numFmt = attrInt(xf, "numFmtId", 0);
        auto it = numFmts.find(numFmt);
        std::string code = it != numFmts.end() ? it->second : builtinNumFmtCode(numFmt);
        f.numberFormat = code.empty() ? "General" : code;
        if (pugi::xml_node a = xf.child("alignment")) {
            f.align.horizontal = horizontalFromName(a.attribute("horizontal").value());
            f.align.vertical = verticalFromName(a.attribute("vertical").value());
            f.align.wrap = attrBool(a, "wrapText", false);
            f.align.shrink = attrBool(a, "shrinkToFit", false);
            f.align.indent = attrInt(a, "indent", 0);
            f.align.orientation = orientationFromRotation(attrInt(a, "textRotation", 0));
        }
        if (pugi::xml_node p = xf.child("protection")) {
            f.locked = attrBool(p, "locked", true);
            f.formulaHidden = attrBool(p, "hidden", false);
        }
        out.push_back(std::move(f));
    }
    if (extras) {
        extras->root = RootAttributes::of(root);
        extras->kept.clear();
        for (pugi::xml_node n : root.children()) {
            std::string_view name = n.name();
            if (name == "dxfs" || name == "tableStyles" || name == "colors" || name == "extLst")
                extras->kept.push_back({std::string(name), outerXml(n)});
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Writing

std::string writeStyles(const StyleTable& table, const StylesExtras* extras) {
    // Deduplicate the components by their XML text.
    std::string scratch;
    auto keyOf = [&](auto&& writeFn) {
        scratch.clear();
        XmlWriter w(scratch);
        writeFn(w);
        return scratch;
    };

    std::vector<std::string> fontXml, fillXml, borderXml;
    std::unordered_map<std::string, int> fontIds, fillIds, borderIds;
    std::map<std::string, int> customFmts;  // code -> id
    std::vector<std::pair<int, std::string>> customFmtList;
    struct Xf {
        int numFmt, font, fill, border;
    };
    std::vector<Xf> xfs;
    xfs.reserve(table.size());

    auto intern = [](std::vector<std::string>& list, std::unordered_map<std::string, int>& ids,
                     const std::string& xml) {
        auto it = ids.find(xml);
        if (it != ids.end()) return it->second;
        int id = static_cast<int>(list.size());
        ids.emplace(xml, id);
        list.push_back(xml);
        return id;
    };

    // Every styles part starts with the fills "none" and "gray125".
    intern(fillXml, fillIds, keyOf([](XmlWriter& w) { writeFill(w, Fill{}); }));
    {
        std::string gray = "<fill><patternFill patternType=\"gray125\"/></fill>";
        fillXml.push_back(gray);
    }

    for (size_t i = 0; i < table.size(); ++i) {
        const CellFormat& f = table.get(static_cast<uint32_t>(i));
        Xf xf{};
        xf.font = intern(fontXml, fontIds, keyOf([&](XmlWriter& w) {
                             w.open("font");
                             writeFontChildren(w, f.font, "name");
                             w.close("font");
                         }));
        xf.fill = f.fill.pattern == xl::None
                      ? kFillNone
                      : intern(fillXml, fillIds, keyOf([&](XmlWriter& w) { writeFill(w, f.fill); }));
        if (f.fill.pattern == 17 && f.fill.color.kind == Color::Kind::Automatic &&
            f.fill.patternColor.kind == Color::Kind::Automatic)
            xf.fill = kFillGray125;
        xf.border = intern(borderXml, borderIds, keyOf([&](XmlWriter& w) { writeBorder(w, f); }));
        int id = builtinNumFmtId(f.numberFormat);
        if (id < 0) {
            auto it = customFmts.find(f.numberFormat);
            if (it == customFmts.end()) {
                id = 164 + static_cast<int>(customFmtList.size());
                customFmts.emplace(f.numberFormat, id);
                customFmtList.emplace_back(id, f.numberFormat);
            } else {
                id = it->second;
            }
        }
        xf.numFmt = id;
        xfs.push_back(xf);
    }
    if (borderXml.empty()) borderXml.push_back("<border><left/><right/><top/><bottom/><diagonal/></border>");

    std::string out;
    out.reserve(256 + 64 * (fontXml.size() + fillXml.size() + borderXml.size() + xfs.size()));
    XmlWriter w(out);
    w.declaration();
    w.open("styleSheet");
    w.attr("xmlns", "http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    if (extras) extras->root.write(w, {"xmlns"});

    if (!customFmtList.empty()) {
        w.open("numFmts");
        w.attr("count", customFmtList.size());
        for (const auto& [id, code] : customFmtList) {
            w.open("numFmt");
            w.attr("numFmtId", id);
            w.attr("formatCode", code);
            w.close("numFmt");
        }
        w.close("numFmts");
    }
    auto list = [&](const char* name, const std::vector<std::string>& items) {
        w.open(name);
        w.attr("count", items.size());
        for (const auto& x : items) w.raw(x);
        w.close(name);
    };
    list("fonts", fontXml);
    list("fills", fillXml);
    list("borders", borderXml);
    w.raw("<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
          "</cellStyleXfs>");

    w.open("cellXfs");
    w.attr("count", xfs.size());
    for (size_t i = 0; i < xfs.size(); ++i) {
        const CellFormat& f = table.get(static_cast<uint32_t>(i));
        const Xf& x = xfs[i];
        w.open("xf");
        w.attr("numFmtId", x.numFmt);
        w.attr("fontId", x.font);
        w.attr("fillId", x.fill);
        w.attr("borderId", x.border);
        w.attr("xfId", 0);
        if (x.numFmt != 0) w.attr("applyNumberFormat", 1);
        if (x.font != 0) w.attr("applyFont", 1);
        if (x.fill != 0) w.attr("applyFill", 1);
        if (x.border != 0) w.attr("applyBorder", 1);
        const Alignment& a = f.align;
        bool align = a != Alignment{};
        bool protect = !f.locked || f.formulaHidden;
        if (align) w.attr("applyAlignment", 1);
        if (protect) w.attr("applyProtection", 1);
        if (align) {
            w.open("alignment");
            if (const char* h = horizontalName(a.horizontal)) w.attr("horizontal", h);
            if (const char* v = verticalName(a.vertical)) w.attr("vertical", v);
            if (int r = textRotation(a.orientation)) w.attr("textRotation", r);
            if (a.wrap) w.attr("wrapText", 1);
            if (a.indent > 0) w.attr("indent", a.indent);
            if (a.shrink) w.attr("shrinkToFit", 1);
            w.close("alignment");
        }
        if (protect) {
            w.open("protection");
            if (!f.locked) w.attr("locked", 0);
            if (f.formulaHidden) w.attr("hidden", 1);
            w.close("protection");
        }
        w.close("xf");
    }
    w.close("cellXfs");
    w.raw("<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>");

    auto kept = [&](std::string_view name) -> const std::string* {
        if (!extras) return nullptr;
        for (const auto& k : extras->kept)
            if (k.name == name) return &k.xml;
        return nullptr;
    };
    if (auto* x = kept("dxfs")) w.raw(*x);
    else w.raw("<dxfs count=\"0\"/>");
    if (auto* x = kept("tableStyles")) w.raw(*x);
    else w.raw("<tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" defaultPivotStyle=\"PivotStyleLight16\"/>");
    if (auto* x = kept("colors")) w.raw(*x);
    if (auto* x = kept("extLst")) w.raw(*x);
    w.close("styleSheet");
    return out;
}

}  // namespace wb::ooxml
