// The comments part of a sheet (xl/commentsN.xml) and the note shapes that show the comments in
// the sheet's legacy drawing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbook/model/worksheet.h"
#include "workbook/ooxml/vml.h"

namespace wb::ooxml {

struct ReadComment {
    int row = 0, col = 0;
    std::string text, author;
};

// Throws std::runtime_error on malformed XML.
std::vector<ReadComment> readComments(std::string_view xml);

std::string writeComments(const Worksheet& ws);

// The default comment box in points, before Shape.ScaleHeight.
inline constexpr double kNoteWidthPt = 108;
inline constexpr double kNoteHeightPt = 59.25;

// Adds one note shape per comment of the sheet to its legacy drawing.
void addCommentShapes(const Worksheet& ws, VmlDrawing& vml);

}  // namespace wb::ooxml
