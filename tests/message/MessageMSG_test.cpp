// .msg files as records: addresses, kind, date, body choice, display, export, attachments,
// attached messages and the task, appointment and contact bodies. Every fixture is a tree
// written by the compound-file writer.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/CAppUtils.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/HtmlTagRefs.h"
#include "message/MSGNameMap.h"
#include "message/MessageMSG.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgFixture.h"
#include "tests/message/MsgTreeBuilder.h"
#include "tests/message/RecordingView.h"

using namespace msgtree;

namespace {

constexpr double kJan5 = 45662.37716435185;  // 2025-01-05 09:03:07 UTC

// A record loaded fully from the tree written to a file.
std::unique_ptr<MessageMSG> Load(const TMessage& tree, const testsupport::TempDir& dir, const std::string& name = "m.msg")
{
    auto m = std::make_unique<MessageMSG>();
    EXPECT_TRUE(m->LoadFromFile(W(Write(tree, dir, name)), false));
    return m;
}

TMSGProperties& Mail(TMSGFile& f, const char* cls = "IPM.Note")
{
    TMSGProperties& root = f.GetProperties();
    Bytes(root, 0x001A001E, cls);
    return root;
}

std::string U8(const WideString& w) { return Utf16ToUtf8(w); }

}  // namespace

TEST(MessageMSG, FromAndToComposition)
{
    struct Case {
        const char* name;
        const char* address;
        const char* expected;
    } cases[] = {
        {"Ann", "ann@example.com", "Ann <ann@example.com>"},
        {"ann@example.com", "ann@example.com", "ann@example.com"},
        {"Ann", "/O=ORG/OU=SITE/CN=ANN", "Ann"},
        {"", "ann@example.com", " <ann@example.com>"},
        {"A\r\nn\tn", "", "Ann"},
    };
    testsupport::TempDir dir;
    for (const Case& c : cases) {
        TMSGFile f;
        TMSGProperties& root = Mail(f);
        Bytes(root, 0x0C1A001E, c.name);
        Bytes(root, 0x0C1F001E, c.address);
        Bytes(root, 0x0E04001E, c.name);
        Bytes(root, 0x0076001E, c.address);
        auto m = Load(f, dir);
        EXPECT_EQ(U8(m->from), c.expected) << c.name;
        EXPECT_EQ(U8(m->to), c.expected) << c.name;
    }

    // No display-to: every recipient, whatever its type, with a trailing blank.
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    for (auto [n, a] : {std::pair{u"Bob", u"bob@x.org"}, std::pair{u"Cy", u"cy@y.org"}}) {
        TMSGProperties& r = Node(root, 0x0C000000);
        Wide(r, 0x3001001F, n);
        Wide(r, 0x3003001F, a);
    }
    EXPECT_EQ(U8(Load(f, dir)->to), "Bob <bob@x.org> Cy <cy@y.org> ");
}

TEST(MessageMSG, KindAndIconFromTheMessageClass)
{
    struct Case {
        const char* cls;
        MSGType type;
        int icon;
    } cases[] = {{"IPM.Note", mtNote, 5}, {"ipm.note", mtOther, 6}, {"IPM.TaskRequest", mtTask, 4},
                 {"IPM.Appointment", mtAppointment, 2}, {"IPM.Contact", mtContact, 3},
                 {"IPM.Schedule.Meeting.Request", mtOther, 6},
                 {"IPM.Note.SMIME", mtNote, 5}};  // a kind word anywhere in the class counts
    testsupport::TempDir dir;
    for (const Case& c : cases) {
        TMSGFile f;
        Mail(f, c.cls);
        auto m = Load(f, dir);
        EXPECT_EQ(m->msgType, c.type) << c.cls;
        EXPECT_EQ(m->GetImageIndex(), c.icon) << c.cls;
    }
}

