// The styles part (xl/styles.xml): number formats, fonts, fills, borders and cell formats.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/model/style.h"
#include "workbook/ooxml/xml_reader.h"
#include "workbook/ooxml/xml_writer.h"

namespace pugi {
class xml_node;
}

namespace wb::ooxml {

// What the styles part of a read file holds beyond the model's cell formats: differential
// formats (used by conditional formats), a custom palette, table styles and extensions. Written
// back as they were.
struct StylesExtras {
    RootAttributes root;
    std::vector<PreservedElement> kept;  // dxfs, tableStyles, colors, extLst
};

// Reads the cell formats of a styles part, in the file's order, so that index i of the result is
// the file's cell format i. Throws std::runtime_error on malformed XML.
std::vector<CellFormat> readStyles(std::string_view xml, StylesExtras* extras);

// The styles part for the table: fonts, fills, borders and number formats deduplicated, one
// cell format per table entry in table order.
std::string writeStyles(const StyleTable& table, const StylesExtras* extras);

// Colours, fonts and the file's names for the model's codes, shared with the other parts that
// write run fonts (shared strings, comments).
Color readColor(const pugi::xml_node& n);
// <name .../> for the colour; nothing for automatic unless writeAuto.
void writeColor(XmlWriter& w, std::string_view name, const Color& c, bool writeAuto);
Font readFont(const pugi::xml_node& n);  // a <font> or <rPr> element
// The font's child elements (without the enclosing element); `nameElement` is "name" in the
// styles part and "rFont" in text runs.
void writeFontChildren(XmlWriter& w, const Font& f, std::string_view nameElement);

// The file's border style name for a line style and weight ("" for none), and back.
std::string borderStyleName(const Border& b);
void setBorderFromName(std::string_view name, Border& b);
// The file's pattern name for an interior pattern code, and back.
std::string patternName(int pattern);
int patternFromName(std::string_view name);
// Built-in number format ids and their codes (-1 / "" when unknown).
int builtinNumFmtId(std::string_view code);
std::string builtinNumFmtCode(int id);

}  // namespace wb::ooxml
