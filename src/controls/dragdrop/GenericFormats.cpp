#include "controls/dragdrop/GenericFormats.h"

DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TGenericClipboardFormat, TCustomAnsiStringClipboardFormat,
                      TDataDirections{ddRead, ddWrite})
DRAGDROP_DEFINE_CLASS(TDataFormatClass, TGenericDataFormat, TCustomDataFormat)

CLIPFORMAT TGenericClipboardFormat::GetClipboardFormat() {
    if (formatEtc_.cfFormat == 0 && !name_.empty()) formatEtc_.cfFormat = RegisteredFormat(name_.c_str());
    return formatEtc_.cfFormat;
}

void TGenericClipboardFormat::SetClipboardFormatName(const AnsiString& name) {
    name_ = name;
    if (!name_.empty()) formatEtc_.cfFormat = RegisteredFormat(name_.c_str());
}

bool TGenericClipboardFormat::Assign(TCustomDataFormat& source) {
    if (auto* generic = dynamic_cast<TGenericDataFormat*>(&source)) {
        data_ = generic->Data();
        return true;
    }
    return TCustomAnsiStringClipboardFormat::Assign(source);
}

bool TGenericClipboardFormat::AssignTo(TCustomDataFormat& dest) {
    if (auto* generic = dynamic_cast<TGenericDataFormat*>(&dest)) {
        generic->SetData(data_);
        return true;
    }
    return TCustomAnsiStringClipboardFormat::AssignTo(dest);
}

void TGenericDataFormat::AddFormat(const AnsiString& name) {
    auto format = std::make_unique<TGenericClipboardFormat>();
    format->SetClipboardFormatName(name);
    CompatibleFormats().Add(std::move(format));
}

void TGenericDataFormat::SetData(const AnsiString& data) {
    Changing();
    data_ = data;
}

void TGenericDataFormat::Clear() {
    Changing();
    data_.clear();
}
