// Store messages as message records over generated stores: row fill, reopening, bodies,
// summaries, attachments, export names and saving as .msg read back by the .msg reader.
#include <filesystem>

#include "PstBuilder.h"
#include "app/CAppUtils.h"
#include "app/MiscUtils.h"
#include "app/RtfHtml.h"
#include "app/UiStrings.h"
#include "mapi/MessagePST.h"
#include "platform/vcl/FormatSettings.h"
#include "message/CompressedRTF.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "platform/win/WinString.h"
#include "tests/mapi/StoreRecords.h"
#include "tests/support/TestSupport.h"

namespace {

using pstbuild::Prop;

// Records what a message shows.
class RecordingView : public IView {
public:
    std::vector<std::string> calls;
    WideString text;
    std::vector<AttachmentItem> attachments;

    void ViewRTFString(TMessageAttr&, const WideString& t, HWND*) override { calls.push_back("rtf"); text = t; }
    void ViewHTMLString(TMessageAttr&, const WideString& t) override { calls.push_back("htmlstring"); text = t; }
    void ViewHTMLFile(TMessageAttr&, const WideString& path, const WideString&) override {
        calls.push_back("htmlfile:" + Utf16ToUtf8(WideExtractName(path)));
        text = path;
    }
    void SetToField(TMessageAttr&, const WideString&) override {}
    void SetFromFiled(TMessageAttr&, const WideString&) override {}
    void SetCCFiled(TMessageAttr&, const WideString&) override {}
    void SetDateFiled(TMessageAttr&, TDateTime, const WideString&, int) override { calls.push_back("date"); }
    void SetSubjectFiled(TMessageAttr&, const WideString&) override {}
    void SetHeader(TMessageAttr&, const WideString&) override {}
    void SetFileName(TMessageAttr&, const WideString&) override {}
    void SetAttachmentsList(TMessageAttr&, const std::vector<AttachmentItem>& list) override { attachments = list; }
    void SetMessageProperties(TMessageAttr&, TMSGFile&) override {}
    void Clear() override { calls.clear(); }

private:
    static WideString WideExtractName(const WideString& path) { return path.substr(path.rfind(u'/') + 1); }
};

constexpr std::uint8_t kPsetidTask[16] = {0x03, 0x20, 0x06, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

std::string CompressedRtf(const std::string& rtf) {
    return Bytes(EncodeCompressedRTF(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size())));
}

pstbuild::Message Mail(const std::u16string& subject) {
    pstbuild::Message m;
    m.subject = subject;
    m.sender = u"Alice";
    m.recipients = {{1, u"Bob", u"bob@example.org"}, {2, u"Carol", u"carol@example.org"}};
    return m;
}

class StoreMessages : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterUiStrings();
        libs_.libraries = {{"Default", "mapi32.dll", false}};
        ASSERT_TRUE(libs_.Open(0));
    }

    // Mounts the store and makes one record per message of every listed folder.
    std::vector<std::unique_ptr<MessagePST>> Records(const pstbuild::Store& store, const std::string& name = "s.pst") {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(pstbuild::WriteFile(store, path));
        return storerecords::Records(libs_, path);
    }

    static pstbuild::Store OneFolder(std::vector<pstbuild::Message> messages) {
        pstbuild::Store s;
        s.folders = {pstbuild::Folder{u"Inbox", u"IPF.Note", std::move(messages), {}, ""}};
        return s;
    }

    WideString Out(const std::string& name) const { return Utf8ToUtf16((dir_ / name).string()); }

    MapiLibs libs_;
    testsupport::TempDir dir_;
};

