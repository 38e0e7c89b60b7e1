#include <gtest/gtest.h>

#include "controls/unicode/TntSysUtils.h"
#include "controls/unicode/TntSystem.h"
#include "platform/win/WinModule.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

// Forces the 8-bit path of the system calls with a Western ANSI code page for one test.
class ScopedAnsiPath {
public:
    explicit ScopedAnsiPath(UINT codePage) : wide_(UseWideWinApi), codePage_(DefaultAnsiCodePage) {
        UseWideWinApi = false;
        DefaultAnsiCodePage = codePage;
    }
    ~ScopedAnsiPath() {
        UseWideWinApi = wide_;
        DefaultAnsiCodePage = codePage_;
    }

private:
    bool wide_;
    UINT codePage_;
};

}  // namespace

TEST(Utf8, EncodesAndDecodesEveryPlane) {
    const struct {
        WideString wide;
        AnsiString utf8;
    } cases[] = {
        {u"", ""},
        {u"abc", "abc"},
        {u"\u00e9\u20ac", "\xC3\xA9\xE2\x82\xAC"},
        {u"\U0001F600!", "\xF0\x9F\x98\x80!"},  // one 4-byte sequence, not two 3-byte halves
        {u"\u0416\U00010348", "\xD0\x96\xF0\x90\x8D\x88"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideStringToUTF8(c.wide), c.utf8);
        EXPECT_EQ(UTF8ToWideString(c.utf8), c.wide);
    }
}

TEST(Utf8, MalformedInputGivesEmptyText) {
    const char* malformed[] = {
        "ab\xC3",           // cut off in a 2-byte sequence
        "ab\xF0\x9F\x98",   // cut off in a 4-byte sequence
        "a\xC3(b",          // bad continuation byte
        "\xC0\xAF",         // overlong
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xFF",
    };
    for (const char* m : malformed) EXPECT_EQ(UTF8ToWideString(m), u"") << m;
}

TEST(Utf8, LoneSurrogateSurvivesTheRoundTrip) {
    const WideString lone(1, char16_t(0xD800));
    EXPECT_EQ(UTF8ToWideString(WideStringToUTF8(lone + u"x")), lone + u"x");
}

