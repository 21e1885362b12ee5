// The zip container of a package, through libzip: read every entry of an archive, and write an
// archive from in-memory parts to a temporary file that replaces the target only when complete.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wb::ooxml {

// Every entry of the archive at `path` by name, in the archive's order. Throws WorkbookError
// naming the file when it is missing, unreadable or not a zip archive.
std::vector<std::pair<std::string, std::string>> readZip(const std::string& path);

class ZipWriter {
public:
    // Deflate level: a moderate level keeps saving fast; the parts are very repetitive XML.
    static constexpr int kCompressionLevel = 3;

    explicit ZipWriter(std::string targetPath);
    ~ZipWriter();  // discards an unfinished archive and its temporary file
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Adds an entry. The writer keeps the text until commit().
    void add(const std::string& name, std::string data);
    void add(const std::string& name, std::shared_ptr<const std::string> data);
    // Writes the archive beside the target and renames it over the target.
    void commit();

private:
    std::string target_;
    std::vector<std::pair<std::string, std::shared_ptr<const std::string>>> entries_;
};

}  // namespace wb::ooxml