TEST_F(StoreMessages, RowFillTakesTheListFieldsAndUnsentMessagesShowNoDate) {
    pstbuild::Message unsent = Mail(u"Draft");
    unsent.extra = {Prop::Long(0x0E070003, 0x8), Prop::Unicode(0x0042001F, u"Alice on behalf")};
    auto records = Records(OneFolder({Mail(u"Hello"), unsent}));
    ASSERT_EQ(records.size(), 2u);
    const MessagePST& hello = *records[0];
    EXPECT_EQ(hello.GetImageIndex(), 7);
    EXPECT_EQ(hello.fileType, mftPST);
    EXPECT_EQ(hello.loadLevel, mllHeaders);
    EXPECT_EQ(hello.subject, u"Hello");
    EXPECT_EQ(hello.from, u"Alice");
    EXPECT_EQ(hello.to, u"Bob");
    EXPECT_EQ(hello.cc, u"Carol");
    EXPECT_TRUE(hello.sent);
    EXPECT_FALSE(hello.pstAttr.entryId.empty());
    EXPECT_NE(hello.date, 0);
    EXPECT_FALSE(hello.dateText.empty());
    EXPECT_EQ(records[1]->from, u"Alice on behalf");
    EXPECT_FALSE(records[1]->sent);

    RecordingView view;
    records[0]->Display(view, false);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "date"), 1);
    records[1]->Display(view, false);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "date"), 0);
    EXPECT_EQ(records[1]->loadLevel, mllFull);
}

TEST_F(StoreMessages, RecordsOfOneFolderShareItsNameAndFindItAgain) {
    pstbuild::Store store = OneFolder({Mail(u"One"), Mail(u"Two")});
    store.folders.push_back(pstbuild::Folder{u"Archive", u"IPF.Note", {Mail(u"Three")}, {}, ""});
    auto records = Records(store);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(&records[0]->pstAttr.folderPath.str(), &records[1]->pstAttr.folderPath.str());
    EXPECT_EQ(&records[0]->pstAttr.folderName.str(), &records[1]->pstAttr.folderName.str());
    EXPECT_NE(records[0]->pstAttr.folderPath.str(), records[2]->pstAttr.folderPath.str());
    EXPECT_EQ(records[2]->pstAttr.folderName.str(), u"Archive");
    for (const auto& r : records) {
        ComPtr<IMAPIFolder> folder = r->GetIFolder();
        ASSERT_TRUE(folder);
        SPropValuePtr name;
        ASSERT_EQ(MapiLibs::HrGetOneProp(folder.get(), PR_DISPLAY_NAME_W, &name), S_OK);
        EXPECT_EQ(PropValueText(*name), r->pstAttr.folderName.str());
    }
}

TEST(StoreMessageClass, WholeClassNamesGiveTheKind) {
    const std::pair<const char16_t*, MSGType> cases[] = {
        {u"IPM.Note", mtNote},           {u"ipm.note", mtNote},       {u"IPM.Task", mtTask},
        {u"IPM.Contact", mtContact},     {u"IPM.Appointment", mtAppointment},
        {u"IPM.Note.SMIME", mtOther},    {u"IPM.Schedule.Meeting.Request", mtOther}, {u"", mtOther}};
    for (const auto& [cls, type] : cases) EXPECT_EQ(MessagePST::MSGTypeOfClass(cls), type) << Utf16ToUtf8(cls);
}

TEST_F(StoreMessages, MessagesAreReopenedByTheirEntryIdNotByRow) {
    auto records = Records(OneFolder({Mail(u"First"), Mail(u"Second")}));
    ASSERT_EQ(records.size(), 2u);
    // A record whose row and folder no longer match still opens its own message.
    records[1]->pstAttr.row = 0;
    records[1]->pstAttr.folderName = u"Gone";
    auto message = records[1]->GetIMessage(nullptr);
    ASSERT_TRUE(message);
    SPropValuePtr subject;
    ASSERT_EQ(MapiLibs::HrGetOneProp(message.get(), PR_SUBJECT_W, &subject), S_OK);
    EXPECT_EQ(PropValueText(*subject), u"Second");
    // Without an id nothing is opened: never another message instead.
    records[0]->pstAttr.entryId.clear();
    EXPECT_FALSE(records[0]->OpenMessage());
    EXPECT_EQ(records[0]->Export(Out("")), u"");
}