TEST(MessageMSG, DateAndUnsentDraft)
{
    testsupport::TempDir dir;
    for (bool unsent : {false, true}) {
        TMSGFile f;
        TMSGProperties& root = Mail(f);
        TMSGProperties& fixed = Fixed(root);
        Date(fixed, 0x00390040, kJan5);
        Int(fixed, 0x0E070003, unsent ? 0x9 : 0x1);
        auto m = Load(f, dir);
        EXPECT_EQ(m->date, kJan5);
        EXPECT_EQ(m->dateText, MessageDateText(kJan5));
        EXPECT_EQ(m->sent, !unsent);
        RecordingView view;
        m->Display(view, true);
        EXPECT_EQ(view.lastDate == kJan5, !unsent);
    }
}

TEST(MessageMSG, BodyChoice)
{
    const std::string wrapped = "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 {\\*\\htmltag64 <p>}Caf\\'e9{\\*\\htmltag72 </p>}}";
    const std::string plainRtf = "{\\rtf1\\ansi\\ansicpg1252 Caf\\'e9 \xE9}";
    const std::string utf8Html = "<html><body>Gr\xC3\xBC\xC3\x9F" "e</body></html>";
    struct Case {
        const char* what;
        std::string rtf;
        int inSync;  // -1: no flag
        bool html;
        const char* expectKind;  // "html", "rtf", "plain"
        const char* expectText;
    } cases[] = {
        {"wrapped RTF beats the HTML body", wrapped, 1, true, "html", "<p>Caf\xC3\xA9</p>"},
        {"out of sync: the HTML body", wrapped, 0, true, "html", "Gr\xC3\xBC\xC3\x9F" "e"},
        {"no flag counts as in sync", plainRtf, -1, true, "rtf", "\xE9}"},
        {"neither: plain text", "", -1, false, "plain", ""},
        {"damaged RTF stream: the HTML body", "LZFu garbage", 1, true, "html", "Gr\xC3\xBC\xC3\x9F" "e"},
    };
    testsupport::TempDir dir;
    for (const Case& c : cases) {
        TMSGFile f;
        TMSGProperties& root = Mail(f);
        TMSGProperties& fixed = Fixed(root);
        Int(fixed, 0x3FDE0003, 65001);
        if (c.inSync >= 0) Bool(fixed, 0x0E1F000B, c.inSync == 1);
        Wide(root, 0x1000001F, u"plain text");
        if (c.html) Bytes(root, 0x10130102, utf8Html);
        if (!c.rtf.empty()) Bytes(root, 0x10090102, c.rtf + '\0');
        auto m = Load(f, dir);
        const std::string kind = m->bodyIsHtml ? "html" : m->bodyIsRtf ? "rtf" : "plain";
        EXPECT_EQ(kind, c.expectKind) << c.what;
        if (kind == "html") {
            EXPECT_NE(U8(m->htmlBody).find(c.expectText), std::string::npos) << c.what << U8(m->htmlBody);
        }
        if (kind == "rtf") {
            EXPECT_EQ(m->rtfBody, plainRtf) << "RTF bytes kept as they are";
        }
        EXPECT_EQ(m->plainBody, u"plain text");
    }
}

TEST(MessageMSG, DamagedRtfBodyKeepsTheRestOfTheMessage)
{
    using msgfixture::Prop;
    using msgfixture::Utf16;
    testsupport::TempDir dir;
    // A compressed-RTF header that promises far more text than its payload can hold.
    const std::string rtf = Le(16, 4) + Le(1000000, 4) + "LZFu" + Le(0, 4) + "abcd";
    std::string path;
    msgfixture::Build({msgfixture::Fixed(32, {{0x000B, 0x0E1F, "\x01"}}), Prop(0x0037001F, Utf16(u"Still here")),
           Prop(0x1000001F, Utf16(u"plain")), Prop(0x10090102, rtf)},
          dir, &path);
    MessageMSG m;
    ASSERT_TRUE(m.LoadFromFile(W(path), false));
    EXPECT_EQ(m.subject, u"Still here");
    EXPECT_EQ(m.plainBody, u"plain");
    EXPECT_FALSE(m.bodyIsRtf);
}

TEST(MessageMSG, HtmlBodyCharset)
{
    testsupport::TempDir dir;
    // No internet code page: the charset the HTML declares.
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    Bytes(root, 0x10130102, "<meta charset=\"windows-1251\"><p>\xCF\xF0\xE8</p>");
    EXPECT_NE(Load(f, dir)->htmlBody.find(u"<p>\u041F\u0440\u0438</p>"), WideString::npos);
}

