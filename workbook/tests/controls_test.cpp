// Embedded Forms controls: the persisted property bytes against the MorphData layout of the
// Office Forms binary format, the mapping from the model's controls, the ActiveX and drawing
// markup, and the object-model operations on controls and shapes.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/controls.h"
#include "workbook/ooxml/drawing.h"

using namespace wb;
using namespace wb::ooxml;

namespace {

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s += static_cast<char>(v);
    return s;
}

std::string hex(const std::string& s) {
    static const char* d = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (!out.empty()) out += ' ';
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

// TextProps with no property set: version 0.2, cbTextProps 4, an empty mask.
const std::string kEmptyTextProps = bytes({0x00, 0x02, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00});

struct MorphCase {
    const char* what;
    MorphData data;
    std::string expected;  // the MorphDataControl structure, TextProps excluded
};

MorphData with(void (*set)(MorphData&)) {
    MorphData m;
    set(m);
    return m;
}

}  // namespace

// Each row sets properties and gives the structure the format prescribes: MinorVersion 0,
// MajorVersion 2, cbMorphData (mask + DataBlock + ExtraDataBlock), the 8-byte mask (bit 8 Size is
// always set, bit 31 Reserved must be set), the DataBlock with every field aligned to its size from
// the start of the structure, and the ExtraDataBlock (size, then the strings, each padded to 4).
TEST(MorphDataBytes, PropertiesAndTheirEncodings) {
    const std::vector<MorphCase> cases = {
        {"defaults: only the size",
         MorphData{},
         bytes({0x00, 0x02, 0x10, 0x00,                            // version, cb = 16
                0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,    // mask: Size, Reserved
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},  // Size 0 x 0
        {"BackColor red (OLE 0x000000FF)",
         with([](MorphData& m) { m.backColor = 0x000000FF; }),
         bytes({0x00, 0x02, 0x14, 0x00, 0x02, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
                0xFF, 0x00, 0x00, 0x00,  // BackColor
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
        {"ForeColor black",
         with([](MorphData& m) { m.foreColor = 0; }),
         bytes({0x00, 0x02, 0x14, 0x00, 0x04, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
        {"DisplayStyle list (2), padded to four bytes",
         with([](MorphData& m) { m.displayStyle = kDisplayStyleList; }),
         bytes({0x00, 0x02, 0x14, 0x00, 0x40, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
                0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
        {"Size 72 pt x 36 pt = 2540 x 1270 HIMETRIC",
         with([](MorphData& m) { m.width = 2540, m.height = 1270; }),
         bytes({0x00, 0x02, 0x10, 0x00, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
                0xEC, 0x09, 0x00, 0x00, 0xF6, 0x04, 0x00, 0x00})},
        {"ListStyle option (1)",
         with([](MorphData& m) { m.listStyle = 1; }),
         bytes({0x00, 0x02, 0x14, 0x00, 0x00, 0x01, 0x02, 0x80, 0x00, 0x00, 0x00, 0x00,
                0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
        {"Value \"1\": compressed count in the DataBlock, characters after the size",
         with([](MorphData& m) { m.value = "1"; }),
         bytes({0x00, 0x02, 0x18, 0x00, 0x00, 0x01, 0x40, 0x80, 0x00, 0x00, 0x00, 0x00,
                0x01, 0x00, 0x00, 0x80,                          // 1 byte, compressed
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // Size
                0x31, 0x00, 0x00, 0x00})},                       // "1", padded
        {"Value outside Latin-1: UTF-16, count in bytes, no compression flag",
         with([](MorphData& m) { m.value = "\xCE\xA9"; }),  // U+03A9
         bytes({0x00, 0x02, 0x18, 0x00, 0x00, 0x01, 0x40, 0x80, 0x00, 0x00, 0x00, 0x00,
                0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                0xA9, 0x03, 0x00, 0x00})},
        {"GroupName \"1\": bit 32, the mask's second half",
         with([](MorphData& m) { m.groupName = "1"; }),
         bytes({0x00, 0x02, 0x18, 0x00, 0x00, 0x01, 0x00, 0x80, 0x01, 0x00, 0x00, 0x00,
                0x01, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                0x31, 0x00, 0x00, 0x00})},
        {"option button: one-byte DisplayStyle then four-byte counts realigned",
         with([](MorphData& m) {
             m.backColor = 0xFF;
             m.displayStyle = kDisplayStyleOptionButton;
             m.value = "0";
             m.caption = "OptionButton1";
             m.groupName = "1";
         }),
         bytes({0x00, 0x02, 0x3C, 0x00,                          // cb = 60
                0x42, 0x01, 0xC0, 0x80, 0x01, 0x00, 0x00, 0x00,  // bits 1 6 8 22 23 31 32
                0xFF, 0x00, 0x00, 0x00,                          // BackColor
                0x05, 0x00, 0x00, 0x00,                          // DisplayStyle + padding
                0x01, 0x00, 0x00, 0x80,                          // Value: 1 byte
                0x0D, 0x00, 0x00, 0x80,                          // Caption: 13 bytes
                0x01, 0x00, 0x00, 0x80,                          // GroupName: 1 byte
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // Size
                0x30, 0x00, 0x00, 0x00,                          // "0"
                'O', 'p', 't', 'i', 'o', 'n', 'B', 'u', 't', 't', 'o', 'n', '1', 0x00, 0x00, 0x00,
                0x31, 0x00, 0x00, 0x00})},  // "1"
    };
    for (const auto& c : cases) {
        std::string expected = c.expected + kEmptyTextProps;
        EXPECT_EQ(hex(encodeMorphData(c.data)), hex(expected)) << c.what;
        auto back = decodeMorphData(expected);
        ASSERT_TRUE(back.has_value()) << c.what;
        EXPECT_EQ(*back, c.data) << c.what;
    }
}

TEST(MorphDataBytes, TextPropsFontNameEffectsAndHeight) {
    MorphData m;
    m.fontName = "Arial";
    m.fontEffects = 1;  // bold
    m.fontHeight = 200;  // 10 pt in twips
    std::string text = encodeMorphData(m).substr(20);  // after the 20-byte MorphDataControl
    EXPECT_EQ(hex(text), hex(bytes({0x00, 0x02, 0x18, 0x00,  // version, cbTextProps = 24
                                    0x07, 0x00, 0x00, 0x00,  // FontName, FontEffects, FontHeight
                                    0x05, 0x00, 0x00, 0x80,  // FontName: 5 bytes, compressed
                                    0x01, 0x00, 0x00, 0x00,  // FontEffects: bold
                                    0xC8, 0x00, 0x00, 0x00,  // FontHeight 200
                                    'A', 'r', 'i', 'a', 'l', 0x00, 0x00, 0x00})));
    EXPECT_EQ(decodeMorphData(encodeMorphData(m)), m);
}

// Properties this layer never writes must still be skipped at their aligned places when a
// structure carries them (MousePointer 1 byte after DisplayStyle, PasswordChar 2 bytes aligned
// to 2, a picture in the StreamData), so that what follows decodes right.
TEST(MorphDataBytes, DecodesPropertiesItDoesNotWrite) {
    std::string s = bytes({0x00, 0x02, 0x1C, 0x00,                          // cb = 28
                           0xC2, 0x03, 0x00, 0x90, 0x00, 0x00, 0x00, 0x00,  // 1 6 7 8 9 28 31
                           0x00, 0xFF, 0x00, 0x00,                          // BackColor green
                           0x05, 0x03,                                      // DisplayStyle, MousePointer
                           0x2A, 0x00,                                      // PasswordChar '*'
                           0xFF, 0xFF, 0x00, 0x00,                          // Picture: 0xFFFF + pad
                           0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00}); // Size 16 x 32
    // StreamData: GuidAndPicture = GUID (16 bytes), StdPicture preamble, size 3, 3 bytes.
    s += std::string(16, '\x11') + bytes({0x6C, 0x74, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 1, 2, 3});
    s += bytes({0x00, 0x02, 0x08, 0x00, 0x04, 0x00, 0x00, 0x00, 0xF0, 0x00, 0x00, 0x00});
    auto m = decodeMorphData(s);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->backColor, 0x0000FF00u);
    EXPECT_EQ(m->displayStyle, kDisplayStyleOptionButton);
    EXPECT_EQ(m->width, 16u);
    EXPECT_EQ(m->height, 32u);
    EXPECT_EQ(m->fontHeight, 240);
    // Truncated or foreign bytes are refused, not read past their end.
    EXPECT_FALSE(decodeMorphData(s.substr(0, 20)).has_value());
    EXPECT_FALSE(decodeMorphData(bytes({0x00, 0x04, 0x08, 0x00, 0, 0, 0, 0, 0, 0, 0, 0})));
}

TEST(ActiveXParts, ModelControlsPersistTheirProperties) {
    Font font;  // Arial 10
    Control lb;
    lb.progId = "Forms.ListBox.1";
    lb.name = "lstBx11";
    lb.width = 72;
    lb.height = 36;
    lb.backColor = Color::fromBgr(255);
    lb.foreColor = Color::fromBgr(0);
    lb.listStyle = 1;
    lb.list = {"0%", "25%", "50%"};
    lb.listIndex = 1;
    MorphData m = morphDataOf(lb, font);
    EXPECT_EQ(m.displayStyle, kDisplayStyleList);
    EXPECT_EQ(m.backColor, 0x000000FFu);
    EXPECT_EQ(m.foreColor, 0u);
    EXPECT_EQ(m.width, 2540u);
    EXPECT_EQ(m.height, 1270u);
    EXPECT_EQ(m.listStyle, 1);
    EXPECT_EQ(m.value, "25%");  // the chosen item
    EXPECT_EQ(m.fontName, "Arial");
    EXPECT_EQ(m.fontHeight, 200);
    EXPECT_TRUE(m.groupName.empty());

    Control ob;
    ob.progId = "Forms.OptionButton.1";
    ob.caption = "OptionButton3";
    ob.groupName = "2";
    ob.fontBold = true;
    for (auto [value, stored] : {std::pair{"TRUE", "1"}, {"FALSE", "0"}, {"1", "1"}, {"", "0"}}) {
        ob.value = value;
        EXPECT_EQ(morphDataOf(ob, font).value, stored) << value;
    }
    EXPECT_EQ(morphDataOf(ob, font).fontEffects, 1u);

    // The binary part: the class id as a GUID is stored (Data1..3 little-endian), then MorphData.
    std::string bin = activeXBinaryPart(ob, font);
    EXPECT_EQ(hex(bin.substr(0, 16)), "50 1D D2 8B 42 EC CE 11 9E 0D 00 AA 00 60 02 F3");
    std::string progId;
    auto back = readActiveXBinaryPart(bin, &progId);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(progId, "Forms.OptionButton.1");
    Control read;
    applyMorphData(*back, read);
    EXPECT_EQ(read.value, "FALSE");
    EXPECT_EQ(read.groupName, "2");
    EXPECT_EQ(read.caption, "OptionButton3");
    EXPECT_TRUE(read.fontBold);
    EXPECT_EQ(hex(activeXBinaryPart(lb, font).substr(0, 16)), "20 1D D2 8B 42 EC CE 11 9E 0D 00 AA 00 60 02 F3");

    std::string xml = activeXXmlPart(lb, "rId1");
    std::string classId, rel, persistence;
    ASSERT_TRUE(readActiveXXmlPart(xml, classId, rel, persistence));
    EXPECT_EQ(classId, "{8BD21D20-EC42-11CE-9E0D-00AA006002F3}");
    EXPECT_EQ(rel, "rId1");
    EXPECT_EQ(persistence, "persistStreamInit");
}

TEST(ActiveXParts, ShapeAndControlEntryCarryLinksAndAnchor) {
    Control c;
    c.progId = "Forms.ListBox.1";
    c.name = "lstBx1&2";
    c.left = 10;
    c.top = 20;
    c.width = 30;
    c.height = 40;
    c.linkedCell = "$I$18";
    c.listFillRange = "BMPList!$B$3:$B$9";
    c.autoLoad = true;
    CellAnchor a{{8, 9525 * 3, 17, 0}, {9, 0, 18, 9525 * 2}};
    std::string vml = "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\""
                      " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
                      " xmlns:x=\"urn:schemas-microsoft-com:office:excel\">" +
                      vmlControlShapeType() + vmlControlShape(c, 1025, a) + "</xml>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(vml.c_str()));
    pugi::xml_node shape = doc.child("xml").child("v:shape");
    EXPECT_STREQ(shape.attribute("id").value(), "lstBx1&2");
    EXPECT_STREQ(shape.attribute("o:spid").value(), "_x0000_s1025");
    EXPECT_STREQ(shape.attribute("style").value(),
                 "position:absolute;margin-left:10pt;margin-top:20pt;width:30pt;height:40pt;z-index:1");
    pugi::xml_node cd = shape.child("x:ClientData");
    EXPECT_STREQ(cd.attribute("ObjectType").value(), "Pict");
    EXPECT_STREQ(cd.child_value("x:Anchor"), "8, 3, 17, 0, 9, 0, 18, 2");
    EXPECT_STREQ(cd.child_value("x:FmlaLink"), "$I$18");
    EXPECT_STREQ(cd.child_value("x:FmlaRange"), "BMPList!$B$3:$B$9");
    EXPECT_TRUE(cd.child("x:AutoLoad"));

    std::string entry = "<controls xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\""
                        " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
                        " xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\">" +
                        controlElement(c, 1025, "rId7", a) + "</controls>";
    ASSERT_TRUE(doc.load_string(entry.c_str()));
    pugi::xml_node ac = doc.child("controls").child("mc:AlternateContent");
    EXPECT_STREQ(ac.child("mc:Choice").attribute("Requires").value(), "x14");
    pugi::xml_node ctl = ac.child("mc:Choice").child("control");
    EXPECT_STREQ(ctl.attribute("shapeId").value(), "1025");
    EXPECT_STREQ(ctl.attribute("r:id").value(), "rId7");
    EXPECT_STREQ(ctl.attribute("name").value(), "lstBx1&2");
    pugi::xml_node pr = ctl.child("controlPr");
    EXPECT_STREQ(pr.attribute("linkedCell").value(), "$I$18");
    EXPECT_STREQ(pr.attribute("listFillRange").value(), "BMPList!$B$3:$B$9");
    EXPECT_STREQ(pr.child("anchor").child("from").child_value("xdr:colOff"), "28575");
    EXPECT_STREQ(pr.child("anchor").child("to").child_value("xdr:row"), "18");
    EXPECT_STREQ(ac.child("mc:Fallback").child("control").attribute("r:id").value(), "rId7");
}

// ---------------------------------------------------------------------------------------------
// Object-model operations

class SheetObjects : public ::testing::Test {
protected:
    Workbook book;
    Worksheet& ws = book.addSheet("Input");
};

TEST_F(SheetObjects, ListBoxFilledFromItsRangeWritesTheChosenItem) {
    ws.range("AA1").setValue("0%");
    ws.range("AA2").setValue("less than 25%");
    ws.range("AA3").setValue("25-50%");
    Worksheet& other = book.addSheet("BMP List");
    other.range("B3").setValue("Buffer");
    other.range("B4").setValue("Terrace");

    OleObject lb = addOleObject(ws, "Forms.ListBox.1", 10, 20, 30, 40);
    EXPECT_EQ(lb->name, "ListBox1");
    lb.setLinkedCell("$I$18").setListFillRange("AA1:AA3").setListIndex(1);
    EXPECT_EQ(lb.listItem(lb->listIndex), "less than 25%");
    EXPECT_EQ(std::get<std::string>(ws.range("I18").value()), "less than 25%");
    EXPECT_THROW(lb.listItem(3), WorkbookError);
    EXPECT_THROW(lb.setListIndex(3), WorkbookError);

    OleObject lb2 = addOleObject(ws, "forms.listbox.1", 0, 0, 10, 10);
    EXPECT_EQ(lb2->name, "ListBox2");
    lb2.setListFillRange("'BMP List'!$B$3:$B$4");
    EXPECT_EQ(lb2->list, (std::vector<std::string>{"Buffer", "Terrace"}));
    EXPECT_THROW(lb2.setListFillRange("Nowhere!A1:A2"), WorkbookError);
    EXPECT_THROW(lb2.setListFillRange("not a range"), WorkbookError);
    // The first handle still reaches its control after more were added.
    EXPECT_EQ(lb->name, "ListBox1");
    EXPECT_THROW(addOleObject(ws, "Forms.CommandButton.1", 0, 0, 1, 1), WorkbookError);
}

TEST_F(SheetObjects, OptionButtonsOfOneGroupExcludeEachOther) {
    std::vector<OleObject> row;
    for (int col = 3; col <= 6; ++col) {
        OleObject b = addOleObject(ws, "Forms.OptionButton.1", col * 10, 0, 10, 10);
        b.setLinkedCell(ws.cells(41, col).address()).setGroupName("1");
        row.push_back(b);
    }
    OleObject lone = addOleObject(ws, "Forms.OptionButton.1", 0, 50, 10, 10);
    lone.setLinkedCell("$C$42").setGroupName("2").setValue(true);
    EXPECT_EQ(row[0]->name, "OptionButton1");
    EXPECT_EQ(row[0]->caption, "OptionButton1");
    for (auto& b : row) b.setValue(std::string_view("1"));
    row[1].setValue(true);
    const char* expected[] = {"FALSE", "TRUE", "FALSE", "FALSE"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(row[i]->value, expected[i]);
        EXPECT_EQ(std::get<bool>(ws.cells(41, 3 + i).value()), i == 1) << i;
    }
    EXPECT_EQ(lone->value, "TRUE");  // another group is untouched
    EXPECT_TRUE(std::get<bool>(ws.range("C42").value()));
}

TEST_F(SheetObjects, GroupingMatchesNamesWithoutCaseAndRefusesBadMembers) {
    for (int i = 0; i < 5; ++i) addOleObject(ws, "Forms.OptionButton.1", 0, i * 10.0, 10, 10);
    addChart(ws, 0, 100, 100, 100);
    std::string g = groupShapes(ws, {"optionButton1", "OPTIONBUTTON2", "OptionButton3", "optionbutton4"});
    EXPECT_EQ(g.rfind("Group ", 0), 0u);
    ASSERT_EQ(ws.shapeGroups.size(), 1u);
    EXPECT_EQ(ws.shapeGroups[0],
              (std::vector<std::string>{"OptionButton1", "OptionButton2", "OptionButton3", "OptionButton4"}));

    struct Bad {
        std::vector<std::string> names;
        const char* mentions;
    };
    for (const Bad& b : std::vector<Bad>{
             {{"OptionButton5", "OptionButton9"}, "OptionButton9"},  // no such shape
             {{"OptionButton5", "optionbutton1"}, "optionbutton1"},  // already in a group
             {{"OptionButton5", "optionButton5"}, "optionButton5"},  // named twice
             {{"OptionButton5"}, "two shapes"}}) {
        try {
            groupShapes(ws, b.names);
            ADD_FAILURE() << "grouping " << b.mentions << " did not throw";
        } catch (const WorkbookError& e) {
            EXPECT_NE(std::string(e.what()).find(b.mentions), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(ws.shapeGroups.size(), 1u);  // failed attempts record nothing
    groupShapes(ws, {"optionbutton5", "chart 6"});  // charts are shapes too
    EXPECT_EQ(ws.shapeGroups[1], (std::vector<std::string>{"OptionButton5", "Chart 6"}));
}

TEST_F(SheetObjects, AnchorsFollowTheSheetGeometry) {
    // Columns of 11 characters and a tall row 3: the anchor must land in the right cells with the
    // remainder as offset, and read back to the same position.
    ws.columns(2, 10).setColumnWidth(11);
    ws.rows(3).setRowHeight(30);
    Range cell = ws.range("D5");
    CellAnchor a = anchorOf(ws, cell.left() + 6, cell.top(), cell.width(), cell.height());
    EXPECT_EQ(a.from.col, 3);
    EXPECT_EQ(a.from.row, 4);
    EXPECT_EQ(a.from.colOff, 6 * kEmuPerPoint);
    EXPECT_EQ(a.from.rowOff, 0);
    EXPECT_EQ(a.to.col, 4);
    EXPECT_EQ(a.to.row, 5);
    double l, t, w, h;
    positionOf(ws, a, l, t, w, h);
    EXPECT_NEAR(l, cell.left() + 6, 1e-3);
    EXPECT_NEAR(t, cell.top(), 1e-3);
    EXPECT_NEAR(w, cell.width(), 1e-3);
    EXPECT_NEAR(h, cell.height(), 1e-3);
}
