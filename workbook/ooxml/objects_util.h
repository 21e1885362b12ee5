// Small helpers shared by the writers and readers of the floating-object parts (controls,
// drawings, charts): escaping for hand-written markup and namespace-agnostic lookups in pugixml
// trees (the parts are matched by local name, whatever prefix a producer chose).
#pragma once

#include <cstring>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace wb::ooxml {

inline void appendXmlEscaped(std::string& out, std::string_view s, bool attribute) {
    for (char ch : s) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"':
                if (attribute) out += "&quot;";
                else out += ch;
                break;
            default:
                // Control characters other than tab and line breaks are not allowed in XML 1.0.
                if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t' && ch != '\n' && ch != '\r')
                    break;
                out += ch;
        }
    }
}

inline std::string xmlEscaped(std::string_view s, bool attribute = true) {
    std::string out;
    appendXmlEscaped(out, s, attribute);
    return out;
}

inline std::string_view localName(const pugi::xml_node& n) {
    std::string_view name = n.name();
    auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

inline pugi::xml_node localChild(const pugi::xml_node& n, std::string_view local) {
    for (pugi::xml_node c : n.children())
        if (c.type() == pugi::node_element && localName(c) == local) return c;
    return {};
}

// The value of the attribute with this local name (any prefix), or "".
inline const char* attributeLocal(const pugi::xml_node& n, std::string_view local) {
    for (pugi::xml_attribute a : n.attributes()) {
        std::string_view name = a.name();
        auto colon = name.find(':');
        std::string_view ln = colon == std::string_view::npos ? name : name.substr(colon + 1);
        if (ln == local && name.substr(0, 6) != "xmlns:") return a.value();
    }
    return "";
}

}  // namespace wb::ooxml