TEST_F(StoreMessages, BodiesAreChosenHtmlThenRtfWrappingHtmlThenRtfThenText) {
    pstbuild::Message html = Mail(u"html");
    html.body = u"plain of html";
    html.extra = {Prop::Binary(0x10130102, "<html><body>Gr\xC3\xBC\xC3\x9F" "e</body></html>"), Prop::Long(0x3FDE0003, 65001)};
    pstbuild::Message wrapped = Mail(u"wrapped");
    wrapped.extra = {Prop::Binary(0x10090102, CompressedRtf(Utf16ToUtf8(encodertfhtml(u"<p>wrapped html</p>"))))};
    pstbuild::Message rtf = Mail(u"rtf");
    rtf.extra = {Prop::Binary(0x10090102, CompressedRtf("{\\rtf1\\ansi plain rtf}"))};
    pstbuild::Message text = Mail(u"text");
    text.body = u"only text \u263A";
    text.extra = {Prop::Unicode(0x007D001F, u"Date: Mon, 1 Jan 2024 10:00:00 +0200\r\n")};
    auto records = Records(OneFolder({html, wrapped, rtf, text}));
    ASSERT_EQ(records.size(), 4u);

    RecordingView view;
    records[0]->Display(view, false);
    EXPECT_TRUE(records[0]->bodyIsHtml);
    ASSERT_EQ(view.calls.back().rfind("htmlfile:page-", 0), 0u) << view.calls.back();
    EXPECT_EQ(records[0]->shownFile, view.text);
    const std::string page = testsupport::ReadFileBytes(Utf16ToUtf8(view.text));
    ASSERT_GE(page.size(), 3u);
    EXPECT_EQ(page.substr(0, 3), "\xEF\xBB\xBF");  // UTF-8 with a byte-order mark
    EXPECT_NE(page.find("Gr\xC3\xBC\xC3\x9F" "e"), std::string::npos);
    EXPECT_NE(records[0]->htmlBody.find(u"Grüße"), WideString::npos);
    EXPECT_EQ(records[0]->plainBody, u"plain of html");

    records[1]->Display(view, false);
    EXPECT_TRUE(records[1]->bodyIsHtml);
    EXPECT_NE(records[1]->htmlBody.find(u"wrapped html"), WideString::npos);

    records[2]->Display(view, false);
    EXPECT_TRUE(records[2]->bodyIsRtf);
    EXPECT_EQ(view.calls.back(), "rtf");
    EXPECT_EQ(view.text, u"{\\rtf1\\ansi plain rtf}");

    // No PR_RTF_IN_SYNC anywhere: text, headers and zone are read all the same.
    records[3]->Display(view, false);
    EXPECT_FALSE(records[3]->bodyIsRtf);
    EXPECT_FALSE(records[3]->bodyIsHtml);
    EXPECT_EQ(view.text, u"only text \u263A");
    EXPECT_EQ(records[3]->zoneHours, 2);
    EXPECT_NE(records[3]->headerText.find(u"Date:"), WideString::npos);
}

TEST_F(StoreMessages, PlainTextBodyFromTheRowNeedsNoReopening) {
    pstbuild::Message m = Mail(u"a");
    m.body = u"the stored text";
    auto records = Records(OneFolder({m, m}));
    ASSERT_EQ(records.size(), 2u);
    // A body the row already gave: the store is not read again (which would fill the text).
    records[0]->htmlBody = u"from the row";
    records[0]->plainBody.clear();
    records[0]->LoadPlainTextBody();
    EXPECT_EQ(records[0]->htmlBody, u"from the row");
    EXPECT_TRUE(records[0]->plainBody.empty()) << "the message was opened again";
    // Without one, the text comes from the store.
    records[1]->htmlBody.clear();
    records[1]->plainBody.clear();
    records[1]->LoadPlainTextBody();
    EXPECT_EQ(records[1]->plainBody, u"the stored text");
}