TEST(MessageMSG, DisplayLoadsOnceAndShowsEachBodyKind)
{
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    Bytes(root, 0x10130102, "<p>hi</p>");
    Wide(root, 0x0037001F, u"Subject");
    const std::string path = Write(f, dir, "h.msg");

    MessageMSG m;
    ASSERT_TRUE(m.LoadFromFile(W(path), true));
    EXPECT_EQ(m.loadLevel, mllHeaders);
    EXPECT_EQ(m.GetMSGFile(), nullptr);
    EXPECT_EQ(m.subject, u"Subject");
    EXPECT_TRUE(!m.bodyIsHtml && m.htmlBody.empty()) << "a headers-only load holds the list's fields only";
    RecordingView view;
    m.Display(view, false);
    EXPECT_EQ(m.loadLevel, mllFull);
    EXPECT_TRUE(m.bodyIsHtml);
    const TMSGFile* kept = m.GetMSGFile();
    ASSERT_NE(kept, nullptr);
    m.Display(view, false);
    EXPECT_EQ(m.GetMSGFile(), kept) << "a second display does not load again";
    const std::string page = testsupport::ReadFileBytes(U8(view.lastHtmlFile));
    EXPECT_TRUE(page.starts_with("\xEF\xBB\xBF<SCRIPT")) << page.substr(0, 20);
    EXPECT_NE(page.find("<p>hi</p>"), std::string::npos);
}

// The RTF body goes to the rich edit byte for byte, its object marks cut out first (the view
// places them); the plain body goes there when asked for.
TEST(MessageMSG, DisplayShowsTheRtfAndThePlainBody)
{
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    Fixed(root);
    Bytes(root, 0x10090102, std::string("{\\rtf1\\ansi caf\xE9{\\objattph}.}") + '\0');
    Wide(root, 0x1000001F, u"plain words");
    auto m = Load(f, dir);
    ASSERT_TRUE(m->bodyIsRtf);
    for (int round = 0; round < 2; ++round) {
        RecordingView view;
        m->Display(view, false);
        ASSERT_FALSE(view.calls.empty());
        EXPECT_EQ(view.calls.back(), "ViewRTFString:{\\rtf1\\ansi caf\xC3\xA9{{\\uc0\\u-8191 OBJATTPH\\u-8191 }}.}")
            << "round " << round;
    }
    RecordingView plain;
    m->Display(plain, true);
    EXPECT_EQ(plain.calls.back(), "ViewRTFString:plain words");
}

