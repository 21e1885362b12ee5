#include "sheets/summary/bmp_page.h"

#include <array>
#include <exception>
#include <string>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "sheets/summary/bmp_list_file.h"
#include "workbook/formula/formula.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace {

namespace xl = wb::xl;

using sheets::kBlue;
using sheets::kRed;
using sheets::solidFill;

constexpr int kColB = 2, kColC = 3, kColG = 7, kColH = 8, kColI = 9;

// Tables 1..5, one per group of the BMP list in the list's order (the urban group has no table).
struct SelectionTable {
    const char* title;
    const char* groupLabel;  // merged over C..H of the header row
    const char* areaHeader;
    const char* listPrefix;  // list box of subwatershed i: prefix followed by i
};
constexpr std::array<SelectionTable, 5> kTables = {{
    {"1. BMPs and efficiencies for different pollutants on CROPLAND, ND=No Data", "Cropland",
     "% Area BMP Applied", "lstBx3"},
    {"2. BMPs and efficiencies for different pollutants on PASTURELAND, ND=No Data",
     "Pastureland", "% Area BMP Applied", "lstBx4"},
    {"3. BMPs and efficiencies for different pollutants on FOREST, ND=No Data", "Forest",
     "% Area BMP Applied", "lstBx5"},
    {"4. BMPs and efficiencies for different pollutants on USER DEFINED land use, ND=No Data",
     "User Defined", "% Area BMP Applied", "lstBx6"},
    {"5. BMPs and efficiencies for different pollutants on FEEDLOTS, ND=No Data", "Feedlots",
     "%Area BMP Applied", "lstBx7"},
}};
constexpr int kFeedlotTable = 5;

// Table 7's blocks of N rows: the label of subwatershed i is "W{i}" and the suffix.
constexpr std::array<const char*, 4> kCombinedSuffixes = {"-Crop", "-Pasture", "-Forest", "-User"};

constexpr std::array<const char*, 5> kPollutants = {"N", "P", "BOD", "Sediment", "E. coli"};

void outline(const wb::Range& r, int weight) {
    for (int edge : {xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom, xl::EdgeRight})
        r.borders(edge).setLineStyle(xl::Continuous).setWeight(weight);
}

// "$H8": absolute column, relative row, as the efficiency formulas address their cells.
std::string colAbs(int row, int col) { return wb::formula::cellAddress(row, col, false, true); }

void drawNotes(wb::Worksheet& ws) {
    solidFill(ws.range("A1:AY100"), 2);
    ws.columns("A").setColumnWidth(5);
    ws.columns("B:Z").setColumnWidth(10);
    ws.columns("H").setColumnWidth(50);
    ws.columns("I").setColumnWidth(17.5);

    const std::string combined = std::string("\"") + kCombinedBmp + "\"";
    ws.range("B1").setValue("Best Management Practice");
    ws.range("B1").font().setColor(kBlue).setBold(true);
    ws.range("E1").setValue("Select an appropriate BMP except " + combined +
                            " for each subwatershed in each land use table");
    ws.range("B2").setValue(
        "using the pull-down list-box if interactions between BMPs are not considered. Select " +
        combined + " if multiple BMPs and their interactions");
    ws.range("B3").setValue(
        "in the subwatersheds are considered; use Combra (under KAVRO menu) to obtain the "
        "combined BMP efficiencies and enter them in Table 7.");

    wb::Range band = ws.range("B1:K3");
    solidFill(band, 15);
    band.font().setColor(kBlue);
    for (int side : {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell,
                     xl::EdgeBottomOfCell})
        band.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(
            xl::Automatic);
    band.borders(xl::InsideVertical).setLineStyle(xl::None);
    band.borders(xl::InsideHorizontal).setLineStyle(xl::None);
}

// Row labels for CreateTableDunlo: index 0 is not read, index 1 is the pollutant header row.
std::vector<std::string> rowLabels(const std::vector<std::string>& body) {
    std::vector<std::string> labels{"", ""};
    labels.insert(labels.end(), body.begin(), body.end());
    return labels;
}

void pollutantHeaders(wb::Worksheet& ws, int row) {
    for (size_t p = 0; p < kPollutants.size(); ++p)
        ws.cells(row, kColC + static_cast<int>(p)).setValue(kPollutants[p]);
    ws.cells(row, kColH).setValue("BMPs");
}

