// The web-browser control over the real engine, offscreen: a local page shows, remote requests
// are refused and logged. Skips when the engine cannot start on this machine.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include <QCoreApplication>
#include <QEventLoop>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/outside/WebBrowser.h"
#include "platform/outside/qt/WebBrowserQt.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

// The engine's own code frees some objects through a base of another size (sized delete in
// its allocator); that is the engine's business, not a fault of ours.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }

namespace {

class WebBrowserGui : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        InstallWebBrowser();
        Application->Initialize();
    }
    // Runs the loop until done() or the time is up.
    template <class F>
    static bool WaitFor(F done, int seconds = 30) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            Application->ProcessMessages();
        }
        return true;
    }
};

TEST_F(WebBrowserGui, ShowsALocalPageAndRefusesEveryRemoteRequest) {
    testsupport::TempDir dir;
    const std::string page = dir.WriteFile("temp.html",
                                           "\xEF\xBB\xBF<html><body><p>caf\xC3\xA9 body</p>"
                                           "<img src=\"http://tracker.invalid/pixel.png\"></body></html>")
                                 .string();
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* browser = new TCppWebBrowser(&form);
    browser->SetParent(&form);
    browser->SetAlign(alClient);
    int completed = 0;
    browser->OnDocumentComplete = [&](TObject*, const WideString&) { ++completed; };
    form.Show();
    browser->Navigate(u"file:///" + Utf8ToUtf16(page));
    if (!WaitFor([&] { return completed > 0; })) GTEST_SKIP() << "the web engine did not start on this machine";
    EXPECT_EQ(browser->LocationURL(), u"file://" + Utf8ToUtf16(page));

    auto* view = dynamic_cast<QWidget*>(browser->Peer())->findChild<QWebEngineView*>();
    ASSERT_NE(view, nullptr);
    QString text;
    bool got = false;
    view->page()->toPlainText([&](const QString& t) {
        text = t;
        got = true;
    });
    ASSERT_TRUE(WaitFor([&] { return got; }));
    EXPECT_TRUE(text.contains(QString::fromUtf8("caf\xC3\xA9 body")));

    // A remote page the program might be led to is refused by the interceptor and logged.
    browser->Navigate(u"http://tracker.invalid/open");
    WaitFor([&] { return completed > 1; }, 10);
    bool refused = false;
    for (const WideString& url : RefusedWebRequests())
        if (url.find(u"tracker.invalid/open") != WideString::npos) refused = true;
    EXPECT_TRUE(refused);
    for (const WideString& url : RefusedWebRequests()) EXPECT_EQ(url.find(u"tracker.invalid/pixel"), WideString::npos) << "a local page reached out";

    // The edit commands run on the shown document.
    bool done = false;
    EXPECT_EQ(browser->Document()->execCommand(u"SelectAll", false, u"", done), S_OK);
    EXPECT_TRUE(done);
}

}  // namespace
