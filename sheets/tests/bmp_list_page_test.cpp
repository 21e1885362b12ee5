// The BMPList sheet: the list file copied in, its frame, and the failures that keep the rows read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sheets/summary/bmp_list_page.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(KAVRO_TEST_TMP);
    const std::string path = std::string(KAVRO_TEST_TMP) + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

struct BmpListSheet : ::testing::Test {
    Workbook book;
    Worksheet& ws = book.addSheet("BMPList");
    GenerationOptions opt;

    // The failure text, or "" when the builder succeeded.
    std::string build(const std::string& path) {
        try {
            BMPListPage(book, opt, path);
        } catch (const WorkbookError& e) {
            return e.what();
        }
        return "";
    }
    const CellFormat& fmt(int r, int c) { return ws.cells(r, c).format(); }
    bool grey(int r, int c) {
        return fmt(r, c).fill.color == Color::indexed(15) && fmt(r, c).fill.pattern == xl::Solid;
    }
};

const char* kList =
    "Group,BMP,N,P,BOD,Sediment,E. coli,Source,Note\n"
    "Cropland,0 No BMP,0,0,0,0,0,,\n"
    "Cropland,\"Buffer, grass\",0.4,0.45,ND,0.6,ND,CBP,\"filter strip, 35 ft\"\n"
    "Urban,=1+1,0.2,0.5,0.3,0.8,ND,,\n";

TEST_F(BmpListSheet, CopiesRecordsAndDrawsAThinOutline) {
    ASSERT_EQ(build(writeFile("list.csv", kList)), "");

    EXPECT_EQ(ws.range("A1").text(), "Group");
    EXPECT_EQ(ws.range("B3").text(), "Buffer, grass");
    EXPECT_EQ(ws.range("C3").value(), CellValue(0.4));  // typed entry: a number
    EXPECT_EQ(ws.range("E3").value(), CellValue(std::string("ND")));
    EXPECT_EQ(ws.range("I3").text(), "filter strip, 35 ft");
    EXPECT_EQ(ws.range("H2").value(), CellValue());
    // A field beginning with "=" stays the text it is.
    EXPECT_FALSE(ws.range("B4").hasFormula());
    EXPECT_EQ(ws.range("B4").text(), "=1+1");
    EXPECT_EQ(ws.cells(5, 1).value(), CellValue());

    for (int c = 1; c <= 7; ++c) EXPECT_TRUE(grey(1, c)) << c;
    EXPECT_FALSE(grey(1, 8));
    EXPECT_FALSE(grey(2, 1));

    // Outline of A1:G4 only.
    const Border thin{xl::Continuous, xl::Thin, Color::automatic()};
    EXPECT_EQ(fmt(1, 1).left, thin);
    EXPECT_EQ(fmt(1, 1).top, thin);
    EXPECT_EQ(fmt(1, 1).right.lineStyle, xl::None);
    EXPECT_EQ(fmt(4, 7).right, thin);
    EXPECT_EQ(fmt(4, 7).bottom, thin);
    EXPECT_EQ(fmt(2, 3).left.lineStyle, xl::None);
    EXPECT_EQ(fmt(2, 3).bottom.lineStyle, xl::None);
    EXPECT_EQ(fmt(2, 8).left.lineStyle, xl::None);
    EXPECT_EQ(fmt(5, 1).top.lineStyle, xl::None);
}

TEST_F(BmpListSheet, FailuresKeepTheCompleteRows) {
    struct Case {
        const char* name;
        std::string path;
        const char* reason;
        int rowsKept;
        bool headerFilled;
    };
    const std::vector<Case> cases = {
        {"empty", writeFile("empty.csv", ""), "holds no record", 0, true},
        {"cut short", writeFile("short.csv", std::string(kList) + "Urban,Wet pond,0.2\n"),
         "ends inside record 5", 4, false},
        {"missing", std::string(KAVRO_TEST_TMP) + "/no-such-list.csv", "cannot be opened", 0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Workbook fresh;
        Worksheet& sheet = fresh.addSheet("BMPList");
        std::string message;
        try {
            BMPListPage(fresh, opt, c.path);
        } catch (const WorkbookError& e) {
            message = e.what();
        }
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        const std::string suffix = " Cannot create the BMPList worksheet !";
        ASSERT_GE(message.size(), suffix.size());
        EXPECT_EQ(message.substr(message.size() - suffix.size()), suffix);
        for (int r = 1; r <= 5; ++r)
            EXPECT_EQ(sheet.cells(r, 1).value() != CellValue(), r <= c.rowsKept) << r;
        EXPECT_EQ(sheet.cells(1, 1).format().fill.color == Color::indexed(15), c.headerFilled);
    }
}

TEST_F(BmpListSheet, MissingSheetIsReportedTheSameWay) {
    Workbook other;
    other.addSheet("Input");
    try {
        BMPListPage(other, opt, writeFile("list.csv", kList));
        FAIL() << "no failure";
    } catch (const WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find("BMPList"), std::string::npos);
        EXPECT_TRUE(std::string(e.what()).ends_with(" Cannot create the BMPList worksheet !"));
    }
}

}  // namespace
