#include "controls/dragdrop/ClipboardFormat.h"

#include <algorithm>

#include "controls/dragdrop/DataFormat.h"
#include "platform/vcl/Clipbrd.h"

const TClipboardFormatClass& TClipboardFormat::StaticClass() {
    static const TClipboardFormatClass c{"TClipboardFormat"};
    return c;
}

TClipboardFormat::TClipboardFormat(DWORD tymed) { formatEtc_.tymed = tymed; }

TClipboardFormat::TClipboardFormat(const FORMATETC& format) : formatEtc_(format) {}

CLIPFORMAT TClipboardFormat::GetClipboardFormat() {
    throw Exception(AnsiFormat("Internal error: %s.%s needs implementation", std::string(ClassName()).c_str(),
                               "GetClipboardFormat"));
}

AnsiString TClipboardFormat::GetClipboardFormatName() {
    char buffer[256] = {};
    const int n = GetClipboardFormatNameA(GetClipboardFormat(), buffer, 255);
    return AnsiString(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

void TClipboardFormat::SetClipboardFormatName(const AnsiString&) {
    throw Exception(AnsiFormat("%s.ClipboardFormat is read-only", std::string(ClassName()).c_str()));
}

const FORMATETC& TClipboardFormat::FormatEtc() {
    if (formatEtc_.cfFormat == 0) formatEtc_.cfFormat = GetClipboardFormat();
    return formatEtc_;
}

bool TClipboardFormat::HasValidFormats(IDataObject* data) {
    if (!data) return false;
    FORMATETC f = FormatEtc();
    const DWORD media = f.tymed;
    for (DWORD bit = 1; bit && bit <= media; bit <<= 1) {
        if (!(media & bit)) continue;
        f.tymed = bit;
        if (data->QueryGetData(&f) == S_OK) return true;
    }
    return false;
}

bool TClipboardFormat::AcceptFormat(const FORMATETC& format) {
    const FORMATETC& mine = FormatEtc();
    return format.cfFormat == mine.cfFormat && !format.ptd && format.dwAspect == mine.dwAspect &&
           (format.tymed & mine.tymed) != 0;
}

bool TClipboardFormat::GetData(IDataObject* data) {
    Clear();
    if (!data) return false;
    FORMATETC f = FormatEtc();
    STGMEDIUM medium;
    if (data->GetData(&f, &medium) != S_OK) return false;
    return GetDataFromMedium(data, medium);
}

bool TClipboardFormat::GetDataFromMedium(IDataObject* data, STGMEDIUM& medium) {
    bool ok = false;
    try {
        Clear();
        if (medium.tymed & FormatEtc().tymed) ok = DoGetData(data, medium);
    } catch (...) {
        ReleaseStgMedium(&medium);
        throw;
    }
    ReleaseStgMedium(&medium);
    return ok;
}

bool TClipboardFormat::SetDataToMedium(const FORMATETC& format, STGMEDIUM& medium) {
    medium = STGMEDIUM{};
    const FORMATETC& mine = FormatEtc();
    // A tymed of -1 asks for any medium.
    if (format.cfFormat != mine.cfFormat || format.dwAspect != mine.dwAspect || !(format.tymed & mine.tymed))
        return false;
    return DoSetData(format, medium);
}

bool TClipboardFormat::SetData(IDataObject* data, const FORMATETC& format, STGMEDIUM& medium) {
    bool ok = data && SetDataToMedium(format, medium);
    if (ok) {
        FORMATETC f = format;
        ok = data->SetData(&f, &medium, TRUE) == S_OK;
    }
    if (!ok) ReleaseStgMedium(&medium);
    return ok;
}

int TClipboardFormats::Add(std::unique_ptr<TClipboardFormat> format) {
    TClipboardFormat* raw = format.get();
    raw->SetDataFormat(dataFormat_);
    owned_.push_back(std::move(format));
    items_.push_back(raw);
    return Count() - 1;
}

int TClipboardFormats::Add(TClipboardFormat* format) {
    items_.push_back(format);
    return Count() - 1;
}

TClipboardFormat* TClipboardFormats::FindFormat(const TClipboardFormatClass& formatClass) const {
    for (TClipboardFormat* f : items_)
        if (f->ClassType().InheritsFrom(formatClass)) return f;
    return nullptr;
}

TClipboardFormat* TClipboardFormats::FindFormat(CLIPFORMAT format) const {
    for (TClipboardFormat* f : items_)
        if (f->FormatEtc().cfFormat == format) return f;
    return nullptr;
}

std::string_view TClipboardFormats::DataFormatName() const {
    return dataFormat_ ? dataFormat_->ClassName() : std::string_view("TCustomDataFormat");
}

TClipboardFormat& TClipboardFormats::GetFormat(const TClipboardFormatClass& formatClass) const {
    if (TClipboardFormat* f = FindFormat(formatClass)) return *f;
    throw Exception(AnsiFormat("Clipboard format %s does not exist in %s's list of copatible formats",
                               std::string(formatClass.Name).c_str(), std::string(DataFormatName()).c_str()));
}

TClipboardFormat& TClipboardFormats::GetFormat(CLIPFORMAT format) const {
    if (TClipboardFormat* f = FindFormat(format)) return *f;
    throw Exception(AnsiFormat("Clipboard format %d does not exist in %s's list of copatible formats", int(format),
                               std::string(DataFormatName()).c_str()));
}

void TClipboardFormats::Assign(const TClipboardFormats& other) {
    Clear();
    items_ = other.items_;
}

void TClipboardFormats::Clear() {
    items_.clear();
    while (!owned_.empty()) owned_.pop_back();
}
