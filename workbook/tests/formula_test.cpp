// Formula translation: R1C1 and A1 parsing, A1 and R1C1 writing, copy shifts and row
// insert/delete adjustment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbook/formula/formula.h"

using namespace wb::formula;

namespace {

// Sheet names as a workbook might have them, looked up without regard to case.
class Sheets : public SheetResolver {
public:
    std::vector<std::string> names = {"General Input Data", "Input", "Land&Rain", "Animal",
                                      "Urban", "Feedlots", "Gully&Streambank", "Total Load",
                                      "Reference", "BMPList", "BMPs", "CountyData", "It's",
                                      "WeatherData", "Q1", "R2C3", "2019", "Data.v2", "R", "True"};

    int findSheet(std::string_view name) const override {
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& n = names[i];
            if (n.size() != name.size()) continue;
            bool same = true;
            for (size_t k = 0; k < n.size() && same; ++k)
                same = std::tolower(static_cast<unsigned char>(n[k])) ==
                       std::tolower(static_cast<unsigned char>(name[k]));
            if (same) return static_cast<int>(i);
        }
        return -1;
    }
    std::string sheetName(int index) const override { return names.at(index); }
    int operator[](std::string_view name) const { return findSheet(name); }
};

const Sheets kSheets;

struct R1C1Case {
    const char* text;
    int row, col;
    const char* a1;
};

