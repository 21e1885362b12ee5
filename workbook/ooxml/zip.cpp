#include "workbook/ooxml/zip.h"

#include <zip.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "workbook/model/workbook.h"

namespace wb::ooxml {

namespace {

std::string zipErrorText(int code) {
    zip_error_t err;
    zip_error_init_with_code(&err, code);
    std::string text = zip_error_strerror(&err);
    zip_error_fini(&err);
    return text;
}

std::string archiveErrorText(zip_t* za) { return zip_error_strerror(zip_get_error(za)); }

}  // namespace

std::vector<std::pair<std::string, std::string>> readZip(const std::string& path) {
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        throw WorkbookError("Cannot open the workbook \"" + path + "\": the file does not exist");
    if (std::filesystem::is_directory(status))
        throw WorkbookError("Cannot open the workbook \"" + path + "\": it is a folder");

    int code = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!za) {
        if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS)
            throw WorkbookError("Cannot open the workbook \"" + path +
                                "\": it is not a zip package (" + zipErrorText(code) + ")");
        throw WorkbookError("Cannot open the workbook \"" + path + "\": " + zipErrorText(code));
    }
    std::vector<std::pair<std::string, std::string>> entries;
    zip_int64_t n = zip_get_num_entries(za, 0);
    try {
        for (zip_int64_t i = 0; i < n; ++i) {
            zip_stat_t st;
            zip_stat_init(&st);
            if (zip_stat_index(za, i, 0, &st) != 0 || !st.name)
                throw WorkbookError("Cannot read the workbook \"" + path +
                                    "\": " + archiveErrorText(za));
            std::string name = st.name;
            if (name.empty() || name.back() == '/') continue;  // folder entries
            std::string data;
            if (st.valid & ZIP_STAT_SIZE) data.resize(st.size);
            zip_file_t* zf = zip_fopen_index(za, i, 0);
            if (!zf)
                throw WorkbookError("Cannot read the part \"" + name + "\" of the workbook \"" +
                                    path + "\": " + archiveErrorText(za));
            zip_int64_t got = data.empty() ? 0 : zip_fread(zf, data.data(), data.size());
            bool ok = got == static_cast<zip_int64_t>(data.size());
            std::string why = ok ? "" : zip_error_strerror(zip_file_get_error(zf));
            zip_fclose(zf);
            if (!ok)
                throw WorkbookError("Cannot read the part \"" + name + "\" of the workbook \"" +
                                    path + "\": " + why);
            entries.emplace_back(std::move(name), std::move(data));
        }
    } catch (...) {
        zip_discard(za);
        throw;
    }
    zip_discard(za);
    return entries;
}

ZipWriter::ZipWriter(std::string targetPath) : target_(std::move(targetPath)) {}

ZipWriter::~ZipWriter() = default;

void ZipWriter::add(const std::string& name, std::string data) {
    entries_.emplace_back(name, std::make_shared<const std::string>(std::move(data)));
}

void ZipWriter::add(const std::string& name, std::shared_ptr<const std::string> data) {
    entries_.emplace_back(name, std::move(data));
}

void ZipWriter::commit() {
    static std::atomic<unsigned> counter{0};
    namespace fs = std::filesystem;
    fs::path target(target_);
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        throw WorkbookError("Cannot save the workbook \"" + target_ + "\": the folder \"" +
                            dir.string() + "\" does not exist");
    if (fs::is_directory(target, ec))
        throw WorkbookError("Cannot save the workbook \"" + target_ + "\": it is a folder");

    std::string tmp = (dir / ("." + target.filename().string() + ".tmp-" +
                              std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                          .string();
    auto fail = [&](const std::string& why) {
        std::remove(tmp.c_str());
        throw WorkbookError("Cannot save the workbook \"" + target_ + "\": " + why);
    };

    int code = 0;
    zip_t* za = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!za) fail(zipErrorText(code));
    for (const auto& [name, data] : entries_) {
        zip_source_t* src = zip_source_buffer(za, data->data(), data->size(), 0);
        if (!src) {
            std::string why = archiveErrorText(za);
            zip_discard(za);
            fail(why);
        }
        zip_int64_t idx = zip_file_add(za, name.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (idx < 0) {
            std::string why = archiveErrorText(za);
            zip_source_free(src);
            zip_discard(za);
            fail(why);
        }
        zip_set_file_compression(za, static_cast<zip_uint64_t>(idx), ZIP_CM_DEFLATE,
                                 kCompressionLevel);
    }
    if (zip_close(za) != 0) {
        std::string why = archiveErrorText(za);
        zip_discard(za);
        fail(why);
    }
    if (std::rename(tmp.c_str(), target_.c_str()) != 0) fail(std::strerror(errno));
    entries_.clear();
}

}  // namespace wb::ooxml
