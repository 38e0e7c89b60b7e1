// Helpers shared by every test: the corpus folder, temporary folders, a private registry.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

// The folder of real-world sample files, or an empty path when it is absent.
// QUILLORA_CORPUS_DIR overrides the default (the shared corpus beside the project).
std::filesystem::path CorpusDir();

// A fresh folder removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Writes bytes to a file inside the folder and returns its path.
    std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// Sets an environment variable for the lifetime of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Points the registry store at a private temporary folder for the lifetime of the object.
class ScopedRegistry {
public:
    ScopedRegistry();
    ~ScopedRegistry();
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::optional<ScopedEnv> env_;
};

std::string ReadFileBytes(const std::filesystem::path& p);

// The text of a PDF file as pdftotext -layout gives it; empty when pdftotext is missing.
std::string PdfText(const std::filesystem::path& pdf);
bool HasPdfToText();

// One word of a PDF page with its box in points from the page's top-left corner.
struct PdfWord {
    int page = 0;  // from 0
    double left = 0, top = 0, right = 0, bottom = 0;
    std::string text;  // UTF-8, as pdftotext writes it (&amp; &lt; &gt; &quot; decoded)
    double Height() const { return bottom - top; }
};
// Every word of the file in reading order (pdftotext -bbox); empty when it cannot be read.
std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf);

}  // namespace testsupport

// Skips the current test with a message when the corpus folder is absent.
#define QUILLORA_REQUIRE_CORPUS()                                                 \
    do {                                                                          \
        if (::testsupport::CorpusDir().empty())                                   \
            GTEST_SKIP() << "corpus folder absent; set QUILLORA_CORPUS_DIR";      \
    } while (0)