// Formula texts as the sheet builders write them, with the cell that receives them.
const R1C1Case kR1C1Cases[] = {
    // Curve-number runoff of the first subwatershed (N = 1) in C26: U8, U6 and C21.
    {"=IF((R[-18]C[18]-R[-20]C[18]*(1000/R[-5]C-10))>0,POWER((R[-18]C[18]-R[-20]C[18]*(1000/"
     "R[-5]C-10)),2)/(R[-18]C[18]-R[-20]C[18]*(1000/R[-5]C-10)+(1000/R[-5]C-10)),0)",
     26, 3,
     "IF((U8-U6*(1000/C21-10))>0,POWER((U8-U6*(1000/C21-10)),2)/(U8-U6*(1000/C21-10)+(1000/"
     "C21-10)),0)"},
    // Lower-case function, C[0], leading and trailing blanks.
    {"= 2.203*sum(R[-26]C[0]:R[-26]C[8]) ", 57, 3, " 2.203*SUM(C31:K31) "},
    {"= sum(R[-6]C[-4]:R[-6]C[4])  ", 57, 7, " SUM(C51:K51)  "},
    {"=4047*0.3048*R[-5]C*R[-23]C/1000", 31, 3, "4047*0.3048*C26*C8/1000"},
    {"=SUM(R[-1]C[-1]:R[-1]C[-1])", 9, 16, "SUM(O8:O8)"},
    {"=SUM(R[-3]C:R[-1]C)", 12, 4, "SUM(D9:D11)"},
    {"='Input'!R[10]C[0]", 8, 3, "Input!C18"},
    {"=LOOKUP(R[-8]C[-26],R[-9]C:R[-9]C[7],R[-8]C:R[-8]C[7])", 21, 37,
     "LOOKUP(K13,AK12:AR12,AK13:AR13)"},
    {"=(R[-5]C/12)*R[-23]C[-18]*RainDayCor*R[-23]C[-2]", 31, 37, "(AK26/12)*S8*RainDayCor*AI8"},
    // Absolute row with relative column, quoted and unquoted sheet names.
    {"=if(('Land&Rain'!R[-2]C[-6])=0,0,(RC[-8]*Reference!R5C[-8]+RC[-7]*Reference!R6C[-8]+"
     "RC[-6]*Reference!R7C[-8]+RC[-5]*Reference!R8C[-8]+RC[-4]*Reference!R9C[-8]+RC[-3]*"
     "Reference!R10C[-8]+RC[-2]*Reference!R11C[-8]+RC[-1]*Reference!R12C[-8])/1000/"
     "('Land&Rain'!R[-2]C[-6]))",
     10, 11,
     "IF(('Land&Rain'!E8)=0,0,(C10*Reference!C$5+D10*Reference!C$6+E10*Reference!C$7+F10*"
     "Reference!C$8+G10*Reference!C$9+H10*Reference!C$10+I10*Reference!C$11+J10*Reference!C$12)"
     "/1000/('Land&Rain'!E8))"},
    {"='General Input Data'!R6C3", 5, 5, "'General Input Data'!$C$6"},
    {"=IF('Input'!R10C6=TRUE, WSAreaSum, 'Land&Rain'!R[-1]C[-9])", 9, 24,
     "IF(Input!$F$10=TRUE, WSAreaSum, 'Land&Rain'!O8)"},
    {"=If('BMPs'!R[16]C[-3]=\"ND\",0,'BMPs'!R[16]C[-3])", 12, 6, "IF(BMPs!C28=\"ND\",0,BMPs!C28)"},
    // Sheet name in another case is written as the workbook spells it.
    {"=animal!R[-8]C[-3]", 16, 10, "Animal!G8"},
    {"=RC[12]*'input'!R[5]C[-1]/100*453592", 20, 12, "X20*Input!K25/100*453592"},
    // Blanks between terms are part of the text.
    {"=(R[-5]C/12) * R[-23]C * R[-23]C[14]* R[-25]C[14]+ (R[-5]C[12]/12) * "
     "Input!R[42]C[-1]*Input!R[42]C[2]",
     31, 5, "(E26/12) * E8 * S8* S6+ (Q26/12) * Input!D73*Input!G73"},
    {"=Feedlots!R[-3]C[-20]- Feedlots!R[-3]C[-16]", 24, 23, "Feedlots!C21- Feedlots!G21"},
    {"=2000*SUMIF(R[-10]C[-4]:R[-5]C[-4], \"=W1\", R[-10]C[7]:R[-5]C[7])", 20, 6,
     "2000*SUMIF(B10:B15, \"=W1\", M10:M15)"},
    {"='Gully&Streambank'!R[1]C[-35]-'Gully&Streambank'!R[1]C[-30]", 10, 38,
     "'Gully&Streambank'!C11-'Gully&Streambank'!H11"},
    {"='Total Load'!R[32]C", 4, 3, "'Total Load'!C36"},
    {"=lookup(R[-1]C[3],'CountyData'!R[2]C[-2]:R[40]C[-2],'CountyData'!R[2]C[1]:R[40]C[1])", 5,
     4, "LOOKUP(G4,CountyData!B7:B45,CountyData!E7:E45)"},
    // Corners given the other way round come out ordered.
    {"=sum(R[-1]C:R[-10]C)", 20, 3, "SUM(C10:C19)"},
    // Blank after "!" is dropped: the reference follows.
    {"=BMPList! R5C3+BMPList!  R[1]C", 2, 2, "BMPList!$C$5+BMPList!B3"},
    {"='It''s'!R1C1", 3, 3, "'It''s'!$A$1"},
    {"=RC[-1]*2+R1C1", 2, 2, "A2*2+$A$1"},
    {"=Rc[-1]-(RC[-10]*0.85+RC[-2]*0.01)", 8, 35, "AH8-(Y8*0.85+AG8*0.01)"},
    {"= RC[-1] / 640", 10, 6, " E10 / 640"},
    {"=R2C[1]+R[1]C2+rc", 2, 2, "C$2+$B3+B2"},
    // Whole rows and columns.
    {"=SUM(R5)+SUM(R[1])+SUM(R)", 3, 4, "SUM($5:$5)+SUM(4:4)+SUM(3:3)"},
    {"=SUM(C3)+SUM(C[-1])+SUM(C)", 3, 4, "SUM($C:$C)+SUM(C:C)+SUM(D:D)"},
    {"=SUM(R2:R[2])+SUM(C[-2]:C5)", 3, 4, "SUM($2:5)+SUM(B:$E)"},
    // Literals and operators.
    {"=\"say \"\"hi\"\"\"&R1C1", 1, 2, "\"say \"\"hi\"\"\"&$A$1"},
    {"=1e-3+.5*R[1]C-1000+0.227", 1, 1, "1E-3+0.5*A2-1000+0.227"},
    {"=IF(R1C1<>0,R1C1<=2,R1C1>=3)&-R1C1%", 2, 2, "IF($A$1<>0,$A$1<=2,$A$1>=3)&-$A$1%"},
    {"=IF(ISERROR(R1C1),#N/A,#div/0!)+false", 2, 2, "IF(ISERROR($A$1),#N/A,#DIV/0!)+FALSE"},
    {"=LOG10(R1C1)+atan2(1,2)^-2", 2, 2, "LOG10($A$1)+ATAN2(1,2)^-2"},
    // Function names that begin like an R1C1 reference.
    {"=ROUND(RC[1],2)+count(C[1])+ROW()+CHOOSE(1,r1c1)", 2, 2,
     "ROUND(C2,2)+COUNT(C:C)+ROW()+CHOOSE(1,$A$1)"},
    {"=IF(R1C1,,PI())", 2, 2, "IF($A$1,,PI())"},
    {"=RainDayCor*CountyFactor+Rate_2.x", 2, 2, "RainDayCor*CountyFactor+Rate_2.x"},
    {"R[1]C[1]", 1, 1, "B2"},
    {"=SUM(R1C1:R2C2 R2C2:R3C3)", 5, 5, "SUM($A$1:$B$2 $B$2:$C$3)"},
    {"=R1C1:R2C2:R3C3", 5, 5, "$A$1:$B$2:$C$3"},
    {"=R1048576C16384+R[-1]C[-1]", 2, 2, "$XFD$1048576+A1"},
};

