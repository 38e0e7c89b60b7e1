// Memory of the message list: N records listed as the folder scan lists them (headers only),
// read from a generated folder of F files (half .eml, half .msg) that are listed over and over,
// against the same list empty, in one run. Then D of the records are displayed in turn, as a
// user stepping down the list does: what the displays leave behind must not grow with D.
// Prints "list memory per message: N KB" (resident growth over N) and the display lines.
// N: QUILLORA_BENCH_MEMORY_N (default 100000); F: 400; D: 1000.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "bench/scan/GeneratedFolder.h"
#include "message/MessageAttr.h"
#include "message/ViewEmpty.h"
#include "platform/win/WinString.h"
#include "ui/MessageScanner.h"

namespace {

namespace fs = std::filesystem;

// Resident bytes of the process, after freed memory went back to the system.
double ResidentKB()
{
    ::malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1024.0;
}

std::vector<fs::path> FilesOf(const fs::path& folder)
{
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main()
{
    int n = 100000;
    if (const char* env = std::getenv("QUILLORA_BENCH_MEMORY_N")) n = std::max(1000, std::atoi(env));
    constexpr int kFiles = 400;
    constexpr int kDisplayed = 1000;
    LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR));
    RegisterUiStrings();
    const fs::path root = fs::temp_directory_path() / ("quillora-bench-memory-" + std::to_string(::getpid()));
    GenerateMessageFolder(root, kFiles);
    std::vector<WideString> paths;
    std::vector<MessageFileType> types;
    for (const fs::path& p : FilesOf(root)) {
        paths.push_back(Utf8ToUtf16(p.string()));
        types.push_back(p.extension() == ".msg" ? mftMSG : mftEML);
    }

    MessageAttrDeque list;
    MessageScanner scanner(list, {});
    // One record of each kind listed and shown first, so that one-time set-up is not counted.
    for (std::size_t i = 0; i < 2; ++i) scanner.AddFileToList(paths[i], nullptr, nullptr, types[i], true, false);
    ViewEmpty view;
    for (TMessageAttr* m : list) m->Display(view, true);
    scanner.EmptyList();
    const double empty = ResidentKB();

    for (int i = 0; i < n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i) % paths.size();
        scanner.AddFileToList(paths[k], nullptr, nullptr, types[k], true, false);
    }
    const double listed = ResidentKB();
    const double perMessage = (listed - empty) / n;

    // Displays: the growth from the first tenth to all of them, per message shown. Each reading
    // is taken twice: with the recent full loads held, and with them given back, which leaves
    // what the displays left behind whichever messages the recent loads happen to be.
    const auto leftBehind = [&list](int shown) {
        for (int i = std::max(0, shown - static_cast<int>(TMessageAttr::kRecentFullLoads)); i < shown; ++i)
            list[static_cast<std::size_t>(i)]->ReleaseFullLoad();
        return ResidentKB();
    };
    double heldTenth = 0;
    double afterTenth = 0;
    for (int i = 0; i < kDisplayed && i < static_cast<int>(list.size()); ++i) {
        list[static_cast<std::size_t>(i)]->Display(view, false);
        if (i + 1 == kDisplayed / 10) {
            heldTenth = ResidentKB();
            afterTenth = leftBehind(i + 1);
        }
    }
    const double heldAll = ResidentKB();
    const double afterAll = leftBehind(kDisplayed);
    const std::size_t count = list.size();
    scanner.EmptyList();
    fs::remove_all(root);

    std::printf("display growth now read with the recent full loads given back at both readings (their messages "
                "differ in size between the readings)\n");
    std::printf("list of %d records from %zu generated files (%zu listed); resident %.0f KB empty, %.0f KB listed\n", n,
                paths.size(), count, empty, listed);
    std::printf("display of %d listed messages in turn: resident %.0f KB after %d, %.0f KB after %d; with the recent "
                "full loads given back %.0f KB and %.0f KB\n",
                kDisplayed, heldTenth, kDisplayed / 10, heldAll, kDisplayed, afterTenth, afterAll);
    std::printf("display memory growth per message: %.2f KB\n", (afterAll - afterTenth) / (kDisplayed - kDisplayed / 10));
    std::printf("list memory per message: %.2f KB\n", perMessage);
    return count == static_cast<std::size_t>(n) ? 0 : 1;
}
