#include "workbook/ooxml/xml_reader.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace wb::ooxml {

RootAttributes RootAttributes::of(const pugi::xml_node& root) {
    RootAttributes r;
    for (pugi::xml_attribute a : root.attributes()) {
        std::string_view name = a.name();
        if (name == "xmlns" || name.starts_with("xmlns:") || name == "mc:Ignorable")
            r.attrs.emplace_back(a.name(), a.value());
    }
    return r;
}

void RootAttributes::write(XmlWriter& w, std::initializer_list<std::string_view> written) const {
    for (const auto& [name, value] : attrs) {
        bool skip = false;
        for (std::string_view s : written) skip = skip || s == name;
        if (!skip) w.attr(name, value);
    }
}

void parseXml(pugi::xml_document& doc, std::string_view xml) {
    auto res = doc.load_buffer(xml.data(), xml.size(),
                               pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!res)
        throw std::runtime_error(std::string("malformed XML (") + res.description() +
                                 " at offset " + std::to_string(res.offset) + ")");
}

namespace {
struct StringSink : pugi::xml_writer {
    std::string& out;
    explicit StringSink(std::string& o) : out(o) {}
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};
}  // namespace

std::string outerXml(const pugi::xml_node& n) {
    std::string out;
    StringSink sink(out);
    n.print(sink, "", pugi::format_raw | pugi::format_no_declaration);
    return out;
}

std::string_view localNameOf(const pugi::xml_node& n) {
    std::string_view name = n.name();
    size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool attrBool(const pugi::xml_node& n, const char* name, bool def) {
    pugi::xml_attribute a = n.attribute(name);
    if (!a) return def;
    std::string_view v = a.value();
    return v == "1" || v == "true" || v == "on";
}

int attrInt(const pugi::xml_node& n, const char* name, int def) {
    pugi::xml_attribute a = n.attribute(name);
    if (!a) return def;
    std::string_view v = a.value();
    int out = def;
    auto r = std::from_chars(v.data(), v.data() + v.size(), out);
    return r.ec == std::errc() ? out : def;
}

double attrDouble(const pugi::xml_node& n, const char* name, double def) {
    pugi::xml_attribute a = n.attribute(name);
    if (!a) return def;
    std::string_view v = a.value();
    double out = def;
    auto r = std::from_chars(v.data(), v.data() + v.size(), out);
    return r.ec == std::errc() ? out : def;
}

bool parseCellRef(std::string_view ref, int& row, int& col) {
    size_t i = 0;
    if (i < ref.size() && ref[i] == '$') ++i;
    col = 0;
    size_t letters = 0;
    while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        col = col * 26 + ((ref[i] & ~0x20) - 'A' + 1);
        ++i;
        if (++letters > 3) return false;
    }
    if (letters == 0) return false;
    if (i < ref.size() && ref[i] == '$') ++i;
    row = 0;
    size_t digits = 0;
    while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9') {
        row = row * 10 + (ref[i] - '0');
        ++i;
        if (++digits > 7) return false;
    }
    return digits > 0 && i == ref.size() && row >= 1;
}

}  // namespace wb::ooxml
