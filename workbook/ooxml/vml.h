// The legacy VML drawing of a sheet (xl/drawings/vmlDrawingN.vml). One part per sheet holds every
// legacy shape of the sheet: the comment notes, and the shapes that place embedded controls.
//
// Extension point: writers of other legacy shapes (embedded controls) add their shape type once
// with addShapeType(), take shape ids from allocateShapeId() (the number their sheet's control
// list refers to) and add each shape's XML with addShape(). The worksheet writer writes the part
// and the sheet's <legacyDrawing> element when any shape was added. Images that shapes show
// (o:relid) are relationships of the drawing part: rels().
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "workbook/ooxml/relationships.h"

namespace wb::ooxml {

class VmlDrawing {
public:
    // `block` numbers this sheet's range of shape ids (ids block*1024+1 ...).
    explicit VmlDrawing(int block) : block_(block), next_(block * 1024 + 1) {}

    // A <v:shapetype> element, written once per id ("_x0000_t202").
    void addShapeType(const std::string& id, std::string xml);
    bool hasShapeType(const std::string& id) const { return types_.count(id) > 0; }
    // A fresh shape id; ids already taken (reserveShapeId) are skipped.
    int allocateShapeId();
    void reserveShapeId(int id);
    // A <v:shape> or <v:group> element.
    void addShape(std::string xml) { shapes_.push_back(std::move(xml)); }
    bool empty() const { return shapes_.empty(); }
    // The drawing part's own relationships (images that shapes show, by o:relid).
    Relationships& rels() { return rels_; }
    // A namespace declaration that kept shapes need ("xmlns:w10", ...).
    void addNamespace(const std::string& attr, const std::string& uri);

    std::string write() const;

private:
    int block_;
    int next_;
    std::set<int> used_;
    std::vector<std::pair<std::string, std::string>> typeList_;
    std::map<std::string, size_t> types_;
    std::vector<std::string> shapes_;
    std::vector<std::pair<std::string, std::string>> namespaces_;
    Relationships rels_;
};

// The VML shape id text of a number: 1025 -> "_x0000_s1025".
std::string vmlShapeId(int id);

// What a read legacy drawing holds: the comment notes' box settings by (row, col), and every
// other shape (controls placed by the application) as XML with the shape types they use.
struct VmlRead {
    struct Note {
        double heightPt = 0;
        bool visible = false;
    };
    std::map<std::pair<int, int>, Note> notes;            // 1-based row and column
    std::vector<std::pair<std::string, std::string>> shapeTypes;  // id, XML
    std::vector<std::string> otherShapes;
    std::vector<int> shapeIds;  // ids of the kept shapes
    std::vector<std::pair<std::string, std::string>> namespaces;  // of the root element
};
VmlRead readVml(std::string_view xml);

}  // namespace wb::ooxml
