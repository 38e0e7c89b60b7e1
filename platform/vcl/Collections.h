// TCollection and TCollectionItem: a list of persistent items of one class that form files
// store as "<item ... end>" (status panels, list columns, ...).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/SysUtils.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
    std::string_view ClassName() const override { return "TCollectionItem"; }

    TCollection* Collection() const { return collection_; }
    int Index() const;
    void SetIndex(int index);
    virtual AnsiString DisplayName() const { return AnsiString(ClassName()); }

protected:
    // Tells the collection that this item's values changed (all = false) or its layout did.
    void Changed(bool all);

private:
    friend class TCollection;
    TCollection* collection_;
};

// Owns its items. ItemFactory makes an item of the collection's item class.
class TCollection : public TPersistent {
public:
    using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection* collection)>;

    explicit TCollection(ItemFactory factory, TPersistent* owner = nullptr)
        : factory_(std::move(factory)), owner_(owner) {}
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    std::string_view ClassName() const override { return "TCollection"; }

    TPersistent* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void Move(int from, int to);
    int IndexOf(const TCollectionItem* item) const;

    void BeginUpdate();
    void EndUpdate();
    // Items copied one by one from another collection of the same item class.
    void Assign(const TPersistent* source) override;

    // Called after a change: item is the changed one, or null when the whole list changed.
    std::function<void(TCollection* sender, TCollectionItem* item)> OnUpdate;

protected:
    virtual void Update(TCollectionItem* item);
    void Changed(TCollectionItem* item);

private:
    friend class TCollectionItem;
    ItemFactory factory_;
    TPersistent* owner_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int updateCount_ = 0;
};
