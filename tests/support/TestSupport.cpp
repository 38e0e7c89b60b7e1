#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

// Defined by the registry store; reloads both hives from QUILLORA_REGISTRY_DIR.
// Weak so that test executables that do not link the platform still build.
extern "C" void QuilloraRegistryReload() __attribute__((weak));

namespace testsupport {

fs::path CorpusDir() {
    std::error_code ec;
    if (const char* env = std::getenv("QUILLORA_CORPUS_DIR"); env && *env) {
        const fs::path dir(env);
        return fs::is_directory(dir, ec) ? fs::weakly_canonical(dir, ec) : fs::path();
    }
    // The shared corpus sits in a "shared" folder beside the project, or beside a folder
    // above it when the project is checked out deeper.
    for (fs::path p = fs::path(QUILLORA_PROJECT_DIR).parent_path(); !p.empty(); p = p.parent_path()) {
        const fs::path dir = p / "shared" / "corpus";
        if (fs::is_directory(dir, ec)) return fs::weakly_canonical(dir, ec);
        if (p == p.root_path()) break;
    }
    return {};
}

TempDir::TempDir() {
    std::random_device rd;
    std::mt19937_64 gen(rd());
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "quillora-test-" << std::hex << gen();
        fs::path candidate = base / name.str();
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempDir::WriteFile(const std::string& name, const std::string& bytes) const {
    fs::path p = path_ / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
    return p;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

ScopedRegistry::ScopedRegistry() {
    env_.emplace("QUILLORA_REGISTRY_DIR", dir_.path().string());
    if (QuilloraRegistryReload) QuilloraRegistryReload();
}

ScopedRegistry::~ScopedRegistry() {
    env_.reset();
    if (QuilloraRegistryReload) QuilloraRegistryReload();
}

std::string ReadFileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

namespace {

// What pdftotext writes for the file with the given option.
std::string PdfToText(const char* option, const std::filesystem::path& pdf) {
    const std::string command = std::string("pdftotext ") + option + " '" + pdf.string() + "' - 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return {};
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), p)) > 0) out.append(buffer, n);
    pclose(p);
    return out;
}

}  // namespace

std::string PdfText(const std::filesystem::path& pdf) { return PdfToText("-layout", pdf); }

std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf) {
    const std::string out = PdfToText("-bbox", pdf);
    const auto number = [](const std::string& tag, const char* name) {
        const size_t at = tag.find(std::string(name) + "=\"");
        return at == std::string::npos ? 0.0 : std::atof(tag.c_str() + at + std::strlen(name) + 2);
    };
    const auto unescaped = [](std::string text) {
        const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
        for (const auto& [entity, plain] : entities)
            for (size_t at; (at = text.find(entity)) != std::string::npos;) text.replace(at, std::strlen(entity), plain);
        return text;
    };
    std::vector<PdfWord> words;
    int page = -1;
    for (size_t at = 0; (at = out.find('<', at)) != std::string::npos;) {
        const size_t close = out.find('>', at);
        if (close == std::string::npos) break;
        const std::string tag = out.substr(at, close - at + 1);
        if (tag.rfind("<page ", 0) == 0) ++page;
        if (tag.rfind("<word ", 0) == 0) {
            const size_t end = out.find("</word>", close);
            if (end == std::string::npos) break;
            words.push_back({page, number(tag, "xMin"), number(tag, "yMin"), number(tag, "xMax"), number(tag, "yMax"),
                             unescaped(out.substr(close + 1, end - close - 1))});
        }
        at = close + 1;
    }
    return words;
}

bool HasPdfToText() { return std::system("command -v pdftotext > /dev/null 2>&1") == 0; }

}  // namespace testsupport
