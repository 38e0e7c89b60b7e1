// The web-browser control without a browser peer: navigations complete after the caller
// returns, the document appears with the first completion, and commands fail honestly.
#include <gtest/gtest.h>

#include "platform/outside/WebBrowser.h"
#include "platform/vcl/Forms.h"

namespace {

TEST(WebBrowser, FileUrlsCollapseTheSlashesOfAnAbsolutePath) {
    const struct {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"file:////tmp/q/temp.html", u"file:///tmp/q/temp.html"},
        {u"file:///tmp/a b.html", u"file:///tmp/a b.html"},
        {u"about:blank", u"about:blank"},
        {u"https://example.org/", u"https://example.org/"},
    };
    for (const auto& c : cases) EXPECT_EQ(TCppWebBrowser::NormalizeUrl(c.in), WideString(c.out));
}

TEST(WebBrowser, NavigationCompletesLaterAndGivesADocument) {
    Application->Initialize();
    TForm form(nullptr);
    auto* browser = new TCppWebBrowser(&form);
    browser->SetParent(&form);
    form.HandleNeeded();
    std::vector<WideString> completed;
    browser->OnDocumentComplete = [&](TObject* sender, const WideString& url) {
        EXPECT_EQ(sender, browser);
        completed.push_back(url);
    };
    EXPECT_EQ(browser->Document(), nullptr);
    browser->Navigate(u"file:////tmp/x/temp.html");
    EXPECT_TRUE(completed.empty());  // not from inside Navigate
    Application->ProcessMessages();
    ASSERT_EQ(completed, (std::vector<WideString>{u"file:///tmp/x/temp.html"}));
    ASSERT_NE(browser->Document(), nullptr);
    EXPECT_EQ(browser->LocationURL(), u"file:///tmp/x/temp.html");

    // The charset is kept for the refresh; a stopped navigation never completes.
    IHTMLDocument2* doc = browser->Document();
    EXPECT_EQ(doc->put_charset(u"windows-1251"), S_OK);
    WideString charset;
    doc->get_charset(charset);
    EXPECT_EQ(charset, u"windows-1251");
    browser->Navigate(u"about:blank");
    browser->Stop();
    Application->ProcessMessages();
    EXPECT_EQ(completed.size(), 1u);

    // Nothing is shown without a browser peer: the copy commands say so.
    bool supported = false, done = true;
    EXPECT_EQ(doc->queryCommandSupported(u"Copy", supported), S_OK);
    EXPECT_TRUE(supported);
    EXPECT_FALSE(FAILED(doc->queryCommandSupported(u"Print", supported)));
    EXPECT_FALSE(supported);
    EXPECT_TRUE(FAILED(doc->execCommand(u"SelectAll", false, u"", done)));
    EXPECT_FALSE(done);
}

}  // namespace