TEST(FormulaR1C1, TranslatesToA1) {
    for (const R1C1Case& c : kR1C1Cases) {
        SCOPED_TRACE(c.text);
        Formula f = parseR1C1(c.text, c.row, c.col, kSheets);
        EXPECT_EQ(toA1(f, kSheets), c.a1);
        // The A1 text means the same cells: read back, it gives the same R1C1 text.
        Formula back = parseA1(toA1(f, kSheets), kSheets);
        EXPECT_EQ(toR1C1(back, c.row, c.col, kSheets), toR1C1(f, c.row, c.col, kSheets));
        // appendA1 adds to what the buffer holds.
        std::string out = "<f>";
        appendA1(out, f, kSheets);
        EXPECT_EQ(out, std::string("<f>") + c.a1);
    }
}

TEST(FormulaR1C1, TokensHoldAbsoluteCoordinatesAndFlags) {
    Formula f = parseR1C1("= 2.203*sum(R[-26]C:Reference!R5C[-8]) ", 57, 11, kSheets);
    // Sheet-qualified second corner after ":" is a range operator, not a corner.
    ASSERT_EQ(f.tokens.size(), 10u);
    EXPECT_EQ(f.tokens.front().kind, TokenKind::Space);
    EXPECT_EQ(f.tokens.front().text, " ");
    EXPECT_EQ(f.tokens[3].kind, TokenKind::Function);
    EXPECT_EQ(f.tokens[3].text, "SUM");
    const Token& a = f.tokens[5];
    EXPECT_EQ(a.kind, TokenKind::Ref);
    EXPECT_EQ(a.sheet, -1);
    EXPECT_EQ(a.a.row, 31);
    EXPECT_EQ(a.a.col, 11);
    EXPECT_FALSE(a.a.rowAbs);
    const Token& b = f.tokens[7];
    EXPECT_EQ(b.sheet, kSheets["Reference"]);
    EXPECT_EQ(b.a.row, 5);
    EXPECT_TRUE(b.a.rowAbs);
    EXPECT_EQ(b.a.col, 3);
    EXPECT_FALSE(b.a.colAbs);
    EXPECT_EQ(f.tokens.back().kind, TokenKind::Space);

    Formula s = parseR1C1("=\"a\"\"b\"&WSAreaSum", 1, 1, kSheets);
    ASSERT_EQ(s.tokens.size(), 3u);
    EXPECT_EQ(s.tokens[0].kind, TokenKind::String);
    EXPECT_EQ(s.tokens[0].text, "a\"b");
    EXPECT_EQ(s.tokens[2].kind, TokenKind::Name);
    EXPECT_EQ(s.tokens[2].text, "WSAreaSum");
}

TEST(FormulaR1C1, RoundTripsThroughTokens) {
    const char* texts[] = {
        "=SUM(R[-3]C:R[-1]C)",
        "=RC[-1]*2+R1C1",
        "= 2.203*SUM(R[-26]C:R[-26]C[8])  ",
        "=IF('Land&Rain'!R[-2]C[-6]=0,0,RC[-8]*Reference!R5C[-8])",
        "='General Input Data'!R6C3",
        "=SUM(R5:R[2])+C[-1]+R",
        "=IF(R1C1=\"a\"\"b\",TRUE,#N/A)",
        "=-R[1]C%&\"x\"",
        "=RainDayCor",
        "=(R[-5]C/12) * R[-23]C * R[-23]C[14]* R[-25]C[14]",
        "='It''s'!R[2]C[-1]",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        Formula f = parseR1C1(text, 30, 20, kSheets);
        EXPECT_EQ(toR1C1(f, 30, 20, kSheets), text);
    }
    // Read at another cell, relative parts are relative to that cell; absolute parts stay.
    Formula f = parseR1C1("=R[-1]C[2]+R4C5", 10, 10, kSheets);
    EXPECT_EQ(toR1C1(f, 12, 9, kSheets), "=R[-3]C[3]+R4C5");
}

