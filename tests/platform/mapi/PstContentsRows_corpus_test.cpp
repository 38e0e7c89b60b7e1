// The contents tables of the corpus stores (8-bit and Unicode) against their messages.
#include <filesystem>

#include "ContentsRowsCheck.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(PstContentsRowsCorpus, EveryStoreListsAsItsMessagesRead) {
    QUILLORA_REQUIRE_CORPUS();
    const std::filesystem::path dir = testsupport::CorpusDir() / "pst";
    int stores = 0, messages = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (e.path().extension() != ".pst") continue;
        SCOPED_TRACE(e.path().string());
        messages += contentscheck::CheckStore(e.path().string()).messages;
        ++stores;
    }
    EXPECT_GT(stores, 0);
    EXPECT_GT(messages, 0);
}

}  // namespace
