// A compound-file message held in memory as a tree of MAPI properties, and the OLE objects
// of its attachments (none on this platform: OLE objects cannot be loaded here).
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <span>
#include <vector>

#include "message/MSGProperties.h"
#include "platform/com/ComBase.h"

class TOleObject {
public:
    explicit TOleObject(ComPtr<IUnknown> object) : object_(std::move(object)) {}
    IUnknown* Object() const { return object_.get(); }

private:
    ComPtr<IUnknown> object_;
};

class TOleObjects {
public:
    explicit TOleObjects(TMessage* owner) : owner_(owner) {}
    TOleObject& Add(ComPtr<IUnknown> object);
    int Count() const { return static_cast<int>(items_.size()); }
    TOleObject& GetProperty(int index) { return *items_.at(static_cast<std::size_t>(index)); }
    TMessage* GetOwner() const { return owner_; }

private:
    TMessage* owner_;
    std::vector<std::unique_ptr<TOleObject>> items_;
};

class TMessage {
public:
    TMessage();
    virtual ~TMessage();
    TMessage(const TMessage&) = delete;
    TMessage& operator=(const TMessage&) = delete;

    TMSGProperties& GetProperties() { return *properties_; }
    const TMSGProperties& GetProperties() const { return *properties_; }
    // Deep-copies the collection into the root collection.
    void SetProperties(const TMSGProperties& source);
    TOleObjects& GetOleObjects() { return *oleObjects_; }

    // Empties the root collection (OLE objects stay).
    virtual void ClearInternalLists();
    // The base class only empties the tree; TMSGFile loads. True when a message was loaded.
    virtual bool LoadFromStream(std::istream& in);
    virtual bool LoadFromMemory(std::span<const std::uint8_t> image);
    virtual bool LoadFromFile(const WideString& path);

    WideString GetSubject() const { return properties_->GetSubject(); }
    WideString GetBody() const { return properties_->GetBody(); }
    WideString GetTransportHeader() const { return properties_->GetTransportHeader(); }
    WideString GetMessageID() const { return properties_->GetMessageID(); }
    DateTime GetMessageDate() const { return properties_->GetMessageDate(); }
    WideString GetSenderName() const { return properties_->GetSenderName(); }
    WideString GetRecipientName() const { return properties_->GetRecipientName(); }
    WideString GetCC() const { return properties_->GetCC(); }
    WideString GetBCC() const { return properties_->GetBCC(); }
    // The charset name of the root collection's message code page ("iso-8859-1" when none).
    AnsiString GetHTMLCharset() const;
    static AnsiString HTMLCharsetOfCodePage(int codePage);

    // The code page of the message's 8-bit text: the message code page, else an internet code
    // page that can hold stored 8-bit text, else the ANSI code page of the message locale,
    // else the stored family of a 7-bit internet code page (50220 gives 932), else the legacy
    // option. Computed on first use after the tree changed.
    UINT GetTextCodePage() const;
    // Call after changing code-page properties of a loaded tree by hand.
    void InvalidateTextCodePage() { textCodePage_ = 0; }

    // The legacy code page option for messages that name none (default 1252).
    static void SetLegacyCodePage(UINT codePage);
    static UINT LegacyCodePage();

private:
    std::unique_ptr<TMSGProperties> properties_;
    std::unique_ptr<TOleObjects> oleObjects_;
    mutable UINT textCodePage_ = 0;
};