TEST(FormulaA1, ParsesAndWrites) {
    struct Case {
        const char* text;
        const char* a1;
    } cases[] = {
        {"=B2+$B$2+B$2+$B2", "B2+$B$2+B$2+$B2"},
        {"=SUM(b2:c5)+SUM(A:A)+SUM($C:$C)+SUM(3:5)+SUM($3:$5)",
         "SUM(B2:C5)+SUM(A:A)+SUM($C:$C)+SUM(3:5)+SUM($3:$5)"},
        {"=input!B2", "Input!B2"},
        {"=sum(c8:c15)", "SUM(C8:C15)"},
        {"=INDEX(WeatherData!Y$2:Y$8220,MATCH(WeatherData!$M$5,WeatherData!$V$2:$V$8220,0))",
         "INDEX(WeatherData!Y$2:Y$8220,MATCH(WeatherData!$M$5,WeatherData!$V$2:$V$8220,0))"},
        {"='land&rain'!$A$1:$B$4", "'Land&Rain'!$A$1:$B$4"},
        {"='It''s'!A1", "'It''s'!A1"},
        {"=LOG10(A1)+WSAreaSum", "LOG10(A1)+WSAreaSum"},
        {"=xfd1048576", "XFD1048576"},
        {"=SUM(C5:A1)", "SUM(A1:C5)"},
        // Sheet names that need quotes: look like a cell or an R1C1 reference, start with a
        // digit, contain other characters; the others are written bare.
        {"='q1'!A1+'r2c3'!A1+'2019'!A1+'Data.v2'!A1+'R'!A1+'True'!A1",
         "'Q1'!A1+'R2C3'!A1+'2019'!A1+Data.v2!A1+'R'!A1+'True'!A1"},
        {"=IF(if($H8<>\"Combined BMPs-Calculated\",LOOKUP(BMPs!$H8,BMPList! $B2:$B10,BMPList! "
         "$C2:$C10),$C47)=\"ND\",\"ND\",if($H8<>\"Combined BMPs-Calculated\",LOOKUP(BMPs!$H8,"
         "BMPList! $B2:$B10,BMPList! $C2:$C10),$C47)*$I8/100)",
         "IF(IF($H8<>\"Combined BMPs-Calculated\",LOOKUP(BMPs!$H8,BMPList!$B2:$B10,BMPList!$C2:"
         "$C10),$C47)=\"ND\",\"ND\",IF($H8<>\"Combined BMPs-Calculated\",LOOKUP(BMPs!$H8,BMPList!"
         "$B2:$B10,BMPList!$C2:$C10),$C47)*$I8/100)"},
        {"=3.5*2", "3.5*2"},
        {"=#REF!+1", "#REF!+1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Formula f = parseA1(c.text, kSheets);
        EXPECT_EQ(toA1(f, kSheets), c.a1);
        EXPECT_EQ(parseA1(toA1(f, kSheets), kSheets), f);
    }
    EXPECT_EQ(toA1(parseA1("=Input!#REF!*2", kSheets), kSheets), "#REF!*2");
    Formula f = parseA1("=$B2:C$5", kSheets);
    EXPECT_EQ(toR1C1(f, 3, 3, kSheets), "=R[-1]C2:R5C");
}

TEST(FormulaErrors, RejectsMalformedText) {
    struct Case {
        const char* text;
        int row, col;
    } r1c1[] = {
        {"=SUM(R1C1", 5, 5},     {"=SUM(R1C1))", 5, 5},  {"=(", 5, 5},
        {"=)", 5, 5},            {"=1+", 5, 5},          {"=", 5, 5},
        {"=  ", 5, 5},           {"=*1", 5, 5},          {"=1 2", 5, 5},
        {"=R1C1 @", 5, 5},       {"=\"abc", 5, 5},       {"=#FOO!", 5, 5},
        {"=1..2", 5, 5},         {"=R1:C1", 5, 5},       {"='Input'R1C1", 5, 5},
        {"=Input!", 5, 5},       {"=Input!+1", 5, 5},    {"=R1C1,R2C2", 5, 5},
        {"=SUM(1,)+(,2)", 5, 5}, {"=B2", 5, 5},          {"=R[1]C[1](2)", 5, 5},
        {"='Input", 5, 5},       {"=R[-1]C", 1, 3},      {"=R[-3]C:R[-1]C", 2, 3},
        {"=RC[-3]", 4, 2},       {"=R0C1", 5, 5},        {"=R1C16385", 5, 5},
        {"=R[1048576]C", 1, 1},
    };
    for (const Case& c : r1c1) {
        SCOPED_TRACE(c.text);
        EXPECT_THROW(parseR1C1(c.text, c.row, c.col, kSheets), FormulaError);
    }
    const char* a1[] = {"=SUM(A1", "=A1:", "=RC", "=R1C1", "='Nowhere'!A1", "=$$A1", "=1A",
                        "=A1+"};
    for (const char* text : a1) {
        SCOPED_TRACE(text);
        EXPECT_THROW(parseA1(text, kSheets), FormulaError);
    }
}

TEST(FormulaErrors, UnknownSheetIsNamed) {
    for (const char* text : {"='Nowhere Land'!R1C1", "=nowhere!R1C1"}) {
        SCOPED_TRACE(text);
        try {
            parseR1C1(text, 2, 2, kSheets);
            ADD_FAILURE() << "no error";
        } catch (const FormulaError& e) {
            EXPECT_NE(std::string(e.what()).find("owhere"), std::string::npos) << e.what();
        }
    }
}

TEST(FormulaShift, MovesRelativePartsOnly) {
    struct Case {
        const char* a1;
        int dRow, dCol;
        const char* expected;
    } cases[] = {
        {"A2*2+$A$1", 3, 1, "B5*2+$A$1"},
        {"$A1+A$1+Input!B2", 1, 1, "$A2+B$1+Input!C3"},
        {"SUM(C:C)+SUM(5:5)", 5, 1, "SUM(D:D)+SUM(10:10)"},
        {"SUM($C:$C)+SUM($5:$5)", 5, 1, "SUM($C:$C)+SUM($5:$5)"},
        {"A2+B2", -1, 0, "A1+B1"},
        {"A1+B2", -1, 0, "#REF!+B1"},
        {"A1+B2", 0, -1, "#REF!+A2"},
        {"SUM(A1:B2)", -1, 0, "SUM(#REF!)"},
        {"XFD5", 0, 1, "#REF!"},
        // The area's corners are reordered when only one of them moves past the other.
        {"SUM(A$5:A6)", -3, 0, "SUM(A3:A$5)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a1);
        Formula f = parseA1(c.a1, kSheets);
        shiftRelative(f, c.dRow, c.dCol);
        EXPECT_EQ(toA1(f, kSheets), c.expected);
    }
}

struct AdjustCase {
    const char* a1;
    int ownSheet;
    const char* expected;
};

TEST(FormulaAdjust, RowInsert) {
    const int lr = kSheets["Land&Rain"];
    const int input = kSheets["Input"];
    // Two rows inserted before row 5 of Land&Rain.
    const AdjustCase cases[] = {
        {"A4+A$4", lr, "A4+A$4"},
        {"A5+A$10+$B$6", lr, "A7+A$12+$B$8"},
        {"SUM(A3:A6)", lr, "SUM(A3:A8)"},
        {"SUM(A5:A6)", lr, "SUM(A7:A8)"},
        {"SUM(A1:A4)", lr, "SUM(A1:A4)"},
        {"SUM(C:C)+SUM(3:6)+SUM(5:5)", lr, "SUM(C:C)+SUM(3:8)+SUM(7:7)"},
        {"'Land&Rain'!A6+A6", input, "'Land&Rain'!A8+A6"},
        {"A6+Input!A6", lr, "A8+Input!A6"},
        {"A6", input, "A6"},
        {"'Land&Rain'!A6", lr, "'Land&Rain'!A8"},
        {"SUM(A1:A1048576)", lr, "SUM(A1:A1048576)"},
        {"SUM(A1048575:A1048576)", lr, "SUM(#REF!)"},
        {"A1048576", lr, "#REF!"},
    };
    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(c.a1);
        Formula f = parseA1(c.a1, kSheets);
        bool changed = adjustForRowInsert(f, c.ownSheet, lr, 5, 2);
        EXPECT_EQ(toA1(f, kSheets), c.expected);
        EXPECT_EQ(changed, std::string(c.a1) != c.expected);
    }
}

TEST(FormulaAdjust, RowDelete) {
    const int lr = kSheets["Land&Rain"];
    const int input = kSheets["Input"];
    // Rows 5 and 6 of Land&Rain removed.
    const AdjustCase cases[] = {
        {"A4+$A$4", lr, "A4+$A$4"},
        {"A5", lr, "#REF!"},
        {"A6*2", lr, "#REF!*2"},
        {"A7+$B$9", lr, "A5+$B$7"},
        {"SUM(A3:A8)", lr, "SUM(A3:A6)"},
        {"SUM(A5:A6)", lr, "SUM(#REF!)"},
        {"SUM(A5:A8)", lr, "SUM(A5:A6)"},
        {"SUM(A2:A5)", lr, "SUM(A2:A4)"},
        {"SUM(A6:A7)", lr, "SUM(A5:A5)"},
        {"SUM(C:C)+SUM(6:9)", lr, "SUM(C:C)+SUM(5:7)"},
        {"'Land&Rain'!A8+A8", input, "'Land&Rain'!A6+A8"},
        {"'Land&Rain'!A5+A8", input, "#REF!+A8"},
        {"A8", input, "A8"},
    };
    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(c.a1);
        Formula f = parseA1(c.a1, kSheets);
        bool changed = adjustForRowDelete(f, c.ownSheet, lr, 5, 2);
        EXPECT_EQ(toA1(f, kSheets), c.expected);
        EXPECT_EQ(changed, std::string(c.a1) != c.expected);
    }
    // A deleted reference reads back as #REF! in R1C1 too.
    Formula f = parseA1("A5+1", kSheets);
    adjustForRowDelete(f, lr, lr, 5, 1);
    EXPECT_EQ(toR1C1(f, 1, 1, kSheets), "=#REF!+1");
}

