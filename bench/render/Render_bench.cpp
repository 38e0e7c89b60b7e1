// Message bodies laid out and drawn onto PDF pages: our HTML converter with the metafile placer,
// against the toolkit's own rich-text document drawing the same HTML onto the same kind of PDF
// device, page by page. The bodies are the HTML of the shared corpus's .eml and .msg files
// (plain bodies as preformatted text), else generated pages. Prints last:
// "html render ratio vs qtextdocument: R", our mean time over the peer's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <QPainter>
#include <QTextDocument>

#include "app/SupportLibrary.h"
#include "message/MessageMSG.h"
#include "output/EMFPrinter.h"
#include "output/HDCAdapter.h"
#include "output/IRenderer.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/HtmlSource.h"
#include "platform/outside/PdfDocument.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDpi = 300;
constexpr double kPageWidthMm = 210, kPageHeightMm = 297;

struct Body {
    std::string html;  // UTF-8
    fs::path file;     // the same page written out, for the converter
};

const fs::path& Folder()
{
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / "quillora-bench-render";
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

std::string HtmlOf(const fs::path& path)
{
    if (path.extension() == ".msg") {
        MessageMSG m;
        if (!m.LoadFromFile(Utf8ToUtf16(path.string()), false)) return {};
        if (m.bodyIsHtml) return Utf16ToUtf8(m.htmlBody);
        return "<html><body><pre>" + Utf16ToUtf8(EscapeHtmlText(m.plainBody)) + "</pre></body></html>";
    }
    THtmlSource source;
    std::string error;
    return LoadHtmlSource(path.string(), "", source, error) ? source.html : std::string();
}

const std::vector<Body>& Bodies()
{
    static const std::vector<Body> bodies = [] {
        std::vector<fs::path> paths;
        fs::path corpus;
        if (const char* env = std::getenv("QUILLORA_CORPUS_DIR")) corpus = env;
        else corpus = fs::path(QUILLORA_SOURCE_DIR) / ".." / "shared" / "corpus";
        if (fs::exists(corpus))
            for (const auto& e : fs::recursive_directory_iterator(corpus))
                if (e.is_regular_file() && (e.path().extension() == ".eml" || e.path().extension() == ".msg"))
                    paths.push_back(e.path());
        std::sort(paths.begin(), paths.end());
        std::vector<Body> out;
        for (const fs::path& p : paths) {
            std::string html = HtmlOf(p);
            if (!html.empty()) out.push_back(Body{std::move(html), {}});
        }
        if (out.empty()) {
            for (int i = 0; i < 40; ++i) {
                std::string html = "<html><body><h2>Generated " + std::to_string(i) + "</h2><table border=1>";
                for (int r = 0; r < 20 + i; ++r) html += "<tr><td>row " + std::to_string(r) + "</td><td><b>caf\xC3\xA9</b></td></tr>";
                html += "</table><p>" + std::string(2000, 'x') + "</p></body></html>";
                out.push_back(Body{std::move(html), {}});
            }
            std::printf("bodies: %zu generated pages\n", out.size());
        } else {
            std::printf("bodies: %zu from the corpus\n", out.size());
        }
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i].file = Folder() / ("body" + std::to_string(i) + ".html");
            std::ofstream(out[i].file, std::ios::binary) << "\xEF\xBB\xBF" << out[i].html;
        }
        return out;
    }();
    return bodies;
}

// Ours: each body laid out by the converter and placed on the PDF document's pages.
int OursOnce()
{
    auto pdf = CreatePdfDocument(TPdfPageSetup{kPageWidthMm, kPageHeightMm, kDpi});
    auto converter = CreateHtmlConverter();
    PDF_HDCAdapter device(pdf);
    const int pageWidth = static_cast<int>(device.GetPageWidth() * 96.0 / kDpi);
    int placed = 0;
    for (const Body& body : Bodies()) {
        HENHMETAFILE picture = nullptr;
        long dpiX = 0, dpiY = 0;
        if (FAILED(converter->ConvertToEMF(u"file:///" + body.file.u16string(), u"", picture, pageWidth, 0, dpiX, dpiY)))
            continue;
        if (EMFPrinter::printMetaFile(device, picture, dpiX, dpiY, 0, 50, 50, 50, 50) >= 0) ++placed;
        DeleteEnhMetaFile(picture);
        device.NewPage();
    }
    pdf->SaveToFile((Folder() / "ours.pdf").u16string());
    return placed;
}

// The peer: the toolkit's rich-text document at the same width, drawn a page at a time onto a
// PDF context of the same size and resolution.
int PeerOnce()
{
    const fs::path file = Folder() / "peer.pdf";
    HDC dc = CreatePdfDCW(file.u16string().c_str(), kPageWidthMm, kPageHeightMm, kDpi);
    DOCINFOW info;
    StartDocW(dc, &info);
    StartPage(dc);
    QPainter* painter = PainterOfDC(dc);
    const double scale = kDpi / 96.0;
    const double pageWidth = GetDeviceCaps(dc, HORZRES) / scale, pageHeight = GetDeviceCaps(dc, VERTRES) / scale;
    int placed = 0;
    for (const Body& body : Bodies()) {
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(body.html.data(), static_cast<qsizetype>(body.html.size())));
        doc.setTextWidth(pageWidth - 100);
        const double height = doc.size().height();
        for (double top = 0; top < height; top += pageHeight - 100) {
            painter->save();
            painter->scale(scale, scale);
            painter->translate(50, 50 - top);
            doc.drawContents(painter, QRectF(0, top, pageWidth - 100, pageHeight - 100));
            painter->restore();
            EndPage(dc);
            StartPage(dc);
        }
        ++placed;
    }
    EndDoc(dc);
    DeleteDC(dc);
    return placed;
}

void BM_ConverterToPdf(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(OursOnce());
    state.counters["bodies/s"] = benchmark::Counter(static_cast<double>(Bodies().size()),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ConverterToPdf)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentToPdf(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(PeerOnce());
    state.counters["bodies/s"] = benchmark::Counter(static_cast<double>(Bodies().size()),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_QTextDocumentToPdf)->Unit(benchmark::kMillisecond);

// Keeps the mean real time of each benchmark for the ratio line.
class Times : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    if (LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)) != 1) std::printf("support library not loaded\n");
    Bodies();
    Times reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ours = reporter.times["BM_ConverterToPdf"], peer = reporter.times["BM_QTextDocumentToPdf"];
    if (ours > 0 && peer > 0) std::printf("html render ratio vs qtextdocument: %.2f\n", ours / peer);
    else std::printf("html render ratio vs qtextdocument: n/a\n");
    std::error_code error;
    fs::remove_all(Folder(), error);
    return 0;
}
