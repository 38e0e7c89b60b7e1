#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "app/RtfFonts.h"

using Helpers::Fonts;

TEST(RtfFonts, ReadsTheDefaultCodePageAndTheFontTable) {
    Fonts fonts("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                "{\\f1\\fnil\\fcharset204 Tahoma;}}");
    EXPECT_EQ(fonts.DefaultCodePage(), "CP1251");
    EXPECT_EQ(fonts.FontCodePages(), (std::map<int, AnsiString>{{0, "CP1252"}, {1, "CP1251"}}));
    EXPECT_EQ(fonts.CurrentFont(), -1);
    EXPECT_EQ(fonts.CurrentCodePage(), "CP1251");
}

TEST(RtfFonts, DefaultCodePage) {
    EXPECT_EQ(Fonts("{\\rtf1\\ansi\\deff0 text}").DefaultCodePage(), "CP1252");
    EXPECT_EQ(Fonts("").DefaultCodePage(), "CP1252");
    // code page 0 means the system's: the legacy default, never a code page nobody knows
    EXPECT_EQ(Fonts("{\\rtf1\\ansi\\ansicpg0\\fromhtml1").DefaultCodePage(), "CP1252");
    // far into a long header
    const std::string longHeader = "{\\rtf1\\ansi" + std::string(200, ' ') + "\\deff0\\ansicpg932 x}";
    EXPECT_EQ(Fonts(longHeader).DefaultCodePage(), "CP932");
    // the body's text is no header
    EXPECT_EQ(Fonts("{\\rtf1\\ansi Text \\ansicpg1251}").DefaultCodePage(), "CP1252");
}

TEST(RtfFonts, ReadsEntriesAsMailersWriteThem) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl"
        "{\\f0\\fswiss\\fprq2\\fcharset0 Calibri;}"
        "{\\f1\\fbidi \\froman\\fcharset204\\fprq2{\\*\\panose 02020603050405020304}Times New Roman{\\*\\falt Times};}"
        "{\\f2\\fnil\\fcharset128 \"MS Gothic\";}"
        "{\\f3\\fmodern MS-Mincho;}"
        "{\\f4\\fnil\\fcharset2 Symbol;}"
        "{\\f5\\fnil\\fcharset77 Mac;}"
        "{\\f123\\fnil\\fcharset238 \\'c1\\'e9 Name;}"
        "{\\f1\\fnil\\fcharset161 Duplicate;}}"
        "{\\colortbl;\\red0\\green0\\blue0;}"
        "{\\stylesheet{\\f9\\fcharset128 Not a font;}}}";
    const Fonts fonts(rtf);
    const std::map<int, AnsiString> expected{{0, "CP1252"}, {1, "CP1251"}, {2, "CP932"}, {3, ""},
                                             {4, ""},       {5, ""},       {123, "CP1250"}};
    EXPECT_EQ(fonts.FontCodePages(), expected);
}

TEST(RtfFonts, OldStyleTableWithoutEntryGroups) {
    const Fonts fonts("{\\rtf1{\\fonttbl\\f0\\fswiss\\fcharset0 Arial;\\f1\\fnil\\fcharset128 Gothic;}}");
    EXPECT_EQ(fonts.FontCodePages(), (std::map<int, AnsiString>{{0, "CP1252"}, {1, "CP932"}}));
}

TEST(RtfFonts, SelectingFonts) {
    Fonts fonts("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset2 Symbol;}}}");
    fonts.SelectFont(0);
    EXPECT_EQ(fonts.CurrentCodePage(), "CP1252");
    fonts.SelectFont(7);  // unknown: nothing changes
    EXPECT_EQ(fonts.CurrentFont(), 0);
    EXPECT_EQ(fonts.CurrentCodePage(), "CP1252");
    fonts.SelectFont(1);  // no code page of its own: the default
    EXPECT_EQ(fonts.CurrentFont(), 1);
    EXPECT_EQ(fonts.CurrentCodePage(), "CP1251");
    fonts.RestoreFont(-1);
    EXPECT_EQ(fonts.CurrentFont(), -1);
    EXPECT_EQ(fonts.CurrentCodePage(), "CP1251");
}

TEST(RtfFonts, CharsetNames) {
    EXPECT_EQ(Fonts::CodePageOfCharset("fcharset0"), "CP1252");
    EXPECT_EQ(Fonts::CodePageOfCharset("fcharset128"), "CP932");
    EXPECT_EQ(Fonts::CodePageOfCharset("fcharset1288"), "");
    EXPECT_EQ(Fonts::CodePageOfCharset("fcharset204"), "CP1251");
    EXPECT_EQ(Fonts::CodePageOfCharset("fcharset2"), "");
    EXPECT_EQ(Fonts::CodePageOfCharset(""), "");
}

TEST(RtfFonts, FontSwitches) {
    struct Row {
        const char* text;
        std::size_t length;
        int number;
    };
    const Row rows[] = {
        {"\\f12\\b", 4, 12}, {"\\f123 x", 5, 123}, {"\\f0\\par", 3, 0}, {"\\f7", 3, 7},
        {"\\fs24", 0, -1},   {"\\fi-360", 0, -1},  {"\\f1x", 3, 1},   {"\\f", 0, -1},
    };
    for (const Row& r : rows) {
        int number = 99;
        EXPECT_EQ(Fonts::ReadFontSwitch(r.text, std::strlen(r.text), number), r.length) << r.text;
        EXPECT_EQ(number, r.number) << r.text;
    }
}
