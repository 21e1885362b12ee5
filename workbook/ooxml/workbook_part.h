// The workbook part (xl/workbook.xml): sheets, defined names, the active sheet, calculation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/package_state.h"

namespace wb::ooxml {

struct WorkbookRead {
    struct Sheet {
        std::string name, relId, state;
        int sheetId = 0;
    };
    struct Name {
        std::string name, text, xml;
        int localSheet = -1;
        bool hidden = false;
    };
    std::vector<Sheet> sheets;
    std::vector<Name> names;
    int activeTab = 0;
};

// Reads the part; what the model does not hold goes into `kept`. Throws std::runtime_error on
// malformed XML.
WorkbookRead readWorkbookPart(std::string_view xml, WorkbookKept& kept);

struct SheetEntryOut {
    std::string relId;
    int sheetId = 0;
};

// Writes the part for the model's sheets (in tab order, with the given relationship ids and sheet
// ids), its defined names and active sheet, with full calculation on load.
std::string writeWorkbookPart(const Workbook& wb, const WorkbookKept* kept,
                              const std::vector<SheetEntryOut>& sheets);

// The tab that the file shows as active: the active sheet, or the first visible one when the
// active sheet is hidden. -1 when every sheet is hidden.
int visibleActiveTab(const Workbook& wb);

}  // namespace wb::ooxml
