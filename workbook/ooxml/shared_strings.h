// The shared strings part (xl/sharedStrings.xml).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/model/workbook.h"

namespace wb::ooxml {

// A rich text entry of a read shared strings part: its XML as read (written back unchanged, so
// sheets that are never loaded keep their formatting) and its runs for the model.
struct RichString {
    struct Run {
        int start = 0, length = 0;  // bytes of the entry's text
        bool hasFont = false;       // a run without properties shows in the cell's font
        Font font;
    };
    std::string xml;
    std::vector<Run> runs;
};

// Appends the entries to the pool in the file's order, so that their indices stay the file's;
// rich entries are added as their plain text and their runs returned by index. Throws
// std::runtime_error on malformed XML.
void readSharedStrings(std::string_view xml, StringPool& pool,
                       std::unordered_map<uint32_t, RichString>& rich);

// Collects the rich text of written cells as entries after the pool's own.
class SharedStringsWriter {
public:
    SharedStringsWriter(const StringPool& pool, const std::unordered_map<uint32_t, RichString>* kept)
        : pool_(pool), kept_(kept) {}
    // The index of an entry holding `text` with these runs (byte offsets into text).
    uint32_t addRich(const std::string& text, const std::vector<TextRun>& runs);
    bool empty() const { return pool_.size() == 0 && extra_.empty(); }
    std::string write() const;

private:
    const StringPool& pool_;
    const std::unordered_map<uint32_t, RichString>* kept_;
    std::vector<std::string> extra_;  // <si> elements
};

// The <r> elements of a rich text (used by shared strings and comments).
void appendRuns(std::string& out, const std::string& text, const std::vector<TextRun>& runs);

}  // namespace wb::ooxml
