// The clipboard over QClipboard, offscreen: text, "HTML Format" and "Rich Text Format" reach the
// desktop's types and come back, with the HTML header's offsets made for the desktop's HTML.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class QtClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
    }
};

TEST_F(QtClipboardTest, FormatsReachTheDesktopTypes) {
    TClipboard* c = Clipboard();
    c->Open();
    c->SetAsText(u"Grüße");
    c->SetBuffer(CF_HTML(), MakeClipboardHtml("<html><body><i>Gr\xC3\xBC\xC3\x9F" "e</i></body></html>"));
    c->SetBuffer(CF_RTF(), std::string("{\\rtf1 Gr\\'fc\\'dfe}") + '\0');
    c->Close();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("Grüße"));
    EXPECT_TRUE(data->html().contains(QStringLiteral("<i>Grüße</i>")));
    EXPECT_FALSE(data->html().contains(QStringLiteral("StartHTML")));
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 Gr\\'fc\\'dfe}"));
    // And back.
    EXPECT_EQ(c->AsText(), u"Grüße");
    EXPECT_EQ(c->Buffer(CF_RTF()), std::string("{\\rtf1 Gr\\'fc\\'dfe}") + '\0');
}

TEST_F(QtClipboardTest, DesktopHtmlComesWithTheHeader) {
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<html><body><b>bold \u00e9</b></body></html>"));
    data->setData(QStringLiteral("application/rtf"), QByteArray("{\\rtf1 b}"));
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_HTML()));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_RTF()));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE h = GetClipboardData(CF_HTML());
    ASSERT_NE(h, nullptr);
    const std::string content(static_cast<const char*>(GlobalLock(h)));
    GlobalUnlock(h);
    CloseClipboard();
    const auto field = [&](const std::string& name) {
        return std::stol(content.substr(content.find(name + ":") + name.size() + 1, 10));
    };
    const long from = field("StartFragment"), to = field("EndFragment");
    EXPECT_EQ(content.substr(from, to - from), "<b>bold \xC3\xA9</b>");
    EXPECT_EQ(static_cast<std::size_t>(field("EndHTML")), content.size());
}

}  // namespace
