// Every HTML-encapsulating RTF body of the corpus de-encapsulates, and its visible text holds
// the message's plain body where the corpus lists one.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <string>

#include "app/RtfHtml.h"
#include "app/SupportLibrary.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string Collapse(const std::string& text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// The "body" string of a corpus .json file (UTF-8, JSON escapes resolved), or nothing.
std::optional<std::string> JsonBody(const fs::path& file) {
    if (!fs::exists(file)) return std::nullopt;
    const std::string json = testsupport::ReadFileBytes(file);
    const size_t key = json.find("\n \"body\": \"");
    if (key == std::string::npos) return std::nullopt;
    std::string text;
    for (size_t i = json.find('"', key + 9) + 1; i < json.size() && json[i] != '"'; ++i) {
        if (json[i] != '\\' || i + 1 >= json.size()) {
            text += json[i];
            continue;
        }
        const char e = json[++i];
        if (e == 'n') text += '\n';
        else if (e == 'r') text += '\r';
        else if (e == 't') text += '\t';
        else if (e == 'u' && i + 4 < json.size()) {
            text += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(std::stoi(json.substr(i + 1, 4), nullptr, 16))));
            i += 4;
        } else text += e;
    }
    return text;
}

// The text a reader sees: no tags, comments, style or script content; the entities for
// blanks resolved; white space collapsed.
std::string VisibleText(const std::string& html) {
    const auto lower = [](std::string t) {
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return t;
    };
    const std::string folded = lower(html);
    std::string text;
    size_t i = 0;
    while (i < html.size()) {
        size_t skipTo = std::string::npos;
        if (folded.compare(i, 4, "<!--") == 0) skipTo = folded.find("-->", i);
        else if (folded.compare(i, 6, "<style") == 0) skipTo = folded.find("</style", i);
        else if (folded.compare(i, 7, "<script") == 0) skipTo = folded.find("</script", i);
        if (skipTo != std::string::npos) {
            i = skipTo + 1;
            continue;
        }
        if (html[i] == '<') {
            const size_t close = html.find('>', i);
            text += ' ';
            i = close == std::string::npos ? html.size() : close + 1;
        } else if (folded.compare(i, 6, "&nbsp;") == 0) {
            text += ' ';
            i += 6;
        } else if (folded.compare(i, 5, "&amp;") == 0) {
            text += '&';
            i += 5;
        } else if (html.compare(i, 2, "\xc2\xa0") == 0) {
            text += ' ';
            i += 2;
        } else {
            text += html[i++];
        }
    }
    return Collapse(text);
}

}  // namespace


TEST(RtfHtmlCorpus, EncapsulatedBodiesGiveTheirText) {
    QUILLORA_REQUIRE_CORPUS();
    ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
    const fs::path root = testsupport::CorpusDir() / "msg";
    if (!fs::exists(root)) GTEST_SKIP() << "no msg folder in the corpus";
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".rtf") continue;
        const std::string rtf = testsupport::ReadFileBytes(entry.path());
        if (rtf.find("\\fromhtml") == std::string::npos) continue;
        SCOPED_TRACE(entry.path().string());
        EXPECT_TRUE(IsHtmlEncapsulatedRtf(rtf.data(), rtf.size()));
        WideString html;
        EXPECT_NO_THROW(DecapsulateHtmlFromRtf(rtf.data(), rtf.size(), html));
        EXPECT_NE(html.find(u"<html"), WideString::npos);
        EXPECT_EQ(html.find(u"\\htmlrtf"), WideString::npos);
        EXPECT_EQ(html.find(u"\\'"), WideString::npos);
        fs::path json = entry.path();
        json.replace_extension(".json");
        if (const std::optional<std::string> body = JsonBody(json)) {
            const std::string expected = Collapse(*body);
            EXPECT_NE(VisibleText(Utf16ToUtf8(html)).find(expected), std::string::npos) << "body: " << expected;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}