TEST_F(StoreMessages, TaskSummaryUsesNamedDatesAndIsRebuiltOnEachLoad) {
    pstbuild::Store store;
    pstbuild::NamedProp start{}, due{};
    std::copy(std::begin(kPsetidTask), std::end(kPsetidTask), start.guid);
    std::copy(std::begin(kPsetidTask), std::end(kPsetidTask), due.guid);
    start.lid = 0x8104;  // id 0x8000
    due.lid = 0x8105;    // id 0x8001
    store.names = {start, due};
    pstbuild::Message task = Mail(u"Write report");
    task.messageClass = u"IPM.Task";
    task.body = u"x <y>";
    const std::uint64_t dueTime = 0x01DA000000000000ull;
    // 0x801A is some other named property in this store: it must not show as the due date.
    task.extra = {Prop::Time(0x80010040, dueTime), Prop::Time(0x801A0040, 0x01C0000000000000ull),
                  Prop::Long(0x00260003, 1), Prop::Long(0x00170003, 2)};
    pstbuild::Message empty = Mail(u"");
    empty.messageClass = u"IPM.Task";
    store.folders = {pstbuild::Folder{u"Inbox", u"IPF.Note", {task, empty}, {}, ""}};
    auto records = Records(store);
    ASSERT_EQ(records.size(), 2u);

    FILETIME ft{static_cast<DWORD>(dueTime), static_cast<DWORD>(dueTime >> 32)};
    // The date in the user's locale (short date, long time), as the list's own column is not.
    const WideString expected = u"\nMessage Type: Task\n\nSubject: Write report\nDue: " +
                                DateTimeToStr(UtcToLocalDateTime(FileTimeToDateTime(ft))) +
                                u"\nPriority: 1\nImportance: 2\nNotes: x <y>";
    RecordingView view;
    records[0]->Display(view, false);
    records[0]->Display(view, false);
    EXPECT_EQ(records[0]->plainBody, expected);
    EXPECT_EQ(records[0]->msgType, mtTask);
    // Shown as plain text: line breaks stay and "<y>" is no markup.
    EXPECT_FALSE(records[0]->bodyIsHtml);
    EXPECT_EQ(view.calls.back(), "rtf");
    EXPECT_EQ(view.text, expected);

    records[1]->OpenMessage();
    EXPECT_EQ(records[1]->plainBody, u"\nMessage Type: Task\n\nSubject: \nNotes: ");
}

TEST_F(StoreMessages, AppointmentAndContactSummaries) {
    pstbuild::Message appointment = Mail(u"Meeting");
    appointment.messageClass = u"IPM.Appointment";
    appointment.extra = {Prop::Unicode(0x3A0D001F, u"Room 1")};
    pstbuild::Message contact = Mail(u"Zed");
    contact.messageClass = u"IPM.Contact";
    contact.extra = {Prop::Unicode(0x3001001F, u"Zed Smith"), Prop::Unicode(0x8002001F, u"zed@example.org"),
                     Prop::Unicode(0x8003001F, u"zed@example.org"), Prop::Unicode(0x8004001F, u"Zed@example.org"),
                     Prop::Unicode(0x8005001F, u"not an address")};
    auto records = Records(OneFolder({appointment, contact}));
    ASSERT_EQ(records.size(), 2u);
    ASSERT_TRUE(records[0]->OpenMessage());
    EXPECT_EQ(records[0]->plainBody,
              u"\nMessage Type: Appointment\n\nSubject: Meeting\nLocation: Room 1\n\nAttendees: Bob\nNotes: ");
    ASSERT_TRUE(records[1]->OpenMessage());
    EXPECT_EQ(records[1]->plainBody, u"\nMessage Type: Contact\n\nName: Zed Smith\nEmail 1: zed@example.org\n"
                                     u"Email 2: Zed@example.org\nNotes: ");
}

