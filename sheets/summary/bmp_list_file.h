// The BMP list file (support/allBMPkavro.csv): the catalogue of best management practices with
// their removal efficiencies, copied into the sheet "BMPList" and grouped on the sheet "BMPs".
//
// The file is read field by field: fields end at a comma or a line end, a field may be enclosed in
// double quotes (it may then hold commas and line ends; "" inside stands for one quote), blanks
// around unquoted fields are dropped, and every nine consecutive fields make one record whatever
// the line breaks. Lines holding only blanks carry no field, so blank lines at the end of the
// file are not an unfinished record. Record 1 is the heading.
#pragma once

#include <array>
#include <istream>
#include <string>
#include <vector>

namespace kavro {

inline constexpr int kBmpFieldsPerRecord = 9;

// Group, BMP name, N, P, BOD, sediment and E. coli efficiency, and two free columns.
using BmpRecord = std::array<std::string, kBmpFieldsPerRecord>;

// The land-use groups of the list, in the order their blocks follow one another in the file.
inline constexpr std::array<const char*, 6> kBmpGroups = {"Cropland", "Pastureland", "Forest",
                                                          "User_Defined", "Feedlots", "Urban"};

struct BmpListContents {
    std::vector<BmpRecord> records;  // every complete record, in file order, heading included
    // Why reading stopped before the end of the file (a missing file, a record cut short, an
    // unterminated quote); empty when the whole file was read.
    std::string error;
    bool ok() const { return error.empty(); }
};

// Reads records from `in`. `name` names the source in error texts.
BmpListContents readBmpList(std::istream& in, const std::string& name);
BmpListContents readBmpListFile(const std::string& path);

// Where the run looks for the list: support/allBMPkavro.csv under the current working folder.
std::string defaultBmpListPath();

}  // namespace kavro
