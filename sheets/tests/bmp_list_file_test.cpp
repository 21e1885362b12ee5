// Reading the BMP list file: nine fields a record whatever the line breaks, quotes, blanks, and
// how a file that ends early is reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>

#include "sheets/summary/bmp_list_file.h"

using kavro::BmpRecord;

namespace {

BmpRecord rec(std::initializer_list<const char*> fields) {
    BmpRecord r;
    size_t k = 0;
    for (const char* f : fields) r.at(k++) = f;
    return r;
}

kavro::BmpListContents read(const std::string& text) {
    std::istringstream in(text);
    return kavro::readBmpList(in, "list.csv");
}

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<BmpRecord> records;
    const char* error;  // a part of the error text, or nullptr when the file reads to its end
};

class ReadBmpList : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadBmpList, Records) {
    const ReadCase& c = GetParam();
    kavro::BmpListContents got = read(c.text);
    EXPECT_EQ(got.records, c.records);
    if (c.error) {
        EXPECT_NE(got.error.find(c.error), std::string::npos) << got.error;
        EXPECT_NE(got.error.find("list.csv"), std::string::npos) << got.error;
    } else {
        EXPECT_TRUE(got.ok()) << got.error;
    }
}

const BmpRecord kRow1 = rec({"Cropland", "Buffer", "0.5", "0.6", "ND", "0.7", "0.4", "h", "i"});
const BmpRecord kRow2 = rec({"Urban", "Wet pond", "0.3", "0.5", "0.4", "0.8", "0.7", "", ""});

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadBmpList,
    ::testing::Values(
        ReadCase{"QuotedFieldsHoldCommasAndLineEnds",
                 "\"Cropland\",\"Buffer, grass\",1,2,3,4,5,\"a \"\"b\"\"\",\"two\nlines\"\n",
                 {rec({"Cropland", "Buffer, grass", "1", "2", "3", "4", "5", "a \"b\"",
                       "two\nlines"})},
                 nullptr},
        ReadCase{"BlanksAroundUnquotedFieldsDropped",
                 "  Cropland ,\tBuffer  , 0.5,0.6 ,ND,0.7,0.4,h,i\n" +
                     std::string("Urban,\" Wet pond \",0.3,0.5,0.4,0.8,0.7,,\n"),
                 {kRow1, rec({"Urban", " Wet pond ", "0.3", "0.5", "0.4", "0.8", "0.7", "", ""})},
                 nullptr},
        ReadCase{"RecordsAcrossLineBreaks",
                 // 4 + 5 fields on two lines, then two records on one line.
                 "Cropland,Buffer,0.5,0.6\nND,0.7,0.4,h,i\n"
                 "Urban,Wet pond,0.3,0.5,0.4,0.8,0.7,,,Cropland,Buffer,0.5,0.6,ND,0.7,0.4,h,i",
                 {kRow1, kRow2, kRow1},
                 nullptr},
        ReadCase{"CrLfAndBlankLines",
                 "Cropland,Buffer,0.5,0.6,ND,0.7,0.4,h,i\r\n\r\n  \r\n"
                 "Urban,Wet pond,0.3,0.5,0.4,0.8,0.7,,\r\n\r\n\n",
                 {kRow1, kRow2},
                 nullptr},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF" "Cropland,Buffer,0.5,0.6,ND,0.7,0.4,h,i\n",
                 {kRow1}, nullptr},
        ReadCase{"EmptyFile", "", {}, nullptr},
        ReadCase{"OnlyBlankLines", "\n  \r\n\n", {}, nullptr},
        ReadCase{"FieldCountNotAMultipleOfNine",
                 "Cropland,Buffer,0.5,0.6,ND,0.7,0.4,h,i\nUrban,Wet pond,0.3\n",
                 {kRow1},
                 "ends inside record 2, after 3 of its 9 fields"},
        ReadCase{"TrailingCommaPromisesAField",
                 // Nine fields and a comma: the tenth (empty) field opens record 2.
                 "Cropland,Buffer,0.5,0.6,ND,0.7,0.4,h,i,\n",
                 {kRow1},
                 "ends inside record 2, after 1 of its 9 fields"},
        ReadCase{"UnterminatedQuote",
                 "Cropland,Buffer,0.5,0.6,ND,0.7,0.4,h,i\nUrban,\"Wet pond,0.3,0.5\n",
                 {kRow1},
                 "quoted field in record 2 that is never closed"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ReadBmpListFile, MissingFileIsAnErrorNamingIt) {
    kavro::BmpListContents got = kavro::readBmpListFile("/nonexistent/allBMPkavro.csv");
    EXPECT_TRUE(got.records.empty());
    EXPECT_NE(got.error.find("\"/nonexistent/allBMPkavro.csv\" cannot be opened"),
              std::string::npos)
        << got.error;
}

