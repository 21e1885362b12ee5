#include "workbook/ooxml/comments.h"

#include <pugixml.hpp>

#include <cmath>
#include <map>

#include "workbook/formula/formula.h"
#include "workbook/ooxml/xml_reader.h"
#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

std::vector<ReadComment> readComments(std::string_view xml) {
    pugi::xml_document doc;
    parseXml(doc, xml);
    pugi::xml_node root = doc.document_element();
    std::vector<std::string> authors;
    for (pugi::xml_node a : root.child("authors").children("author")) authors.push_back(a.child_value());
    std::vector<ReadComment> out;
    for (pugi::xml_node c : root.child("commentList").children("comment")) {
        ReadComment rc;
        if (!parseCellRef(c.attribute("ref").value(), rc.row, rc.col)) continue;
        size_t author = static_cast<size_t>(attrInt(c, "authorId", 0));
        if (author < authors.size()) rc.author = authors[author];
        pugi::xml_node text = c.child("text");
        if (pugi::xml_node t = text.child("t")) rc.text += t.child_value();
        for (pugi::xml_node r : text.children("r")) rc.text += r.child("t").child_value();
        rc.text = decodeExcelEscapes(rc.text);
        out.push_back(std::move(rc));
    }
    return out;
}

std::string writeComments(const Worksheet& ws) {
    std::map<std::string, int> authorIds;
    std::vector<std::string> authors;
    for (const auto& [pos, c] : ws.comments)
        if (authorIds.emplace(c.author, static_cast<int>(authors.size())).second)
            authors.push_back(c.author);

    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.open("comments");
    w.attr("xmlns", "http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    w.open("authors");
    for (const auto& a : authors) w.element("author", a, true);
    w.close("authors");
    w.open("commentList");
    for (const auto& [pos, c] : ws.comments) {
        w.open("comment");
        w.attr("ref", formula::cellAddress(pos.first, pos.second));
        w.attr("authorId", authorIds[c.author]);
        w.open("text");
        w.open("r");
        w.raw("<rPr><sz val=\"9\"/><color indexed=\"81\"/><rFont val=\"Tahoma\"/><family val=\"2\"/></rPr>");
        w.textElement("t", c.text);
        w.close("r");
        w.close("text");
        w.close("comment");
    }
    w.close("commentList");
    w.close("comments");
    return out;
}

namespace {

// A point of the sheet in the anchor's terms: 0-based column or row and a pixel offset in it.
struct AnchorPos {
    int index, offset;
};

template <class SizeFn>
AnchorPos locate(double px, int first, SizeFn sizePx) {
    int i = first;
    // Bounded walk: the box spans a few columns or rows at most.
    for (int guard = 0; guard < 1000; ++guard) {
        double size = sizePx(i);
        if (px < size || size < 0) break;
        px -= size;
        ++i;
    }
    return {i - 1, static_cast<int>(std::lround(px))};
}

}  // namespace

void addCommentShapes(const Worksheet& ws, VmlDrawing& vml) {
    if (ws.comments.empty()) return;
    vml.addShapeType("_x0000_t202",
                     "<v:shapetype id=\"_x0000_t202\" coordsize=\"21600,21600\" o:spt=\"202\" "
                     "path=\"m,l,21600r21600,l21600,xe\"><v:stroke joinstyle=\"miter\"/>"
                     "<v:path gradientshapeok=\"t\" o:connecttype=\"rect\"/></v:shapetype>");
    auto colPx = [&](int c) { return ws.columnWidthPoints(c) / 0.75; };
    auto rowPx = [&](int r) { return ws.rowHeightPoints(r) / 0.75; };
    int z = 1;
    for (const auto& [pos, c] : ws.comments) {
        auto [row, col] = pos;
        // The box sits right of the cell's column, starting a row above the cell.
        int topRow = row > 1 ? row - 1 : 1;
        double leftPx = ws.columnLeft(col + 1) / 0.75 + 15;
        double topPx = ws.rowTop(topRow) / 0.75 + (row > 1 ? 10 : 2);  // as the anchor below
        double scale = c.heightScale > 0 ? c.heightScale : 1.0;
        double widthPt = kNoteWidthPt, heightPt = kNoteHeightPt * scale;
        double widthPx = widthPt / 0.75, heightPx = heightPt / 0.75;

        AnchorPos l = locate(15, col + 1, colPx);
        AnchorPos r = locate(15 + widthPx, col + 1, colPx);
        double topOffset = row > 1 ? 10 : 2;
        AnchorPos t = locate(topOffset, topRow, rowPx);
        AnchorPos b = locate(topOffset + heightPx, topRow, rowPx);

        std::string s;
        XmlWriter w(s);
        int id = vml.allocateShapeId();
        w.open("v:shape");
        w.attr("id", vmlShapeId(id));
        w.attr("type", "#_x0000_t202");
        std::string style = "position:absolute;margin-left:";
        appendNumber(style, std::round(leftPx * 0.75 * 100) / 100);
        style += "pt;margin-top:";
        appendNumber(style, std::round(topPx * 0.75 * 100) / 100);
        style += "pt;width:";
        appendNumber(style, widthPt);
        style += "pt;height:";
        appendNumber(style, std::round(heightPt * 100) / 100);
        style += "pt;z-index:" + std::to_string(z++);
        style += c.visible ? ";visibility:visible" : ";visibility:hidden";
        w.attr("style", style);
        w.attr("fillcolor", "#ffffe1");
        w.attr("o:insetmode", "auto");
        w.raw("<v:fill color2=\"#ffffe1\"/><v:shadow on=\"t\" color=\"black\" obscured=\"t\"/>"
              "<v:path o:connecttype=\"none\"/><v:textbox style=\"mso-direction-alt:auto\">"
              "<div style=\"text-align:left\"></div></v:textbox>");
        w.open("x:ClientData");
        w.attr("ObjectType", "Note");
        w.raw("<x:MoveWithCells/><x:SizeWithCells/>");
        std::string anchor = std::to_string(l.index) + ", " + std::to_string(l.offset) + ", " +
                             std::to_string(t.index) + ", " + std::to_string(t.offset) + ", " +
                             std::to_string(r.index) + ", " + std::to_string(r.offset) + ", " +
                             std::to_string(b.index) + ", " + std::to_string(b.offset);
        w.element("x:Anchor", anchor);
        w.element("x:AutoFill", "False");
        w.element("x:Row", std::to_string(row - 1));
        w.element("x:Column", std::to_string(col - 1));
        if (c.visible) w.raw("<x:Visible/>");
        w.close("x:ClientData");
        w.close("v:shape");
        vml.addShape(std::move(s));
    }
}

}  // namespace wb::ooxml
