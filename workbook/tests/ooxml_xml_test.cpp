// Text escaping of the XML writer and part-name arithmetic of relationships.
#include <gtest/gtest.h>

#include <cstring>

#include "workbook/ooxml/relationships.h"
#include "workbook/ooxml/xml_writer.h"

using namespace wb::ooxml;

TEST(XmlText, EscapesAndReadsBack) {
    struct Case {
        std::string in, text, attr;
    };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {"a<b>&c\"d'", "a&lt;b&gt;&amp;c\"d'", "a&lt;b&gt;&amp;c&quot;d'"},
        {"tab\tline\n", "tab\tline\n", "tab&#9;line&#10;"},
        // Readers turn a literal carriage return into a line feed.
        {"two\r\nlines\r", "two&#13;\nlines&#13;", "two&#13;&#10;lines&#13;"},
        // Control characters are not XML characters: the spreadsheet's escape keeps them.
        {"bell\x07!", "bell_x0007_!", "bell!"},
        // A literal escape-like text escapes its underscore, so it reads back as typed.
        {"_x0041_", "_x005F_x0041_", "_x0041_"},
        {"Grüße ∑ 😀", "Grüße ∑ 😀", "Grüße ∑ 😀"},
        {"bad\xff byte", "bad\xEF\xBF\xBD byte", "bad\xEF\xBF\xBD byte"},
        {"\xEF\xBF\xBE", "_xFFFE_", ""},
    };
    for (const Case& c : cases) {
        std::string text, attr;
        appendEscaped(text, c.in, false, true);
        appendEscaped(attr, c.in, true, false);
        EXPECT_EQ(text, c.text) << c.in;
        EXPECT_EQ(attr, c.attr) << c.in;
        if (c.in.find('\xff') == std::string::npos) {
            // What the reader gets after XML unescaping is the escaped text without entities.
            std::string unescaped = c.text;
            for (auto [from, to] :
                 {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&#13;", "\r"}})
                for (size_t p; (p = unescaped.find(from)) != std::string::npos;)
                    unescaped.replace(p, std::strlen(from), to);
            EXPECT_EQ(decodeExcelEscapes(unescaped), c.in) << c.in;
        }
    }
}

TEST(XmlText, BlanksThatNeedPreserving) {
    EXPECT_TRUE(needsSpacePreserve(" lead"));
    EXPECT_TRUE(needsSpacePreserve("trail "));
    EXPECT_TRUE(needsSpacePreserve("two\nlines"));
    EXPECT_FALSE(needsSpacePreserve("inner blank"));
    EXPECT_FALSE(needsSpacePreserve(""));
}

TEST(XmlText, NumbersReadBackExactly) {
    for (double v : {0.1, 1.0 / 3, -2.5e-300, 1e21, 123456789.125, -0.0}) {
        std::string s;
        appendNumber(s, v);
        EXPECT_EQ(std::stod(s), v) << s;
        EXPECT_EQ(s.find(' '), std::string::npos);
    }
}

TEST(PartNames, RelationshipTargets) {
    EXPECT_EQ(relsPartName("xl/workbook.xml"), "xl/_rels/workbook.xml.rels");
    EXPECT_EQ(relsPartName("[Content_Types].xml"), "_rels/[Content_Types].xml.rels");
    EXPECT_EQ(resolveTarget("xl/worksheets/", "../drawings/vmlDrawing1.vml"), "xl/drawings/vmlDrawing1.vml");
    EXPECT_EQ(resolveTarget("xl/", "/xl/styles.xml"), "xl/styles.xml");
    EXPECT_EQ(resolveTarget("", "xl/./workbook.xml"), "xl/workbook.xml");
    EXPECT_EQ(relativeTarget("xl/worksheets/", "xl/drawings/vmlDrawing1.vml"), "../drawings/vmlDrawing1.vml");
    EXPECT_EQ(relativeTarget("xl/", "xl/worksheets/sheet1.xml"), "worksheets/sheet1.xml");
    EXPECT_EQ(relativeTarget("xl/worksheets/", "xl/comments1.xml"), "../comments1.xml");
}

// pugixml reads control characters, but a relationship holding one cannot be written back as
// it was: the writer would drop them and turn a damaged type into a known one.
TEST(PartNames, RelationshipsWithControlCharactersAreMalformed) {
    const std::string rels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.\x01openxmlformats.org/officeDocument/"
        "2006/relationships/comments\" Target=\"../comments1.xml\"/></Relationships>";
    EXPECT_THROW(Relationships::parse(rels), std::runtime_error);
    std::string fine = rels;
    fine.erase(fine.find('\x01'), 1);
    EXPECT_EQ(Relationships::parse(fine).items().size(), 1u);
}