TEST_F(StoreMessages, AttachmentsAreListedSavedInlineOrRefused) {
    pstbuild::Message m = Mail(u"With parts");
    m.extra = {Prop::Binary(0x10130102, "<html><body><img src=\"cid:pic1\"></body></html>")};
    pstbuild::Attachment inlinePic{u"../../evil.png", "PNGDATA", {Prop::Unicode(0x3712001F, u"pic1")}, {}};
    pstbuild::Attachment unshownCid{u"chart.png", "CHART", {Prop::Unicode(0x3712001F, u"other")}, {}};
    pstbuild::Attachment nameless{u"", "NONAME", {}, {}};
    pstbuild::Attachment ole{u"object.bin", "OLE", {Prop::Long(0x37050003, 6)}, {}};
    pstbuild::Attachment traversal{u"..\\..\\x/../report \u00E9\u4E2D.txt", std::string("bin\0ary", 7), {}, {}};
    m.attachments = {inlinePic, unshownCid, nameless, ole, traversal};
    auto records = Records(OneFolder({m}));
    ASSERT_EQ(records.size(), 1u);
    MessagePST& r = *records[0];
    RecordingView view;
    r.Display(view, false);
    r.Display(view, false);

    // The inline picture is saved beside the page under a cleaned name and linked there.
    ASSERT_EQ(r.inlineParts.size(), 1u);
    const WideString temp = CAppUtils::getAppTempFolder();
    EXPECT_EQ(r.inlineParts[0].name.find(u'/'), WideString::npos);
    EXPECT_EQ(testsupport::ReadFileBytes(Utf16ToUtf8(temp + r.inlineParts[0].name)), "PNGDATA");
    EXPECT_NE(r.htmlBody.find(u"src=\"" + r.inlineParts[0].name + u"\""), WideString::npos);

    ASSERT_EQ(r.attachments.size(), 4u);
    EXPECT_EQ(view.attachments.size(), 4u);
    EXPECT_EQ(r.attachments[0].name, u"chart.png");
    EXPECT_EQ(r.attachments[1].name, u"attachment 3");
    EXPECT_EQ(r.attachments[2].attachMethod, 6);
    EXPECT_EQ(r.GetAttachmentCount(), 4);

    // Saving one: bytes as stored; the name's folder parts do not leave the destination.
    EXPECT_TRUE(r.SaveAttachment(0, Out("one.png")));
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "one.png"), "CHART");
    EXPECT_FALSE(r.SaveAttachment(2, Out("ole.bin")));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "ole.bin"));
    EXPECT_FALSE(r.SaveAttachment(9, Out("none")));

    std::filesystem::create_directories(dir_ / "all");
    std::vector<WideString> saved;
    // The OLE object cannot be saved: the answer is false, the others are saved all the same.
    EXPECT_FALSE(r.SaveAllAttachments(Out("all"), u"p_", &saved, false));
    ASSERT_EQ(saved.size(), 3u);
    for (const WideString& path : saved)
        EXPECT_EQ(std::filesystem::path(Utf16ToUtf8(path)).parent_path(), dir_ / "all") << Utf16ToUtf8(path);
    EXPECT_EQ(testsupport::ReadFileBytes(Utf16ToUtf8(saved[2])), std::string("bin\0ary", 7));
    EXPECT_NE(saved[2].find(u"report \u00E9\u4E2D.txt"), WideString::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "all"), std::filesystem::directory_iterator()), 3);
}

