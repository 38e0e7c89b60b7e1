// The list view's items: TListItem (caption, sub-items with their images, image and state
// indices, data) and TListItems, the list that owns them. In owner-data mode TListItems holds
// no items: Count is a number and Item(i) is one item filled by OnData for row i.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Strings.h"
#include "platform/vcl/Types.h"

class TCustomListView;
class TListItem;
class TListItems;

enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };

// An item's sub-item texts, each with an object and an image index.
class TSubItems : public TWideStrings {
public:
    explicit TSubItems(TListItem* owner) : owner_(owner) {}
    std::string_view ClassName() const override { return "TSubItems"; }

    WideString Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const WideString& text) override;
    void Put(int index, const WideString& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    // -1: no image.
    int ImageIndex(int index) const;
    void SetImageIndex(int index, int image);

protected:
    void SetUpdateState(bool updating) override;

private:
    struct Entry {
        WideString text;
        TObject* object = nullptr;
        int image = -1;
    };
    void CheckIndex(int index, int limit) const;
    void Changed();
    TListItem* owner_;
    std::vector<Entry> items_;
};

class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;
    std::string_view ClassName() const override { return "TListItem"; }

    TListItems* Owner() const { return owner_; }
    TCustomListView* ListView() const;
    int Index() const { return index_; }

    const WideString& Caption() const { return caption_; }
    void SetCaption(const WideString& caption);
    TSubItems* SubItems() const { return subItems_.get(); }
    void SetSubItems(const TWideStrings* items) { subItems_->Assign(items); }
    int SubItemImages(int index) const { return subItems_->ImageIndex(index); }
    void SetSubItemImages(int index, int image) { subItems_->SetImageIndex(index, image); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The state image (0-based; -1 none). With check boxes 0 is unchecked and 1 checked.
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int index);
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int index);
    int Indent() const { return indent_; }
    void SetIndent(int indent) { indent_ = indent; }
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }

    // The state the list view keeps: setting it sends the change notifications, which a
    // handler may veto (the value then stays).
    bool Checked() const;
    void SetChecked(bool checked);
    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);
    bool Cut() const;
    void SetCut(bool cut);
    bool DropTarget() const;
    void SetDropTarget(bool target);

    TRect DisplayRect(TDisplayCode code) const;
    TPoint Position() const;
    void MakeVisible(bool partialOK);
    bool EditCaption();
    void Update();
    void Delete();
    void Assign(const TPersistent* source) override;

private:
    friend class TListItems;
    friend class TSubItems;
    friend class TCustomListView;
    void Changed();
    void SetState(UINT state, UINT mask);
    bool HasState(UINT mask) const;

    TListItems* owner_;
    int index_ = -1;
    WideString caption_;
    std::unique_ptr<TSubItems> subItems_;
    int imageIndex_ = -1;
    int stateIndex_ = -1;
    bool dropHilited_ = false;  // drawn as where a drag would drop
    int overlayIndex_ = -1;
    int indent_ = 0;
    void* data_ = nullptr;
    bool filling_ = false;  // OnData fills the item: nothing to tell the list view
    std::uint32_t textCallbacks_ = 0;  // columns whose text the owner gives (LPSTR_TEXTCALLBACK)
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView* owner);
    ~TListItems() override;
    std::string_view ClassName() const override { return "TListItems"; }

    TCustomListView* Owner() const { return owner_; }
    int Count() const;
    // Owner-data mode: the number of rows the list shows; otherwise it cannot be set.
    void SetCount(int count);
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    // Adds a copy of item (or a fresh one) at index (-1: at the end).
    TListItem* AddItem(const TListItem* item, int index = -1);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    void Assign(const TPersistent* source) override;

private:
    friend class TCustomListView;
    void Renumber(int from);
    TCustomListView* owner_;
    std::vector<std::unique_ptr<TListItem>> items_;
    int updateCount_ = 0;
};
