#include "workbook/ooxml/vml.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>

#include "workbook/ooxml/xml_reader.h"
#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

void VmlDrawing::addShapeType(const std::string& id, std::string xml) {
    if (types_.count(id)) return;
    types_[id] = typeList_.size();
    typeList_.emplace_back(id, std::move(xml));
}

int VmlDrawing::allocateShapeId() {
    while (used_.count(next_)) ++next_;
    used_.insert(next_);
    return next_++;
}

void VmlDrawing::reserveShapeId(int id) { used_.insert(id); }

void VmlDrawing::addNamespace(const std::string& attr, const std::string& uri) {
    if (attr == "xmlns:v" || attr == "xmlns:o" || attr == "xmlns:x") return;
    for (const auto& n : namespaces_)
        if (n.first == attr) return;
    namespaces_.emplace_back(attr, uri);
}

std::string vmlShapeId(int id) { return "_x0000_s" + std::to_string(id); }

std::string VmlDrawing::write() const {
    std::string out;
    out.reserve(1024 + shapes_.size() * 900);
    out += "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\" "
           "xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"";
    for (const auto& [attr, uri] : namespaces_) {
        out += ' ';
        out += attr;
        out += "=\"";
        appendEscaped(out, uri, true, false);
        out += '"';
    }
    out += '>';
    // The id blocks of every shape in the part.
    std::set<int> blocks{block_};
    for (int id : used_) blocks.insert(id / 1024);
    out += "<o:shapelayout v:ext=\"edit\"><o:idmap v:ext=\"edit\" data=\"";
    bool first = true;
    for (int b : blocks) {
        if (!first) out += ',';
        out += std::to_string(b);
        first = false;
    }
    out += "\"/></o:shapelayout>";
    for (const auto& t : typeList_) out += t.second;
    for (const auto& s : shapes_) out += s;
    out += "</xml>";
    return out;
}

namespace {

int shapeNumber(const pugi::xml_node& shape) {
    const char* spid = shape.attribute("o:spid").value();
    if (!*spid) spid = shape.attribute("id").value();
    const char* s = std::strstr(spid, "_s");
    return s ? std::atoi(s + 2) : 0;
}

// "height:59.25pt" from a VML style attribute, in points.
double styleLength(std::string_view style, std::string_view key) {
    size_t pos = 0;
    while ((pos = style.find(key, pos)) != std::string_view::npos) {
        if ((pos == 0 || style[pos - 1] == ';' || style[pos - 1] == ' ') &&
            pos + key.size() < style.size() && style[pos + key.size()] == ':') {
            std::string v(style.substr(pos + key.size() + 1));
            char* end = nullptr;
            double d = std::strtod(v.c_str(), &end);
            std::string unit(end, end + std::min<size_t>(2, std::strlen(end)));
            if (unit == "px") return d * 0.75;
            if (unit == "in") return d * 72;
            if (unit == "mm") return d * 72 / 25.4;
            if (unit == "cm") return d * 72 / 2.54;
            return d;
        }
        pos += key.size();
    }
    return 0;
}

}  // namespace

VmlRead readVml(std::string_view xml) {
    VmlRead out;
    pugi::xml_document doc;
    // Old writers leave unclosed <br> tags in note texts; such a part keeps nothing.
    if (!doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single))
        return out;
    for (pugi::xml_attribute a : doc.document_element().attributes())
        if (std::string_view(a.name()).starts_with("xmlns:"))
            out.namespaces.emplace_back(a.name(), a.value());
    for (pugi::xml_node n : doc.document_element().children()) {
        std::string_view name = n.name();
        if (name == "v:shapetype") {
            out.shapeTypes.emplace_back(n.attribute("id").value(), outerXml(n));
        } else if (name == "v:shape" || name == "v:group") {
            pugi::xml_node cd = n.child("x:ClientData");
            if (name == "v:shape" && std::string_view(cd.attribute("ObjectType").value()) == "Note") {
                int row = std::atoi(cd.child_value("x:Row")) + 1;
                int col = std::atoi(cd.child_value("x:Column")) + 1;
                VmlRead::Note note;
                note.heightPt = styleLength(n.attribute("style").value(), "height");
                note.visible = static_cast<bool>(cd.child("x:Visible"));
                out.notes[{row, col}] = note;
                continue;
            }
            out.otherShapes.push_back(outerXml(n));
            if (int id = shapeNumber(n)) out.shapeIds.push_back(id);
            for (pugi::xml_node s : n.children("v:shape"))
                if (int id = shapeNumber(s)) out.shapeIds.push_back(id);
        }
    }
    return out;
}

}  // namespace wb::ooxml
