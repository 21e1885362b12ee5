#include "workbook/ooxml/shared_strings.h"

#include <pugixml.hpp>

#include <algorithm>

#include "workbook/ooxml/styles.h"
#include "workbook/ooxml/xml_reader.h"
#include "workbook/ooxml/xml_writer.h"

namespace wb::ooxml {

void readSharedStrings(std::string_view xml, StringPool& pool,
                       std::unordered_map<uint32_t, RichString>& rich) {
    pugi::xml_document doc;
    parseXml(doc, xml);
    for (pugi::xml_node si : doc.document_element().children("si")) {
        std::string text;
        if (si.child("r")) {
            RichString rs;
            for (pugi::xml_node r : si.children("r")) {
                std::string part = decodeExcelEscapes(r.child("t").child_value());
                RichString::Run run;
                run.start = static_cast<int>(text.size());
                run.length = static_cast<int>(part.size());
                if (pugi::xml_node rpr = r.child("rPr")) {
                    run.hasFont = true;
                    run.font = readFont(rpr);
                }
                text += part;
                if (run.length > 0) rs.runs.push_back(std::move(run));
            }
            rs.xml = outerXml(si);
            uint32_t id = pool.append(std::move(text));
            rich.emplace(id, std::move(rs));
        } else {
            pool.append(decodeExcelEscapes(si.child("t").child_value()));
        }
    }
}

void appendRuns(std::string& out, const std::string& text, const std::vector<TextRun>& runs) {
    XmlWriter w(out);
    int n = static_cast<int>(text.size());
    int pos = 0;
    auto plain = [&](int from, int to) {
        if (from >= to) return;
        w.open("r");
        w.textElement("t", std::string_view(text).substr(from, to - from));
        w.close("r");
    };
    for (const TextRun& r : runs) {
        int a = std::clamp(r.start, pos, n), b = std::clamp(r.start + r.length, a, n);
        plain(pos, a);
        if (a < b) {
            w.open("r");
            w.open("rPr");
            writeFontChildren(w, r.font, "rFont");
            w.close("rPr");
            w.textElement("t", std::string_view(text).substr(a, b - a));
            w.close("r");
        }
        pos = b;
    }
    plain(pos, n);
}

uint32_t SharedStringsWriter::addRich(const std::string& text, const std::vector<TextRun>& runs) {
    std::string si = "<si>";
    appendRuns(si, text, runs);
    si += "</si>";
    extra_.push_back(std::move(si));
    return static_cast<uint32_t>(pool_.size() + extra_.size() - 1);
}

std::string SharedStringsWriter::write() const {
    std::string out;
    size_t total = pool_.size() + extra_.size();
    out.reserve(128 + total * 24);
    XmlWriter w(out);
    w.declaration();
    w.open("sst");
    w.attr("xmlns", "http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    w.attr("uniqueCount", total);
    for (uint32_t i = 0; i < pool_.size(); ++i) {
        if (kept_) {
            auto it = kept_->find(i);
            if (it != kept_->end()) {
                w.raw(it->second.xml);
                continue;
            }
        }
        w.open("si");
        w.textElement("t", pool_.get(i));
        w.close("si");
    }
    for (const auto& si : extra_) w.raw(si);
    w.close("sst");
    return out;
}

}  // namespace wb::ooxml
