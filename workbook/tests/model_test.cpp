// Semantics of the in-memory workbook's range operations.
#include <gtest/gtest.h>

#include "workbook/model/workbook.h"

using namespace wb;

namespace {

struct Book : ::testing::Test {
    Workbook book;
    Worksheet& a = book.addSheet("Input");
    Worksheet& b = book.addSheet("Land&Rain");

    std::string f(Worksheet& ws, const char* cell) { return ws.range(cell).formula(); }
    double num(Worksheet& ws, const char* cell) {
        return std::get<double>(ws.range(cell).value());
    }
};

TEST_F(Book, TypedEntryTurnsNumbersAndBooleansIntoValues) {
    struct Case {
        const char* text;
        CellValue expected;
    } cases[] = {
        {"12", 12.0},        {"-0.5", -0.5},     {" 3 ", 3.0},      {"1E3", 1000.0},
        {"50%", 0.5},        {"TRUE", true},     {"false", false},  {"W1", std::string("W1")},
        {"0-24%", std::string("0-24%")},         {"1.2.3", std::string("1.2.3")},
        {"-", std::string("-")},                 {"SHG B", std::string("SHG B")},
    };
    int row = 1;
    for (const auto& c : cases) {
        a.cells(row, 1).setValue(c.text);
        EXPECT_EQ(a.cells(row, 1).value(), c.expected) << c.text;
        ++row;
    }
    a.cells(1, 2).setText("12");
    EXPECT_EQ(a.cells(1, 2).value(), CellValue(std::string("12")));
    a.cells(1, 1).setValue("");
    EXPECT_EQ(a.cells(1, 1).value(), CellValue());
}

TEST_F(Book, FormulaOverARangeIsRelativeToEachCell) {
    a.range("C2:C4").setFormulaR1C1("=RC[-1]*2");
    EXPECT_EQ(f(a, "C2"), "=B2*2");
    EXPECT_EQ(f(a, "C4"), "=B4*2");
    a.range("D2:E2").setFormula("=A$1+$B2");
    EXPECT_EQ(f(a, "E2"), "=B$1+$B2");
}

TEST_F(Book, UnreadableFormulaNamesSheetCellAndText) {
    try {
        b.cells(7, 3).setFormulaR1C1("=SUM(R[-1]C");
        FAIL() << "no error";
    } catch (const WorkbookError& e) {
        std::string m = e.what();
        EXPECT_NE(m.find("Land&Rain"), std::string::npos) << m;
        EXPECT_NE(m.find("C7"), std::string::npos) << m;
        EXPECT_NE(m.find("=SUM(R[-1]C"), std::string::npos) << m;
    }
    EXPECT_FALSE(b.cells(7, 3).hasFormula());
}

TEST_F(Book, MergeKeepsTheOnlyValueInTheTopLeftCell) {
    a.range("D5").setValue("SHG A");  // header written into the right cell of a pair
    a.range("C5:D5").setMergeCells(true);
    EXPECT_EQ(a.range("C5").value(), CellValue(std::string("SHG A")));
    EXPECT_EQ(a.range("D5").value(), CellValue());
    EXPECT_TRUE(a.range("D5").mergeCells());
    EXPECT_EQ(a.range("D5").mergeArea().address(false, false), "C5:D5");

    a.range("F5").setValue(1);
    a.range("G5").setValue(2);
    a.range("F5:G5").setMergeCells(true);
    EXPECT_EQ(num(a, "F5"), 1);
    EXPECT_EQ(a.range("G5").value(), CellValue());

    a.range("C5:G5").setMergeCells(false);
    EXPECT_TRUE(a.merges.empty());
}

TEST_F(Book, InsertedRowMovesEverythingBelowAndAdjustsReferencesEverywhere) {
    a.range("B3").setValue("header");
    a.range("B3:D3").font().setBold(true);
    a.range("B4").setValue(10);
    a.range("B5").setValue(20);
    a.range("B6").setFormulaR1C1("=SUM(R[-2]C:R[-1]C)");
    a.range("C4:D4").setMergeCells(true);
    a.range("B5").addComment("note");
    a.rows(5).setHidden(true);
    b.range("A1").setFormula("=Input!B5+'input'!$B$4");
    book.setActiveSheet(0);
    book.addName("Total", "=Input!R6C2");

    a.rows(4).insert();

    EXPECT_EQ(num(a, "B5"), 10);
    EXPECT_EQ(num(a, "B6"), 20);
    EXPECT_EQ(f(a, "B7"), "=SUM(B5:B6)");
    EXPECT_EQ(f(b, "A1"), "=Input!B6+Input!$B$5");
    EXPECT_EQ(formula::toA1(book.findName("Total")->refersTo, book), "Input!$B$7");
    EXPECT_EQ(a.merges[0].r1, 5);
    EXPECT_NE(a.range("B6").comment(), nullptr);
    EXPECT_TRUE(a.rowInfo[6].hidden);
    EXPECT_FALSE(a.rowInfo[5].hidden);
    // The new row takes the format of the row above it.
    EXPECT_TRUE(a.range("C4").format().font.bold);
    EXPECT_EQ(a.range("B4").value(), CellValue());

    a.rows(5).deleteRows();
    EXPECT_EQ(f(a, "B6"), "=SUM(B5:B5)");
    EXPECT_EQ(f(b, "A1"), "=Input!B5+#REF!");
}

TEST_F(Book, CopyPasteShiftsRelativeReferencesAndCarriesFormatsMergesComments) {
    a.range("B2").setFormulaR1C1("=R[-1]C+R1C1");
    a.range("C2:D2").setMergeCells(true);
    a.range("C2").setValue("pair");
    a.range("C2").addComment("c");
    a.range("B2").interior().setColorIndex(15);
    // A copy that cuts through the merged pair C2:D2 is widened to it.
    a.range("B2:C2").copy();
    a.range("B10").paste();
    EXPECT_EQ(f(a, "B10"), "=B9+$A$1");
    EXPECT_EQ(a.range("C10").value(), CellValue(std::string("pair")));
    EXPECT_EQ(a.range("D10").mergeArea().address(false, false), "C10:D10");
    EXPECT_NE(a.range("C10").comment(), nullptr);
    EXPECT_EQ(a.range("B10").format().fill.color, Color::indexed(15));

    a.range("B20").setValue(5);
    a.range("B2").copy();
    a.range("B20").pasteSpecialFormats();
    EXPECT_EQ(num(a, "B20"), 5);
    EXPECT_EQ(a.range("B20").format().fill.pattern, xl::Solid);
}

TEST_F(Book, PasteOntoAMultipleOfTheBlockTilesIt) {
    a.range("K10").setFormulaR1C1("=RC[-1]*2");
    a.range("K10").copy();
    a.range("K10:K13").paste();
    EXPECT_EQ(f(a, "K13"), "=J13*2");
    a.range("B1:C1").setValue(7);
    a.range("B1:C1").copy();
    a.range("B3:D3").paste();  // not a multiple: pasted once
    EXPECT_EQ(num(a, "C3"), 7);
    EXPECT_EQ(a.range("D3").value(), CellValue());
}

TEST_F(Book, FillDownCopiesFirstRowIncludingEmptiness) {
    a.range("M3").setFormulaR1C1("=SUM(RC[-10]:RC[-2])");
    a.range("D3").font().setBold(true);
    a.range("D5").setValue(99);
    a.range("D3:M5").fillDown();
    EXPECT_EQ(f(a, "M5"), "=SUM(C5:K5)");
    EXPECT_EQ(a.range("D5").value(), CellValue());
    EXPECT_TRUE(a.range("D5").format().font.bold);
}

TEST_F(Book, SortOrdersRowsOfTheBlockOnlyWithoutRegardToCase) {
    const char* names[] = {"pond", "Buffer", "apple", "Contour"};
    for (int i = 0; i < 4; ++i) {
        a.cells(2 + i, 2).setValue(names[i]);
        a.cells(2 + i, 3).setValue(i);
        a.cells(2 + i, 8).setValue(i * 10);  // outside the block
    }
    a.range("B2:C5").sort(2);
    EXPECT_EQ(a.range("B2").text(), "apple");
    EXPECT_EQ(a.range("B3").text(), "Buffer");
    EXPECT_EQ(a.range("B5").text(), "pond");
    EXPECT_EQ(num(a, "C2"), 2);
    EXPECT_EQ(num(a, "H2"), 0);  // untouched
}

TEST_F(Book, BordersKeepNeighbouringSidesConsistent) {
    Range band = a.range("B1:D1");
    for (int i : {1, 2, 3, 4}) band.borders(i).setLineStyle(xl::Continuous);
    band.borders(xl::InsideVertical).setLineStyle(xl::None);
    EXPECT_EQ(a.range("B1").format().left.lineStyle, xl::Continuous);
    EXPECT_EQ(a.range("B1").format().right.lineStyle, xl::None);
    EXPECT_EQ(a.range("C1").format().left.lineStyle, xl::None);
    EXPECT_EQ(a.range("D1").format().right.lineStyle, xl::Continuous);
    a.range("B1:D1").borders(xl::EdgeBottom).setWeight(xl::Medium);
    EXPECT_EQ(a.range("C1").format().bottom.weight, xl::Medium);
}

TEST_F(Book, CharactersFormatPartOfATextAndColoursKeepTheirKind) {
    a.range("D1").setValue("Values in RED are required input.");
    a.range("D1").font().setColor(0xFF0000);
    a.range("D1").characters(11, 3).setColorIndex(3);
    const auto& runs = a.runs.at({1, 4});
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].start, 10);
    EXPECT_EQ(runs[1].length, 3);
    EXPECT_EQ(runs[1].font.color, Color::indexed(3));
    EXPECT_EQ(runs[0].font.color.toRgb(), 0x0000FFu);  // BGR 0xFF0000 is blue
    EXPECT_EQ(Color::indexed(0), Color::automatic());
    EXPECT_EQ(Color::indexed(xl::Automatic), Color::automatic());
}

