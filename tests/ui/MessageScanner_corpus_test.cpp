// The folder scan over the shared corpus: every message file is listed once, and every store
// lists the messages of its folders.
#include <filesystem>
#include <map>
#include <set>

#include "app/UiStrings.h"
#include "mapi/MapiLibs.h"
#include "mapi/MapiSession.h"
#include "mapi/StoreMessageList.h"
#include "message/MessageAttr.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "ui/MessageScanner.h"

namespace {

namespace fs = std::filesystem;

TEST(ScanCorpus, ListsEveryMessageFileAndEveryStoreMessage)
{
    const fs::path corpus = testsupport::CorpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no corpus";
    testsupport::ScopedRegistry registry;
    RegisterUiStrings();
    ScanRunning = false;
    MessageAttrDeque list;
    MessageScanner scanner(list, {});
    scanner.FindMSGFiles(Utf8ToUtf16(corpus.string()), nullptr, nullptr, true, ftAll);

    std::multiset<std::string> listedFiles;
    std::map<std::string, int> storeRows;
    for (TMessageAttr* m : list) {
        const std::string path = Utf16ToUtf8(m->fileName);
        if (m->GetType() == mftPST) ++storeRows[path];
        else listedFiles.insert(path);
    }
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(corpus)) {
        const std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || e.file_size() == 0) continue;
        if (ext == ".msg" || ext == ".eml") {
            ++files;
            EXPECT_LE(listedFiles.count(e.path().string()), 1u) << e.path();
        } else if (ext == ".pst") {
            // The same store walked on its own gives as many messages as the scan listed.
            auto session = std::make_shared<MapiSession>();
            ASSERT_TRUE(EnsureMapi());
            session->Open(Utf8ToUtf16(e.path().string()), &MapiLibs::get(), 0);
            std::vector<std::unique_ptr<TMessageAttr>> own;
            if (session->opened) PST_EnumAllMessages(session, Utf8ToUtf16(e.path().string()), own);
            EXPECT_EQ(storeRows[e.path().string()], static_cast<int>(own.size())) << e.path();
        }
    }
    // A file that does not load as a message is skipped; nearly all of the corpus loads.
    EXPECT_GE(static_cast<int>(listedFiles.size()), files * 9 / 10);
    scanner.EmptyList();
}

}  // namespace