TEST_F(StoreMessages, AttachedEmlFileBecomesAnEmlRecord) {
    pstbuild::Message m = Mail(u"Forward");
    m.attachments = {{u"inner.EML", "From: x@example.org\r\nSubject: Inner\r\n\r\nbody\r\n", {}, {}},
                     {u"plain.txt", "t", {}, {}}};
    auto records = Records(OneFolder({m}));
    ASSERT_EQ(records.size(), 1u);
    ASSERT_TRUE(records[0]->OpenMessage());
    EXPECT_TRUE(records[0]->IsEmbeddedAttachMessage(0));
    EXPECT_FALSE(records[0]->IsEmbeddedAttachMessage(1));
    EXPECT_EQ(records[0]->GetEmbeddedMessage(1), nullptr);
    auto inner = records[0]->GetEmbeddedMessage(0);
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->GetType(), mftEML);
    EXPECT_EQ(inner->subject, u"Inner");
}

TEST_F(StoreMessages, AttachedMessageBecomesAMsgRecord) {
    pstbuild::Message inner = Mail(u"Inner \u00E9");
    inner.body = u"inner body";
    inner.attachments = {{u"deep.txt", "deep data", {}, {}}};
    pstbuild::Message outer = Mail(u"Outer");
    pstbuild::Attachment attached{u"Inner", "", {}, {inner}};
    outer.attachments = {attached};
    auto records = Records(OneFolder({outer}));
    ASSERT_EQ(records.size(), 1u);
    ASSERT_TRUE(records[0]->OpenMessage());
    ASSERT_EQ(records[0]->attachments.size(), 1u);
    EXPECT_EQ(records[0]->attachments[0].attachMethod, 5);
    EXPECT_TRUE(records[0]->IsEmbeddedAttachMessage(0));
    auto record = records[0]->GetEmbeddedMessage(0);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->GetType(), mftMSG);
    EXPECT_EQ(record->subject, u"Inner \u00E9");
    EXPECT_EQ(record->plainBody, u"inner body");
    ASSERT_EQ(record->attachments.size(), 1u);
    EXPECT_EQ(record->attachments[0].name, u"deep.txt");

    // The whole message with its attached one, through the .msg writer and reader.
    const WideString path = records[0]->Export(Out("outer.msg"));
    ASSERT_FALSE(path.empty());
    MessageMSG back;
    ASSERT_TRUE(back.LoadFromFile(path, false));
    ASSERT_EQ(back.attachments.size(), 1u);
    auto backInner = back.GetEmbeddedMessage(0);
    ASSERT_TRUE(backInner);
    EXPECT_EQ(backInner->subject, u"Inner \u00E9");
}

TEST_F(StoreMessages, SavedAsMsgReadsBackAlike) {
    pstbuild::Store store;
    pstbuild::NamedProp due{};
    std::copy(std::begin(kPsetidTask), std::end(kPsetidTask), due.guid);
    due.lid = 0x8105;
    pstbuild::NamedProp filler{};
    std::copy(std::begin(kPsetidTask), std::end(kPsetidTask), filler.guid);
    filler.lid = 0x8101;
    store.names = {filler, due};  // due date at 0x8001
    pstbuild::Message m = Mail(u"Round trip \u00E9");
    m.body = u"Body text \u4E2D";
    m.extra = {Prop::Binary(0x10090102, CompressedRtf("{\\rtf1\\ansi rich}")), Prop::Time(0x80010040, 0x01DA000000000000ull)};
    m.attachments = {{u"data.bin", std::string("\x00\x01\x02zz", 5), {}, {}}, {u"b.txt", "second", {}, {}}};
    pstbuild::Message task = Mail(u"Task");
    task.messageClass = u"IPM.Task";
    task.extra = {Prop::Time(0x80010040, 0x01DA000000000000ull)};
    store.folders = {pstbuild::Folder{u"Inbox", u"IPF.Note", {m, task}, {}, ""}};
    auto records = Records(store);
    ASSERT_EQ(records.size(), 2u);
    ASSERT_TRUE(records[0]->OpenMessage());

    const WideString path = records[0]->Export(Out(""));
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(Utf16ToUtf8(path)).filename(), Utf16ToUtf8(u"Round trip \u00E9.msg"));
    MessageMSG back;
    ASSERT_TRUE(back.LoadFromFile(path, false));
    EXPECT_EQ(back.subject, records[0]->subject);
    EXPECT_EQ(back.from, u"Alice");
    EXPECT_EQ(back.to, records[0]->to);
    EXPECT_EQ(back.cc, records[0]->cc);
    EXPECT_EQ(back.plainBody, u"Body text \u4E2D");
    EXPECT_NE(back.rtfBody.find("rich"), std::string::npos);
    ASSERT_EQ(back.attachments.size(), 2u);
    EXPECT_EQ(back.attachments[0].name, u"data.bin");
    ASSERT_TRUE(back.SaveAttachment(0, Out("back.bin")));
    EXPECT_EQ(testsupport::ReadFileBytes(dir_ / "back.bin"), std::string("\x00\x01\x02zz", 5));

    // The named due date travels through the file's own name mapping.
    const WideString taskPath = records[1]->Export(Out("task.msg"));
    ASSERT_EQ(taskPath, Out("task.msg"));
    MessageMSG taskBack;
    ASSERT_TRUE(taskBack.LoadFromFile(taskPath, false));
    FILETIME ft{0, 0x01DA0000};
    EXPECT_NE(taskBack.plainBody.find(MessageDateText(FileTimeToDateTime(ft)).substr(0, 10)), WideString::npos)
        << Utf16ToUtf8(taskBack.plainBody);
}

