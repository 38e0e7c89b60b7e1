// Reading RTF bodies into documents, against `unrtf --html` on the same files. The files are
// the RTF bodies of the shared corpus when present (QUILLORA_CORPUS_DIR or ../shared/corpus),
// else generated ones. Prints last: "rtf read ratio vs unrtf: R" (our time / unrtf's).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QGuiApplication>

#include "platform/vcl/richtext/RichTextDocument.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Files {
    std::vector<fs::path> paths;
    std::vector<std::string> contents;
    std::size_t bytes = 0;
};

// A body like a mailer writes: a font and colour table, formatted paragraphs, a table.
std::string GeneratedBody(int paragraphs) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
                      "{\\colortbl;\\red0\\green0\\blue255;}\\uc1\\pard\\f0\\fs20 ";
    for (int i = 0; i < paragraphs; ++i) {
        rtf += "Paragraph " + std::to_string(i) + " with {\\b bold}, {\\i italic} and {\\cf1\\ul link} text, caf\\'e9 "
               "\\u8364? and more words to fill a line of a message body.\\par\n";
        if (i % 20 == 19)
            rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl cell a\\cell cell b\\cell\\row\\pard\n";
    }
    return rtf + "}";
}

const Files& TheFiles() {
    static const Files files = [] {
        Files f;
        fs::path corpus;
        if (const char* env = std::getenv("QUILLORA_CORPUS_DIR")) corpus = env;
        else corpus = fs::path(QUILLORA_SOURCE_DIR) / ".." / "shared" / "corpus";
        std::error_code ec;
        if (fs::is_directory(corpus / "msg", ec))
            for (const auto& e : fs::recursive_directory_iterator(corpus / "msg", ec))
                if (e.is_regular_file() && e.path().extension() == ".rtf") f.paths.push_back(e.path());
        if (!f.paths.empty()) {
            std::sort(f.paths.begin(), f.paths.end());
            std::printf("files: %zu .rtf from the corpus\n", f.paths.size());
        } else {
            const fs::path dir = fs::temp_directory_path() / "quillora-bench-rtf";
            fs::create_directories(dir);
            for (int n : {5, 20, 80, 320, 1280}) {
                const fs::path p = dir / ("body" + std::to_string(n) + ".rtf");
                std::ofstream(p, std::ios::binary) << GeneratedBody(n);
                f.paths.push_back(p);
            }
            std::printf("files: %zu generated .rtf\n", f.paths.size());
        }
        for (const fs::path& p : f.paths) {
            std::ifstream in(p, std::ios::binary);
            f.contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            f.bytes += f.contents.back().size();
        }
        return f;
    }();
    return files;
}

std::size_t OursOnce() {
    std::size_t chars = 0;
    for (const std::string& rtf : TheFiles().contents) {
        richtext::RichTextDocument doc;
        doc.LoadRtf(rtf);
        chars += static_cast<std::size_t>(doc.TextLength());
    }
    return chars;
}

// unrtf --html FILE > /dev/null, once per file.
int PeerOnce() {
    int failures = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (const fs::path& p : TheFiles().paths) {
        std::string file = p.string();
        char program[] = "unrtf", html[] = "--html";
        char* argv[] = {program, html, file.data(), nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, "unrtf", &actions, nullptr, argv, environ) != 0) {
            ++failures;
            continue;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    return failures;
}

void SetCounters(benchmark::State& state) {
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(TheFiles().paths.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(TheFiles().bytes) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

void BM_RtfReadIntoDocument(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(OursOnce());
    SetCounters(state);
}
BENCHMARK(BM_RtfReadIntoDocument)->Unit(benchmark::kMillisecond);

void BM_UnrtfHtml(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(PeerOnce());
    SetCounters(state);
}
BENCHMARK(BM_UnrtfHtml)->Unit(benchmark::kMillisecond);

// The best of several interleaved runs of each, so that both see the same machine load.
double Ratio() {
    using Clock = std::chrono::steady_clock;
    double ours = 1e300, peer = 1e300;
    for (int round = 0; round < 7; ++round) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(OursOnce());
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(PeerOnce());
        const auto t2 = Clock::now();
        ours = std::min(ours, std::chrono::duration<double>(t1 - t0).count());
        peer = std::min(peer, std::chrono::duration<double>(t2 - t1).count());
    }
    return ours / peer;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TheFiles();
    if (PeerOnce() != 0) std::printf("note: unrtf failed on some files\n");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("rtf read ratio vs unrtf: %.2f\n", Ratio());
    return 0;
}
