#include "platform/outside/qt/WebBrowserQt.h"

#include <unistd.h>

#include <cstdlib>
#include <mutex>

#include <QDesktopServices>
#include <QFile>
#include <QStringDecoder>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include "platform/outside/WebBrowser.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace {

QString ToQString(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

std::mutex refusedLock;
std::vector<WideString>& Refused() {
    static std::vector<WideString> refused;
    return refused;
}

bool IsLocalScheme(const QString& scheme) {
    return scheme == u"file" || scheme == u"data" || scheme == u"about" || scheme == u"blob" || scheme == u"qrc";
}

// Refuses every request that would leave the machine: mail must not phone home.
class LocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (IsLocalScheme(info.requestUrl().scheme())) return;
        info.block(true);
        const std::lock_guard<std::mutex> lock(refusedLock);
        Refused().push_back(info.requestUrl().toString().toStdU16String());
    }
};

QWebEngineProfile& Profile() {
    // Off the record: nothing of a shown mail is kept on disk (cache, cookies, history).
    static QWebEngineProfile* profile = [] {
        auto* p = new QWebEngineProfile();  // lives as long as the application, as pages need
        static LocalOnlyInterceptor interceptor;
        p->setUrlRequestInterceptor(&interceptor);
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        QWebEngineSettings* s = p->settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::AutoLoadImages, true);
        s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
        s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
        s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
        return p;
    }();
    return *profile;
}

QUrl UrlOf(const WideString& url) {
    const QString text = ToQString(url);
    if (text.startsWith(u"file:///")) return QUrl::fromLocalFile(text.mid(7));  // keeps one "/"
    return QUrl(text);
}

// Links the user follows open in the desktop's browser or mail client; the view only shows
// what the program navigates to.
class MailPage : public QWebEnginePage {
public:
    explicit MailPage(QObject* parent) : QWebEnginePage(&Profile(), parent) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (type == NavigationTypeLinkClicked) {
            if (isMainFrame) QDesktopServices::openUrl(url);
            return false;
        }
        return type == NavigationTypeTyped || type == NavigationTypeReload || type == NavigationTypeOther;
    }
    QWebEnginePage* createWindow(WebWindowType) override {
        // A link with a target: catch its URL, hand it to the desktop, drop the page.
        auto* opener = new ExternalOpener(this);
        return opener;
    }

private:
    class ExternalOpener : public QWebEnginePage {
    public:
        explicit ExternalOpener(QObject* parent) : QWebEnginePage(&Profile(), parent) {}

    protected:
        bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
            QDesktopServices::openUrl(url);
            deleteLater();
            return false;
        }
    };
};

class WebBrowserPeer : public vclqt::HostedPeer, public TWebBrowserPeer {
public:
    WebBrowserPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent), view_(new QWebEngineView) {
        auto* page = new MailPage(view_);
        view_->setPage(page);
        view_->setContextMenuPolicy(Qt::NoContextMenu);
        QObject::connect(page, &QWebEnginePage::loadFinished, view_, [this](bool) { Completed(); });
        Host(view_);
    }

    void Navigate(const WideString& url) override {
        url_ = UrlOf(url);
        view_->page()->load(url_);
    }

    void Reload(const WideString& charset) override {
        if (charset.empty() || !url_.isLocalFile()) {
            view_->page()->triggerAction(QWebEnginePage::Reload);
            return;
        }
        QFile file(url_.toLocalFile());
        if (!file.open(QIODevice::ReadOnly)) return;
        const QByteArray bytes = file.readAll();
        // A byte-order mark decides the encoding, whatever the charset asked for.
        if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
            view_->page()->triggerAction(QWebEnginePage::Reload);
            return;
        }
        QStringDecoder decoder(ToQString(charset).toLatin1().constData());
        if (!decoder.isValid()) {
            view_->page()->triggerAction(QWebEnginePage::Reload);
            return;
        }
        const QString text = decoder.decode(bytes);
        view_->page()->setContent(text.toUtf8(), QStringLiteral("text/html;charset=utf-8"), url_);
    }

    void Stop() override { view_->page()->triggerAction(QWebEnginePage::Stop); }

    bool RunCommand(const WideString& command) override {
        const QString c = ToQString(command).toLower();
        if (c == u"selectall") view_->page()->triggerAction(QWebEnginePage::SelectAll);
        else if (c == u"copy") view_->page()->triggerAction(QWebEnginePage::Copy);
        else if (c == u"unselect") view_->page()->triggerAction(QWebEnginePage::Unselect);
        else return false;
        return true;
    }

private:
    void Completed() {
        const QUrl shown = view_->page()->url().isEmpty() ? url_ : view_->page()->url();
        WideString url = shown.toString().toStdU16String();
        try {
            static_cast<TCppWebBrowser&>(Control()).DocumentCompleted(url);
        } catch (...) {
            if (Application) Application->HandleException(&Control());
        }
    }

    QWebEngineView* view_;  // a Qt child of the peer
    QUrl url_;
};

}  // namespace

void InstallWebBrowser() {
    // The engine's sandbox cannot run as root (CI); elsewhere it stays on.
    if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    vclqt::RegisterPeerClass(u"Shell Embedding", [](TWinControl& control, const TCreateParams& params, vclqt::PeerWidget* parent) {
        return std::make_unique<WebBrowserPeer>(control, params, parent);
    });
}

std::vector<WideString> RefusedWebRequests() {
    const std::lock_guard<std::mutex> lock(refusedLock);
    return Refused();
}