// A full load given back keeps nothing its display made (the body page's name, the RTF
// body's pictures); the next display makes them again and shows the same.
TEST(MessageMSG, ReleasedDisplayKeepsNothingOfTheShownBody)
{
    const struct {
        const char* name;
        std::uint32_t tag;
        std::string body;
        bool html;
    } cases[] = {
        {"html", 0x10130102, "<p>hi</p>", true},
        {"rtf with a picture", 0x10090102, std::string("{\\rtf1\\ansi A{\\pict\\pngblip\\bin3 XYZ}B}") + '\0', false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        TMSGFile f;
        TMSGProperties& root = Mail(f);
        Fixed(root);
        Bytes(root, c.tag, c.body);
        auto m = Load(f, dir);
        std::vector<std::string> shown;
        for (int round = 0; round < 2; ++round) {
            RecordingView view;
            m->Display(view, false);
            ASSERT_FALSE(view.calls.empty());
            shown.push_back(view.calls.back());
            EXPECT_EQ(m->shownFile.empty(), !c.html);
            EXPECT_EQ(m->pictureFiles.size(), c.html ? 0u : 1u);
            m->ReleaseFullLoad();
            EXPECT_TRUE(m->shownFile.empty() && m->shownCharset.empty());
            EXPECT_TRUE(m->pictureFiles.empty());
        }
        if (!c.html) EXPECT_EQ(shown[0], shown[1]);
    }
}

TEST(MessageMSG, NoCompoundFileLoadsAsEmptyRecordButUnreadableFails)
{
    testsupport::TempDir dir;
    MessageMSG m;
    EXPECT_TRUE(m.LoadFromFile(W(dir.WriteFile("x.msg", "From: a\r\n\r\nbody").string()), false));
    EXPECT_TRUE(m.subject.empty());
    EXPECT_TRUE(m.plainBody.empty());
    std::string damaged(1024, '\0');
    const unsigned char sig[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    damaged.replace(0, 8, reinterpret_cast<const char*>(sig), 8);
    EXPECT_FALSE(m.LoadFromFile(W(dir.WriteFile("bad.msg", damaged).string()), false));
    EXPECT_EQ(m.loadLevel, mllEmpty);
}

TEST(MessageMSG, ExportToHtml)
{
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    Wide(root, 0x1000001F, u"a < b");
    auto m = Load(f, dir, "note.msg");
    const std::filesystem::path out = dir / "out";
    std::filesystem::create_directory(out);
    const WideString first = m->ExportToHtml(W(out.string()));
    const WideString second = m->ExportToHtml(W(out.string()));
    EXPECT_EQ(U8(first), (out / "note.html").string());
    EXPECT_EQ(U8(second), (out / "note (2).html").string());
    const std::string bytes = testsupport::ReadFileBytes(U8(first));
    const std::u16string text(reinterpret_cast<const char16_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    EXPECT_NE(text.find(u"a &lt; b"), std::u16string::npos);
    EXPECT_TRUE(m->ExportToHtml(W((dir / "nowhere" / "x.html").string())).empty()) << "a failed write is no path";
}

// --- Attachments ---

namespace {

enum class Body { Plain, Html, Rtf };
enum class Part { Ordinary, CidPicture, Ole, Nameless, Rendering, NamelessOle };

void AddPart(TMSGProperties& root, Part part)
{
    TMSGProperties& a = Node(root, 0x37000000);
    TMSGProperties& fixed = Fixed(a);
    Int(fixed, 0x37050003, part == Part::Ole || part == Part::NamelessOle ? 6 : 1);
    if (part != Part::Nameless && part != Part::NamelessOle) Wide(a, 0x3707001F, part == Part::CidPicture ? u"pic.png" : u"file.pdf");
    if (part == Part::CidPicture) Wide(a, 0x3712001F, u"pic1@x");
    if (part == Part::Rendering) Bytes(a, 0x37090102, "WMF");
    Bytes(a, 0x37010102, "DATA");
}

}  // namespace

TEST(MessageMSG, AttachmentsListedOrInline)
{
    struct Case {
        Body body;
        Part part;
        bool listed;
        bool inlined;
    } cases[] = {
        {Body::Plain, Part::Ordinary, true, false},   {Body::Plain, Part::CidPicture, true, false},
        {Body::Plain, Part::Ole, true, false},        {Body::Plain, Part::Nameless, true, false},
        {Body::Plain, Part::Rendering, true, true},   {Body::Html, Part::Ordinary, true, false},
        {Body::Html, Part::CidPicture, false, true},  {Body::Html, Part::Ole, true, false},
        {Body::Html, Part::Nameless, false, true},    {Body::Html, Part::Rendering, true, true},
        {Body::Rtf, Part::Ordinary, true, false},     {Body::Rtf, Part::CidPicture, true, false},
        {Body::Rtf, Part::Ole, true, false},          {Body::Rtf, Part::Nameless, false, true},
        {Body::Rtf, Part::NamelessOle, true, false},
        {Body::Rtf, Part::Rendering, true, true},
    };
    testsupport::TempDir dir;
    for (const Case& c : cases) {
        const std::string what = std::to_string(static_cast<int>(c.body)) + "/" + std::to_string(static_cast<int>(c.part));
        TMSGFile f;
        TMSGProperties& root = Mail(f);
        if (c.body == Body::Html) Bytes(root, 0x10130102, "<img src=\"cid:pic1@x\">");
        if (c.body == Body::Rtf) {
            Fixed(root);
            Bytes(root, 0x10090102, std::string("{\\rtf1 x}") + '\0');
        }
        AddPart(root, c.part);
        auto m = Load(f, dir);
        EXPECT_EQ(m->attachments.size(), c.listed ? 1u : 0u) << what;
        EXPECT_EQ(m->hasAttachments, c.listed) << what;
        EXPECT_EQ(!m->inlineParts.empty(), c.inlined) << what;
        const bool ole = c.part == Part::Ole || c.part == Part::NamelessOle;
        if (ole) {
            // The list's attachment mark, made without the body, agrees for OLE objects.
            MessageMSG listed;
            ASSERT_TRUE(listed.LoadFromFile(m->fileName, true)) << what;
            EXPECT_TRUE(listed.hasAttachments) << what;
        }
        if (!m->attachments.empty()) {
            EXPECT_EQ(m->attachments[0].attachMethod, ole ? 6 : 0) << what;
            if (c.part == Part::NamelessOle) {
                EXPECT_EQ(m->attachments[0].name, u"attachment 1") << what;
            }
        }
    }
}

TEST(MessageMSG, InlinePicturesAreWrittenInsideTheTemporaryFolder)
{
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    Bytes(root, 0x10130102, "<img src=\"cid:a\"><img src=\"http://host/img/caf%C3%A9%20%2F%41.png\">");
    TMSGProperties& a = Node(root, 0x37000000);
    Wide(a, 0x3707001F, u"../../escape.png");
    Wide(a, 0x3712001F, u"a");
    Bytes(a, 0x37010102, "PNG1");
    TMSGProperties& b = Node(root, 0x37000000);
    Wide(b, 0x3713001F, u"http://host/img/caf%C3%A9%20%2F%41.png");
    Bytes(b, 0x37010102, "PNG2");
    Wide(b, 0x3712001F, u"");
    auto m = Load(f, dir);
    ASSERT_EQ(m->inlineParts.size(), 2u);
    const std::string temp = U8(CAppUtils::getAppTempFolder());
    for (const AttachmentItem& part : m->inlineParts)
        EXPECT_EQ(std::filesystem::path(U8(part.name)).parent_path().string() + "/", temp) << U8(part.name);
    const std::string second = std::filesystem::path(U8(m->inlineParts[1].name)).filename().string();
    EXPECT_EQ(second.substr(second.size() - 12), "caf\xC3\xA9 _A.png") << second;
    RecordingView view;
    m->Display(view, false);
    EXPECT_EQ(testsupport::ReadFileBytes(U8(m->inlineParts[0].name)), "PNG1");
    const WideString first = WideExtractFileName(m->inlineParts[0].name);
    EXPECT_NE(m->htmlBody.find(u"src=\"" + UrlOfFileName(first) + u"\""), WideString::npos) << U8(m->htmlBody);
}

// Two messages with a picture of the same name: each page shows its own bytes, in the window
// and in a later display after the other one.
TEST(MessageMSG, SameInlineNameInTwoMessagesKeepsEachPicture)
{
    testsupport::TempDir dir;
    std::unique_ptr<MessageMSG> messages[2];
    const char* bytes[2] = {"PICTURE-OF-A", "PICTURE-OF-B"};
    for (int k = 0; k < 2; ++k) {
        TMSGFile f;
        TMSGProperties& root = Mail(f);
        Bytes(root, 0x10130102, "<p>x</p><img src=\"cid:image001.png@01D\">");
        TMSGProperties& a = Node(root, 0x37000000);
        Wide(a, 0x3707001F, u"image001.png");
        Wide(a, 0x3712001F, u"image001.png@01D");
        Bytes(a, 0x37010102, bytes[k]);
        messages[k] = Load(f, dir, k == 0 ? "a.msg" : "b.msg");
    }
    for (int round = 0; round < 2; ++round) {
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE(testing::Message() << "round " << round << " message " << k);
            RecordingView view;
            messages[k]->Display(view, false);
            ASSERT_FALSE(view.lastHtmlFile.empty());
            const std::string page = testsupport::ReadFileBytes(U8(view.lastHtmlFile));
            const std::string::size_type at = page.find("src=\"");
            ASSERT_NE(at, std::string::npos) << page;
            const std::string target = page.substr(at + 5, page.find('"', at + 5) - at - 5);
            const std::filesystem::path picture = std::filesystem::path(U8(view.lastHtmlFile)).parent_path() /
                                                  U8(PercentDecode(Utf8ToUtf16(target)));
            EXPECT_EQ(testsupport::ReadFileBytes(picture.string()), bytes[k]) << target;
        }
    }
    EXPECT_NE(messages[0]->shownFile, messages[1]->shownFile) << "one page per record";
}

TEST(MessageMSG, PercentDecoding)
{
    EXPECT_EQ(PercentDecode(u"a%20b"), u"a b");
    EXPECT_EQ(PercentDecode(u"caf%C3%A9"), u"caf\u00E9");
    EXPECT_EQ(PercentDecode(u"%E9t%E9"), u"\u00E9t\u00E9");
    EXPECT_EQ(PercentDecode(u"100%"), u"100%");
    EXPECT_EQ(PercentDecode(u"%zz%2"), u"%zz%2");
    EXPECT_EQ(PercentDecode(u"%2541"), u"%41") << "decoded once";
}

TEST(MessageMSG, SavingAttachments)
{
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    const std::string data("\x00\x01\xFFPDF", 6);
    TMSGProperties& a = Node(root, 0x37000000);
    Wide(a, 0x3707001F, u"doc.pdf");
    Bytes(a, 0x37010102, data);
    auto m = Load(f, dir);
    ASSERT_EQ(m->attachments.size(), 1u);
    const std::string out = (dir / "doc.pdf").string();
    EXPECT_TRUE(m->SaveAttachment(0, W(out)));
    EXPECT_EQ(testsupport::ReadFileBytes(out), data);
    EXPECT_FALSE(m->SaveAttachment(0, W((dir / "missing" / "doc.pdf").string()))) << "cannot be created";
    EXPECT_FALSE(m->SaveAttachment(1, W(out)));
    EXPECT_FALSE(MessageMSG::SaveAttachmentAsBin(*m->GetMSGFile(), W((dir / "n").string()), 1)) << "number == count";
    EXPECT_FALSE(std::filesystem::exists(dir / "n"));
}

TEST(MessageMSG, AttachedMessagesTwoLevelsDeep)
{
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f);
    Wide(root, 0x0037001F, u"Outer");
    NameMap(root, {{PSETID_Common, 0x8501, 0x8004}});
    TMSGProperties& a = Node(root, 0x37000000);
    Int(Fixed(a), 0x37050003, 5);
    Wide(a, 0x3001001F, u"Report");
    TMSGProperties& inner = Node(a, 0x3701000D);
    Fixed(inner);
    Bytes(inner, 0x001A001E, "IPM.Note");
    Wide(inner, 0x0037001F, u"Inner");
    TMSGProperties& b = Node(inner, 0x37000000);
    Wide(b, 0x3001001F, u"");
    TMSGProperties& innermost = Node(b, 0x3701000D);
    Bytes(innermost, 0x001A001E, "IPM.Note");
    Wide(innermost, 0x0037001F, u"Innermost");

    auto m = Load(f, dir);
    ASSERT_EQ(m->attachments.size(), 1u);
    EXPECT_EQ(m->attachments[0].name, u"Report.msg");
    EXPECT_EQ(m->attachments[0].attachMethod, 5);
    std::unique_ptr<TMessageAttr> second = m->GetEmbeddedMessage(0);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->subject, u"Inner");
    auto* secondMsg = static_cast<MessageMSG*>(second.get());
    // The saved attached message reads back as the source subtree plus the outer name mapping.
    const TMSGProperties& saved = secondMsg->GetMSGFile()->GetProperties();
    EXPECT_EQ(saved.Count(), inner.Count() + 1);
    EXPECT_TRUE(saved.GetPropertyByTag(0x00010000, false, false));
    ASSERT_EQ(second->attachments.size(), 1u);
    EXPECT_EQ(second->attachments[0].name, u".msg");
    std::unique_ptr<TMessageAttr> third = second->GetEmbeddedMessage(0);
    ASSERT_TRUE(third) << "a nameless attached message still gets a file";
    EXPECT_EQ(third->subject, u"Innermost");
    EXPECT_EQ(WideExtractFileName(third->fileName).substr(0, 7), u"message");
    EXPECT_EQ(m->GetEmbeddedMessage(1), nullptr);

    const std::string saveAs = (dir / "report.msg").string();
    ASSERT_TRUE(m->SaveAttachment(0, W(saveAs)));
    MessageMSG reread;
    ASSERT_TRUE(reread.LoadFromFile(W(saveAs), false));
    EXPECT_EQ(reread.subject, u"Inner");
}

