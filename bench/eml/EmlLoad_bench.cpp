// Loading .eml files into message records, headers only and in full, against GMime's bare
// parse of the same files. The files are the shared corpus when present (QUILLORA_CORPUS_DIR or
// ../shared/corpus), else generated ones. Prints last: "eml load ratio vs gmime: R", the mean
// time of our full load over GMime's parse.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/SupportLibrary.h"
#include "message/MessageEML.h"
#include "platform/mime/MimeParsePeer.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

struct Sample {
    std::vector<std::string> paths;
    std::vector<WideString> widePaths;
    std::int64_t bytes = 0;
};

// A mixed message: plain and HTML alternatives, an inline picture and a base64 attachment.
void Generate(const fs::path& path, int seed)
{
    std::string text = "From: Sender " + std::to_string(seed) + " <sender@example.test>\r\n"
                       "To: =?UTF-8?B?w4lsb2TDqWU=?= <to@example.test>, other@example.test\r\n"
                       "Subject: Generated message " + std::to_string(seed) + "\r\n"
                       "Date: Tue, 15 Nov 2022 08:12:31 +0530\r\n"
                       "MIME-Version: 1.0\r\n"
                       "Content-Type: multipart/mixed; boundary=\"m\"\r\n\r\n"
                       "--m\r\nContent-Type: multipart/alternative; boundary=\"a\"\r\n\r\n"
                       "--a\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n";
    for (int i = 0; i < 150 + seed % 50; ++i) text += "Line " + std::to_string(i) + " of the body, caf=C3=A9.\r\n";
    text += "--a\r\nContent-Type: text/html; charset=utf-8\r\n\r\n<html><body>";
    for (int i = 0; i < 150; ++i) text += "<p>Line " + std::to_string(i) + "</p>";
    text += "<img src=\"cid:pic@x\"></body></html>\r\n--a--\r\n"
            "--m\r\nContent-Type: image/png\r\nContent-ID: <pic@x>\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    const std::string line(76, 'A');
    for (int i = 0; i < 200 + 20 * (seed % 10); ++i) text += line + "\r\n";
    text += "--m\r\nContent-Type: application/pdf; name=\"report.pdf\"\r\nContent-Disposition: attachment; "
            "filename=\"report.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    for (int i = 0; i < 400; ++i) text += line + "\r\n";
    text += "--m--\r\n";
    std::ofstream(path, std::ios::binary) << text;
}

const Sample& Files()
{
    static Sample sample = [] {
        Sample s;
        fs::path corpus;
        if (const char* env = std::getenv("QUILLORA_CORPUS_DIR")) corpus = env;
        else corpus = fs::path(QUILLORA_SOURCE_DIR) / ".." / "shared" / "corpus";
        if (fs::exists(corpus)) {
            for (const auto& e : fs::recursive_directory_iterator(corpus))
                if (e.is_regular_file() && e.path().extension() == ".eml") s.paths.push_back(e.path().string());
            std::sort(s.paths.begin(), s.paths.end());
            std::printf("files: %zu .eml from the corpus\n", s.paths.size());
        }
        if (s.paths.empty()) {
            const fs::path dir = fs::temp_directory_path() / "quillora-bench-eml";
            fs::create_directories(dir);
            for (int i = 0; i < 60; ++i) {
                const fs::path p = dir / ("gen" + std::to_string(i) + ".eml");
                Generate(p, i);
                s.paths.push_back(p.string());
            }
            std::printf("files: %zu generated .eml\n", s.paths.size());
        }
        for (const auto& p : s.paths) {
            s.widePaths.push_back(Utf8ToUtf16(p));
            s.bytes += static_cast<std::int64_t>(fs::file_size(p));
        }
        return s;
    }();
    return sample;
}

std::size_t OursOnce(bool headersOnly)
{
    std::size_t n = 0;
    for (const WideString& path : Files().widePaths) {
        MessageEML message;
        if (!message.LoadFromFile(path, headersOnly)) std::abort();
        n += message.subject.size() + message.plainBody.size() + message.htmlBody.size() + message.attachments.size();
    }
    return n;
}

std::size_t PeerOnce()
{
    std::size_t n = 0;
    for (const std::string& path : Files().paths) n += GMimeBareParse(path) ? 1 : 0;
    return n;
}

void SetCounters(benchmark::State& state)
{
    const Sample& s = Files();
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(s.paths.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(s.bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_EmlLoadHeadersOnly(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(OursOnce(true));
    SetCounters(state);
}
BENCHMARK(BM_EmlLoadHeadersOnly)->Unit(benchmark::kMillisecond);

void BM_EmlLoadFull(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(OursOnce(false));
    SetCounters(state);
}
BENCHMARK(BM_EmlLoadFull)->Unit(benchmark::kMillisecond);

void BM_GMimeBareParse(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(PeerOnce());
    SetCounters(state);
}
BENCHMARK(BM_GMimeBareParse)->Unit(benchmark::kMillisecond);

// Keeps the mean real time of each benchmark for the ratio line.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& name) const
    {
        auto it = times_.find(name);
        return it == times_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // Charsets are converted by the support library, as in the program.
    if (LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)) != 1) std::printf("support library not loaded\n");
    Files();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ours = reporter.Time("BM_EmlLoadFull");
    const double peer = reporter.Time("BM_GMimeBareParse");
    if (ours > 0 && peer > 0) std::printf("eml load ratio vs gmime: %.2f\n", ours / peer);
    else std::printf("eml load ratio vs gmime: n/a\n");
    return 0;
}