TEST_F(Book, GeometryFollowsWidthsHeightsAndHiddenRows) {
    // Default column: 8.43 characters of a 7-pixel digit plus padding = 64 px = 48 pt.
    EXPECT_DOUBLE_EQ(a.range("A1").width(), 48);
    EXPECT_DOUBLE_EQ(a.range("C1").left(), 96);
    a.columns("B").setColumnWidth(10);  // 75 px
    EXPECT_DOUBLE_EQ(a.range("C1").left(), 48 + 56.25);
    a.rows(2).setRowHeight(24);
    a.rows(3).setHidden(true);
    EXPECT_DOUBLE_EQ(a.range("A4").top(), 12.75 + 24);
    EXPECT_DOUBLE_EQ(a.range("A3").height(), 0);
    EXPECT_THROW(a.range("A1:B2").setHidden(true), WorkbookError);
}

TEST_F(Book, SheetsAreFoundWithoutRegardToCaseAndMissingOnesAreErrors) {
    EXPECT_EQ(&book.sheet("land&rain"), &b);
    EXPECT_THROW(book.sheet("Graphs"), WorkbookError);
    EXPECT_THROW(a.cells(1, 1).setFormula("=Graphs!A1"), WorkbookError);
    b.range("C3").select();
    EXPECT_EQ(book.activeSheetIndex(), 1);
    EXPECT_EQ(b.activeRow(), 3);
    EXPECT_EQ(a.range("I18").address(), "$I$18");
}

}  // namespace