// --- Task, appointment and contact bodies ---

TEST(MessageMSG, AppointmentRowsThroughTheNameMapping)
{
    testsupport::ScopedEnv tz("TZ", "UTC");
    tzset();
    testsupport::TempDir dir;
    for (bool mapped : {false, true}) {
        TMSGFile f;
        TMSGProperties& root = Mail(f, "IPM.Appointment");
        Wide(root, 0x0037001F, u"Standup");
        Wide(root, 0x0E04001F, u"Team");
        Wide(root, 0x1000001F, u"Agenda");
        TMSGProperties& fixed = Fixed(root);
        if (mapped) {
            // Other ids than the fixed tags; values at the fixed tags must not show.
            NameMap(root, {{PSETID_Appointment, 0x8208, 0x8010}, {PSETID_Appointment, 0x820D, 0x8011},
                           {PSETID_Appointment, 0x820E, 0x8012}, {PSETID_Common, 0x8501, 0x8013}});
            Wide(root, 0x8010001F, u"Room 1");
            Date(fixed, 0x80110040, kJan5);
            Date(fixed, 0x80120040, kJan5 + 1.0 / 24);
            Int(fixed, 0x80130003, 15);
            Wide(root, 0x8005001F, u"wrong");
            Date(fixed, 0x80080040, 1.5);
        } else {
            Bytes(root, 0x8005001E, "");
            Wide(root, 0x8007001F, u"Room 1");
            Date(fixed, 0x80080040, kJan5);
            Date(fixed, 0x80070040, kJan5 + 1.0 / 24);
            Int(fixed, 0x80230003, 15);
        }
        auto m = Load(f, dir);
        EXPECT_EQ(U8(m->plainBody),
                  "\nMessage Type: Appointment\n\nSubject: Standup\nLocation: Room 1\nTo: Team"
                  "\nBegin Date: 2025-01-05 09:03:07\nEnd Date: 2025-01-05 10:03:07\nAlarm Time: 15min"
                  "\n\nAttendees: Team\n\nNotes: Agenda")
            << mapped;
        EXPECT_EQ(m->htmlBody.substr(m->htmlBody.find(u"<pre>")), u"<pre>" + m->plainBody + u"</pre>");
        EXPECT_TRUE(m->bodyIsHtml);
        EXPECT_EQ(m->dateCaption, u"Created: ");
    }
}

