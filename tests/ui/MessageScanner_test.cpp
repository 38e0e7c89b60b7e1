// The folder scan over temporary folders: what is listed and counted, the progress arithmetic,
// stops in either pass and inside a store, links to folders, and searches.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "PstBuilder.h"
#include "app/UiStrings.h"
#include "mapi/MapiSession.h"
#include "message/MessageAttr.h"
#include "search/SearchEngine.h"
#include "tests/message/MsgFixture.h"
#include "tests/support/TestSupport.h"
#include "ui/ISearchInfoView.h"
#include "ui/MessageScanner.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

class RecordingInfo : public ISearchInfoView {
public:
    int started = 0;
    int finished = 0;
    int lastCount = -1;
    unsigned lastDone = 0;
    unsigned lastTotal = 0;
    std::vector<std::string> names;

    void SetSearchMessagesCount(int count) override { lastCount = count; }
    void SetSearchFolder(const WideString&) override {}
    void SetSearchMsgName(const WideString& path) override { names.push_back(Utf16ToUtf8(path)); }
    void SetSearchProgress(unsigned done, unsigned total) override { lastDone = done; lastTotal = total; }
    void SetSearchStatus(const WideString&) override {}
    void SearchStarted() override { ++started; }
    void SearchFinished() override { ++finished; }
};

class RejectAll : public ISearchCriteria {
public:
    bool Match(TMessageAttr*) override { return false; }
};

std::string Eml(const std::string& subject)
{
    return "From: a@example.org\r\nSubject: " + subject + "\r\nDate: Tue, 15 Nov 1994 08:12:31 +0000\r\n\r\nbody\r\n";
}

pstbuild::Store Store(int inbox, int sent)
{
    pstbuild::Store store;
    pstbuild::Folder a, b;
    a.name = u"Inbox";
    b.name = u"Sent";
    auto mail = [](std::u16string subject) {
        pstbuild::Message m;
        m.subject = std::move(subject);
        return m;
    };
    for (int i = 0; i < inbox; ++i) a.messages.push_back(mail(u"in" + std::u16string(1, char16_t(u'0' + i))));
    for (int i = 0; i < sent; ++i) b.messages.push_back(mail(u"out" + std::u16string(1, char16_t(u'0' + i))));
    store.folders = {a, b};
    return store;
}

class Scan : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterUiStrings();
        ScanRunning = false;
        const fs::path root = dir_.path();
        dir_.WriteFile("a.eml", Eml("alpha"));
        dir_.WriteFile("empty.eml", "");
        dir_.WriteFile("notes.txt", "not a message");
        dir_.WriteFile("mime.msg", Eml("mime in msg"));
        fs::create_directories(root / "sub" / ".hidden");
        dir_.WriteFile("sub/b.eml", Eml("beta"));
        dir_.WriteFile("sub/.hidden/h.eml", Eml("hidden"));
        fs::create_directory_symlink(root, root / "sub" / "loop");
        std::string msgPath;
        msgfixture::Build({msgfixture::Fixed(32, {}), msgfixture::Prop(0x0037001F, msgfixture::Utf16(u"compound"))},
                          msgDir_, &msgPath);
        fs::copy_file(msgPath, root / "c.msg");
        ASSERT_TRUE(pstbuild::WriteFile(Store(2, 1), (root / "sub" / "store.pst").string()));
    }
    void TearDown() override
    {
        scanner_.EmptyList();
        ScanRunning = false;
    }

    std::multiset<std::string> Subjects() const
    {
        std::multiset<std::string> out;
        for (TMessageAttr* m : list_) out.insert(Utf16ToUtf8(m->subject));
        return out;
    }

    testsupport::ScopedRegistry registry_;
    testsupport::TempDir dir_;
    testsupport::TempDir msgDir_;
    MessageAttrDeque list_;
    int pumps_ = 0;
    int stopAtPump_ = -1;
    int sorts_ = 0;
    int finishes_ = 0;
    MessageScanner scanner_{list_, {
        [this] { if (++pumps_ == stopAtPump_) scanner_.StopSearch(); },
        {}, [this] { ++sorts_; }, {}, [this](std::size_t, double) { ++finishes_; }, {}}};
    RecordingInfo info_;
    WideString Root() const { return Utf8ToUtf16(dir_.path().string()); }
};

TEST_F(Scan, ListsEveryMessageOnceAndCountsEveryNonEmptyFile)
{
    scanner_.FindMSGFiles(Root(), nullptr, &info_, true, ftAll);
    // The link back to the root is not followed; the hidden folder is walked; a ".msg" holding
    // MIME text lists as a message; the empty and the text file list nothing.
    EXPECT_EQ(Subjects(), (std::multiset<std::string>{"alpha", "beta", "hidden", "mime in msg", "compound", "in0",
                                                      "in1", "out0"}));
    // Total: the non-empty files that are not stores (6) plus the store's messages (3);
    // count: every non-empty file (7) plus the store's rows (3).
    EXPECT_EQ(scanner_.filesTotal, 9u);
    EXPECT_EQ(scanner_.filesProcessed, 10u);
    EXPECT_EQ(info_.started, 1);
    EXPECT_EQ(info_.finished, 1);
    EXPECT_EQ(info_.lastCount, 8);
    EXPECT_EQ(sorts_, 1);
    EXPECT_EQ(finishes_, 1);
    EXPECT_FALSE(ScanRunning);
    EXPECT_EQ(std::count(info_.names.begin(), info_.names.end(), (dir_.path() / "empty.eml").string()), 0);
}

