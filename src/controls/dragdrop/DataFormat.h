// Data formats: the data as the application sees it (a list of files, a text), converted to
// and from its compatible clipboard formats; a component's list of them; the registry of data
// format classes.
#pragma once

#include <optional>
#include <vector>

#include "controls/dragdrop/ClipboardFormat.h"
#include "platform/vcl/Classes.h"

class TDragDropComponent;

class TCustomDataFormat : public TObject {
public:
    // Joins the owner's data formats; the compatible formats come from the owner.
    explicit TCustomDataFormat(TDragDropComponent* owner);
    // Without owner: the compatible formats come from the conversion map, for the source tier
    // for a consumer and the target tier for a provider.
    explicit TCustomDataFormat(TDataFormatDirection direction);
    ~TCustomDataFormat() override;
    TCustomDataFormat(const TCustomDataFormat&) = delete;
    TCustomDataFormat& operator=(const TCustomDataFormat&) = delete;

    static const TDataFormatClass& StaticClass();
    virtual const TDataFormatClass& ClassType() const { return StaticClass(); }
    std::string_view ClassName() const override { return ClassType().Name; }

    virtual void Clear() = 0;
    virtual bool Assign(TClipboardFormat& source) { return source.AssignTo(*this); }
    virtual bool AssignTo(TClipboardFormat& dest) { return dest.Assign(*this); }
    // Reads from the data object through the compatible formats in order, while data is needed.
    virtual bool GetData(IDataObject* data);
    virtual bool HasData() = 0;
    virtual bool NeedsData() { return !HasData(); }
    virtual bool HasValidFormats(IDataObject* data);
    virtual bool AcceptFormat(const FORMATETC& format);
    bool SupportsFormat(TClipboardFormat& format);

    TClipboardFormats& CompatibleFormats();
    TDragDropComponent* Owner() const { return owner_; }
    // The owner is going: the format stays, on its own.
    void Detach() { owner_ = nullptr; }

    TNotifyEvent OnChanging;

    // Registration of data format classes and their conversions (skipped during shutdown).
    static void RegisterDataFormat(const TDataFormatClass& dataClass);
    static void UnregisterDataFormat(const TDataFormatClass& dataClass);
    static void RegisterDataConversion(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass,
                                       int priority, TConversionCapabilities capabilities);

protected:
    virtual void Changing();

private:
    TDragDropComponent* owner_ = nullptr;
    std::optional<TDragDropTier> tier_;
    std::unique_ptr<TClipboardFormats> compatible_;
};

// A component's data formats in order, each once.
class TDataFormats {
public:
    // The position of the format (the existing one when listed already).
    int Add(TCustomDataFormat* format);
    void Remove(TCustomDataFormat* format);
    int IndexOf(const TCustomDataFormat* format) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TCustomDataFormat* operator[](int index) const { return items_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<TCustomDataFormat*> items_;
};

// The registered data format classes, each once.
class TDataFormatClasses {
public:
    static TDataFormatClasses& Instance();
    void Add(const TDataFormatClass& dataClass);
    void Remove(const TDataFormatClass& dataClass);
    // By class name without regard to case; null when not registered.
    const TDataFormatClass* Find(std::string_view name) const;
    const std::vector<const TDataFormatClass*>& Classes() const { return items_; }

private:
    std::vector<const TDataFormatClass*> items_;
};
