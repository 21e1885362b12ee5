// Where the run finds the files that ship with the program: under the current working folder
// first, as the desktop tool always looked, then beside the executable (a build tree or an
// unpacked folder), then in the installed data folder.
#pragma once

#include <string>
#include <vector>

struct DataFolders {
    std::string workingFolder;    // the process's current folder
    std::string exeFolder;        // the folder of the running program
    std::string installedFolder;  // the installed data folder (share/kavro)
};

// The folders of this process.
DataFolders processDataFolders();

// Candidate paths of a support file, in the order they are tried:
// <working>/support/<name>, <exe>/support/<name>, <exe>/../support/<name> (the folder above
// the program's), <installed>/<name>.
std::vector<std::string> dataFileCandidates(const std::string& name, const DataFolders& folders);

// The first candidate that is a regular file; when none is, the first candidate (under the
// working folder), so that messages name the place the file was expected.
std::string findDataFile(const std::string& name, const DataFolders& folders);

// The support file names.
inline constexpr const char* kTemplateFile = "NutrTplt.xlsm";
inline constexpr const char* kBmpListFile = "allBMPkavro.csv";
