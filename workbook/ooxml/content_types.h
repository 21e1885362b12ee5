// The package's "[Content_Types].xml": default types by extension and override types by part.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace wb::ooxml {

namespace ct {
inline constexpr const char* kWorkbookMacro = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
inline constexpr const char* kWorksheet =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
inline constexpr const char* kStyles =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
inline constexpr const char* kSharedStrings =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
inline constexpr const char* kComments =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.comments+xml";
inline constexpr const char* kVml = "application/vnd.openxmlformats-officedocument.vmlDrawing";
inline constexpr const char* kRels = "application/vnd.openxmlformats-package.relationships+xml";
inline constexpr const char* kXml = "application/xml";
}  // namespace ct

class ContentTypes {
public:
    // Parses the part; malformed XML throws std::runtime_error with the reason.
    static ContentTypes parse(std::string_view xml);

    void setDefault(std::string ext, std::string type) { defaults_[lower(ext)] = std::move(type); }
    void setOverride(const std::string& part, std::string type) { overrides_[part] = std::move(type); }
    void removeOverride(const std::string& part) { overrides_.erase(part); }
    bool hasDefault(std::string_view ext) const { return defaults_.count(lower(ext)) > 0; }
    // The type of a part (without leading "/"): its override, else its extension's default.
    std::string typeOf(const std::string& part) const;
    std::map<std::string, std::string>& overrides() { return overrides_; }

    std::string write() const;

private:
    static std::string lower(std::string_view s);
    std::map<std::string, std::string> defaults_;   // by lower-case extension
    std::map<std::string, std::string> overrides_;  // by part name without leading "/"
};

}  // namespace wb::ooxml
