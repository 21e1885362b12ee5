#include "workbook/ooxml/workbook_part.h"

#include <pugixml.hpp>

#include "workbook/formula/formula.h"
#include "workbook/ooxml/relationships.h"
#include "workbook/ooxml/xml_reader.h"
#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

namespace {

const char* const kWorkbookOrder[] = {
    "fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews", "sheets",
    "functionGroups", "externalReferences", "definedNames", "calcPr", "oleSize",
    "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes", "webPublishing",
    "fileRecoveryPr", "webPublishObjects", "extLst",
};
enum { kBookViews = 4, kSheets = 5, kDefinedNames = 8, kCalcPr = 9 };

int workbookRank(std::string_view name) {
    int i = 0;
    for (const char* n : kWorkbookOrder) {
        if (name == n) return i;
        ++i;
    }
    return -1;
}

}  // namespace

WorkbookRead readWorkbookPart(std::string_view xml, WorkbookKept& kept) {
    pugi::xml_document doc;
    parseXml(doc, xml);
    pugi::xml_node root = doc.document_element();
    if (localNameOf(root) != "workbook") throw std::runtime_error("the part is not a workbook");
    kept = WorkbookKept{};
    kept.root = RootAttributes::of(root);
    WorkbookRead out;
    int previous = -1;
    for (pugi::xml_node n : root.children()) {
        if (n.type() != pugi::node_element) continue;
        std::string_view name = n.name();
        int rank = workbookRank(name);
        if (rank < 0) rank = previous;
        previous = rank;
        if (name == "bookViews") {
            pugi::xml_node v = n.child("workbookView");
            out.activeTab = attrInt(v, "activeTab", 0);
            for (pugi::xml_attribute a : v.attributes())
                if (std::string_view(a.name()) != "activeTab")
                    kept.workbookViewAttrs.emplace_back(a.name(), a.value());
        } else if (name == "sheets") {
            for (pugi::xml_node s : n.children("sheet")) {
                WorkbookRead::Sheet sh;
                sh.name = s.attribute("name").value();
                sh.sheetId = attrInt(s, "sheetId", 0);
                sh.state = s.attribute("state").value();
                for (pugi::xml_attribute a : s.attributes()) {
                    std::string_view an = a.name();
                    if (an == "r:id" || (an.size() > 3 && an.substr(an.size() - 3) == ":id"))
                        sh.relId = a.value();
                }
                out.sheets.push_back(std::move(sh));
            }
        } else if (name == "definedNames") {
            for (pugi::xml_node d : n.children("definedName")) {
                WorkbookRead::Name nm;
                nm.name = d.attribute("name").value();
                nm.text = d.child_value();
                nm.localSheet = attrInt(d, "localSheetId", -1);
                nm.hidden = attrBool(d, "hidden", false);
                nm.xml = outerXml(d);
                out.names.push_back(std::move(nm));
            }
        } else if (name == "calcPr") {
            for (pugi::xml_attribute a : n.attributes())
                if (std::string_view(a.name()) != "fullCalcOnLoad")
                    kept.calcPrAttrs.emplace_back(a.name(), a.value());
        } else {
            kept.elements.push_back({std::string(name), outerXml(n), rank});
        }
    }
    return out;
}

int visibleActiveTab(const Workbook& wb) {
    int n = wb.sheetCount();
    int active = wb.activeSheetIndex();
    if (active >= 0 && active < n && wb.sheet(active).visibility() == Worksheet::Visibility::Visible)
        return active;
    for (int i = 0; i < n; ++i)
        if (wb.sheet(i).visibility() == Worksheet::Visibility::Visible) return i;
    return -1;
}

std::string writeWorkbookPart(const Workbook& wb, const WorkbookKept* kept,
                              const std::vector<SheetEntryOut>& sheets) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.open("workbook");
    w.attr("xmlns", "http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    w.attr("xmlns:r", rel::kNamespace);
    if (kept) kept->root.write(w, {"xmlns", "xmlns:r"});

    size_t k = 0;
    auto keptUpTo = [&](int rank) {
        if (!kept) return;
        while (k < kept->elements.size() && kept->elements[k].rank <= rank) w.raw(kept->elements[k++].xml);
    };

    // A workbook needs a visible sheet: when every sheet is hidden the active one is shown.
    int activeTab = visibleActiveTab(wb);
    int forcedVisible = -1;
    if (activeTab < 0) {
        activeTab = std::max(0, std::min(wb.activeSheetIndex(), wb.sheetCount() - 1));
        forcedVisible = activeTab;
    }

    keptUpTo(kBookViews - 1);
    w.open("bookViews");
    w.open("workbookView");
    if (kept) {
        for (const auto& [name, value] : kept->workbookViewAttrs) {
            if (name == "firstSheet") {
                // The first tab shown must be a visible sheet.
                int first = std::atoi(value.c_str());
                if (first < 0 || first >= wb.sheetCount() || first > activeTab ||
                    wb.sheet(first).visibility() != Worksheet::Visibility::Visible)
                    continue;
            }
            w.attr(name, value);
        }
    }
    if (activeTab > 0) w.attr("activeTab", activeTab);
    w.close("workbookView");
    w.close("bookViews");

    keptUpTo(kSheets - 1);
    w.open("sheets");
    for (int i = 0; i < wb.sheetCount(); ++i) {
        const Worksheet& ws = wb.sheet(i);
        w.open("sheet");
        w.attr("name", ws.name());
        w.attr("sheetId", sheets[i].sheetId);
        if (i != forcedVisible) {
            if (ws.visibility() == Worksheet::Visibility::Hidden) w.attr("state", "hidden");
            if (ws.visibility() == Worksheet::Visibility::VeryHidden) w.attr("state", "veryHidden");
        }
        w.attr("r:id", sheets[i].relId);
        w.close("sheet");
    }
    w.close("sheets");

    keptUpTo(kDefinedNames - 1);
    bool anyNames = !wb.names().empty() || (kept && !kept->rawNames.empty());
    if (anyNames) {
        w.open("definedNames");
        for (const DefinedName& n : wb.names()) {
            w.open("definedName");
            w.attr("name", n.name);
            if (n.localSheet >= 0) w.attr("localSheetId", n.localSheet);
            if (n.hidden) w.attr("hidden", 1);
            w.text(formula::toA1(n.refersTo, wb));
            w.close("definedName");
        }
        if (kept)
            for (const auto& raw : kept->rawNames) w.raw(raw);
        w.close("definedNames");
    }

    keptUpTo(kCalcPr - 1);
    w.open("calcPr");
    bool hasCalcId = false;
    if (kept)
        for (const auto& [name, value] : kept->calcPrAttrs) {
            w.attr(name, value);
            hasCalcId = hasCalcId || name == "calcId";
        }
    if (!hasCalcId) w.attr("calcId", 191029);
    w.attr("fullCalcOnLoad", 1);
    w.close("calcPr");
    keptUpTo(1000);
    w.close("workbook");
    return out;
}

}  // namespace wb::ooxml
