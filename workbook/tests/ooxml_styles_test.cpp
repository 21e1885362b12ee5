// The styles part: cell formats written from the style table read back equal, with the file's
// encodings of colours, border lines, patterns and number formats.
#include <gtest/gtest.h>

#include "workbook/ooxml/styles.h"

using namespace wb;
using wb::ooxml::readStyles;
using wb::ooxml::writeStyles;

namespace {

CellFormat withFont(void (*f)(Font&)) {
    CellFormat c;
    f(c.font);
    return c;
}

std::vector<CellFormat> sampleFormats() {
    std::vector<CellFormat> v;
    v.push_back(CellFormat{});
    v.push_back(withFont([](Font& f) { f.bold = true; f.size = 14; f.name = "Times New Roman"; }));
    v.push_back(withFont([](Font& f) { f.italic = f.underline = f.strike = true; }));
    // Font colours of every kind.
    v.push_back(withFont([](Font& f) { f.color = Color::fromBgr(0x0000FF); }));  // red
    v.push_back(withFont([](Font& f) { f.color = Color::indexed(5); }));
    v.push_back(withFont([](Font& f) { f.color = Color::indexed(56); }));
    v.push_back(withFont([](Font& f) { f.color = Color{Color::Kind::Indexed, 64, 0}; }));
    v.push_back(withFont([](Font& f) { f.color = Color{Color::Kind::Theme, 4, -0.25}; }));
    // Fills: solid palette and explicit colours, a pattern with its colour.
    CellFormat f;
    f.fill = Fill{xl::Solid, Color::indexed(15), Color::automatic()};
    v.push_back(f);
    f.fill = Fill{xl::Solid, Color::fromBgr(0x102030), Color::automatic()};
    v.push_back(f);
    f.fill = Fill{-4125, Color::indexed(2), Color::indexed(43)};  // 50% grey pattern
    v.push_back(f);
    f = CellFormat{};
    // Borders: every line style and weight the file names, on every side.
    const std::pair<int, int> lines[] = {
        {xl::Continuous, xl::Hairline}, {xl::Continuous, xl::Thin}, {xl::Continuous, xl::Medium},
        {xl::Continuous, xl::Thick},    {xl::Dash, xl::Thin},       {xl::Dash, xl::Medium},
        {xl::Dot, xl::Thin},            {xl::Double, xl::Thin},     {4, xl::Thin},
        {4, xl::Medium},                {5, xl::Thin},              {5, xl::Medium},
        {13, xl::Medium},
    };
    for (auto [style, weight] : lines) {
        CellFormat b;
        b.left = Border{style, weight, Color::automatic()};
        b.bottom = Border{style, weight, Color::indexed(10)};
        v.push_back(b);
    }
    CellFormat d;
    d.diagonalDown = d.diagonalUp = Border{xl::Continuous, xl::Medium, Color::fromRgb(0x00FF00)};
    d.top = Border{xl::Continuous, xl::Thin, Color::indexed(3)};
    d.right = Border{xl::Double, xl::Thin, Color::automatic()};
    v.push_back(d);
    // Alignment.
    for (int h : {xl::Left, xl::Center, xl::Right, xl::Justify, xl::CenterAcrossSelection}) {
        CellFormat a;
        a.align.horizontal = h;
        v.push_back(a);
    }
    for (int vert : {xl::Top, xl::Center, xl::Justify}) {
        CellFormat a;
        a.align.vertical = vert;
        v.push_back(a);
    }
    for (int o : {45, 90, -45, -90, -4166}) {
        CellFormat a;
        a.align.orientation = o;
        v.push_back(a);
    }
    CellFormat w;
    w.align.wrap = true;
    w.align.indent = 2;
    w.align.horizontal = xl::Left;
    v.push_back(w);
    CellFormat s;
    s.align.shrink = true;
    v.push_back(s);
    // Number formats, built-in and custom, and protection.
    for (const char* nf : {"0.00", "0%", "@", "#,##0.0", "0.000", "mm/dd/yyyy", "\"$\"#,##0_);(\"$\"#,##0)"}) {
        CellFormat n;
        n.numberFormat = nf;
        v.push_back(n);
    }
    CellFormat p;
    p.locked = false;
    p.formulaHidden = true;
    v.push_back(p);
    return v;
}

}  // namespace

TEST(Styles, EveryFormatReadsBackEqual) {
    std::vector<CellFormat> formats = sampleFormats();
    StyleTable table;
    table.reset(formats);
    std::string xml = writeStyles(table, nullptr);
    std::vector<CellFormat> back = readStyles(xml, nullptr);
    ASSERT_EQ(back.size(), formats.size());
    for (size_t i = 0; i < formats.size(); ++i) EXPECT_EQ(back[i], formats[i]) << "format " << i;
}

