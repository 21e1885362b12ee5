// The BMPs sheet: table positions, the sorted groups of BMPList, the list boxes, the efficiency
// formulas and table 7 with the name TblCompBMP.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sheets/summary/bmp_list_page.h"
#include "sheets/summary/bmp_page.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(KAVRO_TEST_TMP);
    const std::string path = std::string(KAVRO_TEST_TMP) + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Cropland rows 2..5, Pastureland 6..8, Forest 9 (its group entry only), User_Defined 10..12,
// Feedlots 13..15, Urban 16..17.
const char* kList =
    "Group,BMP,N,P,BOD,Sediment,E. coli,Source,Note\n"
    "Cropland,0 No BMP,0,0,0,0,0,src-none,\n"
    "Cropland,Terraces,0.2,0.3,ND,0.4,ND,src-terraces,\n"
    "Cropland,Combined BMPs-Calculated,0,0,0,0,0,,\n"
    "Cropland,buffer,0.4,0.45,ND,0.6,ND,src-buffer,note-buffer\n"
    "Pastureland,0 No BMP,0,0,0,0,0,,\n"
    "Pastureland,Prescribed grazing,0.1,0.2,ND,0.3,ND,,\n"
    "Pastureland,Combined BMPs-Calculated,0,0,0,0,0,,\n"
    "Forest,0 No BMP,0,0,0,0,0,,\n"
    "User_Defined,0 No BMP,0,0,0,0,0,,\n"
    "User_Defined,Combined BMPs-Calculated,0,0,0,0,0,,\n"
    "User_Defined,Grassed waterway,0.1,0.2,ND,0.5,ND,,\n"
    "Feedlots,0 No BMP,0,0,0,0,0,,\n"
    "Feedlots,Waste storage,0.75,0.75,0.6,ND,0.7,,\n"
    "Feedlots,Combined BMPs-Calculated,0,0,0,0,0,,\n"
    "Urban,0 No BMP,0,0,0,0,0,,\n"
    "Urban,Wet pond,0.3,0.5,0.4,0.8,0.7,,\n";

struct BmpSheet : ::testing::Test {
    Workbook book;
    Worksheet& input = book.addSheet("Input");
    Worksheet& list = book.addSheet("BMPList");
    Worksheet& ws = book.addSheet("BMPs");
    GenerationOptions opt;

    void build(int n, const char* text = kList) {
        const std::string path = writeFile("bmps.csv", text);
        opt.SubwatershedCount = n;
        BMPListPage(book, opt, path);
        input.select();
        BMPPage(book, opt, path);
    }
    std::string text(int r, int c) { return ws.cells(r, c).text(); }
    const CellFormat& fmt(int r, int c) { return ws.cells(r, c).format(); }
    bool merged(int r, int c1, int c2) {
        const RangeRef* m = ws.mergeAt(r, c1);
        return m && *m == RangeRef{r, c1, r, c2};
    }
};

