// Data under any registered name, passed on as it is: the clipboard format and the data format
// that holds the bytes.
#pragma once

#include "controls/dragdrop/DataFormat.h"
#include "controls/dragdrop/SimpleFormats.h"

// Any registered name, carried as 8-bit bytes.
class TGenericClipboardFormat : public TCustomAnsiStringClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    CLIPFORMAT GetClipboardFormat() override;
    AnsiString GetClipboardFormatName() override { return name_; }
    void SetClipboardFormatName(const AnsiString& name) override;
    bool Assign(TCustomDataFormat& source) override;
    bool AssignTo(TCustomDataFormat& dest) override;

private:
    AnsiString name_;
};

class TGenericDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    using TCustomDataFormat::TCustomDataFormat;
    // A format of that name joins the compatible formats.
    void AddFormat(const AnsiString& name);
    const AnsiString& Data() const { return data_; }
    void SetData(const AnsiString& data);
    void Clear() override;
    bool HasData() override { return !data_.empty(); }

private:
    AnsiString data_;
};
