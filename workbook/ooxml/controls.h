// Embedded Microsoft Forms controls as the package stores them:
//  - the control's properties, persisted as the MorphDataControl structure of the Office Forms
//    binary format (MS-OFORMS 2.2.5) with its TextProps (MS-OFORMS 2.3.1), in the binary part
//    xl/activeX/activeXN.bin behind a copy of the class id (IPersistStreamInit persistence);
//  - the ActiveX part xl/activeX/activeXN.xml (<ax:ocx>) that names the class and the binary part;
//  - the legacy drawing (VML) shape that places the control on the sheet;
//  - the sheet's <controls> entry with the linked cell, the list fill range and the anchor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/model/drawing.h"
#include "workbook/model/style.h"
#include "workbook/ooxml/drawing.h"

namespace wb::ooxml {

inline constexpr std::string_view kListBoxClassId = "{8BD21D20-EC42-11CE-9E0D-00AA006002F3}";
inline constexpr std::string_view kOptionButtonClassId = "{8BD21D50-EC42-11CE-9E0D-00AA006002F3}";

inline constexpr std::string_view kActiveXContentType = "application/vnd.ms-office.activeX+xml";
inline constexpr std::string_view kActiveXBinaryContentType = "application/vnd.ms-office.activeX";
inline constexpr std::string_view kControlRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/control";
inline constexpr std::string_view kActiveXBinaryRelType =
    "http://schemas.microsoft.com/office/2006/relationships/activeXControlBinary";

// The Forms class id of a prog id ("Forms.ListBox.1"), or empty when not a supported class.
std::string_view classIdOfProgId(std::string_view progId);
// The prog id of a class id (case-insensitive, braces required), or empty.
std::string_view progIdOfClassId(std::string_view classId);

// fmDisplayStyle values (MS-OFORMS 2.4.? DisplayStyle) of the two classes.
inline constexpr uint8_t kDisplayStyleList = 2;
inline constexpr uint8_t kDisplayStyleOptionButton = 5;

// The properties of a MorphDataControl, each at its file-format default unless set. Only the
// properties this system uses are modelled; the encoder writes a property when it differs from
// the file-format default, the decoder reads every property the structure can hold.
struct MorphData {
    static constexpr uint32_t kDefaultVariousPropertyBits = 0x2C80081B;
    static constexpr uint32_t kDefaultBackColor = 0x80000005;  // system window background
    static constexpr uint32_t kDefaultForeColor = 0x80000008;  // system window text
    static constexpr int32_t kDefaultFontHeight = 160;         // twips (8 pt)

    uint32_t variousPropertyBits = kDefaultVariousPropertyBits;
    uint32_t backColor = kDefaultBackColor;  // OLE_COLOR
    uint32_t foreColor = kDefaultForeColor;
    uint8_t displayStyle = 1;                // fmDisplayStyleText
    uint32_t width = 0, height = 0;          // HIMETRIC; written always (the size is required)
    uint8_t listStyle = 0;                   // fmListStylePlain; 1 fmListStyleOption
    uint8_t multiSelect = 0;
    std::string value, caption, groupName;   // UTF-8
    // TextProps
    std::string fontName;
    uint32_t fontEffects = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strikeout
    int32_t fontHeight = kDefaultFontHeight;

    bool operator==(const MorphData&) const = default;
};

// The MorphDataControl structure followed by its TextProps.
std::string encodeMorphData(const MorphData& m);
// Reads a MorphDataControl structure; nullopt when the bytes are not one (wrong version, sizes
// that run past the end).
std::optional<MorphData> decodeMorphData(std::string_view bytes);

// OLE_COLOR of a model colour (0x00BBGGRR; the system colours 64 and 65 of the palette as the
// window text and window background colours).
uint32_t oleColor(const Color& c);
Color colorOfOle(uint32_t ole);

// The persisted properties of a model control: class-dependent display style, colours, size,
// value ("1"/"0" for option buttons, the chosen item for list boxes), caption, group name, list
// style and the font (the workbook's default font, bold as the control says).
MorphData morphDataOf(const Control& c, const Font& defaultFont);
// Sets the properties of `c` that the persisted structure carries.
void applyMorphData(const MorphData& m, Control& c);

// The binary part: the class id (16 bytes, as GUIDs are stored) followed by the MorphData.
std::string activeXBinaryPart(const Control& c, const Font& defaultFont);
// Reads a binary part; nullopt when it does not start with a known class id or the structure does
// not decode. `progId` receives the class's prog id.
std::optional<MorphData> readActiveXBinaryPart(std::string_view bin, std::string* progId);

// The ActiveX part (<ax:ocx ax:classid=... ax:persistence="persistStreamInit" r:id=.../>).
std::string activeXXmlPart(const Control& c, std::string_view binaryRelId);
// The class id and binary relationship id of an ActiveX part; false when it is not one.
bool readActiveXXmlPart(std::string_view xml, std::string& classId, std::string& binaryRelId,
                        std::string& persistence);

// The VML shape type of embedded controls (o:spt 201), written once per legacy drawing part
// before the control shapes.
std::string vmlControlShapeType();
// The VML shape that places a control: id = the control's name, o:spid "_x0000_s{shapeId}",
// position and size in points, the anchor in the spreadsheet's column/pixel form, the linked cell
// and list fill range.
std::string vmlControlShape(const Control& c, int shapeId, const CellAnchor& anchor);

// The sheet's <control> entry for one control, wrapped as the application writes it: the full
// entry with its properties and anchor for readers that know the 2010 form, a bare entry as the
// fallback. `relId` is the sheet's relationship to the ActiveX part.
std::string controlElement(const Control& c, int shapeId, std::string_view relId,
                           const CellAnchor& anchor);

// Worksheet root namespaces the <controls> element needs.
inline constexpr std::string_view kMarkupCompatibilityNs =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";
inline constexpr std::string_view kX14Ns = "http://schemas.microsoft.com/office/spreadsheetml/2009/9/main";
inline constexpr std::string_view kSpreadsheetDrawingNs =
    "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";

}  // namespace wb::ooxml
