// Package relationships (the "_rels/*.rels" parts) and part-name helpers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wb::ooxml {

namespace rel {
inline constexpr const char* kOfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr const char* kWorksheet =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr const char* kStyles =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
inline constexpr const char* kSharedStrings =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
inline constexpr const char* kComments =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";
inline constexpr const char* kVmlDrawing =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/vmlDrawing";
inline constexpr const char* kCalcChain =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain";
inline constexpr const char* kNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
}  // namespace rel

struct Relationship {
    std::string id;
    std::string type;
    std::string target;  // as written (relative to the source part's folder unless external)
    bool external = false;
};

class Relationships {
public:
    // Parses a .rels part; malformed XML throws std::runtime_error with the reason.
    static Relationships parse(std::string_view xml);

    // Adds a relationship under a fresh id ("rId<n>", unused so far) and returns the id.
    std::string add(std::string type, std::string target);
    void add(Relationship r) { items_.push_back(std::move(r)); }
    const Relationship* findById(std::string_view id) const;
    const Relationship* findByType(std::string_view type) const;
    void removeById(std::string_view id);
    void removeByType(std::string_view type);
    std::vector<Relationship>& items() { return items_; }
    const std::vector<Relationship>& items() const { return items_; }
    bool empty() const { return items_.empty(); }

    std::string write() const;

private:
    std::vector<Relationship> items_;
};

// The .rels part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string relsPartName(std::string_view part);
// The folder of a part name, with a trailing "/" ("" for the package root).
std::string partFolder(std::string_view part);
// Resolves a relationship target against the source part's folder ("../drawings/d1.xml" from
// "xl/worksheets/" is "xl/drawings/d1.xml"; "/xl/x.xml" is "xl/x.xml").
std::string resolveTarget(std::string_view sourceFolder, std::string_view target);
// The target text that leads from `sourceFolder` to `part` ("xl/drawings/vmlDrawing1.vml" from
// "xl/worksheets/" is "../drawings/vmlDrawing1.vml").
std::string relativeTarget(std::string_view sourceFolder, std::string_view part);

}  // namespace wb::ooxml
