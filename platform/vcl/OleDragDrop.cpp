#include "platform/vcl/OleDragDrop.h"

#include <map>
#include <mutex>

#include "platform/vcl/Controls.h"
#include "platform/vcl/WinUser.h"

namespace {

struct Registry {
    std::mutex lock;
    std::map<HWND, ComPtr<IDropTarget>> targets;
};

Registry& R() {
    static Registry r;
    return r;
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

ComPtr<IDropTarget> RegisteredDropTarget(HWND window) {
    std::lock_guard guard(R().lock);
    const auto it = R().targets.find(window);
    return it == R().targets.end() ? nullptr : it->second;
}
