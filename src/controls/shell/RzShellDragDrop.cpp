#include "controls/shell/RzShellDragDrop.h"

#include <cstdlib>
#include <filesystem>

#include "platform/shell/ShellNamespace.h"
#include "platform/shell/menus/ShellFileTransfer.h"
#include "platform/win/WinTime.h"

namespace {

constexpr int kHoverSize = 4;  // pixels the pointer may wander and still rest

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

}  // namespace

bool CanDragMove(const std::vector<DWORD>& attributes) {
    if (attributes.empty()) return false;
    for (const DWORD a : attributes)
        if (!(a & SFGAO_CANRENAME)) return false;
    return true;
}

TRzShellDragDrop::TRzShellDragDrop(TWinControl& control, Hooks hooks)
    : control_(control), hooks_(std::move(hooks)), target_(std::make_unique<TDropFileTarget>(nullptr)),
      source_(std::make_unique<TDropFileSource>(nullptr)), Clock([] { return GetTickCount(); }) {
    target_->DragTypes = {dtCopy, dtMove};
    // The files must be known while hovering, to refuse a folder dropped into itself.
    target_->GetDataOnEnter = true;
    // The move is done here: the source must not delete what it dragged.
    target_->OptimizedMove = true;
    target_->OnEnter = [this](TObject*, TShiftState, TPoint p, DWORD& effect) { Over(p, effect); };
    target_->OnDragOver = [this](TObject*, TShiftState, TPoint p, DWORD& effect) { Over(p, effect); };
    target_->OnDrop = [this](TObject*, TShiftState, TPoint p, DWORD& effect) { Drop(p, effect); };
    target_->OnLeave = [this](TObject*) { Leave(); };
}

TRzShellDragDrop::~TRzShellDragDrop() { target_->Unregister(); }

void TRzShellDragDrop::SetAcceptDrops(bool accept) {
    if (accept) target_->Register(&control_);
    else target_->Unregister();
}

TDragResult TRzShellDragDrop::DragFiles(const std::vector<std::string>& paths, bool canMove) {
    if (paths.empty() || source_->DragInProgress()) return drCancel;
    source_->Files().Clear();
    for (const std::string& p : paths) source_->Files().Add(p);
    source_->DragTypes = canMove ? TDragTypes{dtCopy, dtMove} : TDragTypes{dtCopy};
    const TDragResult result = source_->Execute();
    if ((result == drDropMove || result == drDropCopy) && hooks_.changed) hooks_.changed();
    return result;
}

DWORD TRzShellDragDrop::Allowed(const std::string& folder, DWORD effect) {
    if (folder.empty()) return DROPEFFECT_NONE;
    const TStrings& files = target_->Files();
    if (files.Count() == 0) return DROPEFFECT_NONE;
    bool allHere = true;
    for (int i = 0; i < files.Count(); ++i) {
        const std::string file = files[i];
        if (!ShellTransferProblem(folder, file).empty()) return DROPEFFECT_NONE;
        allHere &= SameFolder(std::filesystem::path(TransferSourcePath(file)).parent_path().string(), folder);
    }
    // Moving items to where they are does nothing.
    if (allHere && (effect & DROPEFFECT_MOVE)) return DROPEFFECT_NONE;
    return effect;
}

void TRzShellDragDrop::Over(TPoint client, DWORD& effect) {
    const std::string folder = hooks_.folderAt ? hooks_.folderAt(client) : std::string();
    const DWORD scroll = effect & DROPEFFECT_SCROLL;
    effect = Allowed(folder, effect & ~DROPEFFECT_SCROLL) | scroll;
    const DWORD now = Clock();
    if (std::abs(client.x - hoverPoint_.x) > kHoverSize || std::abs(client.y - hoverPoint_.y) > kHoverSize) {
        hoverPoint_ = client;
        hoverStart_ = now;
        hovered_ = false;
    } else if (!hovered_ && now - hoverStart_ >= HoverTime) {
        hovered_ = true;
        if (hooks_.hover) hooks_.hover(client);
    }
}

void TRzShellDragDrop::Drop(TPoint client, DWORD& effect) {
    const std::string folder = hooks_.folderAt ? hooks_.folderAt(client) : std::string();
    if (hooks_.clearHighlight) hooks_.clearHighlight();
    hovered_ = false;
    effect = Allowed(folder, effect);
    if (effect == DROPEFFECT_NONE) return;
    std::vector<std::string> files;
    for (int i = 0; i < target_->Files().Count(); ++i) files.push_back(target_->Files()[i]);
    const DWORD how = (effect & DROPEFFECT_MOVE) ? kShellTransferMove : kShellTransferCopy;
    const HWND owner = control_.HandleAllocated() ? control_.WindowHandle() : nullptr;
    if (FAILED(TransferShellFiles(owner, folder, files, how))) effect = DROPEFFECT_NONE;
    if (hooks_.changed) hooks_.changed();
}

void TRzShellDragDrop::Leave() {
    hovered_ = false;
    if (hooks_.clearHighlight) hooks_.clearHighlight();
}
