// Extension point for the objects that float over a sheet (embedded controls, charts): what the
// worksheet writer hands to their writers while it writes a sheet.
//
// The worksheet writer builds one SheetWriteContext per written sheet, fills it with what the
// sheet kept from its file (relationships, legacy drawing shapes, the <drawing>, <oleObjects> and
// <controls> elements), calls writeSheetObjects(), and then writes the sheet: the VML part and
// <legacyDrawing> when the drawing has shapes, and the three element lists at their places in
// the sheet.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/model/worksheet.h"
#include "workbook/ooxml/relationships.h"
#include "workbook/ooxml/vml.h"

namespace wb::ooxml {

// New parts of the package being written.
class PartSink {
public:
    virtual ~PartSink() = default;
    // A part name not used yet: `prefix` + n + `suffix` with the smallest n >= 1
    // ("xl/activeX/activeX", ".xml").
    virtual std::string uniqueName(std::string_view prefix, std::string_view suffix) = 0;
    // Adds a part; a non-empty content type becomes an override entry.
    virtual void add(const std::string& name, std::string data, const std::string& contentType) = 0;
    // A default content type by extension ("bin", "emf").
    virtual void addDefault(const std::string& ext, const std::string& contentType) = 0;
    // A part kept from the read file (null when there is none).
    virtual const std::string* keptPart(const std::string& name) const = 0;
};

struct SheetWriteContext {
    const Worksheet& ws;
    std::string partName;  // "xl/worksheets/sheet3.xml": targets are relative to its folder
    Relationships& rels;   // the sheet's relationships
    VmlDrawing& vml;       // the sheet's one legacy drawing
    PartSink& parts;
    // Whole top-level elements written at their places in the sheet, the kept ones first. A
    // sheet has at most one <drawing>, <oleObjects> and <controls>: writers that add to a kept
    // one replace it with the merged element.
    std::vector<std::string> drawing, oleObjects, controls;
};

// Writes the sheet's controls and charts into the context. Called once per written sheet.
void writeSheetObjects(SheetWriteContext& ctx);

}  // namespace wb::ooxml
