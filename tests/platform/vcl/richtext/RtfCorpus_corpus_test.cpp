// Every RTF body beside the corpus messages reads without error, and its text holds the
// message's plain body (whitespace folded) where the message's description gives one.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <gtest/gtest.h>

#include "platform/vcl/richtext/RichTextDocument.h"
#include "tests/platform/vcl/richtext/GuiApp.h"
#include "tests/support/TestSupport.h"

using namespace richtext;
namespace fs = std::filesystem;

namespace {

// Runs of blanks, tabs, line ends and no-break spaces become one blank.
QString Folded(const QString& text) {
    QString out;
    bool blank = false;
    for (QChar c : text) {
        if (c.isSpace() || c == QChar(0xA0) || c == QChar(0x2028)) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty()) out += u' ';
        blank = false;
        out += c;
    }
    return out;
}

std::vector<fs::path> CorpusRtfFiles() {
    std::vector<fs::path> files;
    const fs::path root = testsupport::CorpusDir() / "msg";
    std::error_code ec;
    if (!fs::is_directory(root, ec)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".rtf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(RtfCorpus, EveryBodyReadsAndHoldsTheMessageText) {
    QUILLORA_REQUIRE_CORPUS();
    richtext_test::EnsureGuiApp();
    const auto files = CorpusRtfFiles();
    if (files.empty()) GTEST_SKIP() << "no RTF bodies in the corpus";
    int compared = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::string rtf = testsupport::ReadFileBytes(file);
        RichTextDocument doc;
        ASSERT_TRUE(doc.LoadRtf(rtf));
        const QString text = Folded(QString::fromStdU16String(doc.PlainText()));
        EXPECT_FALSE(text.contains(QChar(0xFFFD))) << "undecodable text";

        fs::path json = file;
        json.replace_extension(".json");
        std::error_code ec;
        if (!fs::exists(json, ec)) {
            EXPECT_FALSE(text.isEmpty());
            continue;
        }
        const std::string bytes = testsupport::ReadFileBytes(json);
        const QJsonObject message =
            QJsonDocument::fromJson(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))).object();
        const QString body = Folded(message.value("body").toString());
        if (body.isEmpty()) continue;
        ++compared;
        EXPECT_TRUE(text.contains(body)) << "body: " << body.left(300).toStdString()
                                         << "\nread: " << text.left(300).toStdString();
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
