#include "workbook/ooxml/zip.h"

#include <zip.h>

#include <algorithm>
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

// A package whose parts unpack to more than this is refused; the largest workbooks the run writes
// unpack to some tens of MiB.
constexpr zip_uint64_t kMaxUnpackedSize = zip_uint64_t{1} << 30;
// Parts are given at most this much room before their data arrives.
constexpr zip_uint64_t kReserveLimit = zip_uint64_t{64} << 20;

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
    zip_uint64_t unpacked = 0;  // bytes of the parts read so far
    auto tooLarge = [&] {
        return WorkbookError("Cannot open the workbook \"" + path +
                             "\": its parts unpack to more than " +
                             std::to_string(kMaxUnpackedSize >> 20) + " MiB");
    };
    try {
        for (zip_int64_t i = 0; i < n; ++i) {
            zip_stat_t st;
            zip_stat_init(&st);
            if (zip_stat_index(za, i, 0, &st) != 0 || !st.name)
                throw WorkbookError("Cannot read the workbook \"" + path +
                                    "\": " + archiveErrorText(za));
            std::string name = st.name;
            if (name.empty() || name.back() == '/') continue;  // folder entries
            const bool sized = (st.valid & ZIP_STAT_SIZE) != 0;
            if (sized && st.size > kMaxUnpackedSize - unpacked) throw tooLarge();
            zip_file_t* zf = zip_fopen_index(za, i, 0);
            if (!zf)
                throw WorkbookError("Cannot read the part \"" + name + "\" of the workbook \"" +
                                    path + "\": " + archiveErrorText(za));
            // The size an entry declares is not trusted with the allocation: a damaged archive
            // may claim gigabytes. The part grows as its data arrives.
            std::string data;
            data.reserve(sized ? std::min<zip_uint64_t>(st.size, kReserveLimit) : 0);
            std::string why;
            char buf[1 << 16];
            for (;;) {
                zip_int64_t got = zip_fread(zf, buf, sizeof buf);
                if (got < 0) {
                    why = zip_error_strerror(zip_file_get_error(zf));
                    break;
                }
                if (got == 0) break;
                if (static_cast<zip_uint64_t>(got) > kMaxUnpackedSize - unpacked - data.size()) {
                    zip_fclose(zf);
                    throw tooLarge();
                }
                data.append(buf, static_cast<size_t>(got));
            }
            zip_fclose(zf);
            if (why.empty() && sized && data.size() != st.size)
                why = "it holds " + std::to_string(data.size()) + " bytes, not the " +
                      std::to_string(st.size) + " it declares";
            if (!why.empty())
                throw WorkbookError("Cannot read the part \"" + name + "\" of the workbook \"" +
                                    path + "\": " + why);
            unpacked += data.size();
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
            std::string why = "the part \"" + name + "\": " + archiveErrorText(za);
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