TEST_F(StoreMessages, MultiValuedPropertiesAreSavedInTheMsg) {
    auto le = [](std::initializer_list<std::uint32_t> words) {
        std::string out;
        for (std::uint32_t w : words)
            for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(w >> (8 * i)));
        return out;
    };
    // Keywords (the store's named property 0x8000): count, offsets, then the UTF-16 texts.
    std::string keywords = le({2, 12, 18});
    for (char16_t c : std::u16string(u"redblue")) keywords += std::string{static_cast<char>(c), '\0'};
    pstbuild::Message m = Mail(u"Tagged");
    // A class id (PT_CLSID, 16 bytes: Data1-3 little-endian, then Data4) rides along.
    const std::string clsid("\x03\x02\x01\x00\x05\x04\x07\x06\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F", 16);
    m.extra = {Prop{0x8000101F, keywords}, Prop{0x3A4F1003, le({7, 9})}, Prop{0x6B000048, clsid}};
    auto records = Records(OneFolder({m}));
    ASSERT_EQ(records.size(), 1u);
    const WideString path = records[0]->Export(Out("tagged.msg"));
    ASSERT_FALSE(path.empty());
    TMSGFile file;
    ASSERT_TRUE(file.LoadFromFile(path));
    const TMSGProperty* words = file.GetProperties().GetPropertyByTag(0x8000101F, false, false);
    ASSERT_NE(words, nullptr);
    ASSERT_EQ(words->SubProperties().Count(), 2);
    EXPECT_EQ(words->SubProperties().GetProperty(0).GetAsString(), u"red");
    EXPECT_EQ(words->SubProperties().GetProperty(1).GetAsString(), u"blue");
    const TMSGProperty* numbers = file.GetProperties().GetPropertyByTag(0x3A4F1003, false, false);
    ASSERT_NE(numbers, nullptr);
    ASSERT_EQ(numbers->SubProperties().Count(), 2);
    EXPECT_EQ(numbers->SubProperties().GetProperty(1).GetAsString(), u"9");
    const TMSGProperty* classId = file.GetProperties().GetPropertyByTag(0x6B000048, false, false);
    ASSERT_NE(classId, nullptr) << "a class id is kept in the saved .msg";
    EXPECT_EQ(classId->GetAsString(), u"{00010203-0405-0607-0809-0A0B0C0D0E0F}");
}

