// Walking every folder of a store and reading the list columns of every message, through the
// MAPI layer and the store Parts, against a bare libpff walk reading the same properties.
// The stores are the corpus's when present (QUILLORA_CORPUS_DIR or ../shared/corpus), plus
// generated ones. Prints last: "pst walk ratio vs libpff: R" (our CPU time / libpff's).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "PstBuilder.h"
#include "PstPeer.h"
#include "mapi/MapiSession.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string>& Stores() {
    static std::vector<std::string> stores;
    return stores;
}

MapiLibs& Libs() {
    static MapiLibs* libs = [] {
        auto* l = new MapiLibs();
        l->libraries = {{"Default", "mapi32.dll", false}};
        if (!l->Open(0)) std::abort();
        return l;
    }();
    return *libs;
}

void FindStores() {
    const char* env = std::getenv("QUILLORA_CORPUS_DIR");
    fs::path corpus = env && *env ? fs::path(env) : fs::path(QUILLORA_SOURCE_DIR) / ".." / "shared" / "corpus";
    std::error_code ec;
    if (fs::exists(corpus / "pst", ec))
        for (const auto& e : fs::recursive_directory_iterator(corpus / "pst", ec))
            if (e.path().extension() == ".pst") Stores().push_back(e.path().string());
    // A larger generated store: 12 folders of 250 messages.
    pstbuild::Store s;
    for (int f = 0; f < 12; ++f) {
        pstbuild::Folder folder{u"Folder " + std::u16string(1, static_cast<char16_t>(u'A' + f)), u"IPF.Note", {}, {}, ""};
        for (int m = 0; m < 250; ++m) {
            pstbuild::Message msg;
            msg.subject = u"Quarterly report draft number " + std::u16string(1, static_cast<char16_t>(u'a' + m % 26));
            msg.sender = u"Sender Name";
            msg.recipients = {{1, u"First Recipient", u"first@example.org"}, {2, u"Copy Recipient", u"copy@example.org"}};
            msg.body = u"Body text of the message.";
            folder.messages.push_back(msg);
        }
        s.folders.push_back(folder);
    }
    const fs::path generated = fs::temp_directory_path() / "quillora_bench_pst.pst";
    if (!pstbuild::WriteFile(s, generated.string())) std::abort();
    Stores().push_back(generated.string());
}

long OurWalk(const std::string& path) {
    MapiSession session;
    session.Open(Utf8ToUtf16(path), &Libs(), 0);
    if (!session.opened) return -1;
    long messages = 0;
    SPropTagArray cols{PR_SENDER_NAME_W, PR_SUBJECT_W, PR_MESSAGE_DELIVERY_TIME, PR_DISPLAY_TO_W, PR_DISPLAY_CC_W,
                       PR_MESSAGE_FLAGS};
    for (const mapi_TFolderInfo& f : *session.GetFolders()) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        if (session.GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object) != S_OK) continue;
        ComPtr<IMAPIFolder> folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> table;
        if (folder->GetContentsTable(0, table.put()) != S_OK) continue;
        SRowSetPtr rows;
        if (Libs().HrQueryAllRows(table.get(), &cols, nullptr, nullptr, 0, &rows) != S_OK) continue;
        for (const SRow& r : rows->aRow) benchmark::DoNotOptimize(r.lpProps.data());
        messages += static_cast<long>(rows->cRows());
    }
    return messages;
}

void BM_Ours(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& p : Stores()) benchmark::DoNotOptimize(OurWalk(p));
}

void BM_Libpff(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& p : Stores()) benchmark::DoNotOptimize(pstpeer::WalkListColumns(p));
}

class Collect : public benchmark::ConsoleReporter {
public:
    Collect() : ConsoleReporter(OO_Tabular) {}  // no colours, so the ratio line ends the output clean
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // CPU time of the walking thread, the best of the repetitions: the machine is shared,
        // and neither wall time nor a single run is ours alone.
        for (const Run& r : runs) {
            if (r.error_occurred || r.iterations == 0 || r.run_type != Run::RT_Iteration) continue;
            const std::string name = r.benchmark_name().substr(0, r.benchmark_name().find('/'));
            const double t = r.GetAdjustedCPUTime();
            if (!ms.count(name) || t < ms[name]) ms[name] = t;
        }
    }
};

}  // namespace

BENCHMARK(BM_Ours)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK(BM_Libpff)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    FindStores();
    long ours = 0, peer = 0;
    for (const std::string& p : Stores()) {
        ours += OurWalk(p);
        peer += pstpeer::WalkListColumns(p);
    }
    std::fprintf(stderr, "pst walk over %zu stores: %ld messages listed (libpff walk: %ld, all folders)\n", Stores().size(),
                 ours, peer);
    Collect reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double a = reporter.ms["BM_Ours"], b = reporter.ms["BM_Libpff"];
    if (a > 0 && b > 0)
        std::printf("pst walk ratio vs libpff: %.3f\n", a / b);
    else
        std::printf("pst walk ratio vs libpff: n/a\n");
    return 0;
}
