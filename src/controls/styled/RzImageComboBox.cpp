// The image combo box.
#include "controls/styled/RzImageComboBox.h"

#include <algorithm>

#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinString.h"

// ---- items

void TRzImageComboBoxItem::Changed() {
    if (owner_) owner_->Invalidate();
}

void TRzImageComboBoxItem::SetIndentLevel(int v) {
    indentLevel_ = v;
    Changed();
}

void TRzImageComboBoxItem::SetImageIndex(int v) {
    imageIndex_ = v;
    Changed();
}

void TRzImageComboBoxItem::SetCaption(const WideString& v) {
    caption_ = v;
    Changed();
}

// ---- the control

const TMetaClass& TRzCustomImageComboBox::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TRzCustomImageComboBox>("TRzCustomImageComboBox", &TRzCustomComboBox::StaticClass());
    return meta;
}

const TMessageTable& TRzCustomImageComboBox::ClassMessages() {
    static const TMessageTable table(&TRzCustomComboBox::ClassMessages(), {
        MESSAGE_HANDLER(CM_FONTCHANGED, TRzCustomImageComboBox::CMFontChanged),
    });
    return table;
}

const TMetaClass& TRzImageComboBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzImageComboBox>(
        "TRzImageComboBox", &TRzCustomImageComboBox::StaticClass(), [](TClassBuilder<TRzImageComboBox>& b) {
            using C = TRzImageComboBox;
            b.Property("Images", &C::Images, &C::SetImages);
            b.Property("ItemIndent", &C::ItemIndent, &C::SetItemIndent).Default(12);
            b.Property("AutoSizeHeight", &C::AutoSizeHeight, &C::SetAutoSizeHeight).Default(true);
            b.Property("ItemHeight", &C::ItemHeight, &C::SetItemHeight).Default(16);
            b.Property("AutoCloseUp", &C::AutoCloseUp, &C::SetAutoCloseUp).Default(false);
            b.Property("AutoDropDown", &C::AutoDropDown, &C::SetAutoDropDown).Default(false);
            b.Property("DropDownCount", &C::DropDownCount, &C::SetDropDownCount).Default(8);
            b.Property("DropDownWidth", &C::DropDownWidth, &C::SetDropDownWidth).Default(0);
            b.Property("MaxLength", &C::MaxLength, &C::SetMaxLength).Default(0);
            b.Property("ReadOnly", &C::ReadOnly, &C::SetReadOnly).Default(false);
            b.Property("Sorted", &C::Sorted, &C::SetSorted).Default(false);
            b.Property("TabOnEnter", &C::TabOnEnter, &C::SetTabOnEnter).Default(false);
            RegisterComboFrameProperties(b);
            RegisterComboEvents(b);
        });
    return meta;
}

TRzCustomImageComboBox::TRzCustomImageComboBox(TComponent* owner) : TRzCustomComboBox(owner) {
    SetShowFocusBorder(false);
    SetStyle(csOwnerDrawFixed);
}

// The entries go first so that no entry points at a freed item.
TRzCustomImageComboBox::~TRzCustomImageComboBox() {
    OnDeleteItem = nullptr;
    Items()->Clear();
}

