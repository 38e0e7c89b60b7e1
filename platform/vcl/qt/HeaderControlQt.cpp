#include "platform/vcl/qt/HeaderControlQt.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {

HeaderNotifier::HeaderNotifier(QHeaderView* header, TControl& target, UINT message, std::function<HWND()> from)
    : QObject(header), header_(header), target_(target), message_(message), from_(std::move(from)) {
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionResized, this, [this](int section, int, int size) { Resized(section, size); });
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) { Notify(HDN_ITEMCLICKW, section, -1); });
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int section) { Notify(HDN_DIVIDERDBLCLICKW, section, -1); });
}

LRESULT HeaderNotifier::Notify(UINT wideCode, int section, int width) {
    try {
        const bool unicode = target_.Perform(CCM_GETUNICODEFORMAT, 0, 0) != 0;
        return SendHeaderNotify(target_, message_, from_(), unicode, wideCode, section, width);
    } catch (...) {
        if (Application) Application->HandleException(&target_);
        return 0;
    }
}

void HeaderNotifier::Resized(int section, int newSize) {
    if (syncing_) return;
    NMHEADER probe;
    const UINT code = tracking_ == section ? HDN_TRACKW : HDN_ITEMCHANGEDW;
    // The receiver sees the width and may change it; the header follows.
    HDITEMW item;
    item.mask = HDI_WIDTH;
    item.cxy = newSize;
    probe.hdr.hwndFrom = from_();
    probe.iItem = section;
    probe.pitem = &item;
    try {
        const bool unicode = target_.Perform(CCM_GETUNICODEFORMAT, 0, 0) != 0;
        HDITEMA narrow;
        narrow.mask = HDI_WIDTH;
        narrow.cxy = newSize;
        if (!unicode) probe.pitem = &narrow;
        probe.hdr.code = unicode ? code : HeaderAnsiCode(code);
        target_.Perform(message_, 0, reinterpret_cast<LPARAM>(&probe));
        const int wanted = unicode ? item.cxy : narrow.cxy;
        if (wanted != newSize) {
            syncing_ = true;
            header_->resizeSection(section, wanted);
            syncing_ = false;
        }
    } catch (...) {
        syncing_ = false;
        if (Application) Application->HandleException(&target_);
    }
}

bool HeaderNotifier::eventFilter(QObject*, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        const auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() != Qt::LeftButton) return false;
        const int x = me->position().toPoint().x();
        // A divider: near the right edge of the section under the point, or the left edge of it.
        int section = header_->logicalIndexAt(x);
        if (section >= 0) {
            const int left = header_->sectionViewportPosition(section);
            const int right = left + header_->sectionSize(section);
            if (x >= right - THeaderLayout::DividerSlop) {
            } else if (x < left + THeaderLayout::DividerSlop && header_->visualIndex(section) > 0) {
                section = header_->logicalIndex(header_->visualIndex(section) - 1);
            } else {
                section = -1;
            }
        } else if (header_->count() > 0) {
            const int last = header_->logicalIndex(header_->count() - 1);
            const int right = header_->sectionViewportPosition(last) + header_->sectionSize(last);
            if (x < right + THeaderLayout::DividerSlop) section = last;
        }
        if (section >= 0 && header_->sectionResizeMode(section) == QHeaderView::Interactive) {
            if (Notify(HDN_BEGINTRACKW, section, header_->sectionSize(section)) != 0) return true;  // vetoed
            tracking_ = section;
        }
    } else if (e->type() == QEvent::MouseButtonRelease && tracking_ >= 0) {
        const int section = tracking_;
        tracking_ = -1;
        Notify(HDN_ENDTRACKW, section, header_->sectionSize(section));
    }
    return false;
}

namespace {

QString ToQ(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

Qt::Alignment AlignmentOf(TAlignment a) {
    return (a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

// The sections as the columns of a model without rows.
class SectionsModel : public QAbstractTableModel {
public:
    explicit SectionsModel(THeaderControl& control) : control_(control) {}
    int rowCount(const QModelIndex&) const override { return 0; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : control_.Sections()->Count();
    }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= control_.Sections()->Count()) return {};
        const THeaderSection* s = control_.Sections()->Items(section);
        if (role == Qt::DisplayRole) return s->Style() == hsOwnerDraw ? QString() : ToQ(s->Text());
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(s->Alignment()));
        return {};
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
    THeaderControl& control_;
};

class SectionsView : public QHeaderView {
public:
    explicit SectionsView(THeaderControl& control) : QHeaderView(Qt::Horizontal), control_(control) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        QHeaderView::paintSection(painter, rect, section);
        if (section < 0 || section >= control_.Sections()->Count()) return;
        if (control_.Sections()->Items(section)->Style() != hsOwnerDraw) return;
        painter->save();
        // The view clips with a path the drawing context cannot take over: the section's rectangle.
        painter->setClipRect(rect);
        HDC dc = CreatePainterDC(*painter);
        try {
            const bool pressed = section == pressed_;
            control_.DrawSection(dc, section, TRect(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1), pressed);
        } catch (...) {
            if (Application) Application->HandleException(&control_);
        }
        DeleteDC(dc);
        painter->restore();
    }

    void mousePressEvent(QMouseEvent* e) override {
        pressed_ = logicalIndexAt(e->position().toPoint());
        QHeaderView::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        pressed_ = -1;
        QHeaderView::mouseReleaseEvent(e);
        viewport()->update();
    }

private:
    THeaderControl& control_;
    int pressed_ = -1;
};

class HeaderPeer : public HostedPeer, public THeaderControlPeer {
public:
    HeaderPeer(THeaderControl& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent), control_(control), model_(control), view_(new SectionsView(control)) {
        view_->setModel(&model_);
        view_->setSectionsClickable(true);
        view_->setHighlightSections(false);
        view_->setStretchLastSection(false);
        view_->setMinimumSectionSize(0);
        Host(view_, {view_->viewport()});
        notifier_ = new HeaderNotifier(view_, control, CN_NOTIFY, [&control] { return control.WindowHandle(); });
        SectionsChanged();
    }
    ~HeaderPeer() override { view_->setModel(nullptr); }

    void SectionsChanged() override {
        if (view_->count() != control_.Sections()->Count()) model_.Reset();
        notifier_->SetSyncing(true);
        for (int i = 0; i < control_.Sections()->Count(); ++i) view_->resizeSection(i, control_.Sections()->Items(i)->Width());
        notifier_->SetSyncing(false);
        view_->viewport()->update();
    }

private:
    THeaderControl& control_;
    SectionsModel model_;
    SectionsView* view_;
    HeaderNotifier* notifier_ = nullptr;
};

}  // namespace

void RegisterHeaderControlPeers() {
    RegisterPeerClass(u"SysHeader32", [](TWinControl& control, const TCreateParams& params, PeerWidget* parent) -> std::unique_ptr<TWidgetPeer> {
        auto* header = dynamic_cast<THeaderControl*>(&control);
        if (!header) return nullptr;
        return std::make_unique<HeaderPeer>(*header, params, parent);
    });
}

}  // namespace vclqt
