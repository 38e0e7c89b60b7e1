// The regex engine against PCRE2 (16-bit interpreter, no JIT) and std::regex: the same patterns
// walked over the same generated mail-like text (2 MB). Each benchmark finds every match.
// Prints one line per pattern with the three times, and last the geometric mean of our time
// divided by PCRE2's (best of three repetitions each). std::regex has no UTF-16 traits, so it walks the 8-bit copy of the text
// (the text holds one code unit per character either way).
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "regex/RegexpT.h"

namespace {

struct PatternCase {
    const char* name;
    const char* pattern;
    int flags;  // RegexFlags
};

const PatternCase kPatterns[] = {
    {"encoded-word", R"(=\?([^?]+)\?([BbQq])\?([^?]*)\?=)", 0},
    {"header-field", R"(^(From|To|Cc|Subject):[ \t]*(.*)$)", LineAnchors},
    {"email-address", R"([\w.+-]+@[\w-]+\.[\w.-]+)", 0},
    {"html-tag", R"(<[a-zA-Z][^>]*>)", 0},
    {"charset-meta", R"(<meta[^>]+charset=["']?([\w-]+))", CaseInsensitive},
    {"rtf-control-word", R"(\\([a-z]+)(-?\d+)? ?)", 0},
    {"file-name-clean", R"([\\/:*?"<>|])", 0},
    {"literal", R"(Content-Transfer-Encoding)", 0},
    {"word-alternation", R"(invoice|meeting|report|budget)", 0},
    {"suffix-ing", R"([a-z]+ing)", 0},
    {"backreference", R"(\b(\w+)\s+\1\b)", 0},
    {"nested-groups", R"((([0-9]{1,2}):([0-9]{2})(:([0-9]{2}))?))", 0},
};

// ---- the text ----

std::string GenerateMailText(size_t size)
{
    std::mt19937 rng(42);
    auto pick = [&rng](const std::vector<std::string>& v) { return v[rng() % v.size()]; };
    const std::vector<std::string> names = {"alice", "bob", "carol", "dave", "erin", "frank", "grace", "heidi"};
    const std::vector<std::string> hosts = {"example.com", "mail.example.org", "post.net", "corp.co.uk"};
    const std::vector<std::string> words = {
        "the", "meeting", "is", "moved", "to", "next", "week", "please", "find", "attached", "report",
        "budget", "for", "review", "thanks", "regards", "running", "late", "invoice", "nothing", "something",
        "caf\xe9", "project", "status", "update", "is", "going", "well", "the", "the", "data", "sharing"};
    std::string t;
    t.reserve(size + 4096);
    int n = 0;
    while (t.size() < size) {
        ++n;
        const std::string from = pick(names) + "." + pick(names) + "@" + pick(hosts);
        const std::string to = pick(names) + "@" + pick(hosts);
        t += "Received: from relay" + std::to_string(n % 7) + "." + pick(hosts) + " by mx." + pick(hosts) + "\n";
        t += "From: \"" + pick(names) + "\" <" + from + ">\n";
        t += "To: " + to + "\n";
        if (n % 3 == 0) t += "Cc: " + pick(names) + "@" + pick(hosts) + ", " + pick(names) + "@" + pick(hosts) + "\n";
        t += "Subject: =?utf-8?B?UmU6IHN0YXR1cyB1cGRhdGU=?= " + pick(words) + " " + pick(words) + "\n";
        t += "Date: Mon, " + std::to_string(1 + n % 28) + " Jan 2024 " + std::to_string(n % 24) + ":" +
             std::to_string(10 + n % 50) + ":" + std::to_string(10 + n % 49) + " +0100\n";
        t += "MIME-Version: 1.0\nContent-Type: multipart/alternative; boundary=\"b" + std::to_string(n) + "\"\n\n";
        t += "--b" + std::to_string(n) + "\nContent-Type: text/plain; charset=iso-8859-1\n";
        t += "Content-Transfer-Encoding: quoted-printable\n\n";
        for (int line = 0; line < 6; ++line) {
            std::string l;
            while (l.size() < 64) l += pick(words) + " ";
            if (line == 2) l += "see " + pick(names) + "@" + pick(hosts) + " at 10:" + std::to_string(10 + n % 50);
            if (line == 4) l += "file C:\\docs\\" + pick(words) + "?.txt";
            t += l + "\n";
        }
        t += "\n--b" + std::to_string(n) + "\nContent-Type: text/html; charset=utf-8\n\n";
        t += "<html><head><META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
             "</head>\n<body><p class=\"x\">" + pick(words) + " " + pick(words) + "</p><br>\n<div><b>" +
             pick(words) + "</b> <a href=\"http://" + pick(hosts) + "/\">" + pick(words) + "</a></div>\n";
        if (n % 4 == 0) {
            t += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 " + pick(words) +
                 "\\par\\pard\\li-360 " + pick(words) + "\\par}\n";
        }
        t += "</body></html>\n--b" + std::to_string(n) + "--\n\n";
    }
    t.resize(size);
    return t;
}

struct BenchText {
    std::string narrow;
    std::u16string wide;
};

const BenchText& Text()
{
    static const BenchText text = [] {
        BenchText t;
        t.narrow = GenerateMailText(2u << 20);
        for (char c : t.narrow) t.wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
        return t;
    }();
    return text;
}

std::u16string Widen(const char* s)
{
    std::u16string w;
    for (; *s; ++s) w.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
    return w;
}

// ---- one walk per engine: number of matches and a checksum of their positions ----

struct Walk {
    long long matches = 0;
    long long checksum = 0;
    bool operator==(const Walk&) const = default;
};

Walk WalkOurs(const CRegexpT<char16_t>& re, CContext* context)
{
    const std::u16string& text = Text().wide;
    Walk w;
    re.StartSearch(text.data(), static_cast<int>(text.size()), -1, context);
    for (MatchResult r = re.Match(context); r.Found(); r = re.Match(context)) {
        ++w.matches;
        w.checksum += r.MatchBegin() * 3 + r.MatchEnd();
    }
    return w;
}

class Pcre {
public:
    Pcre(const char* pattern, int flags)
    {
        const std::u16string p = Widen(pattern);
        uint32_t options = 0;
        if (flags & LineAnchors) options |= PCRE2_MULTILINE;
        if (flags & CaseInsensitive) options |= PCRE2_CASELESS;
        if (flags & DotMatchesNewline) options |= PCRE2_DOTALL;
        int error = 0;
        PCRE2_SIZE offset = 0;
        code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(p.c_str()), p.size(), options, &error, &offset, nullptr);
        data_ = code_ ? pcre2_match_data_create_from_pattern(code_, nullptr) : nullptr;
    }
    ~Pcre()
    {
        pcre2_match_data_free(data_);
        pcre2_code_free(code_);
    }
    Pcre(const Pcre&) = delete;
    Pcre& operator=(const Pcre&) = delete;

