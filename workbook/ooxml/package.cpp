// Opening and saving packages: which parts are read into the model, which are kept as read, and
// how the written package is put together.
#include "workbook/ooxml/package.h"

#include <cstring>
#include <map>
#include <set>

#include "workbook/formula/formula.h"
#include "workbook/ooxml/content_types.h"
#include "workbook/ooxml/package_state.h"
#include "workbook/ooxml/relationships.h"
#include "workbook/ooxml/shared_strings.h"
#include "workbook/ooxml/styles.h"
#include "workbook/ooxml/workbook_part.h"
#include "workbook/ooxml/worksheet_part.h"
#include "workbook/ooxml/zip.h"

namespace wb::ooxml {

namespace {

[[noreturn]] void failOpen(const std::string& path, const std::string& why) {
    throw WorkbookError("Cannot open the workbook \"" + path + "\": " + why);
}

bool mayHaveFormulas(const std::string& xml) {
    return xml.find("<f>") != std::string::npos || xml.find("<f ") != std::string::npos;
}

using StatePtr = std::shared_ptr<PackageState>;

PackageState* stateOf(Workbook& wb) {
    if (auto* p = std::any_cast<StatePtr>(&wb.packageState())) return p->get();
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Opening

std::unique_ptr<Workbook> openWorkbook(const std::string& path) {
    auto entries = readZip(path);
    auto st = std::make_shared<PackageState>();
    st->sourcePath = path;
    for (auto& [name, data] : entries)
        st->parts[name] = std::make_shared<const std::string>(std::move(data));

    auto part = [&](const std::string& name) -> const std::string* {
        auto it = st->parts.find(name);
        return it == st->parts.end() ? nullptr : it->second.get();
    };
    auto parseError = [&](const std::string& name, const std::exception& e) -> std::string {
        return "the part " + name + " cannot be read (" + e.what() + ")";
    };

    const std::string* types = part("[Content_Types].xml");
    if (!types) failOpen(path, "it is not an Open XML package (no [Content_Types].xml)");
    try {
        st->contentTypes = ContentTypes::parse(*types);
    } catch (const std::exception& e) {
        failOpen(path, parseError("[Content_Types].xml", e));
    }
    st->consumed.insert("[Content_Types].xml");

    if (const std::string* rels = part("_rels/.rels")) {
        try {
            st->rootRels = Relationships::parse(*rels);
        } catch (const std::exception& e) {
            failOpen(path, parseError("_rels/.rels", e));
        }
        if (const Relationship* r = st->rootRels.findByType(rel::kOfficeDocument))
            st->workbookPart = resolveTarget("", r->target);
    }
    st->consumed.insert("_rels/.rels");
    if (st->workbookPart.empty()) {
        st->workbookPart = "xl/workbook.xml";
        st->rootRels.items().clear();
        st->rootRels.add(rel::kOfficeDocument, st->workbookPart);
    }
    const std::string* wbXml = part(st->workbookPart);
    if (!wbXml) failOpen(path, "the workbook part " + st->workbookPart + " is missing");
    const std::string wbRelsName = relsPartName(st->workbookPart);
    const std::string* wbRels = part(wbRelsName);
    if (!wbRels) failOpen(path, "the workbook's relationships " + wbRelsName + " are missing");
    try {
        st->workbookRels = Relationships::parse(*wbRels);
    } catch (const std::exception& e) {
        failOpen(path, parseError(wbRelsName, e));
    }
    st->consumed.insert(st->workbookPart);
    st->consumed.insert(wbRelsName);
    const std::string wbFolder = partFolder(st->workbookPart);

    WorkbookRead read;
    try {
        read = readWorkbookPart(*wbXml, st->workbook);
    } catch (const std::exception& e) {
        failOpen(path, parseError(st->workbookPart, e));
    }
    if (read.sheets.empty()) failOpen(path, "the workbook has no sheets");

    auto wb = std::make_unique<Workbook>();

    // Styles first: the default font sets the column geometry of every sheet.
    // A styles or shared-strings relationship to a part the package does not hold is dropped:
    // the saved workbook writes its own part under the usual name instead of under that target.
    if (const Relationship* r = st->workbookRels.findByType(rel::kStyles)) {
        const std::string name = resolveTarget(wbFolder, r->target);
        if (const std::string* xml = part(name)) {
            st->stylesPart = name;
            try {
                wb->styles().reset(readStyles(*xml, &st->styles));
            } catch (const std::exception& e) {
                failOpen(path, parseError(st->stylesPart, e));
            }
            st->consumed.insert(st->stylesPart);
        } else {
            st->workbookRels.removeById(std::string(r->id));
        }
    }
    if (const Relationship* r = st->workbookRels.findByType(rel::kSharedStrings)) {
        const std::string name = resolveTarget(wbFolder, r->target);
        if (const std::string* xml = part(name)) {
            st->sharedStringsPart = name;
            try {
                readSharedStrings(*xml, wb->strings(), st->richStrings);
            } catch (const std::exception& e) {
                failOpen(path, parseError(st->sharedStringsPart, e));
            }
            st->consumed.insert(st->sharedStringsPart);
        } else {
            st->workbookRels.removeById(std::string(r->id));
        }
    }
    // The calculation chain lists formula cells; it goes stale as soon as a sheet changes and
    // the application rebuilds it.
    if (const Relationship* r = st->workbookRels.findByType(rel::kCalcChain)) {
        st->consumed.insert(resolveTarget(wbFolder, r->target));
        st->workbookRels.removeById(std::string(r->id));
    }

    PackageState* raw = st.get();
    for (const auto& s : read.sheets) {
        const Relationship* r = st->workbookRels.findById(s.relId);
        if (!r) failOpen(path, "the sheet \"" + s.name + "\" has no relationship " + s.relId);
        std::string sheetPart = resolveTarget(wbFolder, r->target);
        auto it = st->parts.find(sheetPart);
        if (it == st->parts.end())
            failOpen(path, "the part " + sheetPart + " of the sheet \"" + s.name + "\" is missing");
        Worksheet* ws = nullptr;
        try {
            ws = &wb->addSheet(s.name);
        } catch (const WorkbookError& e) {
            failOpen(path, e.what());
        }
        if (s.state == "hidden") ws->setVisibility(Worksheet::Visibility::Hidden);
        if (s.state == "veryHidden") ws->setVisibility(Worksheet::Visibility::VeryHidden);
        SheetSource& src = st->sheets[ws];
        src.part = sheetPart;
        src.relId = s.relId;
        src.relType = r->type;
        src.sheetId = s.sheetId;
        src.xml = it->second;
        auto relsIt = st->parts.find(relsPartName(sheetPart));
        if (relsIt != st->parts.end()) src.relsXml = relsIt->second;
        st->consumed.insert(sheetPart);
        st->consumed.insert(relsPartName(sheetPart));
        // Sheets are parsed when first used; the package state outlives every loader, since
        // both belong to the workbook.
        ws->setLoader(
            [raw](Worksheet& sheet) {
                SheetSource& source = raw->sheets.at(&sheet);
                try {
                    loadWorksheet(sheet, *raw, source);
                } catch (const std::exception& e) {
                    source.loadError = e.what();
                    throw;
                }
            },
            r->type == rel::kWorksheet && mayHaveFormulas(*src.xml));
    }
    st->workbookRels.removeByType(rel::kWorksheet);
    for (const auto& s : read.sheets) st->workbookRels.removeById(s.relId);

    for (auto& n : read.names) {
        DefinedName dn;
        dn.name = n.name;
        dn.localSheet = n.localSheet;
        dn.hidden = n.hidden;
        try {
            dn.refersTo = formula::parseA1(n.text, *wb);
        } catch (const formula::FormulaError&) {
            // References the model cannot hold (other workbooks, for instance) stay as written.
            st->workbook.rawNames.push_back(n.xml);
            continue;
        }
        wb->names().push_back(std::move(dn));
    }
    if (read.activeTab >= 0 && read.activeTab < wb->sheetCount()) wb->setActiveSheet(read.activeTab);

    wb->packageState() = StatePtr(std::move(st));
    return wb;
}

// ---------------------------------------------------------------------------------------------
// Saving

namespace {

class PackageOut : public PartSink {
public:
    PackageOut(const PackageState* st) : st_(st) {}

    bool inUse(const std::string& name) const {
        if (added_.count(name)) return true;
        if (!st_) return false;
        return st_->parts.count(name) && !st_->consumed.count(name);
    }
    // Names in use only ever grow in number, so each search starts after the last number the
    // same prefix and suffix gave: a sheet's thousands of control parts stay linear.
    std::string uniqueName(std::string_view prefix, std::string_view suffix) override {
        std::string key = std::string(prefix) + '\0' + std::string(suffix);
        int& last = lastNumber_[key];
        for (int n = last + 1;; ++n) {
            std::string name = std::string(prefix) + std::to_string(n) + std::string(suffix);
            if (!inUse(name) && !reserved_.count(name)) {
                reserved_.insert(name);
                last = n;
                return name;
            }
        }
    }
    void reserve(const std::string& name) { reserved_.insert(name); }
    bool added(const std::string& name) const { return added_.count(name) > 0; }
    void add(const std::string& name, std::string data, const std::string& contentType) override {
        added_.insert(name);
        parts_.emplace_back(name, std::make_shared<const std::string>(std::move(data)));
        if (!contentType.empty()) types_.emplace_back(name, contentType);
    }
    void addShared(const std::string& name, PartData data) {
        added_.insert(name);
        parts_.emplace_back(name, std::move(data));
    }
    void addDefault(const std::string& ext, const std::string& contentType) override {
        defaults_.emplace_back(ext, contentType);
    }
    const std::string* keptPart(const std::string& name) const override {
        if (!st_) return nullptr;
        auto it = st_->parts.find(name);
        return it == st_->parts.end() ? nullptr : it->second.get();
    }

    std::vector<std::pair<std::string, PartData>> parts_;
    std::vector<std::pair<std::string, std::string>> types_;
    std::vector<std::pair<std::string, std::string>> defaults_;

private:
    const PackageState* st_;
    std::set<std::string> added_, reserved_;
    std::map<std::string, int> lastNumber_;
};

}  // namespace

void saveWorkbook(Workbook& wb, const std::string& path) {
    PackageState* st = stateOf(wb);
    if (st)
        for (const auto& [ws, src] : st->sheets)
            if (!src.loadError.empty())
                throw WorkbookError("Cannot save the workbook \"" + path + "\": " + src.loadError);
    if (wb.sheetCount() == 0)
        throw WorkbookError("Cannot save the workbook \"" + path + "\": it has no sheets");

    PackageOut out(st);
    const std::string wbPart = st ? st->workbookPart : "xl/workbook.xml";
    const std::string wbFolder = partFolder(wbPart);
    Relationships wbRels = st ? st->workbookRels : Relationships{};

    // Sheet parts: sheets read from the file keep their part names and ids.
    std::vector<std::string> sheetParts(wb.sheetCount());
    std::vector<SheetEntryOut> entries(wb.sheetCount());
    int maxSheetId = 0;
    if (st)
        for (const auto& [ws, src] : st->sheets) maxSheetId = std::max(maxSheetId, src.sheetId);
    for (int i = 0; i < wb.sheetCount(); ++i) {
        const SheetSource* src = nullptr;
        if (st) {
            auto it = st->sheets.find(&wb.sheet(i));
            if (it != st->sheets.end()) src = &it->second;
        }
        if (src) {
            sheetParts[i] = src->part;
            entries[i].sheetId = src->sheetId;
            out.reserve(src->part);
        }
    }
    // Relationship ids: sheets read from the file keep theirs, new sheets get fresh ones.
    for (int i = 0; i < wb.sheetCount(); ++i) {
        if (!st) break;
        auto it = st->sheets.find(&wb.sheet(i));
        if (it == st->sheets.end()) continue;
        wbRels.add(Relationship{it->second.relId, it->second.relType,
                                relativeTarget(wbFolder, sheetParts[i]), false});
        entries[i].relId = it->second.relId;
    }
    for (int i = 0; i < wb.sheetCount(); ++i) {
        if (!sheetParts[i].empty()) continue;
        sheetParts[i] = out.uniqueName(wbFolder + "worksheets/sheet", ".xml");
        entries[i].sheetId = ++maxSheetId;
        entries[i].relId = wbRels.add(rel::kWorksheet, relativeTarget(wbFolder, sheetParts[i]));
    }

    SharedStringsWriter sst(wb.strings(), st ? &st->richStrings : nullptr);
    const int activeTab = visibleActiveTab(wb);
    for (int i = 0; i < wb.sheetCount(); ++i) {
        Worksheet& ws = wb.sheet(i);
        SheetSource* src = nullptr;
        if (st) {
            auto it = st->sheets.find(&ws);
            if (it != st->sheets.end()) src = &it->second;
        }
        std::string sheetType = ct::kWorksheet;
        if (src && !ws.isLoaded()) {
            // Content given to a sheet that was never loaded would be lost behind the part as
            // read: refuse rather than drop it.
            if (ws.maxRow() > 0 || !ws.rowInfo.empty() || !ws.colInfo.empty() || !ws.merges.empty() ||
                !ws.comments.empty() || !ws.validations.empty() || !ws.controls.empty() ||
                !ws.charts.empty() || !ws.runs.empty() || ws.protection().sheet || !ws.tabColor.empty())
                throw WorkbookError("Cannot save the workbook \"" + path + "\": the sheet \"" +
                                    ws.name() + "\" was changed before it was loaded");
            // Never used: written back as read, with its relationships and parts.
            out.addShared(sheetParts[i], withTabSelected(src->xml, i == activeTab));
            if (src->relsXml) out.addShared(relsPartName(sheetParts[i]), src->relsXml);
            std::string t = st->contentTypes.typeOf(src->part);
            out.types_.emplace_back(sheetParts[i], t.empty() ? sheetType : t);
            continue;
        }
        const SheetKept* kept = src ? src->kept.get() : nullptr;
        Relationships rels = kept ? kept->rels : Relationships{};
        VmlDrawing vml(i + 1);
        SheetWriteContext ctx{ws, sheetParts[i], rels, vml, out, {}, {}, {}};
        std::string xml = writeWorksheet(ctx, kept, sst, st, i == activeTab);
        out.add(sheetParts[i], std::move(xml), sheetType);
        if (!rels.empty()) out.add(relsPartName(sheetParts[i]), rels.write(), "");
    }

    // Styles and shared strings.
    std::string stylesPart = st && !st->stylesPart.empty() ? st->stylesPart : wbFolder + "styles.xml";
    out.add(stylesPart, writeStyles(wb.styles(), st ? &st->styles : nullptr), ct::kStyles);
    if (!wbRels.findByType(rel::kStyles)) wbRels.add(rel::kStyles, relativeTarget(wbFolder, stylesPart));
    std::string sstPart = st && !st->sharedStringsPart.empty() ? st->sharedStringsPart
                                                               : wbFolder + "sharedStrings.xml";
    if (!sst.empty()) {
        out.add(sstPart, sst.write(), ct::kSharedStrings);
        if (!wbRels.findByType(rel::kSharedStrings))
            wbRels.add(rel::kSharedStrings, relativeTarget(wbFolder, sstPart));
    } else {
        wbRels.removeByType(rel::kSharedStrings);
    }

    out.add(wbPart, writeWorkbookPart(wb, st ? &st->workbook : nullptr, entries), ct::kWorkbookMacro);
    out.add(relsPartName(wbPart), wbRels.write(), "");

    // Parts kept as read.
    if (st)
        for (const auto& [name, data] : st->parts)
            if (!st->consumed.count(name) && !out.added(name)) out.addShared(name, data);

    // Content types: the read ones for the parts still written, then the written parts' own.
    ContentTypes types = st ? st->contentTypes : ContentTypes{};
    std::set<std::string> written;
    for (const auto& p : out.parts_) written.insert(p.first);
    for (auto it = types.overrides().begin(); it != types.overrides().end();)
        it = written.count(it->first) ? std::next(it) : types.overrides().erase(it);
    types.setDefault("rels", ct::kRels);
    types.setDefault("xml", ct::kXml);
    for (const auto& [ext, type] : out.defaults_) types.setDefault(ext, type);
    for (const auto& [name, type] : out.types_) types.setOverride(name, type);

    Relationships rootRels = st ? st->rootRels : Relationships{};
    if (!rootRels.findByType(rel::kOfficeDocument)) rootRels.add(rel::kOfficeDocument, wbPart);

    ZipWriter zip(path);
    zip.add("[Content_Types].xml", types.write());
    zip.add("_rels/.rels", rootRels.write());
    for (auto& [name, data] : out.parts_) zip.add(name, data);
    zip.commit();
}

}  // namespace wb::ooxml
