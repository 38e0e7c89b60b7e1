// Shell items as "Shell IDList Array": a folder's ID list and its items' lists relative to it,
// in the synthetic shell namespace (an item per path component). The list of ID lists, the
// clipboard format and the data format that converts them to and from file names.
#pragma once

#include "controls/dragdrop/DataFormat.h"
#include "controls/dragdrop/SimpleFormats.h"
#include "platform/shell/IdListArray.h"

// Entry 0 is the folder, the others items relative to it.
class TPIDLList {
public:
    void Add(const ItemIdList& pidl);
    void Assign(const TPIDLList& other);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    const ItemIdList& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    void SetItem(int index, const ItemIdList& pidl);
    // The absolute paths of the items.
    std::vector<WideString> Filenames() const;
    // From the common folder of the paths; false (and empty) without paths.
    bool SetFilenames(const std::vector<WideString>& paths);

    TNotifyEvent OnChanging;

private:
    void Changed();
    std::vector<ItemIdList> items_;
};

class TPIDLClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    CLIPFORMAT GetClipboardFormat() override;
    TPIDLList& PIDLs() { return pidls_; }
    void Clear() override { pidls_.Clear(); }
    bool HasData() override { return pidls_.Count() > 0; }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override;

private:
    IdListArray Array() const;
    TPIDLList pidls_;
};

class TPIDLDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    explicit TPIDLDataFormat(TDragDropComponent* owner);
    TPIDLList& PIDLs() { return pidls_; }
    bool Assign(TClipboardFormat& source) override;
    bool AssignTo(TClipboardFormat& dest) override;
    void Clear() override { pidls_.Clear(); }
    bool HasData() override { return pidls_.Count() > 0; }
    bool NeedsData() override { return pidls_.Count() == 0; }

private:
    TPIDLList pidls_;
};
