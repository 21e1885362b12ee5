// What the file format keeps of a read package, held in Workbook::packageState(): the parts it
// does not rebuild (written back unchanged), and for every sheet the part it was read from.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/content_types.h"
#include "workbook/ooxml/relationships.h"
#include "workbook/ooxml/shared_strings.h"
#include "workbook/ooxml/styles.h"
#include "workbook/ooxml/vml.h"
#include "workbook/ooxml/xml_reader.h"

namespace wb::ooxml {

using PartData = std::shared_ptr<const std::string>;

// What a loaded sheet keeps of its part besides what the model holds.
struct SheetKept {
    RootAttributes root;
    Relationships rels;                      // without those of the rebuilt comments and notes
    std::vector<PreservedElement> elements;  // unmodelled top-level elements, in file order
    std::vector<std::pair<std::string, std::string>> sheetPrAttrs;
    std::string sheetPrChildren;              // besides the tab colour
    std::vector<std::pair<std::string, std::string>> sheetViewAttrs;  // besides tabSelected
    std::string paneXml;
    std::vector<std::pair<std::string, std::string>> sheetFormatAttrs;
    std::vector<std::pair<std::string, std::string>> protectionAttrs;  // passwords and flags
    VmlRead vml;                             // shapes of the legacy drawing besides notes
    Relationships vmlRels;                   // of the legacy drawing (images of kept shapes)
    bool hadSheetView = false;
};

struct SheetSource {
    std::string part;     // "xl/worksheets/sheet1.xml"
    std::string relId;    // in the workbook's relationships
    std::string relType;  // worksheet (or another sheet kind, passed through only)
    int sheetId = 0;
    PartData xml;         // the part as read
    PartData relsXml;     // its relationships part as read, or null
    std::unique_ptr<SheetKept> kept;  // set when the sheet was loaded
    std::string loadError;            // set when loading failed
};

struct WorkbookKept {
    RootAttributes root;
    std::vector<PreservedElement> elements;  // besides bookViews, sheets, definedNames, calcPr
    std::vector<std::pair<std::string, std::string>> workbookViewAttrs;
    std::vector<std::pair<std::string, std::string>> calcPrAttrs;
    std::vector<std::string> rawNames;  // defined names whose formulas the model cannot hold
};

struct PackageState {
    std::string sourcePath;
    std::map<std::string, PartData> parts;  // every part read, by name
    ContentTypes contentTypes;
    Relationships rootRels;
    std::string workbookPart;  // "xl/workbook.xml"
    Relationships workbookRels;
    WorkbookKept workbook;
    std::string stylesPart, sharedStringsPart;
    StylesExtras styles;
    std::unordered_map<uint32_t, RichString> richStrings;  // by shared string index
    std::map<const Worksheet*, SheetSource> sheets;
    // Parts that the writer rebuilds or drops, so they are not written back as read.
    std::set<std::string> consumed;
};

}  // namespace wb::ooxml