TEST_F(BmpSheet, TablePositionsForOneSubwatershed) {
    build(1);
    const std::vector<std::pair<int, const char*>> tables = {
        {6, "Cropland"}, {11, "Pastureland"}, {16, "Forest"}, {21, "User Defined"}, {26, "Feedlots"}};
    for (auto [header, group] : tables) {
        SCOPED_TRACE(header);
        EXPECT_EQ(text(header - 1, 2).substr(0, 2), std::to_string(header / 5) + ".");
        EXPECT_EQ(fmt(header - 1, 9).fill.color, Color::indexed(43));  // band over B..I
        EXPECT_EQ(text(header, 2), "Watershed");
        EXPECT_TRUE(merged(header, 3, 8));
        EXPECT_EQ(text(header, 3), group);
        EXPECT_EQ(text(header + 1, 3), "N");
        EXPECT_EQ(text(header + 1, 7), "E. coli");
        EXPECT_EQ(text(header + 1, 8), "BMPs");
        EXPECT_EQ(text(header + 1, 9), header == 26 ? "%Area BMP Applied" : "% Area BMP Applied");
        EXPECT_EQ(text(header + 2, 2), "W1");
        EXPECT_EQ(ws.cells(header + 2, 9).value(), CellValue(0.0));
        EXPECT_EQ(fmt(header + 2, 9).font.color, Color::fromBgr(0x0000FF));
        EXPECT_EQ(text(header + 3, 2), "");  // the table ends there
    }

    // Table 6: title and note only.
    EXPECT_EQ(text(30, 2), "6. BMPs and efficiencies for different pollutants on URBAN");
    EXPECT_TRUE(fmt(30, 8).font.bold);
    EXPECT_TRUE(text(31, 2).starts_with("To change/set BMP/LID for urban land uses, click"));
    EXPECT_EQ(fmt(31, 8).right.weight, xl::Medium);
    EXPECT_EQ(fmt(31, 2).left.weight, xl::Medium);

    // Table 7 at 35: four rows 37..40, zeros and "Combined BMPs", one outline per block.
    EXPECT_EQ(text(34, 2), "7. Combined watershed BMP efficiencies from the Combra");
    EXPECT_EQ(text(35, 2), "Watershed");
    EXPECT_TRUE(merged(35, 3, 7));
    EXPECT_EQ(text(35, 3), "Watershed Combined BMP Efficiencies");
    EXPECT_EQ(text(36, 6), "Sediment");
    const char* labels[] = {"W1-Crop", "W1-Pasture", "W1-Forest", "W1-User"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(text(37 + k, 2), labels[k]);
        EXPECT_EQ(ws.cells(37 + k, 5).value(), CellValue(0.0));
        EXPECT_EQ(text(37 + k, 8), "Combined BMPs");
        EXPECT_EQ(fmt(37 + k, 2).top.weight, xl::Medium) << k;
    }
    EXPECT_EQ(text(41, 2), "");
    const DefinedName* name = book.findName("TblCompBMP");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(formula::toA1(name->refersTo, book), "BMPs!$C$37:$G$41");
    EXPECT_EQ(fmt(41, 7).font.color, Color::fromBgr(0x0000FF));  // red down to the name's end

    EXPECT_EQ(book.activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

TEST_F(BmpSheet, EfficiencyFormulas) {
    build(3);
    // Table 1, first row, column C, as the text is written (Cropland spans BMPList rows 2..5).
    const std::string expected =
        "=IF(if($H8<>\"Combined BMPs-Calculated\",LOOKUP(BMPs!$H8,BMPList! $B2:$B5,BMPList! "
        "$C2:$C5),$C47)=\"ND\",\"ND\",if($H8<>\"Combined BMPs-Calculated\",LOOKUP(BMPs!$H8,"
        "BMPList! $B2:$B5,BMPList! $C2:$C5),$C47)*$I8/100)";
    EXPECT_EQ(bmpEfficiencyFormula(8, 3, BmpGroupRows{2, 5}, 47), expected);
    // In the cell; the stored formula drops the blank after "BMPList!".
    auto stored = [](std::string s) {
        for (size_t p; (p = s.find("! ")) != std::string::npos;) s.erase(p + 1, 1);
        for (size_t p = 0; (p = s.find("if(", p)) != std::string::npos; p += 3) s.replace(p, 3, "IF(");
        return s;
    };
    EXPECT_EQ(ws.cells(8, 3).formula(), stored(expected));

    // Table 4 (User_Defined, rows 10..12), subwatershed 3, sediment column: table-7 row 8N+31+3.
    EXPECT_EQ(ws.cells(3 * 3 + 19 + 3, 6).formula(),
              stored(bmpEfficiencyFormula(31, 6, BmpGroupRows{10, 12}, 8 * 3 + 31 + 3)));
    EXPECT_NE(ws.cells(31, 6).formula().find("$F58"), std::string::npos);
    // Table 5 (Feedlots, rows 13..15): "Combined BMPs-Calculated" counts as 0.
    const std::string feedlot = ws.cells(4 * 3 + 23 + 2, 7).formula();
    EXPECT_EQ(feedlot, stored(bmpEfficiencyFormula(37, 7, BmpGroupRows{13, 15}, 0)));
    EXPECT_NE(feedlot.find("$G13:$G15),0)"), std::string::npos) << feedlot;

    // Forest has its group entry only: no formulas, nothing to choose.
    for (int i = 1; i <= 3; ++i)
        for (int col = 3; col <= 8; ++col)
            EXPECT_EQ(ws.cells(2 * 3 + 15 + i, col).value(), CellValue()) << i << "," << col;
    // Pastureland has one (after its group entry): formulas.
    EXPECT_TRUE(ws.cells(3 + 11 + 1, 3).hasFormula());
}

TEST_F(BmpSheet, ListBoxesOverColumnHListTheSortedGroup) {
    build(3);
    // Cropland's BMP rows 3..5 are sorted by name, case aside, whole rows B..I; the group entry
    // in row 2 and the other groups stay.
    EXPECT_EQ(list.range("B2").text(), "0 No BMP");
    EXPECT_EQ(list.range("B3").text(), "buffer");
    EXPECT_EQ(list.range("C3").value(), CellValue(0.4));
    EXPECT_EQ(list.range("H3").text(), "src-buffer");
    EXPECT_EQ(list.range("I3").text(), "note-buffer");
    EXPECT_EQ(list.range("B4").text(), "Combined BMPs-Calculated");
    EXPECT_EQ(list.range("B5").text(), "Terraces");
    EXPECT_EQ(list.range("H5").text(), "src-terraces");
    EXPECT_EQ(list.range("B10").text(), "0 No BMP");
    EXPECT_EQ(list.range("B11").text(), "Combined BMPs-Calculated");
    EXPECT_EQ(list.range("B12").text(), "Grassed waterway");

    ASSERT_EQ(ws.controls.size(), 15u);
    const std::vector<std::string> expectedItems = {"buffer", "Combined BMPs-Calculated",
                                                    "Terraces"};
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        auto box = findOleObject(ws, "lstBx3" + std::to_string(i));
        ASSERT_TRUE(box);
        const Control& c = box->control();
        Range cell = ws.cells(7 + i, 8);
        EXPECT_EQ(c.progId, "Forms.ListBox.1");
        EXPECT_EQ(c.listFillRange, "BMPList!$B$3:$B$5");
        EXPECT_EQ(c.linkedCell, cell.address());
        EXPECT_EQ(c.list, expectedItems);
        EXPECT_EQ(c.listIndex, 0);
        EXPECT_EQ(c.listStyle, 1);
        EXPECT_TRUE(c.autoLoad);
        EXPECT_EQ(c.backColor, Color::fromBgr(255));
        EXPECT_DOUBLE_EQ(c.left, cell.left());
        EXPECT_DOUBLE_EQ(c.top, cell.top());
        EXPECT_DOUBLE_EQ(c.width, cell.width());
        EXPECT_DOUBLE_EQ(c.height, cell.height());
        EXPECT_EQ(cell.text(), "buffer");  // the first BMP is chosen
    }
    EXPECT_EQ(findOleObject(ws, "lstBx73")->control().listFillRange, "BMPList!$B$14:$B$15");
    EXPECT_EQ(ws.cells(4 * 3 + 26, 8).text(), "Combined BMPs-Calculated");
    // Forest: a list box with nothing to list, not a range running into the neighbours.
    auto forest = findOleObject(ws, "lstBx52");
    ASSERT_TRUE(forest);
    EXPECT_TRUE(forest->control().list.empty());
    EXPECT_EQ(forest->control().listFillRange, "");
}

TEST_F(BmpSheet, GroupsOutOfOrderStopTheBuild) {
    // A cropland BMP appended at the end would shift every block after Cropland.
    const std::string text = std::string(kList) + "Cropland,Contour farming,0.2,0.3,ND,0.4,ND,,\n";
    try {
        build(1, text.c_str());
        FAIL() << "no failure";
    } catch (const WorkbookError& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("BMPList row 6 has the group \"Pastureland\""), std::string::npos) << m;
        EXPECT_TRUE(m.ends_with(" Could not create the BMPs worksheet!")) << m;
    }
    EXPECT_TRUE(ws.controls.empty());
}

}  // namespace