void drawSelectionFrame(wb::Worksheet& ws, const BmpSheetRows& at, int k) {
    const SelectionTable& t = kTables[static_cast<size_t>(k - 1)];
    const int n = at.n, header = at.header(k);
    std::vector<std::string> body;
    for (int i = 1; i <= n; ++i) body.push_back("W" + std::to_string(i));
    const std::vector<std::string> headers{"Watershed", "", "", "", "", "", "", ""};
    wb::CreateTableDunlo(ws, t.title, rowLabels(body), headers, header, kColB, n + 2,
                         static_cast<int>(headers.size()));

    ws.range(header, kColC, header, kColH).setMergeCells(true);
    ws.cells(header, kColC).setValue(t.groupLabel);
    pollutantHeaders(ws, header + 1);
    ws.cells(header + 1, kColI).setValue(t.areaHeader);
    for (int i = 1; i <= n; ++i) {
        wb::Range share = ws.cells(at.row(k, i), kColI);
        share.setValue(0);
        share.font().setColor(kRed);
    }
}

// The blocks of the six groups on BMPList, rows 2..records. The groups are counted by their
// exact name in column A and taken as consecutive blocks in the list's group order; a row that
// does not belong to the block it falls in would make every lookup after it read the wrong rows,
// so it stops the build.
std::array<BmpGroupRows, 6> groupRows(wb::Worksheet& list, int records) {
    std::array<int, 6> counts{};
    auto groupOf = [&](int row) {
        const wb::CellValue v = list.cells(row, 1).value();
        const std::string* text = std::get_if<std::string>(&v);
        for (size_t g = 0; g < kavro::kBmpGroups.size(); ++g)
            if (text && *text == kavro::kBmpGroups[g]) return static_cast<int>(g);
        return -1;
    };
    for (int row = 2; row <= records; ++row)
        if (int g = groupOf(row); g >= 0) ++counts[static_cast<size_t>(g)];

    std::array<BmpGroupRows, 6> rows{};
    int previousLast = 1;
    for (size_t g = 0; g < rows.size(); ++g) {
        rows[g].first = previousLast + 1;
        rows[g].last = previousLast + counts[g];
        previousLast = rows[g].last;
    }
    for (int row = 2; row <= records; ++row) {
        size_t expected = 0;
        while (expected < rows.size() && row > rows[expected].last) ++expected;
        if (expected == rows.size() || groupOf(row) != static_cast<int>(expected)) {
            const std::string found = list.cells(row, 1).text();
            throw wb::WorkbookError(
                "BMPList row " + std::to_string(row) + " has the group \"" + found +
                "\" where the list's groups must follow one another in the order Cropland, "
                "Pastureland, Forest, User_Defined, Feedlots, Urban.");
        }
    }
    return rows;
}

// The list box over H(row): the group's BMPs, the first one chosen.
void addBmpList(wb::Worksheet& ws, int row, const std::string& name, BmpGroupRows group) {
    wb::Range cell = ws.cells(row, kColH);
    wb::OleObject box = wb::addOleObject(ws, wb::kListBoxProgId, cell.left(), cell.top(),
                                         cell.width(), cell.height());
    box.setName(name);
    box.setLinkedCell(cell.address());
    box.setAutoLoad(true);
    box.setBackColor(kRed);
    box.setListStyle(1);
    // A group with no BMP of its own gets an empty list rather than a range running backwards
    // into its neighbours.
    if (group.bmpCount() < 1) return;
    box.setListFillRange("BMPList!$B$" + std::to_string(group.first + 1) + ":$B$" +
                         std::to_string(group.last));
    box.setListIndex(0);
    cell.setValue(box.listItem(box->listIndex));
}

void drawUrbanNote(wb::Worksheet& ws, const BmpSheetRows& at) {
    const int note = at.header(6);
    ws.cells(note - 1, kColB).setValue("6. BMPs and efficiencies for different pollutants on URBAN");
    wb::Range title = ws.range(note - 1, kColB, note - 1, kColH);
    title.font().setBold(true);
    title.interior().setColorIndex(43);
    ws.cells(note, kColB).setValue(
        "To change/set BMP/LID for urban land uses, click the 'Urban BMP Tool' button on the "
        "top-left of this sheet.");
    wb::Range band = ws.range(note, kColB, note, kColH);
    band.font().setColor(kBlue);
    band.interior().setColorIndex(15);
    outline(band, xl::Medium);
}

