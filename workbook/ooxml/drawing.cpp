#include "workbook/ooxml/drawing.h"

#include <cmath>
#include <pugixml.hpp>

#include "workbook/formula/formula.h"
#include "workbook/model/worksheet.h"
#include "workbook/ooxml/objects_util.h"

namespace wb::ooxml {

namespace {

int64_t toEmu(double points) { return static_cast<int64_t>(std::llround(points * kEmuPerPoint)); }

// The 0-based column containing the horizontal position x (points) and the offset into it.
void locateColumn(const Worksheet& ws, double x, int& col, int64_t& off) {
    double left = 0;
    int c = 1;
    for (; c < formula::kMaxCol; ++c) {
        double w = ws.columnWidthPoints(c);
        if (x < left + w - 1e-9) break;
        left += w;
    }
    col = c - 1;
    off = std::max<int64_t>(0, toEmu(x - left));
}

void locateRow(const Worksheet& ws, double y, int& row, int64_t& off) {
    double top = 0;
    int r = 1;
    for (; r < formula::kMaxRow; ++r) {
        double h = ws.rowHeightPoints(r);
        if (y < top + h - 1e-9) break;
        top += h;
    }
    row = r - 1;
    off = std::max<int64_t>(0, toEmu(y - top));
}

void writePoint(std::string& out, const char* tag, const AnchorPoint& p) {
    out += "<xdr:";
    out += tag;
    out += "><xdr:col>" + std::to_string(p.col) + "</xdr:col><xdr:colOff>" +
           std::to_string(p.colOff) + "</xdr:colOff><xdr:row>" + std::to_string(p.row) +
           "</xdr:row><xdr:rowOff>" + std::to_string(p.rowOff) + "</xdr:rowOff></xdr:";
    out += tag;
    out += '>';
}

AnchorPoint readPoint(const pugi::xml_node& n) {
    AnchorPoint p;
    p.col = localChild(n, "col").text().as_int();
    p.colOff = localChild(n, "colOff").text().as_llong();
    p.row = localChild(n, "row").text().as_int();
    p.rowOff = localChild(n, "rowOff").text().as_llong();
    return p;
}

}  // namespace

CellAnchor anchorOf(const Worksheet& ws, double left, double top, double width, double height) {
    CellAnchor a;
    locateColumn(ws, left, a.from.col, a.from.colOff);
    locateRow(ws, top, a.from.row, a.from.rowOff);
    locateColumn(ws, left + width, a.to.col, a.to.colOff);
    locateRow(ws, top + height, a.to.row, a.to.rowOff);
    return a;
}

void positionOf(const Worksheet& ws, const CellAnchor& a, double& left, double& top,
                double& width, double& height) {
    left = ws.columnLeft(a.from.col + 1) + static_cast<double>(a.from.colOff) / kEmuPerPoint;
    top = ws.rowTop(a.from.row + 1) + static_cast<double>(a.from.rowOff) / kEmuPerPoint;
    double right = ws.columnLeft(a.to.col + 1) + static_cast<double>(a.to.colOff) / kEmuPerPoint;
    double bottom = ws.rowTop(a.to.row + 1) + static_cast<double>(a.to.rowOff) / kEmuPerPoint;
    width = right - left;
    height = bottom - top;
}

std::string drawingPart(const Worksheet& ws, const std::vector<std::string>& chartRelIds) {
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    out += "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\""
           " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">";
    for (size_t i = 0; i < ws.charts.size() && i < chartRelIds.size(); ++i) {
        const Chart& ch = ws.charts[i];
        CellAnchor a = anchorOf(ws, ch.left, ch.top, ch.width, ch.height);
        out += "<xdr:twoCellAnchor>";
        writePoint(out, "from", a.from);
        writePoint(out, "to", a.to);
        out += "<xdr:graphicFrame macro=\"\"><xdr:nvGraphicFramePr><xdr:cNvPr id=\"" +
               std::to_string(i + 2) + "\" name=\"";
        appendXmlEscaped(out, ch.name, true);
        out += "\"/><xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr>"
               "<xdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/></xdr:xfrm>"
               "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\">"
               "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\""
               " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
               " r:id=\"";
        appendXmlEscaped(out, chartRelIds[i], true);
        out += "\"/></a:graphicData></a:graphic></xdr:graphicFrame><xdr:clientData/>"
               "</xdr:twoCellAnchor>";
    }
    out += "</xdr:wsDr>";
    return out;
}

std::vector<DrawingChartRef> readDrawingPart(std::string_view xml) {
    std::vector<DrawingChartRef> refs;
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size())) return refs;
    pugi::xml_node root = doc.document_element();
    for (pugi::xml_node anchor : root.children()) {
        if (localName(anchor) != "twoCellAnchor") continue;
        pugi::xml_node frame = localChild(anchor, "graphicFrame");
        if (!frame) continue;
        // graphicFrame/graphic/graphicData/chart
        pugi::xml_node data = localChild(localChild(frame, "graphic"), "graphicData");
        pugi::xml_node chart = localChild(data, "chart");
        if (!chart) continue;
        DrawingChartRef r;
        r.anchor.from = readPoint(localChild(anchor, "from"));
        r.anchor.to = readPoint(localChild(anchor, "to"));
        r.name = localChild(localChild(frame, "nvGraphicFramePr"), "cNvPr").attribute("name").value();
        r.relId = attributeLocal(chart, "id");
        refs.push_back(std::move(r));
    }
    return refs;
}

}  // namespace wb::ooxml
