#include "platform/vcl/OleDragDrop.h"

#include <map>
#include <mutex>

#include <cstring>

#include "platform/com/DropFilesBlock.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/WinUser.h"

namespace {

struct Registry {
    std::mutex lock;
    std::map<HWND, ComPtr<IDropTarget>> targets;
    // Targets of controls whose window went, for the window they make next.
    std::map<const TWinControl*, ComPtr<IDropTarget>> kept;
};

Registry& R() {
    static Registry r;
    return r;
}

TDragDropDriver& Driver() {
    static TDragDropDriver driver;
    return driver;
}

void AcceptDrops(HWND window, bool accept) {
    if (TWinControl* c = FindControl(window))
        if (TWidgetPeer* p = c->Peer()) p->AcceptDrops(accept);
}

}  // namespace

HRESULT RegisterDragDrop(HWND window, IDropTarget* target) {
    if (!target) return E_INVALIDARG;
    if (!IsWindow(window)) return DRAGDROP_E_INVALIDHWND;
    {
        std::lock_guard guard(R().lock);
        if (!R().targets.emplace(window, ComPtr<IDropTarget>(target)).second) return DRAGDROP_E_ALREADYREGISTERED;
    }
    AcceptDrops(window, true);
    return S_OK;
}

HRESULT RevokeDragDrop(HWND window) {
    ComPtr<IDropTarget> gone;  // released outside the lock
    {
        std::lock_guard guard(R().lock);
        const auto it = R().targets.find(window);
        if (it == R().targets.end()) return DRAGDROP_E_NOTREGISTERED;
        gone = std::move(it->second);
        R().targets.erase(it);
    }
    AcceptDrops(window, false);
    return S_OK;
}

void KeepDropTargetOfWindow(const TWinControl& control, HWND window) {
    ComPtr<IDropTarget> target = RegisteredDropTarget(window);
    if (!target) return;
    RevokeDragDrop(window);
    std::lock_guard guard(R().lock);
    R().kept[&control] = std::move(target);
}

void RestoreDropTargetOfWindow(const TWinControl& control, HWND window) {
    ComPtr<IDropTarget> target;
    {
        std::lock_guard guard(R().lock);
        const auto it = R().kept.find(&control);
        if (it == R().kept.end()) return;
        target = std::move(it->second);
        R().kept.erase(it);
    }
    RegisterDragDrop(window, target.get());
}

void ForgetDropTargetOfControl(const TWinControl& control) {
    ComPtr<IDropTarget> gone;  // released outside the lock
    std::lock_guard guard(R().lock);
    if (const auto it = R().kept.find(&control); it != R().kept.end()) {
        gone = std::move(it->second);
        R().kept.erase(it);
    }
}

ComPtr<IDropTarget> RegisteredDropTarget(HWND window) {
    std::lock_guard guard(R().lock);
    const auto it = R().targets.find(window);
    return it == R().targets.end() ? nullptr : it->second;
}

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect) {
    if (!data || !source || !effect) return E_INVALIDARG;
    *effect = DROPEFFECT_NONE;
    // A copy, so a driver may replace itself while it runs.
    const TDragDropDriver driver = Driver();
    if (!driver) return E_UNEXPECTED;
    CancelMouseCapture();
    return driver(data, source, okEffects, effect);
}

TDragDropDriver SetDragDropDriver(TDragDropDriver driver) { return std::exchange(Driver(), std::move(driver)); }

HRESULT TScriptedDropTarget::operator()(IDataObject* data, IDropSource* source, DWORD okEffects,
                                        DWORD* effect) const {
    const DWORD answer = Effect & okEffects;
    source->GiveFeedback(answer);
    if (source->QueryContinueDrag(FALSE, MK_LBUTTON) != S_OK) return DRAGDROP_S_CANCEL;
    source->GiveFeedback(answer);
    const HRESULT hr = source->QueryContinueDrag(Escape ? TRUE : FALSE, 0);
    if (hr != DRAGDROP_S_DROP) return hr;
    if (answer == DROPEFFECT_NONE) return DRAGDROP_S_CANCEL;
    FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    ScopedStgMedium medium;
    if (DroppedFiles && data->GetData(&files, medium.get()) == S_OK && (*medium).tymed == TYMED_HGLOBAL)
        *DroppedFiles = ReadFilesFromHGlobal((*medium).hGlobal);
    if (PerformedEffect != DROPEFFECT_NONE) {
        const std::u16string name = u"Performed DropEffect";
        FORMATETC f{static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name.c_str())), nullptr, DVASPECT_CONTENT, -1,
                    TYMED_HGLOBAL};
        STGMEDIUM m;
        m.tymed = TYMED_HGLOBAL;
        m.hGlobal = GlobalAlloc(GHND, sizeof(DWORD));
        if (m.hGlobal) {
            std::memcpy(GlobalLock(m.hGlobal), &PerformedEffect, sizeof(DWORD));
            GlobalUnlock(m.hGlobal);
            if (FAILED(data->SetData(&f, &m, TRUE))) ReleaseStgMedium(&m);
        }
    }
    *effect = answer;
    return DRAGDROP_S_DROP;
}
