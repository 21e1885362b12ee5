#include "generator/data_files.h"

#include <filesystem>

namespace fs = std::filesystem;

#ifndef KAVRO_DATA_DIR
#define KAVRO_DATA_DIR "/usr/local/share/kavro"
#endif

DataFolders processDataFolders() {
    DataFolders f;
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    f.workingFolder = ec ? "." : cwd.string();
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) f.exeFolder = exe.parent_path().string();
    f.installedFolder = KAVRO_DATA_DIR;
    return f;
}

std::vector<std::string> dataFileCandidates(const std::string& name, const DataFolders& folders) {
    std::vector<std::string> paths;
    paths.push_back(folders.workingFolder + "/support/" + name);
    if (!folders.exeFolder.empty()) {
        paths.push_back(folders.exeFolder + "/support/" + name);
        paths.push_back(fs::path(folders.exeFolder).parent_path().string() + "/support/" + name);
    }
    if (!folders.installedFolder.empty()) paths.push_back(folders.installedFolder + "/" + name);
    return paths;
}

std::string findDataFile(const std::string& name, const DataFolders& folders) {
    const std::vector<std::string> paths = dataFileCandidates(name, folders);
    for (const std::string& p : paths) {
        std::error_code ec;
        if (fs::is_regular_file(p, ec)) return fs::path(p).lexically_normal().string();
    }
    return paths.front();
}
