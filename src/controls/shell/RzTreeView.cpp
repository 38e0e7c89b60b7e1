#include "controls/shell/RzTreeView.h"

#include <algorithm>

#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Forms.h"

TRzCustomTreeView::TRzCustomTreeView(TComponent* owner)
    : TCustomTreeView(owner), selectionPen_(std::make_unique<TPen>()) {
    selectionPen_->SetColor(clBtnShadow);
    selectionPen_->OnChange = [this](TObject*) { Invalidate(); };
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    frame_.normalColor = clWindow;
}

TRzCustomTreeView::~TRzCustomTreeView() {
    selectionPen_->OnChange = nullptr;
    SetFrameController(nullptr);
}

TTreeNode* TRzCustomTreeView::CurrentNode() const {
    if (RightClickSelect() && rightClickNode_) return rightClickNode_;
    return Selected();
}

// ---- text import and export

void TRzCustomTreeView::LoadFromStrings(const TStrings& strings) {
    TTreeNodes& items = *Items();
    items.BeginUpdate();
    try {
        items.Clear();
        TTreeNode* previous = nullptr;
        int firstIndent = 0;
        for (int i = 0; i < strings.Count(); ++i) {
            const AnsiString line = strings[i];
            const std::size_t textStart = line.find_first_not_of("\t ");
            if (textStart == AnsiString::npos) continue;  // blank lines hold no node
            const WideString text = Utf8ToUtf16(line.substr(textStart));
            // Levels count from the first node's indentation, so an indented first line is the
            // root level and nothing can climb above it.
            if (!previous) firstIndent = static_cast<int>(textStart);
            const int level = static_cast<int>(textStart) - firstIndent;
            if (!previous) {
                if (level != 0) break;
                previous = items.AddChild(nullptr, text);
                continue;
            }
            const int previousLevel = previous->Level();
            if (level < 0 || level > previousLevel + 1) {
                throw ETreeViewError("Invalid level (" + std::to_string(level + firstIndent) + ") for item \"" +
                                     line.substr(textStart) + "\"");
            }
            if (level == previousLevel + 1) {
                previous = items.AddChild(previous, text);
            } else {
                TTreeNode* sibling = previous;
                while (sibling->Level() > level) sibling = sibling->Parent();
                previous = items.AddChild(sibling->Parent(), text);
            }
        }
    } catch (...) {
        items.EndUpdate();
        Invalidate();
        throw;
    }
    items.EndUpdate();
}

void TRzCustomTreeView::SaveToStrings(TStrings& strings) const {
    for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNext())
        strings.Add(AnsiString(static_cast<std::size_t>(node->Level()), '\t') + Utf16ToUtf8(node->Text()));
}

// ---- colours and frame

bool TRzCustomTreeView::UseThemes() const { return frame_.UseThemes(); }

void TRzCustomTreeView::UpdateColors() {
    if (ComponentState().Contains(csLoading)) return;
    frame_.ApplyStateColor(*this, Enabled(), Focused());
}

void TRzCustomTreeView::ColorChanged() {
    frame_.ColorChanged(Color());
    if (frame_.visible && !UseThemes()) RepaintFrame();
}

void TRzCustomTreeView::UpdateFrame(bool viaMouse, bool active) {
    if (viaMouse) frame_.overControl = active;
    if (frame_.hotTrack) RepaintFrame();
    UpdateColors();
}

void TRzCustomTreeView::RepaintFrame() {
    if (HandleAllocated()) RedrawNonClientFrame(WindowHandle(), TRect(0, 0, Width(), Height()));
}

void TRzCustomTreeView::PaintFrame(TCanvas& canvas, int width, int height) const {
    frame_.Paint(canvas, width, height, Color(), Focused());
}

void TRzCustomTreeView::PaintSelectionOutline(TCanvas& canvas) const {
    TTreeNode* node = CurrentNode();
    if (HideSelection() || Focused() || IsEditing() || !node) return;
    canvas.Pen()->Assign(selectionPen_.get());
    canvas.Brush()->SetStyle(bsClear);
    const TRect r = node->DisplayRect(true);
    canvas.Rectangle(r.left, r.top, r.right, r.bottom);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(psSolid);
}

void TRzCustomTreeView::SetFrameHotTrack(bool v) {
    if (frame_.hotTrack == v) return;
    frame_.hotTrack = v;
    if (v) {
        SetFrameVisible(true);
        if (!ComponentState().Contains(csLoading)) frame_.sides = sdAllSides;
    }
    RepaintFrame();
    Invalidate();
}

void TRzCustomTreeView::SetFrameVisible(bool v) {
    if (frame_.visible == v) return;
    frame_.visible = v;
    recreating_ = true;
    if (HandleAllocated()) RecreateWnd();
    recreating_ = false;
}