void drawCombinedTable(wb::Workbook& wb, wb::Worksheet& ws, const BmpSheetRows& at) {
    const int n = at.n, header = at.combinedHeader();
    std::vector<std::string> body;
    for (const char* suffix : kCombinedSuffixes)
        for (int i = 1; i <= n; ++i) body.push_back("W" + std::to_string(i) + suffix);
    const std::vector<std::string> headers{"Watershed", "", "", "", "", "", ""};
    wb::CreateTableDunlo(ws, "7. Combined watershed BMP efficiencies from the Combra",
                         rowLabels(body), headers, header, kColB, 4 * n + 2,
                         static_cast<int>(headers.size()));

    ws.range(header, kColC, header, kColG).setMergeCells(true);
    ws.cells(header, kColC).setValue("Watershed Combined BMP Efficiencies");
    pollutantHeaders(ws, header + 1);
    const int firstRow = at.combinedRow(0, 1), lastRow = at.combinedRow(3, n);
    ws.range(firstRow, kColC, lastRow, kColG).setValue(0);
    ws.range(firstRow, kColH, lastRow, kColH).setValue("Combined BMPs");
    ws.range(header - 1, kColB, header - 1, kColH).interior().setColorIndex(43).setPatternColorIndex(
        xl::Automatic);

    // Five blocks of N rows from the first combined row: the four of the table and one below.
    const int nameLast = firstRow + 5 * n - 1;
    wb.addName("TblCompBMP", "=BMPs!R" + std::to_string(firstRow) + "C3:R" +
                                 std::to_string(nameLast) + "C7");
    ws.range(firstRow, kColC, nameLast, kColG).font().setColor(kRed);
    for (int b = 0; b < 4; ++b)
        outline(ws.range(at.combinedRow(b, 1), kColB, at.combinedRow(b, n), kColH), xl::Medium);
}

void build(wb::Workbook& wb, int n, const std::string& path) {
    const BmpSheetRows at(n);
    wb::Worksheet& ws = wb.sheet("BMPs");
    ws.select();
    drawNotes(ws);

    const kavro::BmpListContents file = kavro::readBmpListFile(path);
    if (!file.ok()) throw wb::WorkbookError(file.error);
    const int records = static_cast<int>(file.records.size());

    for (int k = 1; k <= 5; ++k) drawSelectionFrame(ws, at, k);

    wb::Worksheet& list = wb.sheet("BMPList");
    list.activate();
    const std::array<BmpGroupRows, 6> groups = groupRows(list, records);
    // LOOKUP needs each group's names in ascending order. The group-level entry stays first;
    // whole rows move (B..I), so the notes of H and I stay with their BMP.
    for (const BmpGroupRows& g : groups)
        if (g.bmpCount() > 1) list.range(g.first + 1, kColB, g.last, kColI).sort(kColB);

    ws.activate();
    for (int k = 1; k <= 5; ++k)
        for (int i = 1; i <= n; ++i)
            addBmpList(ws, at.row(k, i), kTables[static_cast<size_t>(k - 1)].listPrefix +
                                             std::to_string(i),
                       groups[static_cast<size_t>(k - 1)]);

    for (int k = 1; k <= 5; ++k) {
        const BmpGroupRows g = groups[static_cast<size_t>(k - 1)];
        if (g.bmpCount() <= 0) continue;
        for (int i = 1; i <= n; ++i) {
            const int row = at.row(k, i);
            const int combined = k == kFeedlotTable ? 0 : at.combinedRow(k - 1, i);
            for (int col = kColC; col <= kColG; ++col)
                ws.cells(row, col).setFormula(bmpEfficiencyFormula(row, col, g, combined));
        }
    }

    for (int k = 1; k <= 5; ++k)
        ws.range(at.header(k) - 1, kColB, at.header(k) - 1, kColI)
            .interior()
            .setColorIndex(43)
            .setPatternColorIndex(xl::Automatic);

    drawUrbanNote(ws, at);
    drawCombinedTable(wb, ws, at);
    ws.range("A1").select();
}

}  // namespace

std::string bmpEfficiencyFormula(int row, int col, BmpGroupRows group, int combinedRow) {
    const std::string h = colAbs(row, kColH);
    const std::string fallback = combinedRow > 0 ? colAbs(combinedRow, col) : "0";
    // The looked-up (or combined) efficiency; the blank after "BMPList!" is part of the text.
    const std::string x = "if(" + h + "<>\"" + kCombinedBmp + "\",LOOKUP(BMPs!" + h +
                          ",BMPList! " + colAbs(group.first, kColB) + ":" +
                          colAbs(group.last, kColB) + ",BMPList! " + colAbs(group.first, col) +
                          ":" + colAbs(group.last, col) + ")," + fallback + ")";
    return "=IF(" + x + "=\"ND\",\"ND\"," + x + "*" + colAbs(row, kColI) + "/100)";
}

void BMPPage(wb::Workbook& wb, GenerationOptions& opt) {
    BMPPage(wb, opt, opt.BmpListPath.empty() ? kavro::defaultBmpListPath() : opt.BmpListPath);
}

void BMPPage(wb::Workbook& wb, GenerationOptions& opt, const std::string& path) {
    try {
        build(wb, opt.SubwatershedCount, path);
    } catch (const std::exception& e) {
        throw wb::WorkbookError(std::string(e.what()) + kBmpPageFailure);
    }
}
