// What hangs on the nodes of the favorites tree: folders, message favorites (a private copy of
// a message file) and shortcuts to folders, and how each is written to and read from an element
// of the favorites file.
#pragma once

#include <memory>

#include "platform/win/WinGuid.h"
#include "platform/win/WinTypes.h"
#include "platform/xml/XmlDocument.h"

class FavItem {
public:
    virtual ~FavItem() = default;
    virtual void SaveAttributes(XmlElement& element) const;
    // The element's name for this kind of item.
    virtual const char* ElementName() const { return "Item"; }
    virtual void Load(const XmlElement& element);
    void LoadFrom(const XmlElement& element) { Load(element); }
    // A new element for the item, its attributes written, linked as the parent's last child.
    XmlElement AppendTo(XmlElement& parent) const;

    std::int32_t Kind = -1;
    WideString Comments;
    WideString Tittle;
    std::int32_t ImageIndex = 0;
};

class FavFolder : public FavItem {
public:
    FavFolder() { Kind = 0; }
    const char* ElementName() const override { return "Folder"; }
};

class FavShortcut : public FavFolder {
public:
    FavShortcut() { Kind = 2; }
    const char* ElementName() const override { return "Shortcut"; }
    void SaveAttributes(XmlElement& element) const override;
    void Load(const XmlElement& element) override;

    WideString Path;
};

class FavMsg : public FavItem {
public:
    FavMsg();
    const char* ElementName() const override { return "Message"; }
    void SaveAttributes(XmlElement& element) const override;
    // Raises EConvertError "'%s' is not a valid GUID value" for a GUID attribute that is not one.
    void Load(const XmlElement& element) override;

    void NewGuid();
    WideString GetGuidText() const;
    AnsiString GetGuidAnsiText() const;
    // root/GUID/name, the name being the last part of FileName; a name that would leave the
    // item's own folder ("", ".", "..") gives the folder itself.
    WideString GetStoragePath(const WideString& root) const;

    GUID Guid{};
    WideString FileName;
};

// Folders are told by Kind 0 everywhere (folder lists, insertion parent, drop target, drag):
// a shortcut is a FavFolder by type but must not take children.
inline bool IsFavFolder(const FavItem* item) { return item && item->Kind == 0; }

// The item an element describes ("Folder", "Message", "Shortcut", case-sensitive), read from
// it; null for any other element.
std::unique_ptr<FavItem> CreateFavItem(const XmlElement& element);