TEST_F(StoreMessages, ExportNamesStayInTheDestination) {
    pstbuild::Message odd = Mail(u"a:b/..\\c");
    pstbuild::Message same = Mail(u"Same");
    std::vector<pstbuild::Message> list(16, Mail(u"filler"));
    list[0] = odd;
    list[1] = same;
    list[2] = same;
    list[13] = Mail(u"");
    // Subjects longer than a file name: 100 CJK characters (300 bytes), 140 Cyrillic (280).
    list[14] = Mail(WideString(100, u'\u6587'));
    list[15] = Mail(WideString(140, u'\u0416'));
    auto records = Records(OneFolder(list), "archive.pst");
    ASSERT_EQ(records.size(), 16u);
    for (int i : {14, 15}) {
        for (const char* ext : {"", "page.html"}) {
            const WideString path = *ext ? records[i]->ExportToHtml(Out("")) : records[i]->Export(Out(""));
            ASSERT_FALSE(path.empty()) << i << ext;
            const std::string name = std::filesystem::path(Utf16ToUtf8(path)).filename().string();
            EXPECT_LE(name.size(), 255u) << name;
            EXPECT_TRUE(std::filesystem::exists(Utf16ToUtf8(path))) << name;
        }
    }
    EXPECT_EQ(records[14]->Export(Out("")).substr(dir_.path().string().size() + 1, 3), u"\u6587\u6587\u6587")
        << "the cut keeps whole characters";
    EXPECT_EQ(records[0]->GetExportFileName().find(u'/'), WideString::npos);
    EXPECT_EQ(records[0]->GetExportName().find(u'/'), WideString::npos);
    EXPECT_EQ(records[13]->GetExportFileName(), u"archive_13.msg");
    EXPECT_EQ(records[13]->GetExportName(), u"archive_13");

    const WideString first = records[1]->Export(Out(""));
    const WideString second = records[2]->Export(Out(""));
    EXPECT_EQ(first, Out("Same.msg"));
    EXPECT_EQ(second, Out("Same (2).msg"));
    const WideString odd1 = records[0]->Export(Out(""));
    ASSERT_FALSE(odd1.empty());
    EXPECT_EQ(std::filesystem::path(Utf16ToUtf8(odd1)).parent_path(), dir_.path());
    // A file destination is the target itself, made unique.
    EXPECT_EQ(records[13]->Export(Out("out.msg")), Out("out.msg"));
    EXPECT_EQ(records[13]->Export(Out("out.msg")), Out("out (2).msg"));

    // HTML export writes this message's own body.
    records[1]->htmlBody.clear();
    const WideString html = records[1]->ExportToHtml(Out("page.html"));
    ASSERT_EQ(html, Out("page.html"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "page.html"));
}

TEST_F(StoreMessages, FilterStringsAndExtensions) {
    MessagePST m;
    EXPECT_EQ(m.GetExportFilterString(), u"Text Files(*.txt)|*.txt");
    m.bodyIsHtml = true;
    EXPECT_EQ(m.GetExportFilterString(), u"Html Files(*.html)|*.html");
    m.plainBody = u"x";
    EXPECT_EQ(m.GetExportFilterString(), u"Html Files(*.html)|*.html|Text Files(*.txt)|*.txt");
    EXPECT_EQ(m.GetSaveFilterString(), u"MSG Files (*.msg)|*.msg");
    EXPECT_EQ(m.GetDefaultExtension(), u"*.msg");
    EXPECT_EQ(m.GetExportDefaultExtension(), u"*.html");
    EXPECT_EQ(m.GetType(), 3);
    EXPECT_EQ(m.dateCaption, u"Sent: ");
}

TEST_F(StoreMessages, TheSessionLivesAsLongAsItsRecords) {
    auto records = Records(OneFolder({Mail(u"a")}));
    ASSERT_EQ(records.size(), 1u);
    std::weak_ptr<MapiSession> session = records[0]->session;
    EXPECT_FALSE(session.expired());
    records.clear();
    EXPECT_TRUE(session.expired());
}

}  // namespace
