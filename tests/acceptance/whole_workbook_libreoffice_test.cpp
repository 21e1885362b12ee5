// The whole workbook as a planner gets it: kavro-generate run for a grid of subwatershed, gully
// and streambank counts, the result opened in LibreOffice headless and recalculated. In the
// non-zero start a BMP is chosen for every odd subwatershed on each BMP table and groundwater is
// switched on, so that reductions and every source take part; the zero start is recalculated as
// generated. Checked on every workbook:
//   - it opens and recalculates;
//   - no error value anywhere on "Total Load", "Graphs" and "BMPs";
//   - Total Load table 1: loads with BMP = loads without BMP - reductions in every row, the total
//     row is the sum of the subwatershed rows, the percentages follow from the totals;
//   - table 2: its total is the sum of the sources and equals table 1's total with BMP;
//   - in the non-zero start the watershed has loads and reductions (the checks are not vacuous).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sheets/summary/bmp_list_file.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/testing/libreoffice.h"

namespace fs = std::filesystem;
using kavro::testing::SheetValues;

namespace {

struct Config {
    int n, gullies, streambanks;
    bool nonZero;
};

std::string nameOf(const Config& c) {
    return "N" + std::to_string(c.n) + "_G" + std::to_string(c.gullies) + "_S" +
           std::to_string(c.streambanks) + (c.nonZero ? "_nonzero" : "_zero");
}
void PrintTo(const Config& c, std::ostream* os) { *os << nameOf(c); }

// Every N with every (G, S) in the non-zero start; the zero start at three corners of the grid.
std::vector<Config> configs() {
    std::vector<Config> all;
    for (int n : {1, 3, 20, 200})
        for (auto [g, s] : {std::pair{0, 0}, {1, 0}, {0, 1}, {3, 2}, {100, 100}})
            all.push_back({n, g, s, true});
    for (Config c : {Config{1, 0, 0, false}, Config{20, 3, 2, false}, Config{200, 100, 100, false}})
        all.push_back(c);
    return all;
}

const std::string kSupport = std::string(KAVRO_BINARY_DIR) + "/support";

fs::path folderFor(const Config& c) {
    // One folder per case and process: ctest runs the cases side by side.
    fs::path dir =
        fs::path(KAVRO_TEST_TMP) / "whole_workbook" / (nameOf(c) + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string generate(const Config& c, const fs::path& dir) {
    const std::string out = (dir / "generated.xlsm").string(),
                      log = (dir / "generate.log").string();
    const std::string cmd = std::string("'") + KAVRO_GENERATE_EXE + "' -n " + std::to_string(c.n) +
                            " -g " + std::to_string(c.gullies) + " -s " +
                            std::to_string(c.streambanks) + (c.nonZero ? " --nonzero" : "") +
                            " --template '" + kSupport + "/NutrTplt.xlsm' --bmp-list '" + kSupport +
                            "/allBMPkavro.csv' -o '" + out + "' >'" + log + "' 2>&1";
    if (std::system(cmd.c_str()) != 0) {
        std::ifstream in(log);
        std::stringstream ss;
        ss << in.rdbuf();
        throw std::runtime_error("kavro-generate failed: " + ss.str());
    }
    return out;
}

// The BMPs offered for a land-use group: its records after the group entry, without the two
// choices that carry no efficiency of their own.
std::vector<std::string> offered(const std::vector<kavro::BmpRecord>& list, const char* group) {
    std::vector<std::string> names;
    bool entry = true;
    for (size_t r = 1; r < list.size(); ++r) {
        if (list[r][0] != group) continue;
        if (!entry && list[r][1] != "0 No BMP" && list[r][1] != "Combined BMPs-Calculated")
            names.push_back(list[r][1]);
        entry = false;
    }
    return names;
}

// Groundwater on; on tables 1..5 of "BMPs" (cropland, pastureland, forest, user defined,
// feedlots) every odd subwatershed gets one of the group's BMPs, in turn, on a share of its area.
std::string chooseBmps(const std::string& generated, int n, const fs::path& dir) {
    const kavro::BmpListContents list = kavro::readBmpListFile(kSupport + "/allBMPkavro.csv");
    if (!list.ok()) throw std::runtime_error(list.error);
    std::unique_ptr<wb::Workbook> book = wb::ooxml::openWorkbook(generated);
    book->sheet("Input").range("K10").setValue(true);
    wb::Worksheet& bmps = book->sheet("BMPs");
    const char* groups[5] = {"Cropland", "Pastureland", "Forest", "User_Defined", "Feedlots"};
    for (int k = 1; k <= 5; ++k) {
        const std::vector<std::string> names = offered(list.records, groups[k - 1]);
        if (names.empty()) throw std::runtime_error(std::string("no BMP for ") + groups[k - 1]);
        const int header = 6 + (k - 1) * (n + 4);
        for (int i = 1; i <= n; i += 2) {
            bmps.cells(header + 1 + i, 8)
                .setValue(names[static_cast<size_t>(i / 2) % names.size()]);
            bmps.cells(header + 1 + i, 9).setValue(40 + i % 60);
        }
    }
    const std::string edited = (dir / "edited.xlsm").string();
    wb::ooxml::saveWorkbook(*book, edited);
    return edited;
}

bool near(double a, double b, double scale) {
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b), scale});
}

