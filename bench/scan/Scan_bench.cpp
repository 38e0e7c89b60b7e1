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
#include <unistd.h>
#include <vector>

#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "message/MSGFile.h"
#include "message/MSGWriter.h"
#include "platform/win/WinString.h"
#include "ui/MessageScanner.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void Wide(TMSGProperties& c, std::uint32_t tag, const std::u16string& text)
{
    TMSGProperty& p = c.Add();
    p.TagID = tag;
    p.Value = text;
    p.DataSize = static_cast<std::int32_t>(text.size() * 2);
}

std::string Body(int i)
{
    std::string out;
    while (out.size() < 2000 + static_cast<size_t>(i % 7) * 500) out += "quarterly status review of the project ";
    return out;
}

void Generate(const fs::path& folder, int n)
{
    fs::create_directories(folder / "sub");
    for (int i = 0; i < n; ++i) {
        const fs::path dir = i % 10 == 0 ? folder / "sub" : folder;
        char name[32];
        if (i % 2 == 0) {
            std::snprintf(name, sizeof name, "m%05d.eml", i);
            std::ofstream(dir / name, std::ios::binary)
                << "From: Sender " << i << " <s" << i << "@example.com>\r\nTo: Bob <bob@example.com>\r\n"
                << "Subject: Message " << i << "\r\nDate: Tue, 15 Nov 2022 08:12:31 +0000\r\nMIME-Version: 1.0\r\n"
                << "Content-Type: text/plain; charset=utf-8\r\n\r\n" << Body(i) << "\r\n";
        } else {
            std::snprintf(name, sizeof name, "m%05d.msg", i);
            TMSGFile m;
            TMSGProperties& root = m.GetProperties();
            Wide(root, 0x0037001F, u"Message " + Utf8ToUtf16(std::to_string(i)));
            Wide(root, 0x0042001F, u"Sender");
            Wide(root, 0x0E04001F, u"Bob");
            Wide(root, 0x1000001F, Utf8ToUtf16(Body(i)));
            SaveToMsgFile(m, Utf8ToUtf16((dir / name).string()), true);
        }
    }
}

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
    Generate(root, n);
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
