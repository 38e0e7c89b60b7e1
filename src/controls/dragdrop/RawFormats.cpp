#include "controls/dragdrop/RawFormats.h"

#include "controls/dragdrop/SimpleFormats.h"

DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TRawClipboardFormat, TClipboardFormat,
                      TDataDirections{ddRead, ddWrite})
DRAGDROP_DEFINE_CLASS(TDataFormatClass, TRawDataFormat, TCustomDataFormat)

TRawClipboardFormat::TRawClipboardFormat() : TClipboardFormat(TYMED_NULL) {
    throw Exception(AnsiFormat("The %s class can not be instantiated with the default constructor",
                               "TRawClipboardFormat"));
}

TRawClipboardFormat::TRawClipboardFormat(const FORMATETC& format) : TClipboardFormat(format) {}

TRawClipboardFormat::~TRawClipboardFormat() { ReleaseStgMedium(&medium_); }

void TRawClipboardFormat::SetClipboardFormatName(const AnsiString& name) {
    formatEtc_.cfFormat = RegisteredFormat(name.c_str());
}

bool TRawClipboardFormat::CopyFromMedium(const STGMEDIUM& medium) {
    ReleaseStgMedium(&medium_);
    STGMEDIUM copy;
    if (FAILED(CopyStgMedium(&medium, &copy))) return false;
    medium_ = copy;
    return true;
}

bool TRawClipboardFormat::DoSetData(const FORMATETC&, STGMEDIUM& medium) {
    if (FAILED(CopyStgMedium(&medium_, &medium))) return false;
    // A shared stream is handed out again from its start.
    if (medium_.tymed == TYMED_ISTREAM && medium_.pstm) {
        LARGE_INTEGER start{};
        medium_.pstm->Seek(start, STREAM_SEEK_SET, nullptr);
    }
    return true;
}

AnsiString TRawClipboardFormat::AsString() {
    TAnsiStringClipboardFormat text(FormatEtc());
    STGMEDIUM copy;
    if (FAILED(CopyStgMedium(&medium_, &copy))) return {};
    return text.GetDataFromMedium(nullptr, copy) ? text.Data() : AnsiString();
}

void TRawClipboardFormat::SetAsString(const AnsiString& text) {
    TAnsiStringClipboardFormat format(FormatEtc());
    format.SetData(text);
    STGMEDIUM medium;
    FORMATETC f = FormatEtc();
    f.tymed = TYMED_HGLOBAL;
    if (format.SetDataToMedium(f, medium)) {
        ReleaseStgMedium(&medium_);
        medium_ = medium;
    }
}

bool TRawClipboardFormat::Assign(TCustomDataFormat& source) { return dynamic_cast<TRawDataFormat*>(&source) != nullptr; }

bool TRawClipboardFormat::AssignTo(TCustomDataFormat& dest) {
    // The raw data format lists its formats itself; this one is already among them.
    return dynamic_cast<TRawDataFormat*>(&dest) != nullptr;
}

void TRawClipboardFormat::Clear() { ReleaseStgMedium(&medium_); }

void TRawDataFormat::Clear() {
    Changing();
    TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i) formats[i]->Clear();
}

bool TRawDataFormat::HasData() {
    TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (formats[i]->HasData()) return true;
    return false;
}

bool TRawDataFormat::NeedsData() {
    TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (!formats[i]->HasData()) return true;
    return false;
}
