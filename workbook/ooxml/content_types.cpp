#include "workbook/ooxml/content_types.h"

#include <pugixml.hpp>

#include <cctype>
#include <stdexcept>

#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

std::string ContentTypes::lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

ContentTypes ContentTypes::parse(std::string_view xml) {
    pugi::xml_document doc;
    auto res = doc.load_buffer(xml.data(), xml.size());
    if (!res) throw std::runtime_error(std::string("malformed XML: ") + res.description());
    ContentTypes t;
    for (pugi::xml_node n : doc.document_element().children()) {
        std::string_view name = n.name();
        if (name == "Default") {
            t.setDefault(n.attribute("Extension").value(), n.attribute("ContentType").value());
        } else if (name == "Override") {
            std::string part = n.attribute("PartName").value();
            if (!part.empty() && part.front() == '/') part.erase(0, 1);
            t.overrides_[part] = n.attribute("ContentType").value();
        }
    }
    return t;
}

std::string ContentTypes::typeOf(const std::string& part) const {
    auto it = overrides_.find(part);
    if (it != overrides_.end()) return it->second;
    size_t dot = part.rfind('.');
    if (dot == std::string::npos) return {};
    auto d = defaults_.find(lower(std::string_view(part).substr(dot + 1)));
    return d == defaults_.end() ? std::string() : d->second;
}

std::string ContentTypes::write() const {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.open("Types");
    w.attr("xmlns", "http://schemas.openxmlformats.org/package/2006/content-types");
    for (const auto& [ext, type] : defaults_) {
        w.open("Default");
        w.attr("Extension", ext);
        w.attr("ContentType", type);
        w.close("Default");
    }
    for (const auto& [part, type] : overrides_) {
        w.open("Override");
        w.attr("PartName", "/" + part);
        w.attr("ContentType", type);
        w.close("Override");
    }
    w.close("Types");
    return out;
}

}  // namespace wb::ooxml
