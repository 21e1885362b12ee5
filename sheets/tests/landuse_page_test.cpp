// The Land&Rain sheet on the in-memory model: formula texts, the cells they resolve to, the
// groundwater copies, hidden rows and columns, names and formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheets/land/landuse_page.h"

using namespace wb;

namespace {

struct LandRain : ::testing::Test {
    Workbook book;
    Worksheet& info = book.addSheet("General Input Data");
    Worksheet& input = book.addSheet("Input");
    Worksheet& ws = book.addSheet("Land&Rain");
    Worksheet& feedlots = book.addSheet("Feedlots");
    GenerationOptions opt;

    void build(int n) {
        opt.SubwatershedCount = n;
        opt.LandUseNames = {"Watershed", "Urban", "Cropland", "Pastureland", "Forest",
                            "User Defined", ""};
        input.select();
        LandusePage(book, opt);
    }
    // A formula text as the model writes it back once it is stored in `a1` (quotes that are not
    // needed dropped, zero offsets bare, a lower-case "c" upper-cased).
    std::string stored(const std::string& a1, const std::string& r1c1) {
        Range r = ws.range(a1);
        return formula::toR1C1(formula::parseR1C1(r1c1, r.row(), r.column(), book), r.row(),
                               r.column(), book);
    }
    const CellFormat& fmt(const std::string& a1) { return ws.range(a1).format(); }
    bool rowHidden(int row) {
        auto it = ws.rowInfo.find(row);
        return it != ws.rowInfo.end() && it->second.hidden;
    }
    bool colHidden(int col) {
        auto it = ws.colInfo.find(col);
        return it != ws.colInfo.end() && it->second.hidden;
    }
    bool merged(const std::string& a1) {
        Range r = ws.range(a1);
        const RangeRef* m = ws.mergeAt(r.row(), r.column());
        return m && *m == r.ref();
    }
};

struct Case {
    const char* cell;
    const char* text;
};

// N = 1: the texts the layout gives as examples, letter for letter once stored.
TEST_F(LandRain, ExampleTextsForOneSubwatershed) {
    build(1);
    const Case cases[] = {
        {"C8", "='Input'!R[10]C[0]"},
        {"P9", "=SUM(R[-1]C[-1]:R[-1]C[-1])"},
        {"C26",
         "=IF((R[-18]C[18]-R[-20]C[18]*(1000/R[-5]C-10))>0,POWER((R[-18]C[18]-R[-20]C[18]*(1000/"
         "R[-5]C-10)),2)/(R[-18]C[18]-R[-20]C[18]*(1000/R[-5]C-10)+(1000/R[-5]C-10)),0)"},
        {"AK13", "=IF('Input'!R10C11=TRUE,0.36,0)"},
        {"AK21", "=LOOKUP(R[-8]C[-26],R[-9]C:R[-9]C[7],R[-8]C:R[-8]C[7])"},
        {"AK26", "=R[-5]C*R[-18]C[-16]"},
        {"AK31", "=(R[-5]C/12)*R[-23]C[-18]*RainDayCor*R[-23]C[-2]"},
        {"AI8",
         "=Rc[-1]-(RC[-10]*0.85+RC[-9]*0.7+RC[-8]*0.5+RC[-7]*0.95+RC[-6]*0.75+RC[-5]*0.3+RC[-4]*"
         "0.01+RC[-3]*0.7+RC[-2]*0.01)"},
        {"D2", "='General Input Data'!R6C3"},
        {"Q6", "='Input'!R[10]C[-6]"},
        {"S6", "='Input'!R[10]C[-7]"},
        {"E31",
         "=(R[-5]C/12) * R[-23]C * R[-23]C[14]* R[-25]C[14]+ (R[-5]C[12]/12) * "
         "Input!R[42]C[-1]*Input!R[42]C[2]"},
    };
    for (const Case& c : cases) EXPECT_EQ(ws.range(c.cell).formulaR1C1(), stored(c.cell, c.text)) << c.cell;
    // And what they point at.
    EXPECT_EQ(ws.range("C26").formula(),
              "=IF((U8-U6*(1000/C21-10))>0,POWER((U8-U6*(1000/C21-10)),2)/"
              "(U8-U6*(1000/C21-10)+(1000/C21-10)),0)");
    EXPECT_EQ(ws.range("AK21").formula(), "=LOOKUP(K13,AK12:AR12,AK13:AR13)");
    EXPECT_EQ(ws.range("AK26").formula(), "=AK21*U8");
    EXPECT_EQ(ws.range("AK31").formula(), "=(AK26/12)*S8*RainDayCor*AI8");
    EXPECT_EQ(ws.range("U6").value(), CellValue(0.0));
}

// N = 3, subwatershed 2: every formula family resolved to the cells it must read.
TEST_F(LandRain, FormulasResolveForTheSecondOfThreeSubwatersheds) {
    build(3);
    const Case cases[] = {
        // table 1: C..M read Input C..H, O..U read J..M (Input's I is skipped)
        {"C9", "=Input!C19"}, {"E9", "=Input!D19"}, {"K9", "=Input!G19"},
        {"M9", "=Input!H19"}, {"O9", "=Input!J19"}, {"Q9", "=Input!K19"},
        {"S9", "=Input!L19"}, {"U9", "=Input!M19"}, {"P11", "=SUM(O8:O10)"},
        // 1a
        {"Y9", "=C9*Input!D79/100"}, {"AH9", "=C9*Input!M79/100"},
        // 2 and 3
        {"K16", "=Input!G50"}, {"O15", "=Input!C56"}, {"Q15", "=Input!D56"},
        {"U19", "=Input!F60"},
        // 2.1a and 2.1
        {"Y16", "=LOOKUP(K16,Input!I55:L55,Input!I56:L56)"},
        {"AG16", "=LOOKUP(K16,Input!I55:L55,Input!I64:L64)"},
        {"C26", "=LOOKUP(K16,O14:U14,O15:U15)"}, {"E26", "=LOOKUP(K16,O14:U14,O16:U16)"},
        {"K26", "=LOOKUP(K16,O14:U14,O19:U19)"},
        // 2.2a, 2.2, 2.3: rain (or irrigation depth), U6 and the curve number
        {"Y26",
         "=IF((U9-U6*(1000/Y16-10))>0,POWER((U9-U6*(1000/Y16-10)),2)/(U9-U6*(1000/Y16-10)+(1000/"
         "Y16-10)),0)"},
        {"AG26",
         "=IF((U9-U6*(1000/AG16-10))>0,POWER((U9-U6*(1000/AG16-10)),2)/(U9-U6*(1000/AG16-10)+("
         "1000/AG16-10)),0)"},
        {"K33",
         "=IF((U9-U6*(1000/K26-10))>0,POWER((U9-U6*(1000/K26-10)),2)/(U9-U6*(1000/K26-10)+(1000/"
         "K26-10)),0)"},
        {"Q33",
         "=IF((Input!E86-U6*(1000/E26-10))>0,POWER((Input!E86-U6*(1000/E26-10)),2)/(Input!E86-U6*"
         "(1000/E26-10)+(1000/E26-10)),0)"},
        {"S33",
         "=IF((Input!F86-U6*(1000/E26-10))>0,POWER((Input!F86-U6*(1000/E26-10)),2)/(Input!F86-U6*"
         "(1000/E26-10)+(1000/E26-10)),0)"},
        {"Y33", "=Q33-S33"},
        // 4 and 4a
        {"C40", "=(C33/12) * C9 * S9* S6"},
        {"E40", "=(E33/12) * E9 * S9* S6+ (Q33/12) * Input!D86*Input!G86"},
        {"K40", "=(K33/12) * K9 * S9* S6"}, {"M40", "=SUM(C40:K40)"},
        {"Y40", "=S6*S9*Y9*Y26/12"}, {"AG40", "=S6*S9*AG9*AG26/12"},
        // 5 and 6
        {"C47", "=Input!C72"}, {"F48", "=Input!F73"},
        {"E54", "=(Y33/12) * Input!D86*Input!G86"}, {"M54", "=SUM(C54:K54)"},
        // groundwater
        {"AK15", "=IF(Input!$K$10=TRUE,0.36,0)"}, {"AQ15", "=IF(Input!$K$10=TRUE,0.06,0)"},
        {"AM16", "=IF(Input!$K$10=TRUE,0.3,0)"}, {"AQ19", "=IF(Input!$K$10=TRUE,0.075,0)"},
        {"AK26", "=LOOKUP(K16,AK14:AR14,AK15:AR15)"}, {"AM26", "=LOOKUP(K16,AK14:AR14,AK16:AR16)"},
        {"AS26", "=LOOKUP(K16,AK14:AR14,AK19:AR19)"},
        {"AK33", "=AK26*U9"}, {"AS33", "=AS26*U9"},
        {"AK40", "=(AK33/12)*S9*RainDayCor*AI9"}, {"AM40", "=(AM33/12)*S9*RainDayCor*E9"},
        {"AS40", "=(AS33/12)*S9*RainDayCor*K9"},
        {"AU40", "=(AK33/12)*S9*RainDayCor*Feedlots!J13"},
    };
    for (const Case& c : cases) EXPECT_EQ(ws.range(c.cell).formula(), c.text) << c.cell;
    // Pastureland concentrations are zeros, not Input references; table 2's SHG columns and
    // table 6's other land uses stay empty.
    for (const char* a1 : {"C46", "D46", "E46", "F46"}) EXPECT_EQ(ws.range(a1).value(), CellValue(0.0)) << a1;
    for (const char* a1 : {"C16", "I16", "L16", "C54", "G54", "K54"})
        EXPECT_EQ(ws.range(a1).value(), CellValue()) << a1;
    EXPECT_EQ(opt.RunoffFirstRow, 39);
}

// The frame sums that later formulas replace, and the ones that stay.
TEST_F(LandRain, FrameSumsOverwrittenClearedOrKept) {
    build(2);
    EXPECT_EQ(ws.range("U9").formula(), "=Input!M19");           // table 1's last pair
    EXPECT_EQ(ws.range("K14").formula(), "=Input!G45");          // table 2: the group, no sum
    EXPECT_EQ(ws.range("U18").formula(), "=Input!F55");          // table 3
    EXPECT_EQ(ws.range("Y29").formula(), "=Q29-S29");            // table 2.3
    EXPECT_EQ(ws.range("M35").formula(), "=SUM(C35:K35)");       // table 4 keeps its total
    EXPECT_EQ(ws.range("M48").formula(), "=SUM(C48:K48)");       // table 6 too
}

TEST_F(LandRain, NamesAndTheRunoffRow) {
    for (int n : {1, 200}) {
        SCOPED_TRACE(n);
        Workbook b;
        for (const char* s : {"General Input Data", "Input", "Land&Rain", "Feedlots"}) b.addSheet(s);
        GenerationOptions o;
        o.SubwatershedCount = n;
        o.LandUseNames = opt.LandUseNames;
        LandusePage(b, o);
        const int sheet = b.sheet("Land&Rain").index();
        const DefinedName* area = b.findName("WSAreaSum");
        const DefinedName* days = b.findName("RainDayCor");
        ASSERT_TRUE(area && days);
        ASSERT_EQ(area->refersTo.tokens.size(), 1u);
        const formula::Token& a = area->refersTo.tokens[0];
        EXPECT_EQ(a.sheet, sheet);
        EXPECT_EQ(a.a, (formula::RefPoint{n + 8, 16, true, true}));
        EXPECT_EQ(days->refersTo.tokens[0].a, (formula::RefPoint{6, 19, true, true}));
        EXPECT_EQ(o.RunoffFirstRow, 4 * n + 27);
        // The named cell is the area sum.
        EXPECT_EQ(b.sheet("Land&Rain").cells(n + 8, 16).formulaR1C1(),
                  "=SUM(R[" + std::to_string(-n) + "]C[-1]:R[-1]C[-1])");
    }
}

TEST_F(LandRain, HiddenRowsAndColumns) {
    struct Rows {
        int n, first, last;
    };
    // The working tables 2.1 .. 2.3; for N < 3 the hiding starts lower so that table 3 (rows
    // N+12 .. N+16) stays visible.
    for (Rows c : {Rows{1, 19, 27}, Rows{2, 21, 31}, Rows{3, 20, 35}, Rows{200, 414, 823}}) {
        SCOPED_TRACE(c.n);
        Workbook b;
        for (const char* s : {"General Input Data", "Input", "Land&Rain", "Feedlots"}) b.addSheet(s);
        GenerationOptions o;
        o.SubwatershedCount = c.n;
        o.LandUseNames = opt.LandUseNames;
        LandusePage(b, o);
        Worksheet& s = b.sheet("Land&Rain");
        auto hidden = [&](int row) {
            auto it = s.rowInfo.find(row);
            return it != s.rowInfo.end() && it->second.hidden;
        };
        EXPECT_FALSE(hidden(c.first - 1));
        EXPECT_FALSE(hidden(c.n + 16));  // table 3's User Defined row
        EXPECT_TRUE(hidden(c.first));
        EXPECT_TRUE(hidden(c.last));
        EXPECT_FALSE(hidden(c.last + 1));
        // Table 6, title to last data row.
        const int n = c.n;
        EXPECT_FALSE(hidden(5 * n + 35));
        EXPECT_TRUE(hidden(5 * n + 36));
        EXPECT_TRUE(hidden(6 * n + 37));
        EXPECT_FALSE(hidden(6 * n + 38));
        EXPECT_EQ(s.cells(6 * n + 37, 2).text(), "W" + std::to_string(n));
        EXPECT_TRUE(s.cells(6 * n + 37, 5).hasFormula());
    }
    build(1);
    for (int col = 24; col <= 34; ++col) EXPECT_TRUE(colHidden(col)) << col;  // X..AH
    for (int col : {23, 35, 36}) EXPECT_FALSE(colHidden(col)) << col;          // W, AI, AJ
}

// N = 200: table 6 ends at row 1237, far below the white background (A1:AY100).
TEST_F(LandRain, TwoHundredSubwatersheds) {
    build(200);
    EXPECT_EQ(ws.range("B1237").text(), "W200");
    EXPECT_EQ(ws.range("E1237").formula(), "=(Y822/12) * Input!D1466*Input!G1466");
    EXPECT_EQ(ws.range("B207").text(), "W200");
    EXPECT_EQ(ws.range("C207").formula(), "=Input!C217");
    EXPECT_EQ(fmt("AY100").fill.color, Color::indexed(2));
    EXPECT_EQ(fmt("AY101").fill.pattern, xl::None);
    EXPECT_EQ(ws.range("AU1026").formula(), "=(AK822/12)*S207*RainDayCor*Feedlots!J211");
}

// The groundwater tables are copies of finished tables: labels, letters, merges and formats
// come along, then titles and formulas replace what they must.
TEST_F(LandRain, GroundwaterTablesAreCopiesOfFinishedTables) {
    build(1);
    // GW1 from table 3 (N11:V17 to AJ11:AR17): group letters, land-use labels, red last row.
    EXPECT_EQ(ws.range("AJ11").text(), "GW1. Reference soil infiltration fraction for precipitation");
    EXPECT_EQ(ws.range("AJ12").text(), "SHG");
    const char* letters[4][2] = {{"AK12", "A"}, {"AM12", "B"}, {"AO12", "C"}, {"AQ12", "D"}};
    for (auto& l : letters) EXPECT_EQ(ws.range(l[0]).text(), l[1]) << l[0];
    EXPECT_EQ(ws.range("AJ13").text(), "Urban");
    EXPECT_EQ(ws.range("AJ17").text(), "User Defined");
    EXPECT_TRUE(merged("AK13:AL13"));
    EXPECT_TRUE(merged("AQ17:AR17"));
    EXPECT_EQ(fmt("AK17").font.color, Color::fromBgr(0x0000FF));
    EXPECT_EQ(fmt("AK12").fill.color, Color::indexed(15));
    EXPECT_EQ(ws.range("AQ17").formula(), "=IF(Input!$K$10=TRUE,0.075,0)");
    EXPECT_EQ(ws.range("AS13").value(), CellValue());  // nothing beyond V was copied

    // GW2 from table 2.1, widened from K to the whole pair K:L.
    EXPECT_EQ(ws.range("AJ19").text(), "GW2. Infiltration fraction based on SHG");
    EXPECT_EQ(ws.range("AJ21").text(), "W1");
    EXPECT_EQ(ws.range("AS20").text(), "User Defined");
    EXPECT_TRUE(merged("AS21:AT21"));
    EXPECT_EQ(fmt("AT21").right.lineStyle, xl::Continuous);  // the grid came along

    // GW3 from table 2.2 with its "0.000" body; GW4 from table 4 with "0.0" and the total
    // header replaced.
    EXPECT_EQ(ws.range("AJ24").text(), "GW3. Calculated infiltration (in)");
    EXPECT_EQ(fmt("AK26").numberFormat, "0.000");
    EXPECT_EQ(ws.range("AJ29").text(), "GW4. Calculated infiltration volume (ac-ft)");
    EXPECT_EQ(fmt("AK31").numberFormat, "0.0");
    EXPECT_EQ(ws.range("AU30").text(), "Feedlots");
    EXPECT_EQ(ws.range("AT30").text(), "User Defined");
    EXPECT_TRUE(merged("AU31:AV31"));
    EXPECT_EQ(ws.range("AW31").value(), CellValue());
}

TEST_F(LandRain, HeaderBlockAndCorrectionFactors) {
    build(1);
    EXPECT_EQ(ws.range("B1").text(), "Land Use and Precipitation");
    EXPECT_TRUE(fmt("B1").font.bold);
    EXPECT_EQ(fmt("B1").font.color, Color::fromBgr(0xFF0000));
    EXPECT_TRUE(fmt("D2").font.bold);
    EXPECT_EQ(fmt("D2").font.color.toRgb(), 0x000000u);
    EXPECT_EQ(fmt("F2").font.color, Color::fromBgr(0xFF0000));
    // Outline only.
    EXPECT_EQ(fmt("B2").left.lineStyle, xl::Continuous);
    EXPECT_EQ(fmt("B2").top.lineStyle, xl::Continuous);
    EXPECT_EQ(fmt("L4").right.lineStyle, xl::Continuous);
    EXPECT_EQ(fmt("L4").bottom.lineStyle, xl::Continuous);
    EXPECT_EQ(fmt("C3").right.lineStyle, xl::None);
    EXPECT_EQ(fmt("C3").bottom.lineStyle, xl::None);
    EXPECT_EQ(fmt("G3").fill.color, Color::indexed(15));
    // The words "acres" and "inches" of B3 in colour 53, the rest blue.
    const std::string b3 = ws.range("B3").text();
    std::vector<std::string> coloured;
    for (const TextRun& run : ws.runs.at({3, 2}))
        if (run.font.color == Color::indexed(53)) coloured.push_back(b3.substr(run.start, run.length));
        else EXPECT_EQ(run.font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(coloured, (std::vector<std::string>{"acres", "inches"}));

    EXPECT_EQ(ws.rowInfo.at(6).height, 18);
    for (const char* pair : {"Q6:R6", "S6:T6", "U6:V6"}) {
        SCOPED_TRACE(pair);
        EXPECT_TRUE(merged(pair));
        const CellFormat& f = ws.range(pair).format();
        EXPECT_EQ(f.fill.color, Color::indexed(15));
        EXPECT_EQ(f.align.horizontal, xl::Center);
        EXPECT_EQ(f.align.vertical, xl::Bottom);
        EXPECT_TRUE(f.align.wrap);
        EXPECT_EQ(f.top.lineStyle, xl::Continuous);
    }
    ASSERT_TRUE(ws.range("Q6").comment() && ws.range("S6").comment() && ws.range("U6").comment());
    EXPECT_EQ(ws.range("S6").comment()->text,
              "Rain Days Correction Factor:  The percentage of rain day (event) that generates runoff.");
    EXPECT_EQ(ws.range("U6").comment()->heightScale, 1.6);
    EXPECT_EQ(ws.range("Q6").comment()->heightScale, 1.0);
    EXPECT_EQ(ws.range("Q5").text(), "Go to \"KAVRO\" menu for correction factors.");
    EXPECT_EQ(fmt("W5").font.color, Color::indexed(29));
    EXPECT_TRUE(fmt("W5").font.bold);
}

TEST_F(LandRain, SheetFormats) {
    build(3);
    EXPECT_EQ(fmt("U8").numberFormat, "0.000");
    EXPECT_EQ(fmt("U10").numberFormat, "0.000");
    EXPECT_EQ(fmt("O9").font.color.toRgb(), 0x000000u);
    // Wrapped tall header rows of the detailed urban tables.
    for (int row : {7, 14, 24, 38}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(ws.rowInfo.at(row).height, 24);
        const CellFormat& r = book.styles().get(ws.rowInfo.at(row).style);
        EXPECT_TRUE(r.align.wrap);
        EXPECT_EQ(r.align.vertical, xl::Top);
        EXPECT_EQ(r.align.horizontal, xl::Center);
    }
    struct Width {
        const char* col;
        double width;
    };
    for (Width w : {Width{"A", 5}, Width{"B", 10}, Width{"C", 5}, Width{"L", 5}, Width{"M", 2},
                    Width{"N", 10}, Width{"V", 5}, Width{"AK", 5}, Width{"AR", 5}})
        EXPECT_EQ(ws.columns(w.col).columnWidth(), w.width) << w.col;
    EXPECT_NE(ws.columns("AS").columnWidth(), 5);

    EXPECT_EQ(fmt("O19").font.color, Color::fromBgr(0x0000FF));  // table 3, User Defined
    EXPECT_EQ(fmt("C33").numberFormat, "0.000");                 // table 2.2
    EXPECT_EQ(fmt("N33").fill.color, Color::indexed(34));        // table 2.3, labels included
    EXPECT_EQ(fmt("C40").numberFormat, "0.0");                   // table 4
    EXPECT_EQ(fmt("F48").font.color, Color::fromBgr(0x0000FF));  // table 5, User Defined
    EXPECT_EQ(ws.range("B45").value(), CellValue());             // table 5's empty header
    EXPECT_EQ(ws.range("B46").text(), "Pastureland");
    EXPECT_EQ(fmt("N54").fill.color, Color::indexed(34));        // table 6

    ASSERT_TRUE(ws.cells(14, 3).comment());
    EXPECT_EQ(ws.cells(14, 9).comment()->text.rfind("Soil Hydrologic Group D:", 0), 0u);
    EXPECT_EQ(ws.range("C14").text(), "SHG A");
    EXPECT_EQ(ws.range("AI7").text(), "Pervious Area (ac.)");
    EXPECT_EQ(ws.range("Q31").text(), "Irr. before BMP");
    EXPECT_EQ(ws.range("Y31").text(), "Irr. Reduction");
    EXPECT_EQ(ws.range("M38").text(), "Tot Runoff Vol");

    EXPECT_EQ(book.activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

// The options form's land-use check boxes leave the sheet as it is.
TEST_F(LandRain, SameSheetWhateverTheLandUseSelection) {
    auto snapshot = [this](bool nonZero) {
        Workbook b;
        for (const char* s : {"General Input Data", "Input", "Land&Rain", "Feedlots"}) b.addSheet(s);
        GenerationOptions o;
        o.SubwatershedCount = 3;
        o.applyInitialisationMode(nonZero);
        o.LandUseNames = opt.LandUseNames;
        LandusePage(b, o);
        std::vector<std::string> cells;
        Worksheet& s = b.sheet("Land&Rain");
        s.forEachCell([&](int row, const Cell& c) {
            Range r = s.cells(row, c.col);
            cells.push_back(r.address() + " " + r.formulaR1C1());
        });
        return cells;
    };
    std::vector<std::string> zero = snapshot(false);
    EXPECT_GT(zero.size(), 500u);
    EXPECT_EQ(zero, snapshot(true));
}

}  // namespace