// The list that ships: what the BMPs sheet's grouping and LOOKUP formulas need of it.
TEST(ShippedBmpList, FitsTheBmpSheet) {
    const std::string path = std::string(KAVRO_SOURCE_DIR) + "/support/allBMPkavro.csv";
    kavro::BmpListContents list = kavro::readBmpListFile(path);
    ASSERT_TRUE(list.ok()) << list.error;
    ASSERT_GT(list.records.size(), 1u);

    // Lower case, and only letters, digits and blanks: the spreadsheet applications order other
    // characters differently, and LOOKUP relies on the order of the sort.
    auto key = [](const std::string& s) {
        std::string k;
        for (char c : s) k += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return k;
    };
    auto alnumKey = [&](const std::string& s) {
        std::string k;
        for (char c : key(s))
            if (std::isalnum(static_cast<unsigned char>(c)) || c == ' ') k += c;
        return k;
    };

    size_t g = 0;
    std::vector<std::vector<std::string>> names(kavro::kBmpGroups.size());
    for (size_t r = 1; r < list.records.size(); ++r) {
        const BmpRecord& rec = list.records[r];
        SCOPED_TRACE(rec[1]);
        while (g < kavro::kBmpGroups.size() && rec[0] != kavro::kBmpGroups[g]) ++g;
        ASSERT_LT(g, kavro::kBmpGroups.size()) << "group \"" << rec[0] << "\" out of order";
        names[g].push_back(rec[1]);
        for (size_t f = 2; f <= 6; ++f) {
            if (rec[f] == "ND") continue;
            char* end = nullptr;
            const double v = std::strtod(rec[f].c_str(), &end);
            EXPECT_TRUE(end && *end == '\0' && !rec[f].empty()) << "field " << f + 1;
            EXPECT_GE(v, 0.0);  // fractions: the sheets take 1 - efficiency
            EXPECT_LE(v, 1.0);
        }
    }
    for (size_t k = 0; k < names.size(); ++k) {
        SCOPED_TRACE(kavro::kBmpGroups[k]);
        ASSERT_GE(names[k].size(), 2u) << "a group entry and at least one BMP";
        std::vector<std::string> offered(names[k].begin() + 1, names[k].end());
        std::set<std::string> keys;
        for (const std::string& n : offered) {
            EXPECT_TRUE(keys.insert(key(n)).second) << "twice: " << n;
            // The group entry heads the lookup range, so it must sort before every BMP.
            EXPECT_LT(key(names[k].front()), key(n));
            EXPECT_LT(alnumKey(names[k].front()), alnumKey(n));
        }
        std::vector<std::string> byKey = offered, byAlnum = offered;
        std::sort(byKey.begin(), byKey.end(), [&](auto& a, auto& b) { return key(a) < key(b); });
        std::sort(byAlnum.begin(), byAlnum.end(),
                  [&](auto& a, auto& b) { return alnumKey(a) < alnumKey(b); });
        EXPECT_EQ(byKey, byAlnum);
        if (k < 5) {  // every table of the BMPs sheet offers the combined choice
            EXPECT_NE(std::find(offered.begin(), offered.end(), "Combined BMPs-Calculated"),
                      offered.end());
        }
    }
}

}  // namespace