// The generated rows are text in the HTML view: addresses in angle brackets, links written
// as text<url> and entities stay as written.
TEST(MessageMSG, GeneratedBodiesAreEscapedForTheView)
{
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f, "IPM.Appointment");
    Wide(root, 0x0037001F, u"Q&A");
    Wide(root, 0x1000001F, u"See agenda<https://x.org/a?b=1&c=2> &amp; <b>bold</b>");
    TMSGProperties& recipient = Node(root, 0x0C000000);
    Wide(recipient, 0x3001001F, u"Bob");
    Wide(recipient, 0x39FE001F, u"bob@x.org");
    auto m = Load(f, dir);
    const WideString pre = m->htmlBody.substr(m->htmlBody.find(u"<pre>"));
    EXPECT_NE(pre.find(u"Subject: Q&amp;A"), WideString::npos) << U8(pre);
    EXPECT_NE(pre.find(u"See agenda&lt;https://x.org/a?b=1&amp;c=2&gt; &amp;amp; &lt;b&gt;bold&lt;/b&gt;"), WideString::npos)
        << U8(pre);
    const WideString rows = pre.substr(5, pre.size() - 11);
    EXPECT_EQ(rows.find(u'<'), WideString::npos) << "no tag inside the rows: " << U8(rows);
    EXPECT_NE(m->plainBody.find(u"See agenda<https://x.org/a?b=1&c=2> &amp; <b>bold</b>"), WideString::npos)
        << "the plain body keeps the text";
}

