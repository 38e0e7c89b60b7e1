// A body-text search over the generated folder of the scan benchmark, against the headers-only
// scan of the same folder in the same run; then a search over a generated store. Prints
// "search ratio vs scan: R" (the search reads every body, so R > 1 is expected).
// N: QUILLORA_BENCH_SCAN_N (default 10000); store messages: QUILLORA_BENCH_STORE_N (default 3000).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "PstBuilder.h"
#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "bench/scan/GeneratedFolder.h"
#include "search/SearchEngine.h"
#include "search/SearchRequest.h"
#include "ui/MessageScanner.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Run {
    double seconds = 0;
    std::size_t listed = 0;
};

Run Scan(const fs::path& folder, SearchEngine* engine)
{
    MessageAttrDeque list;
    MessageScanner scanner(list, {});
    const auto start = Clock::now();
    scanner.FindMSGFiles(Utf8ToUtf16(folder.string()), engine, nullptr, true, ftAll);
    Run run{std::chrono::duration<double>(Clock::now() - start).count(), list.size()};
    scanner.EmptyList();
    return run;
}

Run Best(const fs::path& folder, SearchEngine* engine)
{
    Run best{1e9, 0};
    for (int i = 0; i < 3; ++i) {
        const Run r = Scan(folder, engine);
        if (r.seconds < best.seconds) best = r;
    }
    return best;
}

}  // namespace

int main()
{
    int n = 10000, storeN = 3000;
    if (const char* env = std::getenv("QUILLORA_BENCH_SCAN_N")) n = std::max(2, std::atoi(env));
    if (const char* env = std::getenv("QUILLORA_BENCH_STORE_N")) storeN = std::max(1, std::atoi(env));
    LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR));
    RegisterUiStrings();
    const fs::path root = fs::temp_directory_path() / ("quillora-bench-search-" + std::to_string(::getpid()));
    // The store is mounted through our MAPI layer, which registers itself: not in this machine's
    // settings.
    ::setenv("QUILLORA_REGISTRY_DIR", (root / "registry").c_str(), 1);
    GenerateMessageFolder(root / "files", n);

    SearchRequest request;
    request.body = u"STATUS REVIEW";  // found in every body, without case
    const std::unique_ptr<SearchEngine> engine = CreateSearchEngine(request);
    Scan(root / "files", nullptr);  // warm the page cache
    const Run scan = Best(root / "files", nullptr);
    const Run search = Best(root / "files", engine.get());

    // Folders of a few hundred messages: the generator writes each table into one block.
    pstbuild::Store store;
    for (int i = 0; i < storeN; ++i) {
        if (i % 200 == 0) {
            store.folders.emplace_back();
            store.folders.back().name = u"Folder " + Utf8ToUtf16(std::to_string(i / 200));
        }
        pstbuild::Message m;
        m.subject = u"Stored message " + Utf8ToUtf16(std::to_string(i));
        m.sender = u"Sender";
        m.body = Utf8ToUtf16(benchfolder::Body(i));
        store.folders.back().messages.push_back(std::move(m));
    }
    fs::create_directories(root / "store");
    pstbuild::WriteFile(store, (root / "store" / "generated.pst").string());
    const Run storeScan = Best(root / "store", nullptr);
    const Run storeSearch = Best(root / "store", engine.get());
    fs::remove_all(root);

    std::printf("scan of %d files: %.3f s (%zu listed); body search: %.3f s (%zu found)\n", n, scan.seconds,
                scan.listed, search.seconds, search.listed);
    std::printf("store of %d messages: scan %.3f s (%zu listed); body search %.3f s (%zu found)\n", storeN,
                storeScan.seconds, storeScan.listed, storeSearch.seconds, storeSearch.listed);
    std::printf("search ratio vs scan: %.2f\n", search.seconds / scan.seconds);
    return search.listed == static_cast<std::size_t>(n) && storeSearch.listed == static_cast<std::size_t>(storeN) ? 0 : 1;
}
