// The Total Load and Graphs sheets end to end: three-subwatershed workbooks made by
// kavro-generate in non-zero mode, recalculated in LibreOffice headless as generated (no gullies
// or streambanks) and with a planner's data typed in (groundwater on, E. coli concentrations,
// BMPs, urban BMP efficiencies, two gullies and a streambank), and the Graphs sheet printed to
// PDF chart by chart.
//
// The charts of a workbook read from a file are kept as they were written, so each chart is
// printed alone by leaving data in its own columns of the copy tables only.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sheets/tests/sheet_test_support.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/testing/libreoffice.h"

namespace fs = std::filesystem;
using kavro::testing::SheetValues;

namespace {

// One folder per process: ctest may run the tests of this program side by side.
const std::string kTmp =
    std::string(KAVRO_TEST_TMP) + "/total_load_libreoffice/" + std::to_string(getpid());
using Book = std::map<std::string, SheetValues>;

std::string run(const std::string& cmd, const std::string& log) {
    if (std::system((cmd + " >'" + log + "' 2>&1").c_str()) != 0) {
        std::ifstream in(log);
        std::stringstream ss;
        ss << in.rdbuf();
        throw std::runtime_error(cmd + " failed: " + ss.str());
    }
    return log;
}

std::string generate(const std::string& name, const std::string& counts) {
    return sheet_test::generateWithCommand(kTmp, name, "-n 3 " + counts + " --nonzero");
}

constexpr int N = 3;
// Total Load rows for N = 3. Subwatershed i: table a 5+i, b 14+i, 1 22+i, c 30+i, d 38+i;
// totals 9, 18, 26, 34, 42; table 2's sources 46..55 and its total 56.
constexpr int kTable1 = 22, kTable1Total = 26, kTableC = 30, kTableCTotal = 34, kTableD = 38,
              kTableDTotal = 42, kTable2 = 45;
constexpr int colC = 3;
const char* const kSources[10] = {"Urban",      "Cropland",     "Pastureland", "Forest",
                                  "Feedlots",   "User Defined", "Septic",      "Gully",
                                  "Streambank", "Groundwater"};

void typeInputs(wb::Workbook& book) {
    wb::Worksheet& in = book.sheet("Input");
    in.range("K10").setValue(true);  // groundwater infiltration on
    const double cropland[3] = {100, 300, 500}, pasture[3] = {150, 250, 50},
                 forest[3] = {300, 100, 200}, user[3] = {40, 80, 120};
    for (int i = 1; i <= N; ++i) {
        in.cells(17 + i, 4).setValue(cropland[i - 1]);
        in.cells(17 + i, 5).setValue(pasture[i - 1]);
        in.cells(17 + i, 6).setValue(forest[i - 1]);
        in.cells(17 + i, 7).setValue(user[i - 1]);
        in.cells(48 + i, 11).setValue(10.0 * i);  // soil E. coli per 100 mg
    }
    // W3 irrigates 100 acres five times a year, 4 in before and 2 in after its BMP.
    in.range("D87").setValue(100);
    in.range("E87").setValue(4);
    in.range("F87").setValue(2);
    in.range("G87").setValue(5);
    // E. coli in runoff (cropland classes, forest, user defined) and pastureland; user-defined
    // runoff and groundwater concentrations; BOD and E. coli in groundwater.
    const double ecoli[6] = {200, 2000, 300, 3000, 400, 4000};
    for (int r = 0; r < 6; ++r) in.cells(65 + r, 6).setValue(ecoli[r]);
    in.range("F72").setValue(50);
    in.range("C73").setValue(2);
    in.range("D73").setValue(0.3);
    in.range("E73").setValue(5);
    in.range("F73").setValue(100);
    in.range("F92:F97").setValue(600);
    in.range("I73").setValue(1);
    in.range("J73").setValue(0.05);
    in.range("K68:K73").setValue(0.5);
    in.range("L68:L73").setValue(5);

    // BMPs on cropland, pastureland, forest and user defined land of W2 (30 %) and W3 (60 %).
    wb::Worksheet& bmps = book.sheet("BMPs");
    for (int first : {8, 15, 22, 29}) {
        bmps.range(first + 1, 3, first + 1, 7).setValue(0.3);
        bmps.range(first + 2, 3, first + 2, 7).setValue(0.6);
    }
    // Urban E. coli concentrations and urban BMPs of 40 % on W2 and W3, every pollutant.
    wb::Worksheet& urban = book.sheet("Urban");
    urban.range("C12:K12").setValue(5000);
    for (int header : {36, 43, 50, 57, 64})
        urban.range(header + 2, 14, header + 3, 22).setValue(40);
    // Gully 2 lies in W3, the streambank in W2 (gully 1 stays in W1).
    wb::Worksheet& gs = book.sheet("Gully&Streambank");
    gs.range("B13").setValue("W3");
    gs.range("B18").setValue("W2");
}

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
}

