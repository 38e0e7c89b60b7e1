#include "platform/outside/WebBrowser.h"

#include "platform/vcl/Forms.h"

namespace {

// Completes a navigation made without a browser peer, after the caller returns, as a real
// navigation would.
constexpr UINT kHeadlessDocumentComplete = WM_USER + 0x0DC0;

bool SameCommand(const WideString& a, const char16_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

bool KnownCommand(const WideString& command) {
    return SameCommand(command, u"SelectAll") || SameCommand(command, u"Copy") || SameCommand(command, u"Unselect");
}

}  // namespace

class TCppWebBrowser::BrowserDocument : public IHTMLDocument2 {
public:
    explicit BrowserDocument(TCppWebBrowser& owner) : owner_(owner) {}

    HRESULT get_charset(WideString& charset) const override {
        charset = charset_;
        return S_OK;
    }
    HRESULT put_charset(const WideString& charset) override {
        charset_ = charset;
        return S_OK;
    }
    HRESULT queryCommandSupported(const WideString& command, bool& supported) const override {
        supported = KnownCommand(command);
        return S_OK;
    }
    HRESULT execCommand(const WideString& command, bool, const WideString&, bool& done) override {
        done = false;
        if (!KnownCommand(command)) return E_INVALIDARG;
        TWebBrowserPeer* peer = owner_.BrowserPeer();
        if (!peer) return E_FAIL;  // nothing shown, nothing to select or copy
        done = peer->RunCommand(command);
        return done ? S_OK : E_FAIL;
    }
    const WideString& Charset() const { return charset_; }
    void ResetCharset() { charset_.clear(); }

private:
    TCppWebBrowser& owner_;
    WideString charset_;
};

const TMetaClass& TCppWebBrowser::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TCppWebBrowser>("TCppWebBrowser", &TWinControl::StaticClass(), [](TClassBuilder<TCppWebBrowser>& b) {
            b.Event("OnDocumentComplete", &TCppWebBrowser::OnDocumentComplete);
        });
    return meta;
}

TCppWebBrowser::TCppWebBrowser(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(Left(), Top(), 300, 150);
}

TCppWebBrowser::~TCppWebBrowser() = default;

void TCppWebBrowser::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"Shell Embedding";
    params.OwnerPainted = false;
}

TWebBrowserPeer* TCppWebBrowser::BrowserPeer() const { return dynamic_cast<TWebBrowserPeer*>(Peer()); }

WideString TCppWebBrowser::NormalizeUrl(const WideString& url) {
    static const WideString prefix = u"file:///";
    if (url.compare(0, prefix.size(), prefix) != 0) return url;
    std::size_t i = prefix.size();
    while (i < url.size() && url[i] == u'/') ++i;
    return prefix + url.substr(i);
}

void TCppWebBrowser::Navigate(const WideString& url) {
    const WideString target = NormalizeUrl(url);
    if (document_) document_->ResetCharset();
    if (TWebBrowserPeer* peer = BrowserPeer()) {
        peer->Navigate(target);
        return;
    }
    pending_ = target;
    if (HandleAllocated() || (Parent() && Parent()->HandleAllocated()))
        PostMessageW(Handle(), kHeadlessDocumentComplete, 0, 0);
    else
        DocumentCompleted(target);
}

void TCppWebBrowser::Refresh() {
    if (TWebBrowserPeer* peer = BrowserPeer()) {
        peer->Reload(document_ ? document_->Charset() : WideString());
        return;
    }
    if (document_) Navigate(location_);
}

void TCppWebBrowser::Stop() {
    if (TWebBrowserPeer* peer = BrowserPeer()) peer->Stop();
    pending_.clear();
}

IHTMLDocument2* TCppWebBrowser::Document() const { return document_.get(); }

void TCppWebBrowser::DocumentCompleted(const WideString& url) {
    location_ = url;
    if (!document_) document_ = std::make_unique<BrowserDocument>(*this);
    if (OnDocumentComplete) OnDocumentComplete(this, url);
}

void TCppWebBrowser::WndProc(TMessage& m) {
    if (m.Msg == kHeadlessDocumentComplete) {
        if (pending_.empty()) return;  // stopped meanwhile
        const WideString url = std::move(pending_);
        pending_.clear();
        DocumentCompleted(url);
        return;
    }
    TWinControl::WndProc(m);
}
