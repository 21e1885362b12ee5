// The information sheet: selections, published names, the count cell and its formats.
#include <gtest/gtest.h>

#include <ctime>
#include <regex>

#include "sheets/input/general_input_data.h"

using namespace wb;

namespace {

struct InfoSheet : ::testing::Test {
    Workbook book;
    Worksheet& ws = book.addSheet("General Input Data");
    Worksheet& input = book.addSheet("Input");
    GenerationOptions opt;

    double num(const char* a1) { return std::get<double>(ws.range(a1).value()); }
    const CellFormat& fmt(const char* a1) { return ws.range(a1).format(); }
    void build(int n, bool nonZero) {
        opt.SubwatershedCount = n;
        opt.applyInitialisationMode(nonZero);
        input.select();
        GeneralInputData(book, opt);
    }
};

TEST_F(InfoSheet, SelectionFlagsInBothModes) {
    for (bool nonZero : {false, true}) {
        SCOPED_TRACE(nonZero ? "non-zero" : "zero");
        build(7, nonZero);
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(ws.cells(7 + k, 3).value(), CellValue(nonZero && k <= 4 ? 1.0 : 0.0)) << k;
        for (int k = 1; k <= 8; ++k)
            EXPECT_EQ(ws.cells(7 + k, 5).value(), CellValue(nonZero ? 1.0 : 0.0)) << k;
        for (int k = 1; k <= 5; ++k) EXPECT_EQ(ws.cells(7 + k, 7).value(), CellValue(0.0)) << k;
    }
    EXPECT_EQ(ws.range("B12").text(), "User Defined");
    EXPECT_EQ(ws.range("D10").text(), "Swine (Hog)");
    EXPECT_EQ(ws.range("F11").text(), "Sediment");
    EXPECT_EQ(ws.range("F12").text(), "E. coli");
    EXPECT_EQ(ws.range("C16").formula(), "=SUM(C8:C15)");
    EXPECT_EQ(ws.range("E16").formula(), "=SUM(E8:E15)");
    EXPECT_EQ(ws.range("G16").formula(), "=SUM(G8:G15)");
}

TEST_F(InfoSheet, PublishesLandUseNamesAndTheCount) {
    build(200, false);
    const std::array<std::string, 7> names{"Watershed", "Urban",  "Cropland", "Pastureland",
                                           "Forest",    "User Defined", ""};
    EXPECT_EQ(opt.LandUseNames, names);
    EXPECT_EQ(ws.range("C6").value(), CellValue(200.0));  // a number, not text
    EXPECT_EQ(ws.range("B6").text(), "There are");
    EXPECT_EQ(ws.range("D6").text(), "subwatersheds in this study.");
    // The builder works on its own sheet and leaves A1 selected there.
    EXPECT_EQ(book.activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

TEST_F(InfoSheet, TimeStampFollowsTheTextDirectly) {
    std::time_t before = std::time(nullptr);
    build(1, false);
    std::string b1 = ws.range("B1").text();
    std::smatch m;
    ASSERT_TRUE(std::regex_match(
        b1, m,
        std::regex("This Excel file was created dynamically by KAVRO Tolvo interface on/at "
                   "(\\d{1,2})/(\\d{1,2})/(\\d{4}) (\\d{1,2}):(\\d\\d):(\\d\\d) (AM|PM)")))
        << b1;
    std::tm t{};
    localtime_r(&before, &t);
    EXPECT_EQ(std::stoi(m[1]), t.tm_mon + 1);
    EXPECT_EQ(std::stoi(m[3]), t.tm_year + 1900);
    int hour = std::stoi(m[4]) % 12 + (m[7] == "PM" ? 12 : 0);
    EXPECT_LE(std::abs(hour * 60 + std::stoi(m[5]) - (t.tm_hour * 60 + t.tm_min)), 1);
    EXPECT_EQ(fmt("B1").font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(fmt("B3").font.color, Color::fromBgr(0x0000FF));
}

TEST_F(InfoSheet, FillsAndBorders) {
    build(3, true);
    EXPECT_EQ(fmt("AY100").fill.color, Color::indexed(2));
    EXPECT_EQ(fmt("K4").fill.color, Color::indexed(15));
    // The legend band ends without any line, inside or out.
    for (const char* a1 : {"B1", "F2", "K4"}) {
        const CellFormat& f = fmt(a1);
        for (const Border* b : {&f.left, &f.right, &f.top, &f.bottom})
            EXPECT_EQ(b->lineStyle, xl::None) << a1;
    }
    EXPECT_EQ(fmt("C16").fill.color, Color::indexed(34));
    EXPECT_EQ(fmt("D10").fill.color, Color::indexed(2));  // the animal columns keep the white
    EXPECT_EQ(fmt("G8").fill.color, Color::indexed(24));
    // Medium outer edges, thin inside lines.
    EXPECT_EQ(fmt("B8").left.weight, xl::Medium);
    EXPECT_EQ(fmt("B8").top.weight, xl::Medium);
    EXPECT_EQ(fmt("B8").right.weight, xl::Thin);
    EXPECT_EQ(fmt("G16").bottom.weight, xl::Medium);
    EXPECT_EQ(fmt("G16").right.weight, xl::Medium);
    EXPECT_EQ(fmt("D12").bottom.weight, xl::Thin);
    EXPECT_TRUE(fmt("E7").font.bold);
    EXPECT_EQ(fmt("E7").fill.color, Color::indexed(15));
    EXPECT_EQ(ws.columns("F").columnWidth(), 11);
    EXPECT_NE(ws.columns("G").columnWidth(), 11);
}

}  // namespace