struct TotalLoadEndToEnd : ::testing::Test {
    static inline std::string plainPath, typedPath;
    static inline Book plain, typed;

    static void SetUpTestSuite() {
        plainPath = generate("plain", "");
        plain = kavro::testing::recalculate(plainPath, kTmp);

        auto book = wb::ooxml::openWorkbook(generate("gullies", "-g 2 -s 1"));
        typeInputs(*book);
        typedPath = kTmp + "/typed.xlsm";
        wb::ooxml::saveWorkbook(*book, typedPath);
        typed = kavro::testing::recalculate(typedPath, kTmp);
    }
};

// Every cell of tables 1 and 2 is a number, and nothing on either sheet is an error value.
TEST_F(TotalLoadEndToEnd, SummaryTablesHoldNumbers) {
    for (Book* book : {&plain, &typed}) {
        const SheetValues& tl = (*book)["Total Load"];
        for (int r = kTable1 + 1; r <= kTable1Total; ++r)
            for (int c = colC; c <= 22; ++c)
                EXPECT_TRUE(tl.isNumber(r, c)) << r << "," << c << ": " << tl.text(r, c);
        for (int r = kTable2 + 1; r <= kTable2 + 11; ++r)
            for (int c = colC; c <= 7; ++c)
                EXPECT_TRUE(tl.isNumber(r, c)) << r << "," << c << ": " << tl.text(r, c);
        for (const char* name : {"Total Load", "Graphs"}) {
            const SheetValues& s = (*book)[name];
            for (size_t r = 0; r < s.rows.size(); ++r)
                for (size_t c = 0; c < s.rows[r].size(); ++c)
                    EXPECT_FALSE(kavro::testing::isErrorValue(s.rows[r][c]))
                        << name << " row " << r + 1 << " col " << c + 1 << ": " << s.rows[r][c];
        }
    }
}

// Totals are the sums of the subwatershed rows; loads with BMP are loads without BMP minus the
// reductions; percentages are of the load without BMP, the total row's from the totals.
TEST_F(TotalLoadEndToEnd, TotalsLoadsWithBmpAndPercentages) {
    for (Book* book : {&plain, &typed}) {
        const SheetValues& tl = (*book)["Total Load"];
        for (int c = colC; c <= 17; ++c) {
            double sum = 0;
            for (int i = 1; i <= N; ++i) sum += tl.number(kTable1 + i, c);
            EXPECT_TRUE(near(tl.number(kTable1Total, c), sum)) << c;
        }
        for (int r = kTable1 + 1; r <= kTable1Total; ++r)
            for (int q = 0; q < 5; ++q) {
                const double load = tl.number(r, colC + q), reduction = tl.number(r, 8 + q);
                EXPECT_TRUE(near(tl.number(r, 13 + q), load - reduction)) << r << "," << q;
                EXPECT_TRUE(near(tl.number(r, 18 + q), load == 0 ? 0 : 100 * reduction / load))
                    << r << "," << q;
            }
        for (int c = colC; c <= 7; ++c) {
            double sum = 0;
            for (int k = 1; k <= 10; ++k) sum += tl.number(kTable2 + k, c);
            EXPECT_TRUE(near(tl.number(kTable2 + 11, c), sum)) << c;
        }
    }
    // The typed BMPs reduce every pollutant of W2 and W3.
    const SheetValues& tl = typed["Total Load"];
    for (int i = 2; i <= 3; ++i)
        for (int q = 0; q < 5; ++q) EXPECT_GT(tl.number(kTable1 + i, 8 + q), 0) << i << "," << q;
}