TEST_F(Scan, WithoutSubfoldersOnlyTheFolderItself)
{
    scanner_.FindMSGFiles(Root(), nullptr, &info_, false, ftAll);
    EXPECT_EQ(Subjects(), (std::multiset<std::string>{"alpha", "mime in msg", "compound"}));
}

TEST_F(Scan, FilterLeavingOutStoresStillCountsThem)
{
    scanner_.FindMSGFiles(Root(), nullptr, &info_, true, ftMSG);
    EXPECT_EQ(Subjects(), (std::multiset<std::string>{"mime in msg", "compound"}));
    EXPECT_EQ(scanner_.filesTotal, 9u);
    EXPECT_LT(scanner_.filesProcessed, scanner_.filesTotal);  // the progress stays below 100 %
}

TEST_F(Scan, StopInFirstPassListsNothing)
{
    stopAtPump_ = 2;
    scanner_.FindMSGFiles(Root(), nullptr, &info_, true, ftAll);
    EXPECT_TRUE(list_.empty());
    EXPECT_EQ(sorts_, 0);
    EXPECT_EQ(finishes_, 0);
    EXPECT_EQ(info_.finished, 1);
}

// The listing pass takes the counting pass's walk of the same scan, never an earlier scan's:
// a folder changed between scans (also after a scan stopped in its first pass) lists anew.
TEST_F(Scan, EachScanWalksTheFolderAsItIsNow)
{
    scanner_.FindMSGFiles(Root(), nullptr, &info_, true, ftAll);
    ASSERT_EQ(list_.size(), 8u);
    scanner_.EmptyList();
    stopAtPump_ = pumps_ + 2;
    scanner_.FindMSGFiles(Root(), nullptr, &info_, true, ftAll);
    ASSERT_TRUE(list_.empty());
    scanner_.EmptyList();
    stopAtPump_ = -1;
    fs::remove(dir_.path() / "a.eml");
    dir_.WriteFile("sub/new.eml", Eml("new"));
    scanner_.FindMSGFiles(Root(), nullptr, &info_, true, ftAll);
    EXPECT_EQ(Subjects(), (std::multiset<std::string>{"new", "beta", "hidden", "mime in msg", "compound", "in0",
                                                      "in1", "out0"}));
    EXPECT_EQ(scanner_.filesTotal, 9u);
    EXPECT_EQ(scanner_.filesProcessed, 10u);
}

TEST_F(Scan, StopInSecondPassKeepsAndSortsWhatWasFound)
{
    scanner_.FindMSGFiles(Root(), nullptr, &info_, false, ftAll);
    const int pumpsOfOneScan = pumps_;
    scanner_.EmptyList();
    pumps_ = 0;
    // One pump per entry in each pass: stop after the first pass and two entries of the second.
    stopAtPump_ = pumpsOfOneScan / 2 + 2;
    scanner_.FindMSGFiles(Root(), nullptr, &info_, false, ftAll);
    EXPECT_LT(list_.size(), 3u);
    EXPECT_EQ(sorts_, 2);
    EXPECT_EQ(finishes_, 2);
    EXPECT_FALSE(ScanRunning);
}

TEST_F(Scan, StopEndsAStoreAfterTheCurrentRow)
{
    ScanRunning = true;
    stopAtPump_ = 1;  // the first store row's pump
    scanner_.AddFileToList(Utf8ToUtf16((dir_.path() / "sub" / "store.pst").string()), nullptr, &info_, mftPST, true,
                           false);
    EXPECT_EQ(list_.size(), 1u);
    EXPECT_TRUE(scanner_.stopStoreEnum);
}

TEST_F(Scan, AStoreThatCannotBeOpenedSaysSoToAWatchedWindowOnly)
{
    std::vector<std::uintptr_t> owners;
    SetMapiErrorBoxSink([&](ULONG_PTR owner, const WideString&, const WideString&) { owners.push_back(owner); });
    dir_.WriteFile("broken.pst", "this is text, not a store");
    const WideString path = Utf8ToUtf16((dir_.path() / "broken.pst").string());
    scanner_.AddFileToList(path, nullptr, &info_, mftPST, true, false);
    EXPECT_TRUE(owners.empty()) << "nobody watches: no box";
    scanner_.SetBoxOwner(7);
    scanner_.AddFileToList(path, nullptr, &info_, mftPST, true, true);
    EXPECT_TRUE(owners.empty()) << "the counting pass stays quiet";
    scanner_.AddFileToList(path, nullptr, &info_, mftPST, true, false);
    EXPECT_EQ(owners, std::vector<std::uintptr_t>{7});
    SetMapiErrorBoxSink(nullptr);
    EXPECT_TRUE(list_.empty());
}

TEST_F(Scan, SearchRejectingEverything)
{
    SearchEngine engine;
    engine.AddCriteria(std::make_shared<RejectAll>());
    scanner_.FindMSGFiles(Root(), &engine, &info_, true, ftAll);
    EXPECT_TRUE(list_.empty());
    EXPECT_EQ(finishes_, 1);
}

TEST(MatchFileType, ByExtensionWhenTheFilterTakesIt)
{
    const struct {
        const char16_t* path;
        FileTypeFilter filter;
        MessageFileType expected;
    } cases[] = {
        {u"/x/a.MSG", ftAll, mftMSG}, {u"/x/a.eml", ftAll, mftEML}, {u"/x/a.Pst", ftAll, mftPST},
        {u"/x/a.pst", ftMSG, mftUnknown}, {u"/x/a.msg", ftEML | ftPST, mftUnknown}, {u"/x/a.txt", ftAll, mftUnknown},
        {u"/x/msg", ftAll, mftUnknown},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchFileType(c.path, c.filter), c.expected) << Utf16ToUtf8(c.path);
}

}  // namespace
