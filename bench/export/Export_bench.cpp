// The command-line export of a generated folder of messages to TXT, PDF and PNG, against the
// bare rendering of the same messages into PDF files (load, render, save: what the export adds
// to is only its naming, reservation, report and clean-up). Prints
// "export pdf ratio vs render-only: R" (the export's time over the rendering's) and the peak
// memory after N and after 4N more messages, which must stay flat.
// N: QUILLORA_BENCH_EXPORT_N (default 200).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>

#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "message/MessageEML.h"
#include "output/HDCAdapter.h"
#include "output/MessageRender.h"
#include "output/export/CmdLineExport.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/PdfDocument.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char kPng[] =
    "iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAEElEQVR4nGP4z8AARAwQCgAf7gP9i18U1AAAAABJRU5ErkJggg==";

std::string Words(std::mt19937& rng, size_t bytes)
{
    static const char* const words[] = {"quarterly", "status", "budget", "review", "meeting", "project", "the", "and"};
    std::string out;
    while (out.size() < bytes) {
        out += words[rng() % 8];
        out += out.size() % 70 < 8 ? "\r\n" : " ";
    }
    return out;
}

// 40% plain text of 2-20 KB, 40% HTML with a table, an inline picture and text in UTF-8,
// ISO-8859-1 and GB2312, 20% with 1-3 small attachments.
std::string Message(int i, std::mt19937& rng)
{
    std::string head = "From: Sender " + std::to_string(i) + " <s" + std::to_string(i) +
                       "@example.com>\r\nTo: Bob <bob@example.com>\r\nSubject: Message " + std::to_string(i) +
                       "\r\nDate: Tue, 15 Nov 1994 08:12:31 +0000\r\nMIME-Version: 1.0\r\n";
    const int kind = i % 5;
    if (kind < 2)
        return head + "Content-Type: text/plain; charset=us-ascii\r\n\r\n" + Words(rng, 2048 + rng() % 18432);
    if (kind < 4) {
        std::string rows;
        for (int r = 0; r < 15; ++r) rows += "<tr><td>row " + std::to_string(r) + "</td><td>caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87</td></tr>";
        return head +
               "Content-Type: multipart/related; boundary=\"r\"\r\n\r\n--r\r\nContent-Type: text/html; charset=utf-8\r\n\r\n"
               "<html><body><h2>Report</h2><table border=1>" + rows + "</table><img src=\"cid:pic1\"><p>" +
               Words(rng, 3000) + "</p></body></html>\r\n--r\r\nContent-Type: text/plain; charset=iso-8859-1\r\n\r\n"
               "caf\xE9\r\n--r\r\nContent-Type: text/plain; charset=gb2312\r\n\r\n\xD6\xD0\xCE\xC4\r\n"
               "--r\r\nContent-Type: image/png\r\nContent-ID: <pic1>\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
               kPng + "\r\n--r--\r\n";
    }
    std::string parts = "Content-Type: multipart/mixed; boundary=\"m\"\r\n\r\n--m\r\nContent-Type: text/plain\r\n\r\n" +
                        Words(rng, 4000) + "\r\n";
    for (int a = 0; a < 1 + i % 3; ++a)
        parts += "--m\r\nContent-Type: text/plain; name=\"file" + std::to_string(a) +
                 ".txt\"\r\nContent-Disposition: attachment; filename=\"file" + std::to_string(a) + ".txt\"\r\n\r\n" +
                 Words(rng, 1000) + "\r\n";
    return head + parts + "--m--\r\n";
}

fs::path Generate(const fs::path& folder, int n)
{
    fs::create_directories(folder);
    std::mt19937 rng(42);
    for (int i = 0; i < n; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "m%05d.eml", i);
        std::ofstream(folder / name, std::ios::binary) << Message(i, rng);
    }
    return folder;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

long PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Export(const fs::path& in, const fs::path& out, const char* format, const char* options)
{
    const auto start = Clock::now();
    const int status = cmdLineExport({"bench", "+EXPORT=" + in.string() + "," + out.string() + "," + format + "," + options + ","},
                                     CreateHtmlConverter());
    const double s = Seconds(start);
    if (status != 0) std::printf("export %s %s: status %d\n", format, options, status);
    return s;
}

// Load, render and save each message as a PDF of its own: the printing road, nothing more.
double RenderOnly(const fs::path& in, const fs::path& out)
{
    fs::create_directories(out);
    auto converter = CreateHtmlConverter();
    auto pdf = CreatePdfDocument();
    const auto start = Clock::now();
    int i = 0;
    for (const auto& e : fs::directory_iterator(in)) {
        MessageEML m;
        if (!m.LoadFromFile(Utf8ToUtf16(e.path().string()), false)) continue;
        pdf->Clear();
        PDF_HDCAdapter device(pdf);
        MessageRender render;
        render.RenderToDC(m, device, *converter, 1);
        pdf->SaveToFile(Utf8ToUtf16((out / ("r" + std::to_string(i++) + ".pdf")).string()));
    }
    return Seconds(start);
}

}  // namespace

int main()
{
    int n = 200;
    if (const char* env = std::getenv("QUILLORA_BENCH_EXPORT_N")) n = std::max(1, std::atoi(env));
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR));
    RegisterUiStrings();
    const fs::path root = fs::temp_directory_path() / ("quillora-bench-export-" + std::to_string(::getpid()));
    const fs::path in = Generate(root / "in", n);

    Export(in, root / "warm", "txt", "");  // fonts and first-use costs
    const double render = RenderOnly(in, root / "render");
    const double pdf = Export(in, root / "pdf", "pdf", "");
    const long peakN = PeakKb();
    // Memory before the image export, whose tall bitmaps would hide any growth.
    const fs::path big = Generate(root / "in4", 4 * n);
    Export(big, root / "pdf4", "pdf", "");
    const long peak4N = PeakKb();
    const double txt = Export(in, root / "txt", "txt", "");
    const double pdfAF = Export(in, root / "pdfAF", "pdf", "AF");
    const double png = Export(in, root / "png", "png", "");
    std::printf("messages: %d\n", n);
    std::printf("render-only pdf: %.1f ms/message\n", 1000 * render / n);
    std::printf("export txt: %.1f ms/message\n", 1000 * txt / n);
    std::printf("export pdf: %.1f ms/message, with AF: %.1f ms/message\n", 1000 * pdf / n, 1000 * pdfAF / n);
    std::printf("export png: %.1f ms/message\n", 1000 * png / n);
    std::printf("peak memory of the pdf export after %d messages: %ld KB, after %d more: %ld KB\n", n, peakN, 4 * n,
                peak4N);
    std::printf("export pdf ratio vs render-only: %.2f\n", pdf / render);
    std::error_code error;
    fs::remove_all(root, error);
    return 0;
}