// Each subwatershed's load with BMP in table 1 is its sources' loads with BMP in tables c and d
// added up, and the watershed's is table 2's total: both tables count every source once.
TEST_F(TotalLoadEndToEnd, LoadsWithBmpAddUpBySource) {
    const double scale[5] = {1, 1, 1, 2000, 1000000000};  // table 1 in tons and billions
    for (Book* book : {&plain, &typed}) {
        const SheetValues& tl = (*book)["Total Load"];
        for (int i = 1; i <= N; ++i)
            for (int j = 1; j <= 5; ++j) {
                double sum = tl.number(kTableD + i, 33 + j - 1);
                for (int k = 1; k <= 9; ++k)
                    sum += tl.number(kTableC + i, colC + 5 * (k - 1) + j - 1);
                EXPECT_TRUE(near(tl.number(kTable1 + i, 13 + j - 1), sum / scale[j - 1]))
                    << "W" << i << " pollutant " << j << ": table 1 "
                    << tl.number(kTable1 + i, 13 + j - 1) << ", sources " << sum / scale[j - 1];
            }
        for (int j = 1; j <= 5; ++j)
            EXPECT_TRUE(
                near(tl.number(kTable2 + 11, colC + j - 1), tl.number(kTable1Total, 13 + j - 1)))
                << j;
    }
    // Table 2 shows the totals of tables c and d in tons and billions.
    const SheetValues& tl = typed["Total Load"];
    for (int k = 1; k <= 10; ++k)
        for (int j = 1; j <= 5; ++j) {
            const double source = k <= 9 ? tl.number(kTableCTotal, colC + 5 * (k - 1) + j - 1)
                                         : tl.number(kTableDTotal, 33 + j - 1);
            EXPECT_TRUE(near(tl.number(kTable2 + k, colC + j - 1), source / scale[j - 1]))
                << k << "," << j;
        }
    // With the typed data every source carries nitrogen, and the E. coli sources their counts.
    for (int k = 1; k <= 10; ++k) EXPECT_GT(tl.number(kTable2 + k, colC), 0) << kSources[k - 1];
    for (int k : {1, 2, 3, 4, 6, 8, 9, 10})
        EXPECT_GT(tl.number(kTable2 + k, 7), 0) << kSources[k - 1];
    // Groundwater differs by subwatershed, and table 1 takes each subwatershed's own.
    EXPECT_NE(tl.number(kTableD + 1, 33), tl.number(kTableD + 2, 33));
}

// Without gullies and streambanks their columns read an empty part of the unfilled sheet: 0.
TEST_F(TotalLoadEndToEnd, NoGulliesGiveZero) {
    const SheetValues& tl = plain["Total Load"];
    for (int r = kTableC + 1; r <= kTableCTotal; ++r)
        for (int c = 38; c <= 47; ++c) EXPECT_EQ(tl.number(r, c), 0) << r << "," << c;
    for (int c = colC; c <= 7; ++c) {
        EXPECT_EQ(tl.number(kTable2 + 8, c), 0);
        EXPECT_EQ(tl.number(kTable2 + 9, c), 0);
    }
    // Groundwater carries no sediment.
    EXPECT_EQ(typed["Total Load"].number(kTableDTotal, 36), 0);
}

TEST_F(TotalLoadEndToEnd, GraphsCopyTheSummary) {
    for (Book* book : {&plain, &typed}) {
        const SheetValues& g = (*book)["Graphs"];
        const SheetValues& tl = (*book)["Total Load"];
        for (int k = 1; k <= 10; ++k) {
            EXPECT_EQ(g.text(3 + k, 2), kSources[k - 1]);
            for (int c = colC; c <= 7; ++c)
                EXPECT_EQ(g.number(3 + k, c), tl.number(kTable2 + k, c)) << k << "," << c;
        }
        for (int i = 1; i <= N; ++i)
            for (int j = 0; j < 5; ++j) {
                EXPECT_EQ(g.number(16 + i, colC + j), tl.number(kTable1 + i, 13 + j))
                    << i << "," << j;
                EXPECT_EQ(g.number(16 + i, 8 + j), tl.number(kTable1 + i, 8 + j)) << i << "," << j;
            }
    }
}

// ---- The Graphs sheet on paper ----

// The charts' series colours, as the charts are written.
const unsigned kSeriesColours[] = {0x4F81BD, 0xC0504D, 0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646};

