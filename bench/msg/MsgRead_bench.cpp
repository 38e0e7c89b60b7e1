// Reading .msg files into the property tree, against libgsf's own open and read of the same
// files. The files are the shared corpus when present (QUILLORA_CORPUS_DIR or ../shared/corpus),
// else generated ones. Prints last: "msg read ratio vs raw storage: R", the mean time of our
// read over libgsf's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <type_traits>
#include <variant>
#include <string>
#include <vector>

#include "message/CompressedRTF.h"
#include "message/MSGFile.h"
#include "platform/com/GsfRawWalk.h"
#include "platform/com/StructuredStorage.h"

namespace {

namespace fs = std::filesystem;

struct Sample {
    std::vector<std::string> paths;
    std::int64_t bytes = 0;
};

WideString Wide(const std::string& s) {
    WideString w;
    for (unsigned char c : s) w.push_back(c);  // the generated and corpus paths are ASCII
    return w;
}

void PutStream(IStorage* stg, const std::u16string& name, const std::string& data) {
    ComPtr<IStream> s;
    if (stg->CreateStream(name.c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, s.put()) != S_OK) std::abort();
    ULONG done = 0;
    s->Write(data.data(), static_cast<ULONG>(data.size()), &done);
}

std::u16string PropName(std::uint32_t tag) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "__substg1.0_%08X", tag);
    return Wide(buf);
}

std::string Utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// A note with a body, an RTF body, two recipients and an attachment.
void Generate(const std::string& path, int seed) {
    ComPtr<IStorage> root;
    if (StgCreateDocfile(Wide(path).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, root.put()) != S_OK) std::abort();
    std::string body;
    for (int i = 0; i < 200 + seed % 50; ++i) body += "Line " + std::to_string(i) + " of a generated message body.\r\n";
    std::string rtf = "{\\rtf1\\ansi " + body + "}";
    auto compressed = EncodeCompressedRTF({reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size()});
    std::string subject = "Generated message ";
    subject += std::to_string(seed);
    PutStream(root.get(), PropName(0x0037001F), Utf16(subject));
    PutStream(root.get(), PropName(0x1000001F), Utf16(body));
    PutStream(root.get(), PropName(0x10090102), std::string(compressed.begin(), compressed.end()));
    PutStream(root.get(), PropName(0x001A001F), Utf16("IPM.Note"));
    std::string fixed(32, '\0');
    PutStream(root.get(), u"__properties_version1.0", fixed);
    for (int r = 0; r < 2; ++r) {
        ComPtr<IStorage> recip;
        std::string recipName = "__recip_version1.0_#0000000";
        recipName += std::to_string(r);
        std::u16string name = Wide(recipName);
        root->CreateStorage(name.c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, recip.put());
        PutStream(recip.get(), u"__properties_version1.0", std::string(8, '\0'));
        std::string display = "Recipient ";
        display += std::to_string(r);
        PutStream(recip.get(), PropName(0x3001001F), Utf16(display));
        std::string address = std::to_string(r);
        address += "@example.test";
        PutStream(recip.get(), PropName(0x3003001F), Utf16(address));
    }
    ComPtr<IStorage> att;
    root->CreateStorage(u"__attach_version1.0_#00000000", STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, att.put());
    PutStream(att.get(), u"__properties_version1.0", std::string(8, '\0'));
    PutStream(att.get(), PropName(0x3707001F), Utf16("data.bin"));
    PutStream(att.get(), PropName(0x37010102), std::string(20000 + 1000 * (seed % 10), static_cast<char>(seed)));
    if (root->Commit(0) != S_OK) std::abort();
}

const Sample& Files() {
    static Sample sample = [] {
        Sample s;
        fs::path corpus;
        if (const char* env = std::getenv("QUILLORA_CORPUS_DIR")) corpus = env;
        else corpus = fs::path(QUILLORA_SOURCE_DIR) / ".." / "shared" / "corpus";
        if (fs::exists(corpus / "msg")) {
            for (const auto& e : fs::recursive_directory_iterator(corpus / "msg"))
                if (e.path().extension() == ".msg") s.paths.push_back(e.path().string());
            std::sort(s.paths.begin(), s.paths.end());
            std::printf("files: %zu .msg from the corpus\n", s.paths.size());
        } else {
            fs::path dir = fs::temp_directory_path() / "quillora-bench-msg";
            fs::create_directories(dir);
            for (int i = 0; i < 40; ++i) {
                std::string p = (dir / ("gen" + std::to_string(i))).string();
        p += ".msg";
                Generate(p, i);
                s.paths.push_back(p);
            }
            std::printf("files: %zu generated .msg\n", s.paths.size());
        }
        for (const auto& p : s.paths) s.bytes += static_cast<std::int64_t>(fs::file_size(p));
        return s;
    }();
    return sample;
}

// Reads every property of the tree: its tag, its value and its children.
std::size_t Touch(const TMSGProperties& c) {
    std::size_t n = 0;
    for (const auto& p : c) {
        n += p->TagID + static_cast<std::size_t>(p->DataSize);
        n += std::visit(
            [](const auto& v) -> std::size_t {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::u16string>)
                    return v.size();
                else
                    return sizeof v;
            },
            p->Value);
        n += Touch(p->SubProperties());
    }
    return n;
}

// Turns every property into the text the property view shows.
std::size_t Show(const TMSGProperties& c) {
    std::size_t n = 0;
    for (const auto& p : c) n += p->GetAsString().size() + Show(p->SubProperties());
    return n;
}

std::size_t OursOnce() {
    std::size_t n = 0;
    for (const auto& path : Files().paths) {
        TMSGFile msg;
        if (!msg.LoadFromFile(Wide(path))) std::abort();
        n += Touch(msg.GetProperties());
    }
    return n;
}

std::size_t PeerOnce() {
    std::size_t n = 0;
    for (const auto& path : Files().paths) n += static_cast<std::size_t>(GsfRawReadAllStreams(path));
    return n;
}

void SetCounters(benchmark::State& state) {
    const Sample& s = Files();
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(s.paths.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(s.bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MsgReadIntoPropertyTree(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(OursOnce());
    SetCounters(state);
}
BENCHMARK(BM_MsgReadIntoPropertyTree)->Unit(benchmark::kMillisecond);

void BM_GsfRawReadAllStreams(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(PeerOnce());
    SetCounters(state);
}
BENCHMARK(BM_GsfRawReadAllStreams)->Unit(benchmark::kMillisecond);

// Not part of the ratio: the text of every property, as the property view shows it.
void BM_MsgPropertyTexts(benchmark::State& state) {
    std::vector<std::unique_ptr<TMSGFile>> loaded;
    for (const auto& path : Files().paths) {
        loaded.push_back(std::make_unique<TMSGFile>());
        if (!loaded.back()->LoadFromFile(Wide(path))) std::abort();
    }
    for (auto _ : state)
        for (const auto& msg : loaded) benchmark::DoNotOptimize(Show(msg->GetProperties()));
    SetCounters(state);
}
BENCHMARK(BM_MsgPropertyTexts)->Unit(benchmark::kMillisecond);

// Keeps the mean real time of each benchmark for the ratio line.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& name) const {
        auto it = times_.find(name);
        return it == times_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Files();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ours = reporter.Time("BM_MsgReadIntoPropertyTree");
    const double peer = reporter.Time("BM_GsfRawReadAllStreams");
    if (ours > 0 && peer > 0) std::printf("msg read ratio vs raw storage: %.2f\n", ours / peer);
    return 0;
}