TEST(Utf7, EncodesAsTheRfcWithOptionalDirectCharacters) {
    const struct {
        WideString wide;
        AnsiString utf7;
    } cases[] = {
        {u"A+B", "A+-B"},
        {u"Hi Mom -\u263A-!", "Hi Mom -+Jjo--!"},
        {u"abc", "abc"},
        {u"\u65E5\u672C\u8A9E", "+ZeVnLIqe"},
        {u"\u00e9.", "+AOk."},
        {u"\u00e9a", "+AOk-a"},  // a base-64 letter after the run needs the "-"
        {u"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideStringToUTF7(c.wide), c.utf7);
        EXPECT_EQ(UTF7ToWideString(c.utf7), c.wide);
    }
}

TEST(Utf7, DecodesRunsAndRejectsBrokenOnes) {
    EXPECT_EQ(UTF7ToWideString("+-"), u"+");
    EXPECT_EQ(UTF7ToWideString("+AGEAYgBj-x"), u"abcx");
    EXPECT_EQ(UTF7ToWideString("+AGE"), u"a");
    const char* invalid[] = {"+!", "+A-", "+AGF-", "x\xE9"};
    for (const char* s : invalid) EXPECT_THROW(UTF7ToWideString(s), ETntGeneralError) << s;
    try {
        UTF7ToWideString("+!");
    } catch (const ETntGeneralError& e) {
        EXPECT_EQ(e.Message(), u"Invalid UTF7");
    }
}

TEST(CodePages, ConvertThroughTheNamedPage) {
    EXPECT_EQ(AnsiToWideCodePage("\x80\xE9", 1252), u"\u20ac\u00e9");
    EXPECT_EQ(WideToAnsiCodePage(u"\u20ac\u00e9\u03a9", 1252), "\x80\xE9?");
    EXPECT_EQ(AnsiToWideCodePage("+AOk-", 65000), u"\u00e9");
    EXPECT_EQ(WideToAnsiCodePage(u"\U0001F600", 65001), "\xF0\x9F\x98\x80");
    EXPECT_EQ(AnsiToWideCodePage("\xC3", 65001), u"");
}

TEST(CommandLine, NextParamSplitsTokens) {
    const struct {
        WideString line;
        std::vector<WideString> tokens;
    } cases[] = {
        {u"prog \"a b\" c", {u"prog", u"a b", u"c"}},
        {u"  prog\t x  ", {u"prog", u"x"}},
        {u"ab\"c d\"e f", {u"abc de", u"f"}},
        {u"p \"\" \"\"x", {u"p", u"x"}},
        {u"p \"open", {u"p", u"open"}},
        {u"p \u00fcber/\u6587\u4ef6.msg", {u"p", u"\u00fcber/\u6587\u4ef6.msg"}},
    };
    for (const auto& c : cases) {
        std::vector<WideString> tokens;
        WideString token;
        std::size_t pos = 0;
        for (;;) {
            pos = WideNextParam(c.line, pos, token);
            if (token.empty()) break;
            tokens.push_back(token);
        }
        EXPECT_EQ(tokens, c.tokens);
    }
}

TEST(CommandLine, ParamStrParsesTheLineAndIndexZeroIsTheProgram) {
    SetWideCommandLine(u"prog \"a b\" c");
    EXPECT_EQ(WideParamStr(1), u"a b");
    EXPECT_EQ(WideParamStr(2), u"c");
    EXPECT_EQ(WideParamStr(3), u"");
    const WideString self = WideParamStr(0);
    EXPECT_EQ(self.front(), u'/');
    EXPECT_NE(self.find(u"tests_controls_unicode"), WideString::npos);
}

TEST(CommandLine, ArgumentsFromArgvArriveIntact) {
    const char* argv[] = {"/usr/bin/quillora", "/home/u/Mail f\xC3\xBCr dich.msg", "+DEBUG", "say \"x\".eml"};
    InitWideCommandLine(4, argv);
    EXPECT_EQ(WideCommandLine(), u"/usr/bin/quillora \"/home/u/Mail f\u00fcr dich.msg\" +DEBUG \"say \"x\".eml\"");
    EXPECT_EQ(WideParamStr(1), u"/home/u/Mail f\u00fcr dich.msg");
    EXPECT_EQ(WideParamStr(2), u"+DEBUG");
    EXPECT_EQ(WideParamStr(3), u"say \"x\".eml");
    EXPECT_EQ(WideParamStr(4), u"");
}

TEST(HotKeys, FindAndStripMarkers) {
    const struct {
        WideString caption;
        int pos;
        WideString stripped;
    } cases[] = {
        {u"&File", 2, u"File"},
        {u"S&&&ave", 5, u"S&ave"},
        {u"Fish && Chips", 0, u"Fish & Chips"},
        {u"End&", 0, u"End"},
        {u"&a&b", 4, u"ab"},
        {u"", 0, u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideGetHotkeyPos(c.caption), c.pos) << static_cast<int>(c.caption.size());
        EXPECT_EQ(WideStripHotkey(c.caption), c.stripped);
    }
    EXPECT_EQ(WideGetHotkey(u"Save &as"), u"a");
    EXPECT_TRUE(WideSameCaption(u"&Open", u"OPEN"));
    EXPECT_FALSE(WideSameCaptionStr(u"&Open", u"OPEN"));
}

TEST(HotKeys, FarEastBracketGroupIsRemovedWhole) {
    SysLocale.FarEast = true;
    EXPECT_EQ(WideStripHotkey(u"\u30d5\u30a1\u30a4\u30eb(&F)"), u"\u30d5\u30a1\u30a4\u30eb");
    EXPECT_EQ(WideStripHotkey(u"x(&F"), u"x(F");
    EXPECT_EQ(WideStripHotkey(u"ab(&C)&&d"), u"ab&d") << "the text after a group is read too";
    EXPECT_EQ(WideStripHotkey(u"a(&B)(&C)"), u"a");
    SysLocale.FarEast = false;
    EXPECT_EQ(WideStripHotkey(u"x(&F)"), u"x(F)");
}

TEST(Keyboard, CharactersAndByteOrder) {
    EXPECT_EQ(KeyToWideChar(0x263A), u'\u263A');
    EXPECT_EQ(KeyToWideChar(0xE9), u'\u00e9');
    WideString text = u"\u0102A";
    SwapWideByteOrder(text);
    EXPECT_EQ(text, WideString({char16_t(0x0201), char16_t(0x4100)}));
}

TEST(AnsiPath, NamesPassThroughTheCodePage) {
    testsupport::TempDir dir;
    const WideString folder = Utf8ToUtf16(dir.path().string()) + u"/";
    {
        ScopedAnsiPath ansi(1252);
        // Greek is outside 1252: the A call sees question marks.
        const HANDLE h = WinApiCreateFile((folder + u"\u03b1\u03b2-\u00e9.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "?\?-\xC3\xA9.txt"));
    EXPECT_FALSE(WideFileExists(folder + u"\u03b1\u03b2-\u00e9.txt"));
}

TEST(ShortCuts, TextPutsShiftCtrlAltBeforeTheKey) {
    const struct {
        TShortCut shortCut;
        WideString text;
    } cases[] = {
        {ShortCut('A', scCtrl | scShift), u"Shift+Ctrl+A"},
        {ShortCut(VK_DELETE, scCtrl), u"Ctrl+Del"},
        {ShortCut(VK_F1 + 11, scAlt), u"Alt+F12"},
        {ShortCut(VK_NUMPAD0 + 5, scNone), u"5"},
        {ShortCut(VK_MULTIPLY, scCtrl), u"Ctrl+Num *"},
        {ShortCut(0xBA, scCtrl), u"Ctrl+;"},
        {ShortCut(0xFF, scCtrl), u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideShortCutToText(c.shortCut), c.text);
        EXPECT_EQ(Utf8ToUtf16(ShortCutToText(c.shortCut)), c.text);  // the 8-bit text agrees
    }
}

TEST(TntSystem, LoadsLibrariesThroughTheWideEntryPoint) {
    HMODULE lib = WinApiLoadLibrary(u"libm.so.6");
    ASSERT_NE(lib, nullptr);
    EXPECT_TRUE(FreeLibrary(lib));
    EXPECT_EQ(WinApiLoadLibrary(u"/nonexistent/libnone.so"), nullptr);
}
