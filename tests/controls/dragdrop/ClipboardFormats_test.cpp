// Clipboard formats on their media: byte-exact blocks on global memory and streams, reading
// back, and media from other processes that are short, empty or malformed.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/dragdrop/DragDropComponent.h"
#include "controls/dragdrop/FeedbackFormats.h"
#include "controls/dragdrop/FileFormats.h"
#include "controls/dragdrop/PidlFormats.h"
#include "controls/dragdrop/TextFormats.h"
#include "platform/com/ByteStream.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/win/WinString.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const STGMEDIUM& m) {
    if (m.tymed == TYMED_HGLOBAL) {
        const auto* p = static_cast<const std::uint8_t*>(GlobalLock(m.hGlobal));
        Bytes out(p, p + GlobalSize(m.hGlobal));
        GlobalUnlock(m.hGlobal);
        return out;
    }
    Bytes out;
    std::uint8_t buffer[64];
    ULONG got = 0;
    while (m.pstm->Read(buffer, sizeof buffer, &got) == S_OK && got) out.insert(out.end(), buffer, buffer + got);
    return out;
}

STGMEDIUM GlobalOf(const Bytes& bytes) {
    STGMEDIUM m;
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) std::memcpy(GlobalLock(m.hGlobal), bytes.data(), bytes.size());
    GlobalUnlock(m.hGlobal);
    return m;
}

STGMEDIUM StreamOf(const Bytes& bytes) {
    STGMEDIUM m;
    m.tymed = TYMED_ISTREAM;
    m.pstm = MakeComObject<ByteStream>(bytes).Detach();
    return m;
}

// Renders the format for a request of the given media; empty when it refuses.
Bytes Render(TClipboardFormat& f, DWORD tymed, DWORD* gotTymed = nullptr) {
    FORMATETC request = f.FormatEtc();
    request.tymed = tymed;
    STGMEDIUM m;
    if (!f.SetDataToMedium(request, m)) return {};
    if (gotTymed) *gotTymed = m.tymed;
    Bytes out = BytesOf(m);
    ReleaseStgMedium(&m);
    return out;
}

