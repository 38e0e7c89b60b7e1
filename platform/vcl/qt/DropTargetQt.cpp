#include "platform/vcl/qt/DropTargetQt.h"

#include <cstring>

#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

#include "platform/com/FormatEtcEnumerator.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/OleDragDrop.h"
#include "platform/vcl/qt/DragSourceQt.h"
#include "platform/vcl/qt/FormatMime.h"

namespace vclqt {
namespace {

// The data of a drag from the desktop, rendered on request as global blocks. The MIME data
// belongs to the drag, so the object answers nothing once the drag is over.
class MimeDataObject final : public ComObject<IDataObject> {
public:
    explicit MimeDataObject(const QMimeData* data) : data_(data) {}

    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        if (!(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT || !data_) return DV_E_FORMATETC;
        const std::optional<std::string> bytes = FormatFromMime(*data_, format->cfFormat);
        if (!bytes) return DV_E_FORMATETC;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
        if (!block) return E_OUTOFMEMORY;
        if (!bytes->empty()) std::memcpy(GlobalLock(block), bytes->data(), bytes->size());
        GlobalUnlock(block);
        *medium = STGMEDIUM{};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        return S_OK;
    }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        if (!(format->tymed & TYMED_HGLOBAL) || !data_) return DV_E_FORMATETC;
        return FormatFromMime(*data_, format->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    // Answers from the desktop have nowhere to go.
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_INVALIDARG;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        if (data_)
            for (UINT f : FormatsOfMime(*data_)) formats.push_back({static_cast<CLIPFORMAT>(f), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        *out = MakeComObject<FormatEtcEnumerator>(std::move(formats)).Detach();
        return S_OK;
    }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    QPointer<const QMimeData> data_;
};

DWORD KeyState(const QDropEvent& e) {
    DWORD keys = 0;
    const Qt::KeyboardModifiers m = e.modifiers();
    const Qt::MouseButtons b = e.buttons();
    if (m & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (m & Qt::ControlModifier) keys |= MK_CONTROL;
    if (m & Qt::AltModifier) keys |= MK_ALT;
    if (b & Qt::LeftButton) keys |= MK_LBUTTON;
    if (b & Qt::RightButton) keys |= MK_RBUTTON;
    if (b & Qt::MiddleButton) keys |= MK_MBUTTON;
    return keys;
}

DWORD Effects(Qt::DropActions actions) {
    DWORD effects = DROPEFFECT_NONE;
    if (actions & Qt::CopyAction) effects |= DROPEFFECT_COPY;
    if (actions & Qt::MoveAction) effects |= DROPEFFECT_MOVE;
    if (actions & Qt::LinkAction) effects |= DROPEFFECT_LINK;
    return effects;
}

POINTL ScreenPoint(const QDropEvent& e, HWND window) {
    QPoint p = e.position().toPoint();
    if (TWinControl* c = FindControl(window))
        if (auto* w = dynamic_cast<QWidget*>(c->Peer())) p = w->mapToGlobal(p);
    return {p.x(), p.y()};
}

// Tells the desktop the target's answer: one effect it allowed, or a refusal.
void Answer(QDropEvent& e, HRESULT hr, DWORD effect) {
    effect &= Effects(e.possibleActions());
    const Qt::DropAction action = effect & DROPEFFECT_MOVE ? Qt::MoveAction
                                  : effect & DROPEFFECT_COPY ? Qt::CopyAction
                                  : effect & DROPEFFECT_LINK ? Qt::LinkAction
                                                             : Qt::IgnoreAction;
    if (FAILED(hr) || action == Qt::IgnoreAction) {
        e.ignore();
        return;
    }
    e.setDropAction(action);
    e.accept();
}

// One drag at a time passes over our windows; its data object lives from enter to leave or drop.
ComPtr<IDataObject>& CurrentData() {
    static ComPtr<IDataObject> data;
    return data;
}

}  // namespace

bool DeliverOleDragEvent(HWND window, QEvent* event) {
    const ComPtr<IDropTarget> target = RegisteredDropTarget(window);
    if (!target) return false;
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto& e = static_cast<QDropEvent&>(*event);
            const DWORD keys = KeyState(e);
            const POINTL pt = ScreenPoint(e, window);
            DWORD effect = Effects(e.possibleActions());
            HRESULT hr = S_OK;
            const bool fresh = event->type() == QEvent::DragEnter || !CurrentData();
            if (fresh) {
                // A drag from our own windows reaches the source's data object itself, so its
                // answers (the performed effect) get back to it.
                if (const auto* own = dynamic_cast<const DataObjectMime*>(e.mimeData()))
                    CurrentData() = ComPtr<IDataObject>(own->Source());
                else
                    CurrentData() = MakeComObject<MimeDataObject>(e.mimeData());
                hr = target->DragEnter(CurrentData().get(), keys, pt, &effect);
            }
            if (event->type() == QEvent::DragMove && !fresh) hr = target->DragOver(keys, pt, &effect);
            if (event->type() == QEvent::Drop) {
                if (SUCCEEDED(hr)) {
                    effect = Effects(e.possibleActions());
                    hr = target->Drop(CurrentData().get(), keys, pt, &effect);
                } else {
                    target->DragLeave();
                }
                CurrentData().reset();
            }
            Answer(e, hr, effect);
            return true;
        }
        case QEvent::DragLeave:
            target->DragLeave();
            CurrentData().reset();
            event->accept();
            return true;
        default:
            return false;
    }
}

}  // namespace vclqt