std::string cell(int row, int col) { return wb::formula::cellAddress(row, col, false, false); }

class WholeWorkbook : public ::testing::TestWithParam<Config> {};

TEST_P(WholeWorkbook, OpensWithoutErrorsAndItsTotalsAddUp) {
    const Config c = GetParam();
    const int n = c.n;
    const fs::path dir = folderFor(c);
    std::string path = generate(c, dir);
    if (c.nonZero) path = chooseBmps(path, n, dir);
    const std::map<std::string, SheetValues> book =
        kavro::testing::recalculate(path, (dir / "lo").string());

    for (const char* sheet : {"Total Load", "Graphs", "BMPs"}) {
        ASSERT_TRUE(book.count(sheet)) << sheet;
        const SheetValues& v = book.at(sheet);
        int errors = 0;
        for (size_t r = 0; r < v.rows.size(); ++r)
            for (size_t k = 0; k < v.rows[r].size(); ++k)
                if (kavro::testing::isErrorValue(v.rows[r][k]) && ++errors <= 5)
                    ADD_FAILURE() << sheet << "!"
                                  << cell(static_cast<int>(r + 1), static_cast<int>(k + 1))
                                  << " shows " << v.rows[r][k];
        EXPECT_EQ(errors, 0) << sheet;
    }

    // Table 1: columns C..G without BMP, H..L reductions, M..Q with BMP, R..V per cent reduced.
    const SheetValues& t = book.at("Total Load");
    const int first = 2 * n + 17, total = 3 * n + 17;
    ASSERT_EQ(t.text(total, 2), "Total");
    for (int row = first; row <= total; ++row)
        for (int j = 0; j < 5; ++j) {
            const double without = t.number(row, 3 + j), reduction = t.number(row, 8 + j);
            EXPECT_TRUE(near(t.number(row, 13 + j), without - reduction, without))
                << cell(row, 13 + j) << " is not " << cell(row, 3 + j) << " - " << cell(row, 8 + j);
            const double percent = without == 0 ? 0 : 100 * reduction / without;
            EXPECT_TRUE(near(t.number(row, 18 + j), percent, 100)) << cell(row, 18 + j);
        }
    for (int col = 3; col <= 17; ++col) {
        double sum = 0, size = 0;
        for (int row = first; row < total; ++row) {
            sum += t.number(row, col);
            size += std::fabs(t.number(row, col));
        }
        EXPECT_TRUE(near(t.number(total, col), sum, size))
            << cell(total, col) << " = " << t.number(total, col) << ", its rows add up to " << sum;
    }

    // Table 2: sources in rows 5N+31 .. 5N+40, total in 5N+41, columns C..G.
    const int sources = 5 * n + 31, sourcesTotal = 5 * n + 41;
    ASSERT_EQ(t.text(sourcesTotal, 2), "Total");
    for (int j = 0; j < 5; ++j) {
        double sum = 0, size = 0;
        for (int row = sources; row < sourcesTotal; ++row) {
            sum += t.number(row, 3 + j);
            size += std::fabs(t.number(row, 3 + j));
        }
        EXPECT_TRUE(near(t.number(sourcesTotal, 3 + j), sum, size)) << cell(sourcesTotal, 3 + j);
        // The same watershed total, once by source and once by subwatershed.
        EXPECT_TRUE(near(t.number(sourcesTotal, 3 + j), t.number(total, 13 + j), size))
            << cell(sourcesTotal, 3 + j) << " = " << t.number(sourcesTotal, 3 + j) << ", table 1 "
            << cell(total, 13 + j) << " = " << t.number(total, 13 + j);
    }

    if (c.nonZero) {
        for (int j = 0; j < 4; ++j) EXPECT_GT(t.number(total, 3 + j), 0) << cell(total, 3 + j);
        for (int j : {0, 1, 3}) EXPECT_GT(t.number(total, 8 + j), 0) << cell(total, 8 + j);
    }
}

INSTANTIATE_TEST_SUITE_P(Grid, WholeWorkbook, ::testing::ValuesIn(configs()),
                         [](const ::testing::TestParamInfo<Config>& info) {
                             return nameOf(info.param);
                         });

}  // namespace