    Walk Run() const
    {
        const std::u16string& text = Text().wide;
        const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
        Walk w;
        if (!code_) return w;
        PCRE2_SIZE offset = 0;
        while (offset <= text.size()) {
            int rc = pcre2_match(code_, subject, text.size(), offset, 0, data_, nullptr);
            if (rc < 0) break;
            const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data_);
            ++w.matches;
            w.checksum += static_cast<long long>(ov[0]) * 3 + static_cast<long long>(ov[1]);
            offset = ov[1] > ov[0] ? ov[1] : ov[1] + 1;
        }
        return w;
    }

private:
    pcre2_code* code_ = nullptr;
    pcre2_match_data* data_ = nullptr;
};

std::regex MakeStdRegex(const PatternCase& pc)
{
    auto flags = std::regex::ECMAScript;
    if (pc.flags & CaseInsensitive) flags |= std::regex::icase;
    if (pc.flags & LineAnchors) flags |= std::regex::multiline;
    return std::regex(pc.pattern, flags);
}

Walk WalkStd(const std::regex& re)
{
    const std::string& text = Text().narrow;
    Walk w;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        ++w.matches;
        w.checksum += it->position(0) * 3 + it->position(0) + it->length(0);
    }
    return w;
}

// ---- benchmarks ----

enum Engine { kOurs, kPcre2, kStd, kEngines };
const char* const kEngineNames[kEngines] = {"ours", "pcre2", "std::regex"};