TEST(MessageMSG, TaskRows)
{
    testsupport::ScopedEnv tz("TZ", "UTC");
    tzset();
    testsupport::TempDir dir;
    TMSGFile f;
    TMSGProperties& root = Mail(f, "IPM.Task");
    Wide(root, 0x0037001F, u"File taxes");
    Wide(root, 0x1000001F, u"Before May");
    TMSGProperties& fixed = Fixed(root);
    NameMap(root, {{PSETID_Task, 0x8104, 0x8020}});
    Date(fixed, 0x80200040, 45658.0);
    Date(fixed, 0x801A0040, 45000.0);  // the fixed due-date tag means something else here
    Int(fixed, 0x00170003, 2);
    auto m = Load(f, dir);
    EXPECT_EQ(U8(m->plainBody), "\nMessage Type: Task\n\nSubject: File taxes\nDue: \nStart Date: 2025-01-01 00:00:00"
                                "\nPriority: \nImportance: 2\nNotes: Before May");
    // The summary is built once: displaying does not nest it again.
    RecordingView view;
    m->Display(view, true);
    m->Display(view, true);
    EXPECT_EQ(view.calls.back(), "ViewRTFString:" + U8(m->plainBody));
}

TEST(MessageMSG, ContactRows)
{
    testsupport::TempDir dir;
    struct Case {
        bool mapped;
        bool fixedNode;
        bool anyNamed;
        const char* emails;
    } cases[] = {
        {true, true, true, "\r\nEmail 1: ann@example.com\r\nEmail 2: ann2@example.org"},
        {false, true, true, "\r\nEmail 1: ann@example.com\r\nEmail 2: ann2@example.org"},
        {false, false, false, ""},
    };
    for (const Case& c : cases) {
        TMSGFile f;
        TMSGProperties& root = Mail(f, "IPM.Contact");
        Wide(root, 0x3001001F, u"Ann Lee");
        Wide(root, 0x3A16001F, u"ACME");
        Wide(root, 0x3A08001F, u"555-1");
        Wide(root, 0x3A51001F, u"https://acme.example");
        Wide(root, 0x1000001F, u"note");
        if (c.fixedNode) Fixed(root);
        if (c.mapped) {
            NameMap(root, {{PSETID_Address, 0x8083, 0x8030}, {PSETID_Address, 0x8093, 0x8031},
                           {PSETID_Address, 0x80A3, 0x8032}});
            Wide(root, 0x8030001F, u"ann@example.com");
            Wide(root, 0x8031001F, u"ann2@example.org");
            Wide(root, 0x8032001F, u"ann@example.com");
            Wide(root, 0x8040001F, u"other@example.com");
        } else if (c.anyNamed) {
            Wide(root, 0x8030001F, u"ann@example.com");
            Wide(root, 0x8031001F, u"not an address");
            Wide(root, 0x8032001F, u"ann2@example.org");
            Wide(root, 0x8033001F, u"ann@example.com");
        }
        auto m = Load(f, dir);
        std::string expected = "\r\nMessage Type: Contact\r\n\r\nName: Ann Lee\r\nCompany: ACME\r\nAddress: "
                               "\r\nOffice Location: \r\nDepartment Name: \r\nProfession: \r\nBusiness Phone: 555-1"
                               "\r\nHome Phone: \r\nCell Phone: \r\nBusiness Fax: ";
        expected += c.emails;
        expected += "\r\nBusiness Home Page: https://acme.example\r\nSpouse: ";
        if (c.fixedNode) expected += "\r\nAnniversary: ";
        expected += "\r\nNotes: note";
        EXPECT_EQ(U8(m->plainBody), expected) << c.mapped << c.fixedNode;
    }
}
