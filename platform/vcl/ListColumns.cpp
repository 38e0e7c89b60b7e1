#include "platform/vcl/ListColumns.h"

#include <algorithm>

#include "platform/vcl/ListView.h"

const TMetaClass& TListColumn::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TListColumn>("TListColumn", nullptr, [](TClassBuilder<TListColumn>& b) {
        b.Property("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment).Default(taLeftJustify);
        b.Property("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize).Default(false);
        b.Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
        b.Property("ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex).Default(-1);
        b.Property("MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth).Default(0);
        b.Property("MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth).Default(0);
        b.Property("Tag", &TListColumn::Tag, &TListColumn::SetTag).Default(0);
        b.Property("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
    });
    return meta;
}

void TListColumn::SetCaption(const WideString& caption) {
    caption_ = caption;
    Changed(false);
}

void TListColumn::SetWidth(int width) {
    if (width >= 0) width = Clamped(width);
    if (width == width_) return;
    width_ = width;
    Changed(false);
}

void TListColumn::SetMinWidth(int width) {
    minWidth_ = std::max(width, 0);
    if (width_ >= 0) SetWidth(width_);
}

void TListColumn::SetMaxWidth(int width) {
    maxWidth_ = std::max(width, 0);
    if (width_ >= 0) SetWidth(width_);
}

void TListColumn::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed(false);
}

void TListColumn::SetImageIndex(int index) {
    imageIndex_ = index;
    Changed(false);
}

void TListColumn::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Changed(true);
}

int TListColumn::Clamped(int width) const {
    if (maxWidth_ > 0) width = std::min(width, std::max(maxWidth_, minWidth_));
    return std::max(width, minWidth_);
}

AnsiString TListColumn::DisplayName() const { return caption_.empty() ? AnsiString("TListColumn") : Utf16ToUtf8(caption_); }

const TMetaClass& TListColumns::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TListColumns>("TListColumns", nullptr);
    return meta;
}

TListColumns::TListColumns(TCustomListView* owner)
    : TListColumns(owner, [](TCollection* c) { return std::make_unique<TListColumn>(c); }) {}

TListColumns::TListColumns(TCustomListView* owner, ItemFactory factory)
    : TCollection(std::move(factory), owner), owner_(owner) {
    TListColumn::StaticClass();  // form files find the items' properties by their class
}

void TListColumns::Update(TCollectionItem*) {
    if (owner_) owner_->ColumnsChanged();
}
