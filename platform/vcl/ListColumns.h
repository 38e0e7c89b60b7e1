// The list view's columns: caption, width with its limits, alignment, image; a form file stores
// them as a collection.
#pragma once

#include "platform/vcl/Collections.h"
#include "platform/vcl/Controls.h"

class TCustomListView;

// Widths below zero ask the list view to size the column: to its content, or to its header.
inline constexpr int ColumnTextWidth = -1;
inline constexpr int ColumnHeaderWidth = -2;

class TListColumn : public TCollectionItem {
    QUILLORA_PERSISTENT(TListColumn)
public:
    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}

    const WideString& Caption() const { return caption_; }
    void SetCaption(const WideString& caption);
    int Width() const { return width_; }
    void SetWidth(int width);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int width);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The column takes the width the others leave.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    // The width within MinWidth and MaxWidth (0: no limit).
    int Clamped(int width) const;
    AnsiString DisplayName() const override;

private:
    friend class TCustomListView;
    WideString caption_;
    int width_ = 50;
    int minWidth_ = 0, maxWidth_ = 0;
    TAlignment alignment_ = taLeftJustify;
    int imageIndex_ = -1;
    bool autoSize_ = false;
    int tag_ = 0;
    bool ownerDrawnHeader_ = false;  // HDF_OWNERDRAW set by HDM_SETITEM
};

class TListColumns : public TCollection {
    QUILLORA_PERSISTENT(TListColumns)
public:
    explicit TListColumns(TCustomListView* owner);
    // Columns of a subclass of TListColumn.
    TListColumns(TCustomListView* owner, ItemFactory factory);
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListColumn* operator[](int index) const { return Items(index); }
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TCustomListView* Owner() const { return owner_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* owner_;
};
