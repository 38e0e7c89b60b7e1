#include "controls/shell/RzTreeView.h"

#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsThemes.h"

TRzCustomTreeView::TRzCustomTreeView(TComponent* owner)
    : TCustomTreeView(owner), selectionPen_(std::make_unique<TPen>()) {
    selectionPen_->SetColor(clBtnShadow);
    selectionPen_->OnChange = [this](TObject*) { Invalidate(); };
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    normalColor_ = clWindow;
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

bool TRzCustomTreeView::UseThemes() const {
    return framingPreference_ == fpXPThemes && ThemeServices()->ThemesEnabled();
}

void TRzCustomTreeView::UpdateColors() {
    if (ComponentState().Contains(csLoading)) return;
    updatingColor_ = true;
    try {
        if (!Enabled()) SetColor(disabledColor_);
        else if (Focused()) SetColor(focusColor_);
        else SetColor(normalColor_);
    } catch (...) {
        updatingColor_ = false;
        throw;
    }
    updatingColor_ = false;
}

void TRzCustomTreeView::ColorChanged() {
    if (!updatingColor_) {
        if (focusColor_ == normalColor_) focusColor_ = Color();
        normalColor_ = Color();
    }
    if (frameVisible_ && !UseThemes()) RepaintFrame();
}

void TRzCustomTreeView::UpdateFrame(bool viaMouse, bool active) {
    if (viaMouse) overControl_ = active;
    if (frameHotTrack_) RepaintFrame();
    UpdateColors();
}

void TRzCustomTreeView::RepaintFrame() {
    if (HandleAllocated()) RedrawNonClientFrame(WindowHandle(), TRect(0, 0, Width(), Height()));
}

void TRzCustomTreeView::PaintFrame(TCanvas& canvas, int width, int height) const {
    if (!frameVisible_ || UseThemes()) return;
    const bool hot = FrameHot();
    PaintNonClientFrame(canvas, width, height, frameSides_, hot ? frameHotColor_ : frameColor_, Color(),
                        hot ? frameHotStyle_ : frameStyle_);
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
    if (frameHotTrack_ == v) return;
    frameHotTrack_ = v;
    if (v) {
        SetFrameVisible(true);
        if (!ComponentState().Contains(csLoading)) frameSides_ = sdAllSides;
    }
    RepaintFrame();
    Invalidate();
}

void TRzCustomTreeView::SetFrameVisible(bool v) {
    if (frameVisible_ == v) return;
    frameVisible_ = v;
    recreating_ = true;
    if (HandleAllocated()) RecreateWnd();
    recreating_ = false;
}

void TRzCustomTreeView::SetFramingPreference(TFramingPreference v) {
    if (framingPreference_ == v) return;
    framingPreference_ = v;
    if (v == fpCustomFraming) RepaintFrame();
}

void TRzCustomTreeView::SetDisabledColor(TColor v) {
    disabledColor_ = v;
    if (!Enabled()) UpdateColors();
}

void TRzCustomTreeView::SetFocusColor(TColor v) {
    focusColor_ = v;
    if (Focused()) UpdateColors();
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

void TRzCustomTreeView::KeyDown(WORD& key, TShiftState shift) { TCustomTreeView::KeyDown(key, shift); }

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
    case WM_NCPAINT:
        if (frameVisible_ && !UseThemes() && HandleAllocated()) {
            if (HDC dc = GetWindowDC(WindowHandle())) {
                TCanvas canvas;
                canvas.SetHandle(dc);
                PaintFrame(canvas);
                canvas.SetHandle(nullptr);
                ReleaseDC(WindowHandle(), dc);
            }
            m.Result = 0;
        }
        break;
    case WM_SIZE:
        if (frameVisible_ && !UseThemes()) RepaintFrame();
        break;
    default: break;
    }
}

void TRzCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TCustomTreeView::Notification(component, operation);
    if (operation == TOperation::opRemove && component == frameController_) frameController_ = nullptr;
}

void TRzCustomTreeView::DefineProperties(TFiler* filer) {
    TCustomTreeView::DefineProperties(filer);
    DefineRetiredFrameProperties(
        *filer,
        [this](bool flat) {
            frameHotTrack_ = flat;
            if (flat) {
                frameStyle_ = fsStatus;
                frameHotStyle_ = fsLowered;
            }
        },
        [this](TFrameStyle s) { frameHotStyle_ = s; });
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
