// The Total Load sheet on the in-memory model: table positions and hidden rows for one, three
// and two hundred subwatersheds, the formulas of every block (as the cells they reach), and the
// sheet-wide settings.
#include "sheets/summary/total_load_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheets/tests/sheet_test_support.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

using sheet_test::Built;
using sheet_test::hidden;

// The sheets the formulas name exist but are empty; the two published rows are the ones the
// Land&Rain and Animal layouts give.
Built build(int n, int gullies = 0, int streambanks = 0) {
    Built b;
    for (const char* name : {"Input", "Land&Rain", "Animal", "Urban", "Feedlots", "Septic",
                             "Sediment", "Gully&Streambank", "Total Load"})
        b.book->addSheet(name);
    b.opt.SubwatershedCount = n;
    b.opt.GullyCount = gullies;
    b.opt.StreambankCount = streambanks;
    b.opt.RunoffFirstRow = 4 * n + 27;
    b.opt.PastureAeuFirstRow = 2 * n + 28;
    TotalLoadPage(*b.book, b.opt);
    b.ws = &b.book->sheet("Total Load");
    return b;
}

std::string at(int row, int col) { return formula::cellAddress(row, col); }
std::string num(int v) { return std::to_string(v); }

TEST(TotalLoadPage, TableRowsFollowFromN) {
    const totalload::TableRows one = totalload::tableRows(1);
    EXPECT_EQ((std::vector<int>{one.a, one.b, one.one, one.c, one.d, one.two}),
              (std::vector<int>{4, 11, 17, 23, 29, 35}));
    const totalload::TableRows many = totalload::tableRows(200);
    EXPECT_EQ((std::vector<int>{many.a, many.b, many.one, many.c, many.d, many.two}),
              (std::vector<int>{4, 210, 415, 620, 825, 1030}));
}

class TotalLoadLayout : public ::testing::TestWithParam<int> {};

