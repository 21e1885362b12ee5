#include "workbook/ooxml/relationships.h"

#include <pugixml.hpp>

#include <stdexcept>

#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

namespace {

// Control characters are not XML characters, and the writer cannot write them back: a relationship
// holding one would come back as another relationship (a damaged type as a known one).
void refuseControlCharacters(const Relationship& r) {
    for (const std::string* v : {&r.id, &r.type, &r.target})
        for (char c : *v)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                throw std::runtime_error(
                    "malformed XML: a control character in the relationship \"" + r.id + "\"");
}

}  // namespace

Relationships Relationships::parse(std::string_view xml) {
    pugi::xml_document doc;
    auto res = doc.load_buffer(xml.data(), xml.size());
    if (!res) throw std::runtime_error(std::string("malformed XML: ") + res.description());
    Relationships rels;
    for (pugi::xml_node n : doc.document_element().children()) {
        std::string_view name = n.name();
        if (name.size() < 12 || name.substr(name.size() - 12) != "Relationship") continue;
        Relationship r;
        r.id = n.attribute("Id").value();
        r.type = n.attribute("Type").value();
        r.target = n.attribute("Target").value();
        r.external = std::string_view(n.attribute("TargetMode").value()) == "External";
        refuseControlCharacters(r);
        rels.items_.push_back(std::move(r));
    }
    return rels;
}

std::string Relationships::add(std::string type, std::string target) {
    for (int n = static_cast<int>(items_.size()) + 1;; ++n) {
        std::string id = "rId" + std::to_string(n);
        if (!findById(id)) {
            items_.push_back(Relationship{id, std::move(type), std::move(target), false});
            return id;
        }
    }
}

const Relationship* Relationships::findById(std::string_view id) const {
    for (const auto& r : items_)
        if (r.id == id) return &r;
    return nullptr;
}

const Relationship* Relationships::findByType(std::string_view type) const {
    for (const auto& r : items_)
        if (r.type == type) return &r;
    return nullptr;
}

void Relationships::removeById(std::string_view id) {
    std::erase_if(items_, [&](const Relationship& r) { return r.id == id; });
}

void Relationships::removeByType(std::string_view type) {
    std::erase_if(items_, [&](const Relationship& r) { return r.type == type; });
}

std::string Relationships::write() const {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.open("Relationships");
    w.attr("xmlns", "http://schemas.openxmlformats.org/package/2006/relationships");
    for (const auto& r : items_) {
        w.open("Relationship");
        w.attr("Id", r.id);
        w.attr("Type", r.type);
        w.attr("Target", r.target);
        if (r.external) w.attr("TargetMode", "External");
        w.close("Relationship");
    }
    w.close("Relationships");
    return out;
}

std::string relsPartName(std::string_view part) {
    std::string folder = partFolder(part);
    return folder + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
}

std::string partFolder(std::string_view part) {
    size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

std::string resolveTarget(std::string_view sourceFolder, std::string_view target) {
    std::string path;
    if (!target.empty() && target.front() == '/') {
        path = std::string(target.substr(1));
    } else {
        path = std::string(sourceFolder) + std::string(target);
    }
    // Normalise "." and ".." segments.
    std::vector<std::string> segs;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        std::string seg = path.substr(start, slash - start);
        if (seg == "..") {
            if (!segs.empty()) segs.pop_back();
        } else if (!seg.empty() && seg != ".") {
            segs.push_back(seg);
        }
        start = slash + 1;
    }
    std::string out;
    for (size_t i = 0; i < segs.size(); ++i) {
        if (i) out += '/';
        out += segs[i];
    }
    return out;
}

std::string relativeTarget(std::string_view sourceFolder, std::string_view part) {
    // Common leading folders, then one ".." per remaining folder of the source.
    size_t common = 0;
    for (size_t i = 0; i < sourceFolder.size() && i < part.size(); ++i) {
        if (sourceFolder[i] != part[i]) break;
        if (sourceFolder[i] == '/') common = i + 1;
    }
    std::string out;
    for (size_t i = common; i < sourceFolder.size(); ++i)
        if (sourceFolder[i] == '/') out += "../";
    out += part.substr(common);
    return out;
}

}  // namespace wb::ooxml
