#include "workbook/ooxml/chart.h"

#include <pugixml.hpp>

#include "workbook/formula/formula.h"
#include "workbook/model/objects.h"
#include "workbook/ooxml/objects_util.h"

namespace wb::ooxml {

namespace {

// Axis ids of the column chart's category and value axes (any two distinct numbers).
constexpr const char* kCatAxisId = "50010001";
constexpr const char* kValAxisId = "50010002";

void appendRef(std::string& out, const char* element, const char* refKind, const std::string& f) {
    out += "<c:";
    out += element;
    out += "><c:";
    out += refKind;
    out += "><c:f>";
    appendXmlEscaped(out, f, false);
    out += "</c:f></c:";
    out += refKind;
    out += "></c:";
    out += element;
    out += '>';
}

// The application's default series colours (the accent colours of its default theme). They are
// written out, not left to the theme, so that a reader of a package without a theme part draws
// the series as the application does, rather than not at all.
constexpr const char* kSeriesColors[] = {"4F81BD", "C0504D", "9BBB59", "8064A2", "4BACC6", "F79646"};

std::string solidFill(const char* rgb) {
    return std::string("<c:spPr><a:solidFill><a:srgbClr val=\"") + rgb +
           "\"/></a:solidFill></c:spPr>";
}

// The number of cells of a series' value range ("Graphs!$C$4:$C$13" has 10); 0 when unknown.
int pointCount(const std::string& ref) {
    std::string_view address = ref;
    if (auto bang = address.rfind('!'); bang != std::string_view::npos) address.remove_prefix(bang + 1);
    int r1, c1, r2, c2;
    if (!formula::parseA1Range(address, r1, c1, r2, c2)) return 0;
    return (r2 - r1 + 1) * (c2 - c1 + 1);
}

void appendSeries(std::string& out, const Chart& chart) {
    for (size_t i = 0; i < chart.series.size(); ++i) {
        const ChartSeries& s = chart.series[i];
        out += "<c:ser><c:idx val=\"" + std::to_string(i) + "\"/><c:order val=\"" +
               std::to_string(i) + "\"/>";
        if (!s.name.empty()) appendRef(out, "tx", "strRef", s.name);
        if (chart.chartType == xl::Pie) {
            // Every slice its own colour, as varied colours give them.
            for (int p = 0, n = pointCount(s.values); p < n; ++p)
                out += "<c:dPt><c:idx val=\"" + std::to_string(p) + "\"/><c:bubble3D val=\"0\"/>" +
                       solidFill(kSeriesColors[p % 6]) + "</c:dPt>";
        } else {
            out += solidFill(kSeriesColors[i % 6]);
            out += "<c:invertIfNegative val=\"0\"/>";
        }
        if (!s.categories.empty()) appendRef(out, "cat", "strRef", s.categories);
        appendRef(out, "val", "numRef", s.values);
        out += "</c:ser>";
    }
}

std::string textOf(const pugi::xml_node& n) {
    std::string s;
    for (pugi::xpath_node t : n.select_nodes(".//*[local-name()='t']")) s += t.node().text().get();
    return s;
}

std::string refFormula(const pugi::xml_node& parent) {
    for (const char* kind : {"strRef", "numRef"}) {
        pugi::xml_node r = localChild(parent, kind);
        if (r) return localChild(r, "f").text().get();
    }
    return {};
}

}  // namespace

std::string chartPart(const Chart& chart) {
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    out += "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\""
           " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
           " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
    out += "<c:lang val=\"en-US\"/><c:roundedCorners val=\"0\"/><c:chart>";
    if (chart.hasTitle) {
        out += "<c:title><c:tx><c:rich><a:bodyPr/><a:lstStyle/><a:p><a:pPr><a:defRPr/></a:pPr>"
               "<a:r><a:rPr lang=\"en-US\"/><a:t>";
        appendXmlEscaped(out, chart.title, false);
        out += "</a:t></a:r></a:p></c:rich></c:tx><c:overlay val=\"0\"/></c:title>"
               "<c:autoTitleDeleted val=\"0\"/>";
    } else {
        out += "<c:autoTitleDeleted val=\"0\"/>";
    }
    out += "<c:plotArea><c:layout/>";
    if (chart.chartType == xl::Pie) {
        out += "<c:pieChart><c:varyColors val=\"1\"/>";
        appendSeries(out, chart);
        out += "<c:firstSliceAng val=\"0\"/></c:pieChart>";
    } else {
        out += "<c:barChart><c:barDir val=\"col\"/><c:grouping val=\"clustered\"/>"
               "<c:varyColors val=\"0\"/>";
        appendSeries(out, chart);
        out += "<c:gapWidth val=\"150\"/>";
        out += std::string("<c:axId val=\"") + kCatAxisId + "\"/><c:axId val=\"" + kValAxisId +
               "\"/></c:barChart>";
        out += std::string("<c:catAx><c:axId val=\"") + kCatAxisId +
               "\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"0\"/>"
               "<c:axPos val=\"b\"/><c:numFmt formatCode=\"General\" sourceLinked=\"1\"/>"
               "<c:majorTickMark val=\"out\"/><c:minorTickMark val=\"none\"/>"
               "<c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"" + kValAxisId +
               "\"/><c:crosses val=\"autoZero\"/><c:auto val=\"1\"/><c:lblAlgn val=\"ctr\"/>"
               "<c:lblOffset val=\"100\"/><c:noMultiLvlLbl val=\"0\"/></c:catAx>";
        out += std::string("<c:valAx><c:axId val=\"") + kValAxisId +
               "\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"0\"/>"
               "<c:axPos val=\"l\"/><c:majorGridlines/>"
               "<c:numFmt formatCode=\"General\" sourceLinked=\"1\"/>"
               "<c:majorTickMark val=\"out\"/><c:minorTickMark val=\"none\"/>"
               "<c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"" + kCatAxisId +
               "\"/><c:crosses val=\"autoZero\"/><c:crossBetween val=\"between\"/></c:valAx>";
    }
    out += "</c:plotArea><c:legend><c:legendPos val=\"r\"/><c:overlay val=\"0\"/></c:legend>"
           "<c:plotVisOnly val=\"1\"/><c:dispBlanksAs val=\"gap\"/></c:chart>"
           // The chart area: white with a thin grey border, as the application draws it.
           "<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill>"
           "<a:ln w=\"9525\"><a:solidFill><a:srgbClr val=\"868686\"/></a:solidFill></a:ln></c:spPr>"
           "</c:chartSpace>";
    return out;
}

std::optional<Chart> readChartPart(std::string_view xml) {
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size())) return std::nullopt;
    pugi::xml_node chartNode = localChild(doc.document_element(), "chart");
    if (!chartNode) return std::nullopt;
    Chart chart;
    if (pugi::xml_node title = localChild(chartNode, "title")) {
        chart.hasTitle = true;
        chart.title = textOf(localChild(title, "tx"));
    }
    pugi::xml_node plot = localChild(chartNode, "plotArea");
    pugi::xml_node typeNode;
    if ((typeNode = localChild(plot, "pieChart"))) {
        chart.chartType = xl::Pie;
    } else if ((typeNode = localChild(plot, "barChart"))) {
        std::string dir = localChild(typeNode, "barDir").attribute("val").value();
        std::string grouping = localChild(typeNode, "grouping").attribute("val").value();
        if (dir != "col" || (!grouping.empty() && grouping != "clustered")) return std::nullopt;
        chart.chartType = xl::ColumnClustered;
    } else {
        return std::nullopt;
    }
    for (pugi::xml_node ser : typeNode.children()) {
        if (localName(ser) != "ser") continue;
        ChartSeries s;
        s.name = refFormula(localChild(ser, "tx"));
        s.categories = refFormula(localChild(ser, "cat"));
        s.values = refFormula(localChild(ser, "val"));
        chart.series.push_back(std::move(s));
    }
    return chart;
}

}  // namespace wb::ooxml
