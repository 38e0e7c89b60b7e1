// The folder scan over a generated folder of N messages (half .eml, half .msg written by our
// compound-file writer), headers only, against reading the same files' bytes. Prints
// "folder scan ratio vs raw read: R" (the scan's time over the reads').
// N: QUILLORA_BENCH_SCAN_N (default 10000).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <vector>

#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "bench/scan/GeneratedFolder.h"
#include "platform/win/WinString.h"
#include "ui/MessageScanner.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The peer: every file of the folder and its subfolders read whole.
double ReadAll(const fs::path& folder, std::size_t& bytes)
{
    const auto start = Clock::now();
    std::vector<char> buffer;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        buffer.assign(std::istreambuf_iterator<char>(in), {});
        bytes += buffer.size();
    }
    return Seconds(start);
}

double Scan(const fs::path& folder, std::size_t& listed)
{
    MessageAttrDeque list;
    MessageScanner scanner(list, {});
    const auto start = Clock::now();
    scanner.FindMSGFiles(Utf8ToUtf16(folder.string()), nullptr, nullptr, true, ftAll);
    const double s = Seconds(start);
    listed = list.size();
    scanner.EmptyList();
    return s;
}

}  // namespace

int main()
{
    int n = 10000;
    if (const char* env = std::getenv("QUILLORA_BENCH_SCAN_N")) n = std::max(2, std::atoi(env));
    LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR));
    RegisterUiStrings();
    const fs::path root = fs::temp_directory_path() / ("quillora-bench-scan-" + std::to_string(::getpid()));
    GenerateMessageFolder(root, n);
    std::size_t bytes = 0, listed = 0;
    ReadAll(root, bytes);  // warm the page cache for both sides
    double scan = 1e9, read = 1e9;
    for (int run = 0; run < 3; ++run) {
        bytes = 0;
        read = std::min(read, ReadAll(root, bytes));
        scan = std::min(scan, Scan(root, listed));
    }
    fs::remove_all(root);
    std::printf("scan of %d files (%zu listed, %.1f MB): %.3f s; raw read %.3f s\n", n, listed, bytes / 1e6, scan, read);
    std::printf("folder scan ratio vs raw read: %.2f\n", scan / read);
    return listed == static_cast<std::size_t>(n) ? 0 : 1;
}