void TRzCustomTreeView::SetFramingPreference(TFramingPreference v) {
    if (frame_.framingPreference == v) return;
    frame_.framingPreference = v;
    if (v == fpCustomFraming) RepaintFrame();
}

void TRzCustomTreeView::SetDisabledColor(TColor v) {
    frame_.disabledColor = v;
    if (!Enabled()) UpdateColors();
}

void TRzCustomTreeView::SetFocusColor(TColor v) {
    frame_.focusColor = v;
    if (Focused()) UpdateColors();
}

// ---- context menus

void TRzCustomTreeView::NodeContextMenu(TTreeNode* node, TPoint pos) {
    TPopupMenu* menu = dynamic_cast<TPopupMenu*>(PopupMenu());
    TPopupMenu* const original = menu;
    if (OnNodeContextMenu) OnNodeContextMenu(this, node, pos, menu);
    if (menu != original) menuHandled_ = true;
    if (!menu) return;
    menu->SetPopupComponent(this);
    SetCaptureControl(nullptr);
    const TPoint screen = ClientToScreen(pos);
    menu->Popup(screen.x, screen.y);
}

void TRzCustomTreeView::RightClicked() {
    const TPoint p = ScreenToClient(Mouse->CursorPos());
    TTreeNode* node = GetNodeAt(p.x, p.y);
    rightClickNode_ = node ? node : Selected();
    if (!rightClickNode_) return;
    try {
        NodeContextMenu(rightClickNode_, p);
    } catch (...) {
        rightClickNode_ = nullptr;
        throw;
    }
    rightClickNode_ = nullptr;
    menuHandled_ = true;
}

void TRzCustomTreeView::KeyboardMenu() {
    if (TTreeNode* node = CurrentNode()) {
        const TRect r = node->DisplayRect(true);
        NodeContextMenu(node, TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    } else if (auto* menu = dynamic_cast<TPopupMenu*>(PopupMenu())) {
        menu->SetPopupComponent(this);
        const TPoint screen = ClientToScreen(TPoint(0, 0));
        menu->Popup(screen.x, screen.y);
    }
}

// True when the request was answered here; the platform's handling never runs for it.
bool TRzCustomTreeView::ContextMenuRequest(const TMessage& m) {
    if (ComponentState().Contains(csDesigning) || CurrentNode() || menuHandled_) return true;
    const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
    if (x == -1 && y == -1) KeyboardMenu();
    else NodeContextMenu(nullptr, ScreenToClient(TPoint(x, y)));
    return true;
}

void TRzCustomTreeView::RightButtonUp(TMessage& m) {
    auto* menu = dynamic_cast<TPopupMenu*>(PopupMenu());
    if (!menuHandled_ || !menu) {
        TCustomTreeView::WndProc(m);
        menuHandled_ = false;
        return;
    }
    const bool autoPopup = menu->AutoPopup();
    menu->SetAutoPopup(false);
    try {
        TCustomTreeView::WndProc(m);
    } catch (...) {
        menu->SetAutoPopup(autoPopup);
        menuHandled_ = false;
        throw;
    }
    menu->SetAutoPopup(autoPopup);
    menuHandled_ = false;
}

void TRzCustomTreeView::KeyDown(WORD& key, TShiftState shift) {
    if ((key == VK_APPS && shift.Empty()) || (key == VK_F10 && shift == TShiftState{ssShift})) {
        key = 0;
        KeyboardMenu();
    }
    TCustomTreeView::KeyDown(key, shift);
}

// ---- wheel and display information

void TRzCustomTreeView::MouseWheelScroll(int delta) {
    int pos = VertScrollPos();
    const int lines = Mouse->WheelScrollLines();
    pos = delta < 0 ? pos + lines : std::max(pos - lines, 0);
    Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos)), 0);
}

// Each image event fires once per request: asked here, then kept away from the platform's own
// answer.
void TRzCustomTreeView::DisplayInfo(TMessage& m) {
    auto* nm = reinterpret_cast<NMTVDISPINFOW*>(m.LParam);
    TTreeNode* node = (nm->item.mask & TVIF_PARAM) ? reinterpret_cast<TTreeNode*>(nm->item.lParam)
                                                   : Items()->GetNode(nm->item.hItem);
    if (node) {
        if (nm->item.mask & TVIF_IMAGE) {
            if (OnGetImageIndex) OnGetImageIndex(this, node);
            nm->item.iImage = node->ImageIndex();
        }
        if (nm->item.mask & TVIF_SELECTEDIMAGE) {
            if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
            nm->item.iSelectedImage = node->SelectedIndex();
        }
    }
    TTVExpandedEvent image = std::move(OnGetImageIndex), selected = std::move(OnGetSelectedIndex);
    OnGetImageIndex = nullptr;
    OnGetSelectedIndex = nullptr;
    try {
        TCustomTreeView::WndProc(m);
    } catch (...) {
        OnGetImageIndex = std::move(image);
        OnGetSelectedIndex = std::move(selected);
        throw;
    }
    OnGetImageIndex = std::move(image);
    OnGetSelectedIndex = std::move(selected);
}

