// Helpers for reading parts with pugixml and for keeping elements that are written back as read.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

// An element of a read part that the model does not hold, kept as its XML text.
struct PreservedElement {
    std::string name;  // the element's name as written ("hyperlinks", "mc:AlternateContent")
    std::string xml;
    int rank = -1;  // the element's place among its siblings, where the part has a fixed order
};

// The namespace declarations (and mc:Ignorable) of a read part's root element. Kept elements
// may use any prefix declared there, so the rewritten root declares them again.
struct RootAttributes {
    std::vector<std::pair<std::string, std::string>> attrs;
    static RootAttributes of(const pugi::xml_node& root);
    // Writes the kept declarations except those already written (`written` names).
    void write(XmlWriter& w, std::initializer_list<std::string_view> written) const;
};

// Parses `xml`; throws std::runtime_error with pugixml's reason when it is not well-formed.
void parseXml(pugi::xml_document& doc, std::string_view xml);

// The element with its content as XML text, without added formatting.
std::string outerXml(const pugi::xml_node& n);

// The element name without its namespace prefix.
std::string_view localNameOf(const pugi::xml_node& n);

// Attribute readers: the default when the attribute is missing; booleans read "1"/"true".
bool attrBool(const pugi::xml_node& n, const char* name, bool def);
int attrInt(const pugi::xml_node& n, const char* name, int def);
double attrDouble(const pugi::xml_node& n, const char* name, double def);

// "B7" -> row 7, column 2; false when the text is not a cell address.
bool parseCellRef(std::string_view ref, int& row, int& col);

}  // namespace wb::ooxml