// The pixels of each series colour over every page of `pdf`, rendered at 72 dpi.
std::array<long, 6> seriesColourPixels(const std::string& pdf) {
    const std::string prefix = pdf.substr(0, pdf.size() - 4) + "-page";
    run("pdftoppm -r 72 '" + pdf + "' '" + prefix + "'", prefix + ".log");
    std::array<long, 6> counts{};
    for (const auto& entry : fs::directory_iterator(fs::path(pdf).parent_path())) {
        const std::string p = entry.path().string();
        if (p.rfind(prefix, 0) != 0 || entry.path().extension() != ".ppm") continue;
        std::ifstream in(p, std::ios::binary);
        std::string magic;
        int w = 0, h = 0, max = 0;
        in >> magic >> w >> h >> max;
        in.get();
        if (magic != "P6" || max != 255) throw std::runtime_error("unexpected image " + p);
        std::vector<unsigned char> px(static_cast<size_t>(w) * h * 3);
        in.read(reinterpret_cast<char*>(px.data()), static_cast<std::streamsize>(px.size()));
        for (size_t k = 0; k + 2 < px.size(); k += 3)
            for (int s = 0; s < 6; ++s) {
                const unsigned c = kSeriesColours[s];
                if (std::abs(px[k] - static_cast<int>(c >> 16)) <= 6 &&
                    std::abs(px[k + 1] - static_cast<int>((c >> 8) & 0xFF)) <= 6 &&
                    std::abs(px[k + 2] - static_cast<int>(c & 0xFF)) <= 6)
                    ++counts[s];
            }
    }
    return counts;
}

// The copy-table columns that chart k (0-based) shows: pies one column of table 1 (rows 4..13),
// column charts their columns of table 2 (rows 17..19). No two charts share a column.
struct ChartData {
    int top, bottom, first, last;
};
ChartData chartData(int k) {
    if (k < 0) return {0, -1, 0, -1};  // none
    if (k < 5) return {4, 13, colC + k, colC + k};
    const ChartData columns[6] = {{17, 19, 3, 5},  {17, 19, 6, 6},   {17, 19, 7, 7},
                                  {17, 19, 8, 10}, {17, 19, 11, 11}, {17, 19, 12, 12}};
    return columns[k - 5];
}

// `path` printed with only the Graphs sheet visible and every copied value but chart k's set to
// 0, so that the other ten charts draw no data (k = -1: none draws any).
std::string printChart(const std::string& path, int k, const std::string& name) {
    auto book = wb::ooxml::openWorkbook(path);
    for (int s = 0; s < book->sheetCount(); ++s)
        book->sheet(s).setVisible(book->sheet(s).name() == "Graphs");
    wb::Worksheet& g = book->sheet("Graphs");
    g.ensureLoaded();
    g.select();
    const ChartData keep = chartData(k);
    for (const ChartData& block : {ChartData{4, 13, 3, 7}, ChartData{17, 16 + N, 3, 12}})
        for (int r = block.top; r <= block.bottom; ++r)
            for (int c = block.first; c <= block.last; ++c)
                if (!(r >= keep.top && r <= keep.bottom && c >= keep.first && c <= keep.last))
                    g.cells(r, c).setValue(0);
    const std::string dir = kTmp + "/" + name;
    fs::create_directories(dir);
    const std::string file = dir + "/" + name + ".xlsm";
    wb::ooxml::saveWorkbook(*book, file);
    return kavro::testing::convertToPdf(file, dir);
}

// What chart k draws in its series colours beyond the legends that every chart draws: the
// largest gain of one colour over the print without data. A pie slice or a bar of data gains
// hundreds of pixels and more.
long dataPixels(const std::array<long, 6>& printed, const std::array<long, 6>& legendsOnly) {
    long most = 0;
    for (int c = 0; c < 6; ++c) most = std::max(most, printed[c] - legendsOnly[c]);
    return most;
}

constexpr long kDataPixels = 500;

TEST_F(TotalLoadEndToEnd, GraphsPrintElevenChartsWithData) {
    const auto legendsOnly = seriesColourPixels(printChart(typedPath, -1, "legends"));
    for (int k = 0; k < 11; ++k) {
        const auto printed =
            seriesColourPixels(printChart(typedPath, k, "chart" + std::to_string(k + 1)));
        EXPECT_GE(dataPixels(printed, legendsOnly), kDataPixels) << "chart " << k + 1;
    }
    // The detector sees the difference: without E. coli data (non-zero mode as generated) the
    // E. coli pie and the E. coli column chart draw nothing beyond their legends.
    for (int k : {4, 7}) {
        const auto printed =
            seriesColourPixels(printChart(plainPath, k, "empty" + std::to_string(k + 1)));
        EXPECT_LT(dataPixels(printed, legendsOnly), kDataPixels) << "chart " << k + 1;
    }
}

}  // namespace