// ---- items

void TRzCustomTreeView::SetFramedItemHeight(int v) {
    if (itemHeight_ == v) return;
    itemHeight_ = v;
    UpdateItemHeight();
}

void TRzCustomTreeView::UpdateItemHeight() {
    if (itemHeight_ < 0) itemHeight_ = 0;
    if (HandleAllocated()) Perform(TVM_SETITEMHEIGHT, static_cast<WPARAM>(itemHeight_ == 0 ? -1 : itemHeight_), 0);
}

void TRzCustomTreeView::SetAutoSelect(bool v) {
    if (autoSelect_ == v) return;
    autoSelect_ = v;
    if (v) SetAutoExpand(false);
}

void TRzCustomTreeView::SetAutoExpandFramed(bool v) {
    SetAutoExpand(v);
    if (v) autoSelect_ = false;
}

void TRzCustomTreeView::Expand(TTreeNode* node) {
    TCustomTreeView::Expand(node);
    if (autoSelect_ && node) SetSelected(node);
}

bool TRzCustomTreeView::CanCollapse(TTreeNode* node) {
    const bool allowed = TCustomTreeView::CanCollapse(node);
    if (allowed && autoSelect_ && node) SetSelected(node);
    return allowed;
}

void TRzCustomTreeView::CreateWnd() {
    TCustomTreeView::CreateWnd();
    UpdateItemHeight();
}

void TRzCustomTreeView::Loaded() {
    TCustomTreeView::Loaded();
    UpdateItemHeight();
    UpdateColors();
    UpdateFrame(false, false);
}

void TRzCustomTreeView::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_ENTER:
        UpdateFrame(false, true);
        TCustomTreeView::WndProc(m);
        return;
    case CM_EXIT:
        TCustomTreeView::WndProc(m);
        UpdateFrame(false, false);
        return;
    case WM_MOUSEWHEEL:
        MouseWheelScroll(static_cast<short>(HIWORD(m.WParam)));
        m.Result = 1;
        return;
    case WM_CONTEXTMENU:
        ContextMenuRequest(m);
        m.Result = 1;
        return;
    case WM_RBUTTONUP: RightButtonUp(m); return;
    case CN_NOTIFY:
        if (const auto* hdr = reinterpret_cast<const NMHDR*>(m.LParam)) {
            if (hdr->code == TVN_GETDISPINFOW || hdr->code == TVN_GETDISPINFOA) {
                DisplayInfo(m);
                return;
            }
            if (hdr->code == NM_RCLICK && !ComponentState().Contains(csDesigning)) RightClicked();
        }
        break;
    default: break;
    }
    TCustomTreeView::WndProc(m);
    switch (m.Msg) {
    case CM_MOUSEENTER:
        if (!ComponentState().Contains(csDesigning)) UpdateFrame(true, true);
        break;
    case CM_MOUSELEAVE:
        if (!ComponentState().Contains(csDesigning)) UpdateFrame(true, false);
        break;
    case CM_ENABLEDCHANGED: UpdateColors(); break;
    case CM_COLORCHANGED: ColorChanged(); break;
    case CM_SYSCOLORCHANGE:
        if (IsSystemColor(Color())) Perform(CM_COLORCHANGED, m.WParam, m.LParam);
        break;
    case WM_NCCALCSIZE: frame_.ReserveBorder(m); break;
    case WM_NCPAINT:
        frame_.PaintNonClient(*this, Focused());
        if (frame_.Painted()) m.Result = 0;
        break;
    case WM_PAINT:
        if (m.WParam) {
            TCanvas canvas;
            canvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
            PaintSelectionOutline(canvas);
            canvas.SetHandle(nullptr);
        }
        break;
    case WM_SIZE:
        if (frame_.visible && !UseThemes()) RepaintFrame();
        break;
    default: break;
    }
}

void TRzCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TCustomTreeView::Notification(component, operation);
    if (operation == TOperation::opRemove && component == frame_.controller) frame_.controller = nullptr;
}

void TRzCustomTreeView::DefineProperties(TFiler* filer) {
    TCustomTreeView::DefineProperties(filer);
    frame_.DefineRetired(*filer);
}

const TMetaClass& TRzCustomTreeView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomTreeView>("TRzCustomTreeView", &TCustomTreeView::StaticClass());
    return meta;
}

const TMetaClass& TRzTreeView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzTreeView>(
        "TRzTreeView", &TRzCustomTreeView::StaticClass(), [](TClassBuilder<TRzTreeView>& b) { PublishFramedTreeView(b); });
    return meta;
}