void BenchOurs(benchmark::State& state, const PatternCase* pc)
{
    const std::u16string p = Widen(pc->pattern);
    CRegexpT<char16_t> re(p.c_str(), pc->flags);
    CContext context;
    Walk w;
    for (auto _ : state) {
        w = WalkOurs(re, &context);
        benchmark::DoNotOptimize(w);
    }
    state.counters["matches"] = static_cast<double>(w.matches);
}

void BenchPcre2(benchmark::State& state, const PatternCase* pc)
{
    Pcre re(pc->pattern, pc->flags);
    Walk w;
    for (auto _ : state) {
        w = re.Run();
        benchmark::DoNotOptimize(w);
    }
    state.counters["matches"] = static_cast<double>(w.matches);
}

void BenchStd(benchmark::State& state, const PatternCase* pc)
{
    const std::regex re = MakeStdRegex(*pc);
    Walk w;
    for (auto _ : state) {
        w = WalkStd(re);
        benchmark::DoNotOptimize(w);
    }
    state.counters["matches"] = static_cast<double>(w.matches);
}

// Keeps the best time per iteration over the repetitions of each benchmark (the machine may be
// shared, and the best run is the one least disturbed).
class Collector : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
            const double ms = run.GetAdjustedRealTime() *
                              (run.time_unit == benchmark::kMillisecond ? 1.0 :
                               run.time_unit == benchmark::kMicrosecond ? 1e-3 : 1e-6);
            const std::string name = run.run_name.function_name;
            auto it = times.find(name);
            if (it == times.end() || ms < it->second) times[name] = ms;
            std::fprintf(stderr, "  %-40s %10.3f ms\n", name.c_str(), ms);
        }
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::fprintf(stderr, "regex benchmark over %zu code units of generated mail text\n", Text().wide.size());

    // Results must agree before times mean anything.
    std::map<std::string, std::string> agreement;
    for (const PatternCase& pc : kPatterns) {
        const std::u16string p = Widen(pc.pattern);
        CRegexpT<char16_t> ours(p.c_str(), pc.flags);
        CContext context;
        const Walk a = WalkOurs(ours, &context);
        const Walk b = Pcre(pc.pattern, pc.flags).Run();
        agreement[pc.name] = a == b ? "same results" :
            "DIFFERENT RESULTS (" + std::to_string(a.matches) + " vs " + std::to_string(b.matches) + " matches)";
        for (int e = 0; e < kEngines; ++e) {
            const std::string name = std::string(pc.name) + "/" + kEngineNames[e];
            auto fn = e == kOurs ? BenchOurs : e == kPcre2 ? BenchPcre2 : BenchStd;
            benchmark::RegisterBenchmark(name.c_str(), fn, &pc)->Unit(benchmark::kMillisecond)->Repetitions(3);
        }
    }

    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    double logSum = 0;
    int ratios = 0;
    for (const PatternCase& pc : kPatterns) {
        double t[kEngines];
        bool have = true;
        for (int e = 0; e < kEngines; ++e) {
            auto it = collector.times.find(std::string(pc.name) + "/" + kEngineNames[e]);
            t[e] = it == collector.times.end() ? -1 : it->second;
            if (e != kStd && t[e] <= 0) have = false;
        }
        if (!have) continue;
        const double ratio = t[kOurs] / t[kPcre2];
        logSum += std::log(ratio);
        ++ratios;
        std::printf("%-18s ours %9.3f ms   pcre2 %9.3f ms   std::regex %9.3f ms   ratio %5.2f   %s\n", pc.name,
                    t[kOurs], t[kPcre2], t[kStd], ratio, agreement[pc.name].c_str());
    }
    if (ratios == 0) {
        std::printf("regex geomean ratio vs pcre2: n/a\n");
        return 1;
    }
    std::printf("regex geomean ratio vs pcre2: %.3f\n", std::exp(logSum / ratios));
    return 0;
}