TEST(FormulaAddresses, ColumnsCellsAndRanges) {
    struct Col {
        int number;
        const char* letters;
    } cols[] = {{1, "A"},    {26, "Z"},    {27, "AA"},    {52, "AZ"},
                {53, "BA"},  {702, "ZZ"},  {703, "AAA"},  {16384, "XFD"}};
    for (const Col& c : cols) {
        EXPECT_EQ(columnLetters(c.number), c.letters);
        EXPECT_EQ(columnNumber(c.letters), c.number);
    }
    EXPECT_EQ(columnNumber("xfd"), 16384);
    EXPECT_EQ(columnNumber("XFE"), 0);
    EXPECT_EQ(columnNumber("A1"), 0);
    EXPECT_EQ(columnNumber(""), 0);
    EXPECT_EQ(columnLetters(0), "");
    EXPECT_EQ(cellAddress(7, 2), "B7");
    EXPECT_EQ(cellAddress(18, 9, true, true), "$I$18");
    EXPECT_EQ(cellAddress(8, 8, false, true), "$H8");

    int r1, c1, r2, c2;
    ASSERT_TRUE(parseA1Range("B8:G16", r1, c1, r2, c2));
    EXPECT_EQ((std::vector<int>{r1, c1, r2, c2}), (std::vector<int>{8, 2, 16, 7}));
    ASSERT_TRUE(parseA1Range("$B$8", r1, c1, r2, c2));
    EXPECT_EQ((std::vector<int>{r1, c1, r2, c2}), (std::vector<int>{8, 2, 8, 2}));
    ASSERT_TRUE(parseA1Range("G16:B8", r1, c1, r2, c2));
    EXPECT_EQ((std::vector<int>{r1, c1, r2, c2}), (std::vector<int>{8, 2, 16, 7}));
    ASSERT_TRUE(parseA1Range("$C:A", r1, c1, r2, c2));
    EXPECT_EQ((std::vector<int>{r1, c1, r2, c2}), (std::vector<int>{0, 1, 0, 3}));
    ASSERT_TRUE(parseA1Range("9:$8", r1, c1, r2, c2));
    EXPECT_EQ((std::vector<int>{r1, c1, r2, c2}), (std::vector<int>{8, 0, 9, 0}));
    for (const char* bad : {"B8:", "Input!A1", "A0", "B8 ", "", "A", "8", "A:8", "B2:C", "XFE1"})
        EXPECT_FALSE(parseA1Range(bad, r1, c1, r2, c2)) << bad;
}

}  // namespace