void TRzCustomImageComboBox::Notification(TComponent* component, TOperation operation) {
    TRzCustomComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TRzCustomImageComboBox::SetImages(TCustomImageList* list) {
    if (images_ == list) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = list;
    if (images_) images_->FreeNotification(this);
    Invalidate();
    if (!Loading()) AdjustItemHeight();
}

void TRzCustomImageComboBox::SetItemIndent(int v) {
    if (v == itemIndent_) return;
    itemIndent_ = v;
    Invalidate();
}

void TRzCustomImageComboBox::SetAutoSizeHeight(bool v) {
    autoSizeHeight_ = v;
    if (v && !Loading()) AdjustItemHeight();
}

void TRzCustomImageComboBox::Loaded() {
    TRzCustomComboBox::Loaded();
    AdjustItemHeight();
}

void TRzCustomImageComboBox::AdjustItemHeight() {
    if (!autoSizeHeight_ || inFontChange_) return;
    inFontChange_ = true;
    try {
        // The font's cell height on the screen (FontMinimumHeight adds 2) plus 4; a copy,
        // since the font's own handle may still be the old one while it reports a change.
        TFont font;
        font.Assign(Font());
        int height = FontMinimumHeight(font) + 2;
        if (images_) height = std::max(height, images_->Height());
        SetItemHeight(height);
    } catch (...) {
        inFontChange_ = false;
        throw;
    }
    inFontChange_ = false;
}

void TRzCustomImageComboBox::CMFontChanged(TMessage& m) {
    InheritedMessage(TRzCustomComboBox::ClassMessages(), m);
    AdjustItemHeight();
}

TRzImageComboBoxItem* TRzCustomImageComboBox::AddItem(const WideString& caption, int imageIndex, int indentLevel) {
    auto item = std::make_unique<TRzImageComboBoxItem>(this);
    item->SetImageIndex(imageIndex);
    item->SetIndentLevel(indentLevel);
    item->SetCaption(caption);
    TRzImageComboBoxItem* raw = item.get();
    items_.push_back(std::move(item));
    raw->Index = Items()->AddObject(Utf16ToUtf8(caption), raw);
    return raw;
}

void TRzCustomImageComboBox::AddItemObject(const WideString& caption, std::unique_ptr<TRzImageComboBoxItem> item) {
    if (!item) {
        Items()->Add(Utf16ToUtf8(caption));
        return;
    }
    TRzImageComboBoxItem* raw = item.get();
    items_.push_back(std::move(item));
    Items()->AddObject(Utf16ToUtf8(caption), raw);
}

TRzImageComboBoxItem* TRzCustomImageComboBox::GetImageItem(int index) const {
    TObject* object = Items()->GetObject(index);
    if (!object) return nullptr;
    auto* item = dynamic_cast<TRzImageComboBoxItem*>(object);
    if (!item) throw EInvalidCast("Invalid class typecast");
    return item;
}

int TRzCustomImageComboBox::IndexOfText(const WideString& text) const {
    for (int i = 0; i < Items()->Count(); ++i) {
        const TRzImageComboBoxItem* item = GetImageItem(i);
        if (WideSameText(item ? item->Caption() : WideString(), text)) return i;
    }
    return -1;
}

void TRzCustomImageComboBox::GetItemData(TRzImageComboBoxItem* item) {
    if (OnGetItemData) OnGetItemData(this, item);
}

// An entry's item goes with it.
void TRzCustomImageComboBox::DeleteItem(void* data) {
    auto* item = dynamic_cast<TRzImageComboBoxItem*>(static_cast<TObject*>(data));
    if (OnDeleteItem) OnDeleteItem(this, item);
    const auto at = std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; });
    if (at != items_.end()) items_.erase(at);
}

void TRzCustomImageComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TRzImageComboBoxItem* item = GetImageItem(index);
    if (!item) return;
    GetItemData(item);
    TCanvas& canvas = *Canvas();
    const int indent = state.Contains(odComboBoxEdit) ? 0 : item->IndentLevel();
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(rect);
    int pictureWidth = 0;
    if (images_) {
        const TColor savedBk = images_->BkColor;
        images_->BkColor = ColorToRGB(Color());
        try {
            const int x = rect.left + 2 + itemIndent_ * indent;
            const int y = (rect.top + rect.bottom - images_->Height()) / 2;
            if (item->OverlayIndex >= 0) images_->DrawOverlay(&canvas, x, y, item->ImageIndex(), item->OverlayIndex, Enabled());
            else images_->Draw(&canvas, x, y, item->ImageIndex(), Enabled());
        } catch (...) {
            images_->BkColor = savedBk;
            throw;
        }
        images_->BkColor = savedBk;
        pictureWidth = images_->Width();
    }
    // Only the caption's box shows the selection.
    canvas.Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color());
    if (item->Caption().empty()) return;
    TRect box;
    box.left = rect.left + itemIndent_ * indent + (images_ ? pictureWidth + 4 : 4) + 1;
    box.right = box.left + canvas.TextWidth(item->Caption()) + 3;
    box.top = rect.top;
    box.bottom = rect.bottom - 1;
    if (!Enabled()) canvas.Font()->SetColor(clBtnShadow);
    canvas.TextRect(box, box.left + 1, box.top + 1, item->Caption());
}

void RegisterStyledCombos() { RegisterClasses({&TRzComboBox::StaticClass(), &TRzImageComboBox::StaticClass()}); }
