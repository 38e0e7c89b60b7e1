// Windows as drop targets of the data-object model: a registered window hands every drag
// over it to its IDropTarget (the widget set turns the desktop's drag events into its calls).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/com/DataObject.h"
#include "platform/vcl/GdiTypes.h"

inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
inline constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
inline constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);

// The window keeps a reference to the target until it is revoked or destroyed.
HRESULT RegisterDragDrop(HWND window, IDropTarget* target);
HRESULT RevokeDragDrop(HWND window);
// The target registered for the window, if any.
ComPtr<IDropTarget> RegisteredDropTarget(HWND window);

class TWinControl;
// The class library's side of a registration: a control's window that goes is revoked, and
// its target is kept for the window the control makes next (RecreateWnd, a new parent);
// the control going, or its target being revoked meanwhile, forgets it.
void KeepDropTargetOfWindow(const TWinControl& control, HWND window);
void RestoreDropTargetOfWindow(const TWinControl& control, HWND window);
void ForgetDropTargetOfControl(const TWinControl& control);

// A whole drag from a source: runs until the drop or cancel and answers DRAGDROP_S_DROP with
// the target's effect, DRAGDROP_S_CANCEL, or an error. The toolkit keeps delivering other
// events while it runs. Without a driver (no display) the answer is E_UNEXPECTED.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect);

// What plays a drag: the desktop's once the widget set installs it, or a script in tests.
using TDragDropDriver = std::function<HRESULT(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect)>;
// Installs a driver and answers the one it replaces.
TDragDropDriver SetDragDropDriver(TDragDropDriver driver);

// Puts a driver in place for a scope and restores the previous one afterwards.
class TScopedDragDropDriver {
public:
    explicit TScopedDragDropDriver(TDragDropDriver driver) : previous_(SetDragDropDriver(std::move(driver))) {}
    TScopedDragDropDriver(const TScopedDragDropDriver&) = delete;
    TScopedDragDropDriver& operator=(const TScopedDragDropDriver&) = delete;
    ~TScopedDragDropDriver() { SetDragDropDriver(std::move(previous_)); }

private:
    TDragDropDriver previous_;
};

// A target played without the desktop: it asks the source for feedback with its effect, lets
// go of the button (or presses Escape) and, on a drop, takes the dropped files and may write
// the effect it performed back into the data.
struct TScriptedDropTarget {
    DWORD Effect = DROPEFFECT_COPY;  // what the target would do; masked with the allowed effects
    bool Escape = false;
    DWORD PerformedEffect = DROPEFFECT_NONE;  // written as "Performed DropEffect" when not none
    std::shared_ptr<std::vector<WideString>> DroppedFiles = std::make_shared<std::vector<WideString>>();

    HRESULT operator()(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect) const;
};