namespace {

TEST_F(Book, WrappedTextAndLargeFontsGrowRowsWithoutASetHeight) {
    a.range("B3").setValue("Number of Septic Systems per subwatershed");
    EXPECT_DOUBLE_EQ(a.range("B3").height(), 12.75);  // not wrapped: one line
    a.range("B3").setWrapText(true);
    EXPECT_GE(a.range("B3").height(), 3 * 12.75);  // about 230 px of text in a 60 px column
    const double wrapped = a.range("B3").height();
    EXPECT_DOUBLE_EQ(a.range("B4").top(), a.range("B3").top() + wrapped);
    a.columns("B").setColumnWidth(60);
    a.range("B3").setWrapText(true);
    EXPECT_DOUBLE_EQ(a.range("B3").height(), 12.75);
    a.range("C5").setValue("Title");
    a.range("C5").font().setSize(14);
    EXPECT_GT(a.range("C5").height(), 12.75);
    // A set height stays; a merged cell does not count.
    a.rows(6).setRowHeight(20);
    a.range("B6").setValue("a long text that wraps over several lines of the cell");
    a.range("B6").setWrapText(true);
    EXPECT_DOUBLE_EQ(a.range("B6").height(), 20);
    a.columns("D").setColumnWidth(8.43);
    a.range("D7").setValue("a long text that wraps over several lines");
    a.range("D7:E7").setMergeCells(true);
    a.range("D7").setWrapText(true);
    EXPECT_DOUBLE_EQ(a.range("D7").height(), 12.75);
}

}  // namespace