Bytes Utf16Bytes(std::u16string_view text) {
    Bytes out;
    for (char16_t c : text) out.insert(out.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
    return out;
}

class ClipboardFormatsTest : public ::testing::Test {
protected:
    void SetUp() override { DragDropStartup(); }
};

TEST_F(ClipboardFormatsTest, DropFilesBlockIsByteExactAndReadsBackOnBothMedia) {
    TFileClipboardFormat files;
    files.Files().Add("/tmp/a.msg");  // 10 characters
    files.Files().Add(Utf16ToUtf8(u"/tmp/\u4E00.eml"));
    const Bytes block = Render(files, TYMED_HGLOBAL);
    Bytes expected(20, 0);
    expected[0] = 20;
    expected[16] = 1;  // wide
    for (auto name : {std::u16string_view(u"/tmp/a.msg"), std::u16string_view(u"/tmp/\u4E00.eml")}) {
        const Bytes b = Utf16Bytes(name);
        expected.insert(expected.end(), b.begin(), b.end());
        expected.insert(expected.end(), {0, 0});
    }
    expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(block, expected);

    TFileClipboardFormat back;
    STGMEDIUM m = GlobalOf(block);
    ASSERT_TRUE(back.GetDataFromMedium(nullptr, m));
    ASSERT_EQ(back.Files().Count(), 2);
    EXPECT_EQ(Utf8ToUtf16(back.Files()[1]), u"/tmp/\u4E00.eml");
    // The drop-files list travels on global memory only.
    STGMEDIUM stream = StreamOf(block);
    EXPECT_FALSE(back.GetDataFromMedium(nullptr, stream));
}

TEST_F(ClipboardFormatsTest, SingleNameBlockSizes) {
    TFileClipboardFormat files;
    files.Files().Add("12345678");
    EXPECT_EQ(Render(files, TYMED_HGLOBAL).size(), 40u);
    TFileClipboardFormat none;
    EXPECT_TRUE(Render(none, TYMED_HGLOBAL).empty());  // no names: nothing rendered
}

TEST_F(ClipboardFormatsTest, StreamRequestGetsAStreamThatReadsFromItsStart) {
    TPreferredDropEffectClipboardFormat preferred;
    preferred.Value = DROPEFFECT_MOVE;
    DWORD tymed = 0;
    EXPECT_EQ(Render(preferred, TYMED_ISTREAM, &tymed), (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(tymed, DWORD(TYMED_ISTREAM));
    // Any medium (-1) gets a global block.
    EXPECT_EQ(Render(preferred, static_cast<DWORD>(-1), &tymed), (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(tymed, DWORD(TYMED_HGLOBAL));
}

TEST_F(ClipboardFormatsTest, ShortEmptyAndHugeMediaAreReadSafely) {
    TPerformedDropEffectClipboardFormat dword;
    STGMEDIUM shortBlock = GlobalOf({7, 1});
    ASSERT_TRUE(dword.GetDataFromMedium(nullptr, shortBlock));  // no read past 2 bytes (ASan)
    EXPECT_EQ(dword.Value, 0x107u);
    STGMEDIUM empty = GlobalOf({});
    EXPECT_TRUE(dword.GetDataFromMedium(nullptr, empty));

    // A stream whose size claims more than any sane medium is refused, not allocated.
    class HugeStream final : public ComObject<IStream> {
    public:
        HRESULT Read(void*, ULONG, ULONG* got) override {
            if (got) *got = 0;
            return S_OK;
        }
        HRESULT Write(const void*, ULONG, ULONG*) override { return E_FAIL; }
        HRESULT Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return S_OK; }
        HRESULT SetSize(ULARGE_INTEGER) override { return E_FAIL; }
        HRESULT CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_FAIL; }
        HRESULT Commit(DWORD) override { return S_OK; }
        HRESULT Revert() override { return S_OK; }
        HRESULT Stat(STATSTG* s, DWORD) override {
            *s = STATSTG{};
            s->cbSize.QuadPart = 1ull << 40;
            return S_OK;
        }
    };
    TAnsiTextClipboardFormat text;
    STGMEDIUM huge;
    huge.tymed = TYMED_ISTREAM;
    huge.pstm = MakeComObject<HugeStream>().Detach();
    EXPECT_FALSE(text.GetDataFromMedium(nullptr, huge));
}

TEST_F(ClipboardFormatsTest, MalformedDropFilesBlocksReadNothingOutside) {
    struct Case {
        const char* what;
        Bytes block;
    };
    Bytes unterminated(20, 0);
    unterminated[0] = 20;
    unterminated.insert(unterminated.end(), {'a', 'b'});
    Bytes offsetPast(24, 0);
    offsetPast[0] = 0xFF;
    offsetPast[1] = 0xFF;
    Bytes headerOnly(20, 0);
    headerOnly[0] = 20;
    Bytes oddWide = unterminated;
    oddWide[16] = 1;
    oddWide.push_back('c');
    for (const Case& c : {Case{"unterminated", unterminated}, Case{"offset past the end", offsetPast},
                          Case{"header only", headerOnly}, Case{"odd wide", oddWide}}) {
        TFileClipboardFormat files;
        STGMEDIUM m = GlobalOf(c.block);
        files.GetDataFromMedium(nullptr, m);
        EXPECT_EQ(files.Files().Count(), 0) << c.what;
    }
}

TEST_F(ClipboardFormatsTest, StringListLinesAndFeedbackFormats) {
    TCSVClipboardFormat csv;
    STGMEDIUM m = GlobalOf({'a', '\r', '\n', 'b', 0});
    ASSERT_TRUE(csv.GetDataFromMedium(nullptr, m));
    ASSERT_EQ(csv.Lines().Count(), 2);
    EXPECT_EQ(Render(csv, TYMED_HGLOBAL), (Bytes{'a', '\r', '\n', 'b', '\r', '\n', 0}));

    TTargetCLSIDClipboardFormat clsid;
    EXPECT_FALSE(clsid.HasData());
    clsid.Clsid = CLSID{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    EXPECT_EQ(Render(clsid, TYMED_HGLOBAL), (Bytes{4, 3, 2, 1, 6, 5, 8, 7, 9, 10, 11, 12, 13, 14, 15, 16}));

    TFeedbackDataFormat feedback(static_cast<TDragDropComponent*>(nullptr));
    feedback.SetPasteSucceeded(DROPEFFECT_MOVE);
    feedback.SetPerformedDropEffect(DROPEFFECT_COPY);
    feedback.Clear();
    EXPECT_EQ(feedback.PasteSucceeded(), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(feedback.PerformedDropEffect(), 0u);
    EXPECT_TRUE(feedback.HasData());
}

TEST_F(ClipboardFormatsTest, TextFormats) {
    TUnicodeTextClipboardFormat unicode;
    STGMEDIUM w = GlobalOf({'h', 0, 'i', 0, 0, 0});
    ASSERT_TRUE(unicode.GetDataFromMedium(nullptr, w));
    EXPECT_EQ(unicode.Text().size(), 3u);  // the terminator stays part of the text
    EXPECT_EQ(Render(unicode, TYMED_HGLOBAL), (Bytes{'h', 0, 'i', 0, 0, 0}));

    TAnsiTextClipboardFormat ansi;
    STGMEDIUM a = GlobalOf({'a', 'b', 0, 'c', 'd'});
    ASSERT_TRUE(ansi.GetDataFromMedium(nullptr, a));
    EXPECT_EQ(ansi.Data(), "ab");
    TAnsiTextClipboardFormat empty;
    EXPECT_FALSE(empty.HasData());
    EXPECT_TRUE(Render(empty, TYMED_HGLOBAL).empty());

    EXPECT_EQ(MakeRTF("{\\RTF1 x}"), "{\\RTF1 x}");
    EXPECT_EQ(MakeRTF("plain"), "{\\rtf1\\ansi plain}");
    EXPECT_FALSE(IsRTF("{\\rt"));
}

TEST_F(ClipboardFormatsTest, TextDataFormatConvertsWithoutLosingCharacters) {
    TTextDataFormat text(static_cast<TDragDropComponent*>(nullptr));
    // Three bytes per character in UTF-8: a buffer sized by UTF-16 units would cut it.
    text.SetUnicodeText(u"\u4E00\u4E01\u4E02");
    TAnsiTextClipboardFormat ansi;
    ASSERT_TRUE(text.AssignTo(ansi));
    EXPECT_EQ(Utf8ToUtf16(ansi.Data()), u"\u4E00\u4E01\u4E02");

    // A drop carrying both forms keeps both as delivered.
    TTextDataFormat dropped(static_cast<TDragDropComponent*>(nullptr));
    TUnicodeTextClipboardFormat wide;
    wide.SetText(u"wide");
    ansi.SetData("narrow");
    dropped.Assign(ansi);
    dropped.Assign(wide);
    EXPECT_EQ(dropped.GetAnsiText(), "narrow");
    EXPECT_EQ(dropped.GetUnicodeText(), u"wide");
}

TEST_F(ClipboardFormatsTest, ShellIdListArrayRoundTripAndMalformedBlocks) {
    TPIDLClipboardFormat pidls;
    ASSERT_TRUE(pidls.PIDLs().SetFilenames({u"/A/f1", u"/A/B/f2"}));
    ASSERT_EQ(pidls.PIDLs().Count(), 3);
    EXPECT_EQ(pidls.PIDLs().Item(0), ItemIdList::FromPath(u"/A"));
    EXPECT_EQ(pidls.PIDLs().Item(2), ItemIdList({u"B", u"f2"}));
    const Bytes block = Render(pidls, TYMED_HGLOBAL);
    ASSERT_GE(block.size(), 8u);
    EXPECT_EQ(block[0], 2);   // cidl: the items, not the folder
    EXPECT_EQ(block[4], 16);  // the folder's list right after the 3 offsets

    TPIDLClipboardFormat back;
    STGMEDIUM m = StreamOf(block);
    ASSERT_TRUE(back.GetDataFromMedium(nullptr, m));
    EXPECT_EQ(back.PIDLs().Filenames(), (std::vector<WideString>{u"/A/f1", u"/A/B/f2"}));

    Bytes noItems = block;
    noItems[0] = 0;
    Bytes hugeCount = block;
    hugeCount[3] = 0xFF;
    Bytes badOffset = block;
    badOffset[8] = 0xF0;
    Bytes cut(block.begin(), block.end() - 3);
    for (const Bytes& bad : {noItems, hugeCount, badOffset, cut}) {
        TPIDLClipboardFormat f;
        STGMEDIUM b = GlobalOf(bad);
        EXPECT_FALSE(f.GetDataFromMedium(nullptr, b));
    }
}

TEST_F(ClipboardFormatsTest, FileNameMapsInBothWidths) {
    TUnicodeFilenameMapClipboardFormat wide;
    wide.FileMaps().Add("x");
    wide.FileMaps().Add("yz");
    EXPECT_EQ(Render(wide, TYMED_HGLOBAL), (Bytes{'x', 0, 0, 0, 'y', 0, 'z', 0, 0, 0, 0, 0}));
    TAnsiFilenameMapClipboardFormat narrow;
    narrow.FileMaps().Add("x");
    EXPECT_EQ(Render(narrow, TYMED_HGLOBAL), (Bytes{'x', 0, 0}));
    STGMEDIUM m = GlobalOf({'a', 0, 'b', 'c'});  // unterminated last name is dropped
    ASSERT_TRUE(narrow.GetDataFromMedium(nullptr, m));
    ASSERT_EQ(narrow.FileMaps().Count(), 1);
    EXPECT_EQ(narrow.FileMaps()[0], "a");
}

}  // namespace
