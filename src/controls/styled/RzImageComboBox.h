// The image combo box: an owner-drawn styled combo box whose entries each carry an item with
// a picture (optionally with an overlay), an indent level and a caption. The closed box shows
// the chosen entry without its indent. The control owns its items: an item goes with its entry.
#pragma once

#include <memory>
#include <vector>

#include "controls/styled/RzComboBox.h"
#include "platform/vcl/GraphicsImageList.h"

class TRzCustomImageComboBox;

class TRzImageComboBoxItem : public TObject {
public:
    explicit TRzImageComboBoxItem(TRzCustomImageComboBox* owner) : owner_(owner) {}
    std::string_view ClassName() const override { return "TRzImageComboBoxItem"; }

    TRzCustomImageComboBox* Owner() const { return owner_; }
    int Index = 0;
    int IndentLevel() const { return indentLevel_; }
    void SetIndentLevel(int v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    int OverlayIndex = -1;
    const WideString& Caption() const { return caption_; }
    void SetCaption(const WideString& v);
    void* Data = nullptr;  // the user's, not owned

private:
    void Changed();
    TRzCustomImageComboBox* owner_;
    int indentLevel_ = 0;
    int imageIndex_ = 0;
    WideString caption_;
};

using TRzDeleteImageComboBoxItemEvent = std::function<void(TObject* sender, TRzImageComboBoxItem* item)>;
using TRzImageComboBoxGetItemDataEvent = std::function<void(TObject* sender, TRzImageComboBoxItem* item)>;

class TRzCustomImageComboBox : public TRzCustomComboBox {
    QUILLORA_COMPONENT(TRzCustomImageComboBox)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomImageComboBox(TComponent* owner);
    ~TRzCustomImageComboBox() override;

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* list);
    int ItemIndent() const { return itemIndent_; }
    void SetItemIndent(int v);
    bool AutoSizeHeight() const { return autoSizeHeight_; }
    void SetAutoSizeHeight(bool v);

    // Adds an entry with a new item; returns the item (the control keeps it).
    virtual TRzImageComboBoxItem* AddItem(const WideString& caption, int imageIndex, int indentLevel);
    // Adds an entry for an item made by the caller; the control takes it.
    void AddItemObject(const WideString& caption, std::unique_ptr<TRzImageComboBoxItem> item);
    // The item of entry index; null for an entry without one.
    TRzImageComboBoxItem* GetImageItem(int index) const;
    // The first entry whose caption is text, ignoring case; -1 when none.
    int IndexOfText(const WideString& text) const override;
    // Item height: the font's height plus 4, or the pictures' height when that is more.
    void AdjustItemHeight();

    TRzDeleteImageComboBoxItemEvent OnDeleteItem;
    TRzImageComboBoxGetItemDataEvent OnGetItemData;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    // Lets OnGetItemData fill in the item just before it is drawn.
    virtual void GetItemData(TRzImageComboBoxItem* item);
    void DeleteItem(void* data) override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Loaded() override;
    void CMFontChanged(TMessage& m);

private:
    std::vector<std::unique_ptr<TRzImageComboBoxItem>> items_;
    TCustomImageList* images_ = nullptr;
    int itemIndent_ = 12;
    bool autoSizeHeight_ = true;
    bool inFontChange_ = false;
};

class TRzImageComboBox : public TRzCustomImageComboBox {
    QUILLORA_COMPONENT(TRzImageComboBox)
public:
    using TRzCustomImageComboBox::TRzCustomImageComboBox;
};
