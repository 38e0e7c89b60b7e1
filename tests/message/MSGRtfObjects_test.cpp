// Pictures and attachment marks of RTF bodies: cut out into files of the temporary folder,
// then placed into the shown document in place of their marks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/CAppUtils.h"
#include "message/MessageMSG.h"
#include "platform/vcl/richtext/RichTextDocument.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgTreeBuilder.h"
#include "tests/support/TestSupport.h"

using namespace msgtree;
namespace fs = std::filesystem;

namespace {

constexpr char kAttMarkRtf[] = "{\\uc0\\u-8191 OBJATTPH\\u-8191 }";
// The mark of picture file k.
std::string PicMarkRtf(int k) { return "{\\uc0\\u-8191 OBJIMGPH\\u" + std::to_string(-7936 + k) + " \\u-8191 }"; }
std::u16string PicMark(int k) { return std::u16string(MessageMSG::kPictureMark) + char16_t(0xE100 + k) + u'\uE001'; }
constexpr char16_t kObject = u'\uFFFC';

const std::string kPng(
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x06\x00"
    "\x00\x00\x1F\x15\xC4\x89\x00\x00\x00\x0D\x49\x44\x41\x54\x78\xDA\x63\x64\x60\xF8\x5F\x0F\x00\x02\x87\x01\x80"
    "\xEB\x47\xBA\x92\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
    70);

void Le32(std::string& s, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 1 x 1 pixel 24-bit bitmap file.
std::string Bmp()
{
    std::string s = "BM";
    Le32(s, 58);
    Le32(s, 0);
    Le32(s, 54);
    Le32(s, 40);
    Le32(s, 1);
    Le32(s, 1);
    Le32(s, 1 | (24u << 16));  // planes, bits
    Le32(s, 0);
    Le32(s, 4);
    Le32(s, 2835);
    Le32(s, 2835);
    Le32(s, 0);
    Le32(s, 0);
    s += std::string("\x00\x00\xFF\x00", 4);
    return s;
}

std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Rtf(const std::string& body) { return "{\\rtf1\\ansi " + body + "}"; }

// Every test gets its own temporary folder.
class RtfObjects : public ::testing::Test {
protected:
    testsupport::TempDir tmp;
    testsupport::ScopedEnv env{"TMPDIR", tmp.path().string()};
    fs::path TempFolder() const { return fs::path(Utf16ToUtf8(CAppUtils::getAppTempFolder())); }
};

}  // namespace

TEST_F(RtfObjects, ExtractCutsPicturesAndMarksAttachments)
{
    struct Case {
        const char* what;
        std::string in;
        std::string out;
        std::vector<std::string> files;  // contents, in order
    };
    const Case cases[] = {
        {"two pictures and a mark", Rtf("A{\\pict\\pngblip\\picw1\\bin3 XYZ}B\\objattph C{\\pict\\wmetafile8\\bin2 QQ}D"),
         Rtf("A{" + PicMarkRtf(0) + "}B" + kAttMarkRtf + " C{" + PicMarkRtf(1) + "}D"), {"XYZ", "QQ"}},
        {"binary bytes with braces and line feeds", Rtf("{\\pict\\bin5 }\n{\\}}"), Rtf("{" + PicMarkRtf(0) + "}"),
         {"}\n{\\}"}},
        {"\\bin0 leaves no file and no mark", Rtf("A{\\pict\\bin0 }B"), Rtf("A{}B"), {}},
        {"\\bin after a line feed is not matched", Rtf("A{\\pict\\pngblip\n\\bin3 XYZ}B"),
         Rtf("A{\\pict\\pngblip\n\\bin3 XYZ}B"), {}},
        {"\\bin without its blank is not matched", Rtf("A{\\pict\\bin3XYZ}"), Rtf("A{\\pict\\bin3XYZ}"), {}},
        {"count beyond the text takes what remains", "{\\rtf1 A{\\pict\\bin999 XY", "{\\rtf1 A{" + PicMarkRtf(0),
         {"XY"}},
        {"count with no byte after it", "{\\rtf1 A{\\pict\\bin5 ", "{\\rtf1 A{", {}},
        {"count too large for any integer", "{\\rtf1 {\\pict\\bin99999999999999999999999999 XY}",
         "{\\rtf1 {" + PicMarkRtf(0), {"XY}"}},
        {"the old literal marks stay text", Rtf("%%OBJIMGPH%% %%OBJATTPH%%"), Rtf("%%OBJIMGPH%% %%OBJATTPH%%"), {}},
        {"adjacent marks", Rtf("\\objattph\\objattph"), Rtf(std::string(kAttMarkRtf) + kAttMarkRtf), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempDir own;
        testsupport::ScopedEnv ownEnv("TMPDIR", own.path().string());
        MessageMSG m;
        std::string rtf = c.in;
        EXPECT_EQ(m.ExtractRtfObjects(rtf), static_cast<int>(c.files.size()));
        EXPECT_EQ(rtf, c.out);
        ASSERT_EQ(m.pictureFiles.size(), c.files.size());
        const fs::path folder = TempFolder();
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            const fs::path file(Utf16ToUtf8(m.pictureFiles[i]));
            EXPECT_EQ(file.parent_path(), folder.parent_path()) << "inside the temporary folder";
            EXPECT_EQ(file.filename().string(), i == 0 ? "image" : "image (" + std::to_string(i + 1) + ")");
            EXPECT_EQ(Slurp(file), c.files[i]);
        }
        // A second pass finds only marks: nothing more is cut.
        const std::string once = rtf;
        EXPECT_EQ(m.ExtractRtfObjects(rtf), 0);
        EXPECT_EQ(rtf, once);
    }
}

TEST_F(RtfObjects, PictureThatCannotBeWrittenLeavesNeitherFileNorMark)
{
    // The temporary folder cannot be made below a plain file.
    const fs::path blocker = tmp.WriteFile("blocker", "x");
    testsupport::ScopedEnv blocked("TMPDIR", blocker.string());
    MessageMSG m;
    std::string rtf = Rtf("A{\\pict\\bin3 XYZ}B");
    EXPECT_EQ(m.ExtractRtfObjects(rtf), 0);
    EXPECT_EQ(rtf, Rtf("A{}B")) << "the bytes are cut out all the same";
    EXPECT_TRUE(m.pictureFiles.empty());
}

TEST_F(RtfObjects, PicturesAreBoundedInNumber)
{
    std::string body;
    for (std::size_t i = 0; i < MessageMSG::kMaxRtfPictures + 3; ++i) body += "{\\pict\\bin1 x}";
    MessageMSG m;
    std::string rtf = Rtf(body);
    EXPECT_EQ(m.ExtractRtfObjects(rtf), static_cast<int>(MessageMSG::kMaxRtfPictures));
    EXPECT_EQ(m.pictureFiles.size(), MessageMSG::kMaxRtfPictures);
    EXPECT_EQ(rtf.find("\\pict"), std::string::npos);
}

TEST_F(RtfObjects, ReplacesMarksByPicturesAndAttachmentBitmaps)
{
    // Attachments: a bitmap, a document, a bitmap.
    TMSGFile f;
    TMSGProperties& root = f.GetProperties();
    Bytes(root, 0x001A001E, "IPM.Note");
    for (const std::string& data : {Bmp(), std::string("%PDF-1.4 not a picture"), Bmp()}) {
        TMSGProperties& a = Node(root, 0x37000000);
        Bytes(a, 0x37010102, data);
    }
    MessageMSG m;
    ASSERT_TRUE(m.LoadFromFile(W(Write(f, tmp, "m.msg")), false));

    std::string rtf = Rtf("a\\objattph\\objattph\\objattph b{\\pict\\pngblip\\bin70 " + kPng +
                          "}c{\\pict\\bin3 XYZ}d{\\pict\\pngblip\\bin70 " + kPng + "}e %%OBJIMGPH%%");
    ASSERT_EQ(m.ExtractRtfObjects(rtf), 3);
    richtext::RichTextDocument doc;
    ASSERT_TRUE(doc.LoadRtf(rtf));
    ASSERT_NE(doc.Text().find(PicMark(0)), std::u16string::npos) << "the mark reads back as text";
    m.ReplaceRichEditPlaceholders(doc);
    // The document attachment and the undecodable picture leave empty spots; the next mark
    // right after an empty spot is still found.
    const std::u16string expected = std::u16string(u"a") + kObject + kObject + u" b" + kObject + u"cd" + kObject +
                                    u"e %%OBJIMGPH%%";
    EXPECT_EQ(doc.Text(), expected);
}

TEST_F(RtfObjects, PictureMarksNameTheirFiles)
{
    MessageMSG m;  // no compound file: attachment marks are removed, nothing placed
    const fs::path png = TempFolder() / "pic";
    { std::ofstream(png, std::ios::binary) << kPng; }
    m.pictureFiles.push_back(Utf8ToUtf16(png.string()));
    richtext::RichTextDocument doc;
    // A mark without its file, and text that only looks like a mark.
    ASSERT_TRUE(doc.LoadRtf(Rtf(std::string("x") + kAttMarkRtf + "1" + PicMarkRtf(3) + "2" + PicMarkRtf(0) + "3" +
                                "{\\uc0\\u-8191 OBJIMGPH}4")));
    m.ReplaceRichEditPlaceholders(doc);
    EXPECT_EQ(doc.Text(), std::u16string(u"x12") + kObject + u"3" + MessageMSG::kPictureMark + u"4");
}

TEST_F(RtfObjects, ShapePicturesKeepTheirOwnFiles)
{
    // A picture and its text-only alternative, twice: the reader hides the alternatives, so
    // their marks never show and must not shift the next picture onto the wrong file.
    const std::string pair = "{\\*\\shppict{\\pict\\pngblip\\bin70 " + kPng +
                             "}}{\\nonshppict{\\pict\\wmetafile8\\bin3 XYZ}}";
    MessageMSG m;
    std::string rtf = Rtf(pair + "A" + pair + "B");
    ASSERT_EQ(m.ExtractRtfObjects(rtf), 4);
    richtext::RichTextDocument doc;
    ASSERT_TRUE(doc.LoadRtf(rtf));
    m.ReplaceRichEditPlaceholders(doc);
    EXPECT_EQ(doc.Text(), std::u16string(1, kObject) + u"A" + kObject + u"B");
}

TEST_F(RtfObjects, InsertingRefusesBadRangesAndNonPictures)
{
    richtext::RichTextDocument doc;
    doc.SetText(u"abc");
    EXPECT_EQ(MessageMSG::InsertRichEditBitmap(doc, 4, 0, kPng), E_INVALIDARG);
    EXPECT_EQ(MessageMSG::InsertRichEditBitmap(doc, 1, 3, kPng), E_INVALIDARG);
    EXPECT_EQ(MessageMSG::InsertRichEditBitmap(doc, -1, 0, kPng), E_INVALIDARG);
    EXPECT_EQ(MessageMSG::InsertRichEditBitmap(doc, 1, 0, "not a picture"), E_FAIL);
    EXPECT_EQ(MessageMSG::InsertRichEditImageFile(doc, 1, 0, u"/nonexistent/image"), E_FAIL);
    EXPECT_EQ(doc.Text(), u"abc");
    EXPECT_EQ(MessageMSG::InsertRichEditBitmap(doc, 1, 1, Bmp()), S_OK);
    EXPECT_EQ(doc.Text(), std::u16string(u"a") + kObject + u"c");
}