TEST(Styles, FileEncodingsOfColoursLinesAndFormats) {
    StyleTable table;
    CellFormat red;
    red.font.color = Color::fromBgr(0x0000FF);   // BGR red
    red.fill = Fill{xl::Solid, Color::indexed(15), Color::automatic()};
    red.bottom = Border{xl::Continuous, xl::Medium, Color::automatic()};
    red.numberFormat = "0.000";
    table.intern(red);
    CellFormat again = red;
    again.numberFormat = "0.0000";
    table.intern(again);
    std::string xml = writeStyles(table, nullptr);
    auto has = [&](const char* s) { return xml.find(s) != std::string::npos; };
    EXPECT_TRUE(has("<color rgb=\"FFFF0000\"/>")) << xml;
    // Palette colour 15 (25% grey) is the file's indexed 22.
    EXPECT_TRUE(has("<fgColor indexed=\"22\"/>")) << xml;
    EXPECT_TRUE(has("<bottom style=\"medium\"><color auto=\"1\"/></bottom>")) << xml;
    EXPECT_TRUE(has("<numFmt numFmtId=\"164\" formatCode=\"0.000\"/>")) << xml;
    EXPECT_TRUE(has("<numFmt numFmtId=\"165\" formatCode=\"0.0000\"/>")) << xml;
    // The two default fills come first; equal fonts, fills and borders are written once.
    EXPECT_TRUE(has("<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
                    "<fill><patternFill patternType=\"gray125\"/></fill>")) << xml;
    EXPECT_TRUE(has("<fonts count=\"2\">")) << xml;
    EXPECT_TRUE(has("<cellXfs count=\"3\">")) << xml;
}

TEST(Styles, ReadsOtherWritersPalettesAndDefaults) {
    // The file's legacy colour entries 0..7, theme colours, built-in number formats, and an
    // xf without alignment.
    const char* xml = R"(<?xml version="1.0"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<fonts count="2"><font><sz val="11"/><color theme="1"/><name val="Calibri"/></font>
<font><b/><sz val="10"/><color indexed="2"/><name val="Arial"/></font></fonts>
<fills count="3"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill>
<fill><patternFill patternType="solid"><fgColor indexed="13"/><bgColor indexed="64"/></patternFill></fill></fills>
<borders count="2"><border><left/><right/><top/><bottom/><diagonal/></border>
<border diagonalUp="1"><left style="thin"><color indexed="64"/></left><diagonal style="dashed"/></border></borders>
<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/>
<xf numFmtId="10" fontId="1" fillId="2" borderId="1"/>
<xf numFmtId="14" fontId="0" fillId="0" borderId="0"><alignment horizontal="centerContinuous" textRotation="135"/></xf></cellXfs>
<dxfs count="1"><dxf><font><b/></font></dxf></dxfs>
</styleSheet>)";
    ooxml::StylesExtras extras;
    auto f = readStyles(xml, &extras);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].font.name, "Calibri");
    EXPECT_EQ(f[0].font.size, 11);
    EXPECT_EQ(f[0].font.color, (Color{Color::Kind::Theme, 1, 0}));
    EXPECT_TRUE(f[1].font.bold);
    EXPECT_EQ(f[1].font.color, Color::indexed(3));  // the file's 2 is red, palette colour 3
    EXPECT_EQ(f[1].fill.pattern, xl::Solid);
    EXPECT_EQ(f[1].fill.color, Color::indexed(6));  // the file's 13 is palette colour 6
    EXPECT_EQ(f[1].numberFormat, "0.00%");
    EXPECT_EQ(f[1].left.lineStyle, xl::Continuous);
    EXPECT_EQ(f[1].left.weight, xl::Thin);
    EXPECT_EQ(f[1].diagonalUp.lineStyle, xl::Dash);
    EXPECT_EQ(f[1].diagonalDown.lineStyle, xl::None);
    EXPECT_EQ(f[2].numberFormat, "mm-dd-yy");
    EXPECT_EQ(f[2].align.horizontal, xl::CenterAcrossSelection);
    EXPECT_EQ(f[2].align.orientation, -45);
    // Differential formats (of conditional formats) are kept for writing back.
    StyleTable table;
    table.reset(f);
    EXPECT_NE(writeStyles(table, &extras).find("<dxfs count=\"1\"><dxf><font><b/></font></dxf></dxfs>"),
              std::string::npos);
}
