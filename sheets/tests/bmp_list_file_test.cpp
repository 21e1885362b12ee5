// Reading the BMP list file: nine fields a record whatever the line breaks, quotes, blanks, and
// how a file that ends early is reported.
#include <gtest/gtest.h>

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

}  // namespace
