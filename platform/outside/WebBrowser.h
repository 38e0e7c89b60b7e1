// The web-browser control that shows HTML bodies: navigation, refresh, stop, the
// document-complete event, and the document the program asks for its charset and its edit
// commands ("SelectAll", "Copy", "Unselect"). The page is shown by the widget set's browser
// peer; without one (no display) navigations still complete, so the program's logic runs.
// Only local pages are shown: the peer refuses every remote request.
#pragma once

#include <functional>
#include <memory>

#include "platform/vcl/Controls.h"

class TCppWebBrowser;

// The document a browser holds, as the program asks it.
class IHTMLDocument2 {
public:
    virtual ~IHTMLDocument2() = default;
    virtual HRESULT get_charset(WideString& charset) const = 0;
    // Shows the document again in the charset; a page that starts with a byte-order mark
    // keeps its own encoding, as browsers do.
    virtual HRESULT put_charset(const WideString& charset) = 0;
    virtual HRESULT queryCommandSupported(const WideString& command, bool& supported) const = 0;
    virtual HRESULT execCommand(const WideString& command, bool showUI, const WideString& value, bool& done) = 0;
};

// What a browser peer of the widget set does for the control.
class TWebBrowserPeer {
public:
    virtual ~TWebBrowserPeer() = default;
    virtual void Navigate(const WideString& url) = 0;
    // Loads the current page again; a charset decodes a local page's bytes in it (empty: the
    // page's own encoding).
    virtual void Reload(const WideString& charset) = 0;
    virtual void Stop() = 0;
    // "SelectAll", "Copy", "Unselect"; false for other commands.
    virtual bool RunCommand(const WideString& command) = 0;
};

using TDocumentCompleteEvent = std::function<void(TObject* sender, const WideString& url)>;

class TCppWebBrowser : public TWinControl {
    QUILLORA_COMPONENT(TCppWebBrowser)
public:
    explicit TCppWebBrowser(TComponent* owner);
    ~TCppWebBrowser() override;

    // Navigates to a URL; "file:///" followed by an absolute path names a local file.
    void Navigate(const WideString& url);
    void Refresh();
    void Stop();
    // The document shown, or null before the first navigation completes.
    IHTMLDocument2* Document() const;
    const WideString& LocationURL() const { return location_; }

    TDocumentCompleteEvent OnDocumentComplete;

    // The peer reports a finished navigation (also a refresh).
    void DocumentCompleted(const WideString& url);

    // The URL form a browser loads: "file:///" + "/abs/path" collapses to one slash run.
    static WideString NormalizeUrl(const WideString& url);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    class BrowserDocument;
    TWebBrowserPeer* BrowserPeer() const;

    WideString location_;
    WideString pending_;  // navigated without a peer: completes when the posted message arrives
    std::unique_ptr<BrowserDocument> document_;
};
