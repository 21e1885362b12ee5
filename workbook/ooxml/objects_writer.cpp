#include "workbook/ooxml/objects_writer.h"

#include <algorithm>
#include <pugixml.hpp>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/chart.h"
#include "workbook/ooxml/controls.h"
#include "workbook/ooxml/drawing.h"
#include "workbook/ooxml/objects_util.h"

namespace wb::ooxml {

namespace {

constexpr const char* kControlShapeType = "_x0000_t201";

// Inserts `inner` before the closing tag of the element `element` (or expands a self-closed one).
std::string insertIntoElement(const std::string& element, const std::string& inner,
                              std::string_view name) {
    auto close = element.rfind("</");
    if (close != std::string::npos) return element.substr(0, close) + inner + element.substr(close);
    auto end = element.rfind("/>");
    if (end == std::string::npos) return element;  // not an element: leave it
    return element.substr(0, end) + ">" + inner + "</" + std::string(name) + ">";
}

void writeControls(SheetWriteContext& ctx, const std::string& folder) {
    const Worksheet& ws = ctx.ws;
    const Font& font = ws.workbook().defaultFont();
    std::string entries;
    for (const Control& c : ws.controls) {
        if (classIdOfProgId(c.progId).empty()) continue;
        if (!ctx.vml.hasShapeType(kControlShapeType))
            ctx.vml.addShapeType(kControlShapeType, vmlControlShapeType());
        const int shapeId = ctx.vml.allocateShapeId();
        const CellAnchor anchor = anchorOf(ws, c.left, c.top, c.width, c.height);

        // The ActiveX part and its binary part, numbered alike where the names are free.
        std::string xmlPart = ctx.parts.uniqueName("xl/activeX/activeX", ".xml");
        std::string binPart = xmlPart.substr(0, xmlPart.size() - 4) + ".bin";
        if (ctx.parts.keptPart(binPart)) binPart = ctx.parts.uniqueName("xl/activeX/activeX", ".bin");
        Relationships axRels;
        std::string binRel =
            axRels.add(std::string(kActiveXBinaryRelType), relativeTarget(partFolder(xmlPart), binPart));
        ctx.parts.add(xmlPart, activeXXmlPart(c, binRel), std::string(kActiveXContentType));
        ctx.parts.add(relsPartName(xmlPart), axRels.write(), "");
        ctx.parts.add(binPart, activeXBinaryPart(c, font), std::string(kActiveXBinaryContentType));

        std::string relId = ctx.rels.add(std::string(kControlRelType), relativeTarget(folder, xmlPart));
        ctx.vml.addShape(vmlControlShape(c, shapeId, anchor));
        entries += controlElement(c, shapeId, relId, anchor);
    }
    if (entries.empty()) return;
    if (ctx.controls.empty())
        ctx.controls.push_back("<controls>" + entries + "</controls>");
    else
        ctx.controls.back() = insertIntoElement(ctx.controls.back(), entries, "controls");
}

// The part a kept <drawing r:id="..."/> element refers to, or "".
std::string keptDrawingPart(const SheetWriteContext& ctx, const std::string& element,
                            std::string& relId, const std::string& folder) {
    pugi::xml_document doc;
    if (!doc.load_buffer(element.data(), element.size())) return {};
    relId = attributeLocal(doc.document_element(), "id");
    const Relationship* r = ctx.rels.findById(relId);
    return r ? resolveTarget(folder, r->target) : std::string();
}

void writeCharts(SheetWriteContext& ctx, const std::string& folder) {
    const Worksheet& ws = ctx.ws;
    if (ws.charts.empty()) return;

    // The drawing part: a kept one gets the new frames, else a new one is made.
    std::string drawingName, keptXml, oldRelId;
    Relationships drawingRels;
    if (!ctx.drawing.empty()) {
        std::string name = keptDrawingPart(ctx, ctx.drawing.back(), oldRelId, folder);
        const std::string* xml = name.empty() ? nullptr : ctx.parts.keptPart(name);
        if (xml) {
            drawingName = name;
            keptXml = *xml;
            if (const std::string* rels = ctx.parts.keptPart(relsPartName(name)))
                drawingRels = Relationships::parse(*rels);
        }
    }
    const bool merging = !drawingName.empty();
    if (!merging) drawingName = ctx.parts.uniqueName("xl/drawings/drawing", ".xml");

    std::vector<std::string> ids;
    for (const Chart& ch : ws.charts) {
        std::string part = ctx.parts.uniqueName("xl/charts/chart", ".xml");
        ctx.parts.add(part, chartPart(ch), std::string(kChartContentType));
        ids.push_back(drawingRels.add(std::string(kChartRelType), relativeTarget(partFolder(drawingName), part)));
    }
    std::string xml = drawingPart(ws, ids);
    if (merging) {
        // Frames after the kept anchors, with object ids above the kept ones.
        int maxId = 1;
        pugi::xml_document doc;
        if (doc.load_buffer(keptXml.data(), keptXml.size()))
            for (pugi::xpath_node n : doc.select_nodes("//*[local-name()='cNvPr']"))
                maxId = std::max(maxId, n.node().attribute("id").as_int());
        std::string frames = xml.substr(xml.find("<xdr:twoCellAnchor"));
        frames = frames.substr(0, frames.rfind("</xdr:wsDr>"));
        for (size_t i = 0; i < ws.charts.size(); ++i) {
            std::string from = "<xdr:cNvPr id=\"" + std::to_string(i + 2) + "\"";
            std::string to = "<xdr:cNvPr id=\"" + std::to_string(maxId + 1 + static_cast<int>(i)) + "\"";
            auto pos = frames.find(from);
            if (pos != std::string::npos) frames.replace(pos, from.size(), to);
        }
        // The kept part may bind the drawing namespace to another prefix: declare ours locally.
        const std::string decl =
            "<xdr:twoCellAnchor xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\""
            " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"";
        for (size_t p = frames.find("<xdr:twoCellAnchor"); p != std::string::npos;
             p = frames.find("<xdr:twoCellAnchor", p + decl.size()))
            frames.replace(p, std::string("<xdr:twoCellAnchor").size(), decl);
        xml = insertIntoElement(keptXml, frames, "xdr:wsDr");
        ctx.parts.add(drawingName, std::move(xml), std::string(kDrawingContentType));
        ctx.parts.add(relsPartName(drawingName), drawingRels.write(), "");
        return;  // the kept <drawing> element stays as it is
    }
    ctx.parts.add(drawingName, std::move(xml), std::string(kDrawingContentType));
    ctx.parts.add(relsPartName(drawingName), drawingRels.write(), "");
    std::string relId = ctx.rels.add(std::string(kDrawingRelType), relativeTarget(folder, drawingName));
    ctx.drawing.clear();
    ctx.drawing.push_back("<drawing r:id=\"" + xmlEscaped(relId) + "\"/>");
}

}  // namespace

void writeControlsAndCharts(SheetWriteContext& ctx) {
    const std::string folder = partFolder(ctx.partName);
    writeControls(ctx, folder);
    writeCharts(ctx, folder);
}

}  // namespace wb::ooxml
