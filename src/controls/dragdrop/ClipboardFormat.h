// One clipboard format of a drag or the clipboard: its FORMATETC, reading it from a data object
// or a medium and rendering it into a medium. Data formats convert to and from these.
#pragma once

#include <memory>
#include <vector>

#include "controls/dragdrop/FormatClasses.h"
#include "platform/com/DataObject.h"
#include "platform/vcl/SysUtils.h"

class TClipboardFormat : public TObject {
public:
    explicit TClipboardFormat(DWORD tymed);
    explicit TClipboardFormat(const FORMATETC& format);
    ~TClipboardFormat() override = default;
    TClipboardFormat(const TClipboardFormat&) = delete;
    TClipboardFormat& operator=(const TClipboardFormat&) = delete;

    static const TClipboardFormatClass& StaticClass();
    virtual const TClipboardFormatClass& ClassType() const { return StaticClass(); }
    std::string_view ClassName() const override { return ClassType().Name; }

    // The format id; the base has none and raises.
    virtual CLIPFORMAT GetClipboardFormat();
    void SetClipboardFormat(CLIPFORMAT format) { formatEtc_.cfFormat = format; }
    virtual AnsiString GetClipboardFormatName();
    virtual void SetClipboardFormatName(const AnsiString& name);
    // The FORMATETC with the format id filled in.
    const FORMATETC& FormatEtc();

    // Asks the data object for each single medium type, lowest bit first.
    bool HasValidFormats(IDataObject* data);
    // Same format, no target device, same aspect and a common medium type.
    bool AcceptFormat(const FORMATETC& format);
    bool GetData(IDataObject* data);
    // Reads the medium when its type is one of ours; the medium is released in every case.
    bool GetDataFromMedium(IDataObject* data, STGMEDIUM& medium);
    // Renders into an emptied medium when the request is for this format.
    bool SetDataToMedium(const FORMATETC& format, STGMEDIUM& medium);
    // Renders and hands the medium to the data object, which takes it over.
    bool SetData(IDataObject* data, const FORMATETC& format, STGMEDIUM& medium);

    virtual bool Assign(TCustomDataFormat&) { return false; }
    virtual bool AssignTo(TCustomDataFormat&) { return false; }
    virtual void Clear() = 0;
    virtual bool HasData() { return true; }

    TCustomDataFormat* DataFormat() const { return dataFormat_; }
    void SetDataFormat(TCustomDataFormat* format) { dataFormat_ = format; }

protected:
    virtual bool DoGetData(IDataObject*, const STGMEDIUM&) { return false; }
    virtual bool DoSetData(const FORMATETC&, STGMEDIUM&) { return false; }

    FORMATETC formatEtc_;

private:
    TCustomDataFormat* dataFormat_ = nullptr;
};

// An ordered list of clipboard formats: those added as unique_ptr are owned (and belong to the
// list's data format), others are only listed.
class TClipboardFormats {
public:
    explicit TClipboardFormats(TCustomDataFormat* dataFormat = nullptr) : dataFormat_(dataFormat) {}
    ~TClipboardFormats() { Clear(); }
    TClipboardFormats(const TClipboardFormats&) = delete;
    TClipboardFormats& operator=(const TClipboardFormats&) = delete;

    int Add(std::unique_ptr<TClipboardFormat> format);
    int Add(TClipboardFormat* format);
    // The first entry of the class or a subclass, or with the id; null when none.
    TClipboardFormat* FindFormat(const TClipboardFormatClass& formatClass) const;
    TClipboardFormat* FindFormat(CLIPFORMAT format) const;
    // The same, raising when there is none.
    TClipboardFormat& GetFormat(const TClipboardFormatClass& formatClass) const;
    TClipboardFormat& GetFormat(CLIPFORMAT format) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TClipboardFormat* operator[](int index) const { return items_.at(static_cast<std::size_t>(index)); }
    // Lists the other's entries, owning none.
    void Assign(const TClipboardFormats& other);
    void Clear();

private:
    std::string_view DataFormatName() const;

    TCustomDataFormat* dataFormat_;
    std::vector<TClipboardFormat*> items_;
    std::vector<std::unique_ptr<TClipboardFormat>> owned_;
};
