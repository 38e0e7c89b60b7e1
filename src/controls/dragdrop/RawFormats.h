// Data nobody interprets: a clipboard format given by its FORMATETC that keeps a copy of its
// medium, and the data format of such formats. A source keeps what a target hands it this way.
#pragma once

#include "controls/dragdrop/DataFormat.h"

class TRawClipboardFormat : public TClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    // The parameterless form exists for the class reference only and raises.
    TRawClipboardFormat();
    explicit TRawClipboardFormat(const FORMATETC& format);
    ~TRawClipboardFormat() override;

    CLIPFORMAT GetClipboardFormat() override { return formatEtc_.cfFormat; }
    void SetClipboardFormatName(const AnsiString& name) override;
    const STGMEDIUM& Medium() const { return medium_; }
    // Keeps a copy of the medium.
    bool CopyFromMedium(const STGMEDIUM& medium);
    // The medium as an 8-bit string.
    AnsiString AsString();
    void SetAsString(const AnsiString& text);

    bool Assign(TCustomDataFormat& source) override;
    bool AssignTo(TCustomDataFormat& dest) override;
    void Clear() override;
    bool HasData() override { return medium_.tymed != TYMED_NULL; }

protected:
    bool DoGetData(IDataObject*, const STGMEDIUM& medium) override { return CopyFromMedium(medium); }
    bool DoSetData(const FORMATETC& format, STGMEDIUM& medium) override;

private:
    STGMEDIUM medium_;
};

class TRawDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    using TCustomDataFormat::TCustomDataFormat;
    void Clear() override;
    bool HasData() override;
    bool NeedsData() override;
};