// Titles, header rows, labels and hidden rows of all six tables.
TEST_P(TotalLoadLayout, TablesAndHiddenRows) {
    const int N = GetParam();
    Built b = build(N);
    Worksheet& ws = *b.ws;
    const std::string wn = "W" + num(N);

    struct Table {
        const char* title;
        int header;
        int firstRow;  // subwatershed 1 (table 2: Urban)
        int totalRow;
    };
    const Table tables[] = {
        {"a. Nutrient load from runoff (lb/year) and E. coli (MPN/year) without BMPs", 4, 6, N + 6},
        {"b. Nutrient load reduction in runoff with BMPs (lb/year) and E. coli (MPN/year)", N + 10,
         N + 12, 2 * N + 12},
        {"1. Total load by subwatershed(s)", 2 * N + 15, 2 * N + 17, 3 * N + 17},
        {"c. Nutrient and sediment load by land uses with BMP (lb/year) and E. coli (MPN/year)",
         3 * N + 20, 3 * N + 22, 4 * N + 22},
        {"d. Load from groundwater by land uses with BMP (lb/year) and E. coli (MPN/year)",
         4 * N + 25, 4 * N + 27, 5 * N + 27},
        {"2. Total load by land uses (with BMP)", 5 * N + 30, 5 * N + 31, 5 * N + 41},
    };
    for (const Table& t : tables) {
        EXPECT_EQ(ws.cells(t.header - 1, 2).text(), t.title) << t.title;
        EXPECT_TRUE(ws.cells(t.header, 2).format().font.bold) << t.title;
        EXPECT_EQ(ws.cells(t.totalRow, 2).text(), "Total") << t.title;
        EXPECT_TRUE(ws.cells(t.totalRow, 3).hasFormula()) << t.title;
        EXPECT_FALSE(ws.cells(t.totalRow + 1, 2).hasFormula()) << t.title;
        EXPECT_EQ(ws.cells(t.totalRow + 1, 2).text(), "") << t.title;
    }
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(ws.cells(tables[k].firstRow, 2).text(), "W1") << tables[k].title;
        EXPECT_EQ(ws.cells(tables[k].totalRow - 1, 2).text(), wn) << tables[k].title;
        EXPECT_EQ(ws.cells(tables[k].header, 2).text(), "Watershed") << tables[k].title;
    }
    EXPECT_EQ(ws.cells(2 * N + 16, 3).text(), "lb/year");
    EXPECT_EQ(ws.cells(5 * N + 31, 2).text(), "Urban");
    EXPECT_EQ(ws.cells(5 * N + 40, 2).text(), "Groundwater");
    EXPECT_EQ(ws.cells(5 * N + 30, 2).text(), "Sources");

    for (int row = 1; row <= 5 * N + 45; ++row) {
        const bool expected = (row >= 2 && row <= 2 * N + 12) ||
                              (row >= 3 * N + 19 && row <= 4 * N + 22) ||
                              (row >= 4 * N + 24 && row <= 5 * N + 27);
        EXPECT_EQ(hidden(ws, row), expected) << "N = " << N << ", row " << row;
    }
    EXPECT_EQ(b.book->activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

INSTANTIATE_TEST_SUITE_P(Counts, TotalLoadLayout, ::testing::Values(1, 3, 200));

TEST(TotalLoadPage, TwoHundredSubwatersheds) {
    Built b = build(200);
    Worksheet& ws = *b.ws;
    EXPECT_EQ(ws.range("B1041").text(), "Total");
    EXPECT_EQ(ws.range("C1041").formula(), "=SUM(C1031:C1040)");
    // The far ends: table 1's last groundwater term and table 2's groundwater row.
    EXPECT_NE(ws.range("C616").formula().find("+AG1026+"), std::string::npos)
        << ws.range("C616").formula();
    EXPECT_EQ(ws.range("C1040").formula(), "=AG1027");
}

// Block headers merged over their columns, pollutant names in the inserted second header row.
TEST(TotalLoadPage, BlockHeaders) {
    Built b = build(3);
    Worksheet& ws = *b.ws;
    struct Block {
        const char* range;
        const char* name;
    };
    const Block blocks[] = {
        {"C4:F4", "Cropland"},
        {"G4:J4", "Pastureland"},
        {"K4:N4", "Forest"},
        {"O4:R4", "User Defined"},
        {"S4:V4", "Total"},
        {"C13:F13", "Cropland"},
        {"S13:V13", "Total"},
        {"C29:G29", "Urban"},
        {"H29:L29", "Cropland"},
        {"W29:AA29", "Feedlot"},
        {"AB29:AF29", "User Defined"},
        {"AG29:AK29", "Septic"},
        {"AL29:AP29", "Gully"},
        {"AQ29:AU29", "Streambank"},
        {"C37:G37", "Urban"},
        {"W37:AA37", "Feedlot"},
        {"AB37:AF37", "User Defined"},
        {"AG37:AK37", "Total"},
    };
    for (const Block& blk : blocks) {
        Range r = ws.range(blk.range);
        EXPECT_EQ(r.mergeArea().ref(), r.ref()) << blk.range;
        EXPECT_EQ(r.text(), blk.name) << blk.range;
    }
    const std::pair<int, std::vector<std::string>> second[] = {
        {5, {"N", "P", "BOD", "E. coli", "N"}},          // C..G of table a
        {14, {"N", "P", "BOD", "E. coli", "N"}},         // table b
        {30, {"N", "P", "BOD", "Sediment", "E. coli"}},  // table c
        {38, {"N", "P", "BOD", "Sediment", "E. coli"}},  // table d
    };
    for (const auto& [row, names] : second)
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(ws.cells(row, 3 + j).text(), names[j]) << row << "," << j;
    EXPECT_EQ(ws.range("V5").text(), "E. coli");
    EXPECT_EQ(ws.range("AU30").text(), "E. coli");
    EXPECT_EQ(ws.range("AK38").text(), "E. coli");
    EXPECT_EQ(ws.range("B5").text(), "");
    // The inserted row keeps the header row's look.
    EXPECT_TRUE(ws.range("D30").format().font.bold);
    EXPECT_EQ(ws.range("D30").format().fill.color, Color::indexed(15));
}

// Every kind of formula of the working tables for N = 3 and two gully/streambank rows, as the
// cells they read: L = 39 (Land&Rain table 4), A = 34 (Animal pastureland AEU table).
TEST(TotalLoadPage, WorkingTableFormulas) {
    Built b = build(3, 1, 1);
    Worksheet& ws = *b.ws;
    const std::pair<const char*, const char*> cells[] = {
        // a: rows 6..8
        {"C6",
         "='Land&Rain'!E39*((1-Animal!L10/12)*Animal!N27+(Animal!L10/12)*Animal!O27 "
         ")*4047*0.3048/454"},
        {"F7",
         "='Land&Rain'!E40*((1-Animal!L11/12)*Animal!T28+(Animal!L11/12)*Animal!U28 "
         ")*4047*0.3048/454*10*453592"},
        {"H8",
         "='Land&Rain'!G41*((1-Animal!M12/12)*Animal!P36+(Animal!M12/12)*Animal!Q36 "
         ")*4047*0.3048/454"},
        {"K6", "='Land&Rain'!I39*'Land&Rain'!C47*4047*0.3048/454"},
        {"N7", "='Land&Rain'!I40*'Land&Rain'!F47*4047*0.3048/454*10*453592"},
        {"O8", "='Land&Rain'!K41*'Land&Rain'!C48*4047*0.3048/454"},
        {"S6", "=O6+K6+G6+C6"},
        {"V8", "=R8+N8+J8+F8"},
        {"C9", "=SUM(C6:C8)"},
        {"V9", "=SUM(V6:V8)"},
        // b: rows 15..17
        {"C15",
         "=(C6-'Land&Rain'!E53*Animal!N27*4047*0.3048/"
         "454)*Sediment!G16+'Land&Rain'!E53*Animal!N27*4047*0.3048/454"},
        {"F16",
         "=(F7-'Land&Rain'!E54*Animal!T28*4047*0.3048/"
         "454*10*453592)*Sediment!S17+'Land&Rain'!E54*Animal!T28*4047*0.3048/454*10*453592"},
        {"H15", "=H6*Sediment!L16"},
        {"N17", "=N8*Sediment!U18"},
        {"R15", "=R6*Sediment!V16"},
        {"U16", "=Q16+M16+I16+E16"},
        {"S18", "=SUM(S15:S17)"},
        // c: rows 31..33
        {"C31", "=Urban!M73"},
        {"G33", "=Urban!Q75"},
        {"H31", "=C6-C15+(Sediment!C41)*2000"},
        {"K31", "=2000*Sediment!G41"},
        {"L32", "=F7-F16+(Sediment!F42)"},
        {"P31", "=(Sediment!L41)*2000"},
        {"Q31", "=J6-J15+(Sediment!K41)"},
        {"R31", "=K6-K15+(Sediment!M41)*2000"},
        {"V33", "=N8-N17+(Sediment!P43)"},
        {"W31", "=Feedlots!C26- Feedlots!G26"},
        {"AA31", "=Feedlots!F26- Feedlots!J26"},
        {"AB31", "=O6-O15+(Sediment!R41)*2000"},
        {"AE31", "=(Sediment!V41)*2000"},
        {"AF31", "=R6-R15+(Sediment!U41)"},
        {"AG31", "=Septic!K23"},
        {"AK31", "=Septic!N23"},
        {"AL31", "='Gully&Streambank'!C22-'Gully&Streambank'!H22"},
        {"AO31", "='Gully&Streambank'!F22-'Gully&Streambank'!K22"},
        {"AU33", "='Gully&Streambank'!Q24-'Gully&Streambank'!V24"},
        {"AT32", "='Gully&Streambank'!P23-'Gully&Streambank'!U23"},
        {"AU34", "=SUM(AU31:AU33)"},
        // d: rows 39..41
        {"C39", "='Land&Rain'!AK39*Input!I68*4047*0.3048/454"},
        {"G41", "='Land&Rain'!AK41*Input!L68*4047*0.3048/454*10*453592"},
        {"H40", "='Land&Rain'!AM40*Input!I69*4047*0.3048/454"},
        {"O39", "='Land&Rain'!AO39*Input!K70*4047*0.3048/454"},
        {"R39", "='Land&Rain'!AQ39*Input!I71*4047*0.3048/454"},
        {"W39", "='Land&Rain'!AU39*Input!I72*4047*0.3048/454"},
        {"AF40", "='Land&Rain'!AS40*Input!L73*4047*0.3048/454*10*453592"},
        {"AG39", "=AB39+W39+R39+M39+H39+C39"},
        {"AJ41", "=AE41+Z41+U41+P41+K41+F41"},
        {"AJ42", "=SUM(AJ39:AJ41)"},
    };
    for (const auto& [c, f] : cells) EXPECT_EQ(ws.range(c).formula(), f) << c;

    // Feedlot and septic carry no sediment: the number 0.
    for (const char* c : {"Z31", "Z33", "AJ31", "AJ33"}) {
        EXPECT_FALSE(ws.range(c).hasFormula()) << c;
        EXPECT_EQ(ws.range(c).value(), CellValue(0.0)) << c;
    }
    // Groundwater carries none either: the Sediment positions stay empty.
    for (const char* c : {"F39", "K40", "P41", "U39", "Z40", "AE41"})
        EXPECT_EQ(ws.range(c).value(), CellValue()) << c;
    // Nothing beyond the last block; the frame's own sum column is overwritten.
    for (const char* c : {"W6", "W9", "AV31", "AL39"})
        EXPECT_EQ(ws.range(c).value(), CellValue()) << c;
    EXPECT_EQ(ws.range("U6").formula(), "=Q6+M6+I6+E6");
    EXPECT_EQ(ws.range("AT31").formulaR1C1(),
              "='Gully&Streambank'!R[-9]C[-30]-'Gully&Streambank'!R[-9]C[-25]");
    // As R1C1 text, the blanks the cells have always had.
    EXPECT_EQ(
        ws.range("C6").formulaR1C1(),
        "='Land&Rain'!R[33]C[2]*((1-Animal!R[4]C[9]/12)*Animal!R[21]C[11]+(Animal!R[4]C[9]/12)*"
        "Animal!R[21]C[12] )*4047*0.3048/454");
    EXPECT_EQ(ws.range("W31").formulaR1C1(), "=Feedlots!R[-5]C[-20]- Feedlots!R[-5]C[-16]");
}

// Without gullies and streambanks the Gully and Streambank blocks read rows 19+i of the unfilled
// sheet, which stay empty.
TEST(TotalLoadPage, NoGulliesReadsEmptyRows) {
    Built b = build(1);
    Worksheet& ws = *b.ws;
    // Table c's subwatershed row is 25.
    EXPECT_EQ(ws.range("AL25").formula(), "='Gully&Streambank'!C20-'Gully&Streambank'!H20");
    EXPECT_EQ(ws.range("AP25").formula(), "='Gully&Streambank'!G20-'Gully&Streambank'!L20");
    EXPECT_EQ(ws.range("AQ25").formula(), "='Gully&Streambank'!M20-'Gully&Streambank'!R20");
    EXPECT_EQ(ws.range("AU25").formula(), "='Gully&Streambank'!Q20-'Gully&Streambank'!V20");
    EXPECT_EQ(ws.range("AL25").formulaR1C1(),
              "='Gully&Streambank'!R[-5]C[-35]-'Gully&Streambank'!R[-5]C[-30]");
    EXPECT_EQ(b.book->sheet("Gully&Streambank").maxRow(), 0);
    // Table 1's subwatershed row is 19.
    EXPECT_NE(ws.range("C19").formula().find("+'Gully&Streambank'!C20+'Gully&Streambank'!M20"),
              std::string::npos);
}

// Table 1 for N = 3, g + s = 2: rows 23..25, total 26.
TEST(TotalLoadPage, SubwatershedSummaryFormulas) {
    Built b = build(3, 2, 0);
    Worksheet& ws = *b.ws;
    const std::pair<const char*, const char*> cells[] = {
        {"C23",
         "=S6+Feedlots!C26+(Sediment!K34)*2000+Urban!C73+Septic!C23+AG39+'Gully&Streambank'!C22+"
         "'Gully&Streambank'!M22"},
        {"D24",
         "=T7+Feedlots!D27+(Sediment!M35)*2000+Urban!D74+Septic!D24+AH40+'Gully&Streambank'!D23+"
         "'Gully&Streambank'!N23"},
        {"E25",
         "=U8+Feedlots!E28+(Sediment!O36)*2000+Urban!E75+Septic!E25+AI41+'Gully&Streambank'!E24+"
         "'Gully&Streambank'!O24"},
        {"F23",
         "=Sediment!M22+Urban!F73/2000+AJ39/2000+'Gully&Streambank'!P22/"
         "2000+'Gully&Streambank'!F22/2000"},
        {"G23",
         "=(V6 + Feedlots!F26+Sediment!Q34+Urban!G73+Septic!F23 +AK39+'Gully&Streambank'!G22+"
         "'Gully&Streambank'!Q22)/1000000000"},
        {"H23",
         "=S15+(Sediment!S34)*2000+Urban!H73+Feedlots!G26+Septic!G23+'Gully&Streambank'!H22+"
         "'Gully&Streambank'!R22"},
        {"J25",
         "=U17+(Sediment!W36)*2000+Urban!J75+Feedlots!I28+Septic!I25+'Gully&Streambank'!J24+"
         "'Gully&Streambank'!T24"},
        {"K23",
         "=Sediment!O22+Urban!K73/2000+'Gully&Streambank'!U22/2000+'Gully&Streambank'!K22/2000"},
        {"L23",
         "=(V15+Sediment!Y34 +Urban!L73+Feedlots!J26+Septic!J23+'Gully&Streambank'!L22 +"
         "'Gully&Streambank'!V22)/1000000000"},
        {"M23", "=C23-H23"},
        {"Q25", "=G25-L25"},
        {"C26", "=SUM(C23:C25)"},
        {"Q26", "=SUM(Q23:Q25)"},
        {"R23", "=IF(C23=0,0,100*H23/C23)"},
        {"U24", "=IF(F24=0,0,100*K24/F24)"},
        {"V26", "=IF(G26=0,0,100*L26/G26)"},
    };
    for (const auto& [c, f] : cells) EXPECT_EQ(ws.range(c).formula(), f) << c;
    EXPECT_EQ(ws.range("R23").formulaR1C1(), "=IF(RC[-15]=0,0,100*RC[-10]/RC[-15])");
    EXPECT_EQ(ws.range("W23").value(), CellValue());
    EXPECT_EQ(ws.range("R27").value(), CellValue());

    const std::pair<const char*, const char*> texts[] = {
        {"C21", "N Load (no BMP)"},
        {"O21", "BOD (with BMP)"},
        {"V21", "%E. coli Reduction"},
        {"F22", "t/year"},
        {"G22", "Billion MPN/year"},
        {"V22", "%"},
        {"B22", ""},
    };
    for (const auto& [c, text] : texts) EXPECT_EQ(ws.range(c).text(), text) << c;
    for (const char* c : {"H21", "L26", "R21", "V26"})
        EXPECT_EQ(ws.range(c).format().fill.color, Color::indexed(24)) << c;
    for (const char* c : {"G21", "M26", "Q23"})
        EXPECT_NE(ws.range(c).format().fill.color, Color::indexed(24)) << c;
    for (const char* c : {"C23", "Q26", "V26"})
        EXPECT_EQ(ws.range(c).format().numberFormat, "0.0") << c;
    EXPECT_EQ(ws.range("V20").format().fill.color, Color::indexed(43));
    EXPECT_TRUE(ws.range("W21").format().align.wrap);
    EXPECT_EQ(ws.range("C21").format().align.vertical, xl::Top);
}

// The groundwater term of subwatershed i is table d's row of the same subwatershed, for every i.
TEST(TotalLoadPage, GroundwaterTermReadsTheSameSubwatershed) {
    for (int N : {1, 2, 5}) {
        Built b = build(N);
        Worksheet& ws = *b.ws;
        for (int i = 1; i <= N; ++i) {
            const int row = 2 * N + 16 + i, d = 4 * N + 26 + i;
            EXPECT_NE(ws.cells(row, 3).formula().find("+" + at(d, 33) + "+"), std::string::npos)
                << "N = " << N << ", i = " << i << ": " << ws.cells(row, 3).formula();
            EXPECT_NE(ws.cells(row, 6).formula().find("+" + at(d, 36) + "/2000"), std::string::npos)
                << ws.cells(row, 6).formula();
            EXPECT_NE(ws.cells(row, 7).formula().find("+" + at(d, 37) + "+"), std::string::npos)
                << ws.cells(row, 7).formula();
            EXPECT_EQ(ws.cells(d, 2).text(), "W" + num(i));
        }
    }
}

TEST(TotalLoadPage, SourceSummaryFormulas) {
    Built b = build(3);
    Worksheet& ws =
        *b.ws;  // table 2: header 45, sources 46..55, total 56; table c total 34, d total 42
    const std::pair<const char*, const char*> cells[] = {
        {"C46", "=C34"},
        {"E46", "=E34"},
        {"F46", "=F34/2000"},
        {"G46", "=G34/1000000000"},
        {"C47", "=H34"},
        {"F50", "=Z34/2000"},
        {"C54", "=AQ34"},
        {"G54", "=AU34/1000000000"},
        {"C55", "=AG42"},
        {"F55", "=AJ42/2000"},
        {"G55", "=AK42/1000000000"},
    };
    for (const auto& [c, f] : cells) EXPECT_EQ(ws.range(c).formula(), f) << c;
    EXPECT_EQ(ws.range("C46").formulaR1C1(), "=R[-12]C");
    EXPECT_EQ(ws.range("C54").formulaR1C1(), "=R[-20]C[40]");
    for (const char* c : {"C56", "G56"})
        EXPECT_EQ(ws.range(c).formula(), std::string("=SUM(") + c[0] + "46:" + c[0] + "55)") << c;
    EXPECT_EQ(ws.range("H46").value(), CellValue());
    EXPECT_EQ(ws.range("B56").text(), "Total");
    EXPECT_EQ(ws.range("G45").text(), "E. coli Load (Billion MPN/yr)");
    EXPECT_EQ(ws.rows(45).rowHeight(), 40);
    EXPECT_TRUE(ws.range("D45").format().align.wrap);
    EXPECT_EQ(ws.range("D45").format().align.horizontal, xl::Center);
    for (const char* c : {"C46", "G56"}) {
        EXPECT_EQ(ws.range(c).format().fill.color, Color::indexed(34)) << c;
        EXPECT_EQ(ws.range(c).format().numberFormat, "0.00") << c;
    }
    EXPECT_EQ(ws.range("G44").format().fill.color, Color::indexed(43));
}

TEST(TotalLoadPage, SheetSettings) {
    Built b = build(2);
    Worksheet& ws = *b.ws;
    EXPECT_EQ(ws.range("B1").text(), "Total Load");
    EXPECT_TRUE(ws.range("B1").format().font.bold);
    EXPECT_EQ(ws.range("B1").format().font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(ws.range("D1").text(),
              "This is the summary of annual nutrient and sediment load for each subwatershed. "
              "This sheet is "
              "initially protected.");
    EXPECT_EQ(ws.columns("A").columnWidth(), 5);
    EXPECT_EQ(ws.columns("B").columnWidth(), 11);
    EXPECT_EQ(ws.columns("AA").columnWidth(), 11);
    // The title band: grey, with a thin outline and no lines inside.
    const CellFormat& first = ws.range("B1").format();
    const CellFormat& middle = ws.range("F1").format();
    const CellFormat& last = ws.range("L1").format();
    EXPECT_EQ(middle.fill.color, Color::indexed(15));
    EXPECT_EQ(middle.font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(first.left.lineStyle, xl::Continuous);
    EXPECT_EQ(first.right.lineStyle, xl::None);
    EXPECT_EQ(middle.top.lineStyle, xl::Continuous);
    EXPECT_EQ(middle.bottom.lineStyle, xl::Continuous);
    EXPECT_EQ(middle.left.lineStyle, xl::None);
    EXPECT_EQ(last.right.lineStyle, xl::Continuous);
    EXPECT_EQ(ws.range("AY100").format().fill.color, Color::indexed(2));
    EXPECT_FALSE(ws.protection().sheet);
}

TEST(TotalLoadPage, NeedsThePublishedRows) {
    Built b;
    b.book->addSheet("Total Load");
    b.opt.SubwatershedCount = 2;
    EXPECT_THROW(TotalLoadPage(*b.book, b.opt), WorkbookError);
}

}  // namespace
