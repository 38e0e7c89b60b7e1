// A collection of MAPI properties in a message's property tree, with the searches and field
// accessors over it. Every collection of one tree has the message as its owner.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "message/MSGProperty.h"

class TMSGProperties {
public:
    explicit TMSGProperties(TMessage* owner) : owner_(owner) {}
    TMSGProperties(const TMSGProperties&) = delete;
    TMSGProperties& operator=(const TMSGProperties&) = delete;

    TMSGProperty& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    TMSGProperty& GetProperty(int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TMSGProperty& GetProperty(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    // Deep-copies the property into the item at index.
    void SetProperty(int index, const TMSGProperty& property);
    void Clear() { items_.clear(); }
    // Deep copy: this collection's items become copies of the source's.
    void Assign(const TMSGProperties& source);

    TMessage* GetOwner() const { return owner_; }
    // True for the owner's root collection only.
    bool IsMainProperties() const;

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    // Own items first, in order; then, when recursive, depth-first into each item's children.
    // byId compares property ids only.
    TMSGProperty* GetPropertyByTag(std::uint32_t tag, bool byId, bool recursive) const;
    WideString GetPropertyAsString(std::uint32_t tag, bool byId, bool recursive) const;

    // Field accessors: the root collection searches its own items only, any other collection
    // its whole subtree.
    WideString GetSubject() const;
    WideString GetBody() const;
    WideString GetHTMLBody() const;
    WideString GetTransportHeader() const;
    WideString GetMessageID() const;
    DateTime GetMessageDate() const;
    int GetCodePage() const;  // 0x3FFD0003 anywhere in the tree, 0 when absent
    WideString GetSenderName() const;
    WideString GetRecipientName() const;
    WideString GetCC() const;
    WideString GetBCC() const;

    // Attachment storages among the own items, and those nested directly under attachment items.
    int GetAttachmentCount() const;
    TMSGProperty* GetAttachment(int index) const;
    // Writes the attachment's data (0x3701000D, else 0x37010102). False when there is none.
    bool SaveAttachmentToStream(int index, std::ostream& out) const;
    // Writes the data to a temporary file beside path and renames it into place; the file is
    // created (empty) even when the index finds nothing. False when the file cannot be written.
    bool SaveAttachmentToFile(int index, const AnsiString& path) const;

private:
    WideString FirstText(std::initializer_list<std::uint32_t> tags, bool byId = false) const;
    template <class F>
    void ForEachAttachment(F&& visit) const;

    TMessage* owner_;
    std::vector<std::unique_ptr<TMSGProperty>> items_;
};
