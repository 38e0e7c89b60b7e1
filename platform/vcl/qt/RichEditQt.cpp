// The rich edit's view: a QTextBrowser showing the control's own document (the engine's
// QTextDocument), with the selection handed back to the control and links opened in the
// desktop's browser; and the painter of a device context for EM_FORMATRANGE.
#include <QDesktopServices>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>

#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/PeerClasses.h"
#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/richedit/RichEdit.h"

namespace vclqt {
namespace {

bool OpensInBrowser(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == u"http" || scheme == u"https" || scheme == u"mailto";
}

class RichEditPeer : public HostedPeer, public TRichEditPeer {
public:
    RichEditPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent), edit_(static_cast<TCustomRichEdit&>(control)) {
        view_ = new QTextBrowser;  // a Qt child of the peer from Host on
        view_->setOpenLinks(false);
        view_->setOpenExternalLinks(false);
        view_->setUndoRedoEnabled(false);
        view_->setFrameShape(params.ExStyle & WS_EX_CLIENTEDGE ? QFrame::StyledPanel : QFrame::NoFrame);
        Host(view_, {view_->viewport()});
        view_->setDocument(&richtext::QtDocumentOf(edit_.Document()));
        QObject::connect(view_, &QTextBrowser::anchorClicked, view_, [](const QUrl& url) {
            if (OpensInBrowser(url)) QDesktopServices::openUrl(url);
        });
        // Told once the change is complete: a change of the document moves the view's cursor
        // while the engine is still at work, and the control syncs the view after it.
        const auto selectionChanged = [this] {
            if (settingSelection_ || selectionPending_) return;
            selectionPending_ = true;
            QMetaObject::invokeMethod(view_, [this] {
                selectionPending_ = false;
                const CHARRANGE now = Selection();
                if (now.cpMin != reported_.cpMin || now.cpMax != reported_.cpMax) {
                    reported_ = now;
                    Send(CN_COMMAND, MAKEWPARAM(0, EN_SELCHANGE), 0);
                }
            }, Qt::QueuedConnection);
        };
        QObject::connect(view_, &QTextEdit::selectionChanged, view_, selectionChanged);
        QObject::connect(view_, &QTextEdit::cursorPositionChanged, view_, selectionChanged);
        QObject::connect(view_, &QTextEdit::textChanged, view_, [this] {
            if (!view_->isReadOnly() && view_->hasFocus()) Send(CN_COMMAND, MAKEWPARAM(0, EN_CHANGE), 0);
        });
    }
    ~RichEditPeer() override {
        // The document is the control's.
        view_->setDocument(nullptr);
    }

    void DocumentChanged() override {
        if (view_->document() != &richtext::QtDocumentOf(edit_.Document()))
            view_->setDocument(&richtext::QtDocumentOf(edit_.Document()));
        view_->viewport()->update();
    }
    void SetReadOnly(bool readOnly) override {
        view_->setReadOnly(readOnly);
        Qt::TextInteractionFlags flags = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                                         Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
        if (!readOnly) flags |= Qt::TextEditable;
        view_->setTextInteractionFlags(flags);
    }
    void SetWordWrap(bool wrap) override {
        view_->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    }
    void SetScrollBars(TScrollStyle style) override {
        const bool v = style == ssVertical || style == ssBoth, h = style == ssHorizontal || style == ssBoth;
        view_->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        view_->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    }
    void SetSelection(CHARRANGE range) override {
        QTextCursor c(view_->document());
        const int end = std::max(0, view_->document()->characterCount() - 1);
        c.setPosition(std::clamp<int>(range.cpMin, 0, end));
        c.setPosition(std::clamp<int>(range.cpMax, 0, end), QTextCursor::KeepAnchor);
        settingSelection_ = true;
        view_->setTextCursor(c);
        settingSelection_ = false;
        reported_ = Selection();
    }
    CHARRANGE Selection() const override {
        const QTextCursor c = view_->textCursor();
        return CHARRANGE{c.selectionStart(), c.selectionEnd()};
    }
    QTextBrowser* View() const { return view_; }

private:
    TCustomRichEdit& edit_;
    QTextBrowser* view_ = nullptr;
    bool settingSelection_ = false;
    bool selectionPending_ = false;
    CHARRANGE reported_;  // the view's selection the control knows
};

LONG DrawRange(richtext::RichTextDocument& document, const FORMATRANGE& range, bool render) {
    richtext::RichTextFormatRange r{nullptr, range.rc, range.rcPage, range.chrg};
    QPainter* painter = render ? PainterOfDC(range.hdc) : nullptr;
    if (!painter) return document.FormatRange(&r, false);
    const SIZE dpi = ResolutionOfDC(range.hdc);
    richtext::RichTextCanvas canvas(*painter, dpi.cx, dpi.cy);
    r.canvas = &canvas;
    return document.FormatRange(&r, true);
}

}  // namespace

void RegisterRichEditPeers() {
    RegisterPeerClass(u"RichEdit20W", [](TWinControl& c, const TCreateParams& p, PeerWidget* parent) {
        return std::make_unique<RichEditPeer>(c, p, parent);
    });
    SetRichTextDrawer(DrawRange);
}

}  // namespace vclqt
