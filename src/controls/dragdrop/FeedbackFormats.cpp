#include "controls/dragdrop/FeedbackFormats.h"

#include <cstring>

#include "controls/dragdrop/DataFormatMap.h"

#define DRAGDROP_DEFINE_DWORD_FORMAT(Class, FormatName, Directions)                          \
    DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, Class, TCustomDWORDClipboardFormat, Directions) \
    CLIPFORMAT Class::GetClipboardFormat() {                                                 \
        static const CLIPFORMAT format = RegisteredFormat(FormatName);                       \
        return format;                                                                       \
    }

DRAGDROP_DEFINE_DWORD_FORMAT(TPreferredDropEffectClipboardFormat, "Preferred DropEffect", TDataDirections{ddRead})
DRAGDROP_DEFINE_DWORD_FORMAT(TPerformedDropEffectClipboardFormat, "Performed DropEffect", TDataDirections{ddWrite})
DRAGDROP_DEFINE_DWORD_FORMAT(TLogicalPerformedDropEffectClipboardFormat, "Logical Performed DropEffect",
                             TDataDirections{ddWrite})
DRAGDROP_DEFINE_DWORD_FORMAT(TPasteSucceededClipboardFormat, "Paste Succeeded", TDataDirections{ddWrite})
DRAGDROP_DEFINE_DWORD_FORMAT(TInShellDragLoopClipboardFormat, "InShellDragLoop", TDataDirections{ddRead})

#undef DRAGDROP_DEFINE_DWORD_FORMAT

DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TTargetCLSIDClipboardFormat, TCustomSimpleClipboardFormat,
                      TDataDirections{ddWrite})

namespace {

void RegisterFeedbackConversions() {
    const TConversionCapabilities both{ccWriteToDataFormat, ccReadFromDataFormat};
    const TDataFormatClass& self = TFeedbackDataFormat::StaticClass();
    for (const TClipboardFormatClass* f :
         {&TPreferredDropEffectClipboardFormat::StaticClass(), &TPerformedDropEffectClipboardFormat::StaticClass(),
          &TPasteSucceededClipboardFormat::StaticClass(), &TInShellDragLoopClipboardFormat::StaticClass(),
          &TTargetCLSIDClipboardFormat::StaticClass(), &TLogicalPerformedDropEffectClipboardFormat::StaticClass()})
        TCustomDataFormat::RegisterDataConversion(self, *f, 0, both);
}

}  // namespace

DRAGDROP_DEFINE_CLASS(TDataFormatClass, TFeedbackDataFormat, TCustomDataFormat, TDataDirections{ddRead},
                      RegisterFeedbackConversions)

CLIPFORMAT TTargetCLSIDClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("TargetCLSID");
    return format;
}

bool TTargetCLSIDClipboardFormat::HasData() { return !(Clsid == CLSID{}); }

// The class id's binary layout: three little-endian fields and eight bytes.
bool TTargetCLSIDClipboardFormat::ReadData(const std::uint8_t* data, std::size_t size) {
    if (size != 16) return false;
    Clsid.Data1 = DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
    Clsid.Data2 = static_cast<WORD>(data[4] | data[5] << 8);
    Clsid.Data3 = static_cast<WORD>(data[6] | data[7] << 8);
    std::memcpy(Clsid.Data4, data + 8, 8);
    return true;
}

bool TTargetCLSIDClipboardFormat::WriteData(std::uint8_t* data, std::size_t size) {
    if (size != 16) return false;
    for (int i = 0; i < 4; ++i) data[i] = static_cast<std::uint8_t>(Clsid.Data1 >> (8 * i));
    for (int i = 0; i < 2; ++i) data[4 + i] = static_cast<std::uint8_t>(Clsid.Data2 >> (8 * i));
    for (int i = 0; i < 2; ++i) data[6 + i] = static_cast<std::uint8_t>(Clsid.Data3 >> (8 * i));
    std::memcpy(data + 8, Clsid.Data4, 8);
    return true;
}

void TFeedbackDataFormat::SetPreferredDropEffect(DWORD value) {
    Changing();
    preferred_ = value;
}
void TFeedbackDataFormat::SetPerformedDropEffect(DWORD value) {
    Changing();
    performed_ = value;
}
void TFeedbackDataFormat::SetLogicalPerformedDropEffect(DWORD value) {
    Changing();
    logicalPerformed_ = value;
}
void TFeedbackDataFormat::SetPasteSucceeded(DWORD value) {
    Changing();
    pasteSucceeded_ = value;
}
void TFeedbackDataFormat::SetInShellDragLoop(bool value) {
    Changing();
    inShellDragLoop_ = value;
}
void TFeedbackDataFormat::SetTargetCLSID(const CLSID& value) {
    Changing();
    targetClsid_ = value;
}

bool TFeedbackDataFormat::Assign(TClipboardFormat& source) {
    if (auto* f = dynamic_cast<TPreferredDropEffectClipboardFormat*>(&source))
        preferred_ = f->Value;
    else if (auto* f = dynamic_cast<TPerformedDropEffectClipboardFormat*>(&source))
        performed_ = f->Value;
    else if (auto* f = dynamic_cast<TLogicalPerformedDropEffectClipboardFormat*>(&source))
        logicalPerformed_ = f->Value;
    else if (auto* f = dynamic_cast<TPasteSucceededClipboardFormat*>(&source))
        pasteSucceeded_ = f->Value;
    else if (auto* f = dynamic_cast<TTargetCLSIDClipboardFormat*>(&source))
        targetClsid_ = f->Clsid;
    else if (auto* f = dynamic_cast<TInShellDragLoopClipboardFormat*>(&source)) {
        inShellDragLoop_ = f->Value != 0;
        hasInShellDragLoop_ = true;
    } else
        return TCustomDataFormat::Assign(source);
    return true;
}

bool TFeedbackDataFormat::AssignTo(TClipboardFormat& dest) {
    if (auto* f = dynamic_cast<TPreferredDropEffectClipboardFormat*>(&dest))
        f->Value = preferred_;
    else if (auto* f = dynamic_cast<TPerformedDropEffectClipboardFormat*>(&dest))
        f->Value = performed_;
    else if (auto* f = dynamic_cast<TLogicalPerformedDropEffectClipboardFormat*>(&dest))
        f->Value = logicalPerformed_;
    else if (auto* f = dynamic_cast<TPasteSucceededClipboardFormat*>(&dest))
        f->Value = pasteSucceeded_;
    else if (auto* f = dynamic_cast<TTargetCLSIDClipboardFormat*>(&dest))
        f->Clsid = targetClsid_;
    else if (auto* f = dynamic_cast<TInShellDragLoopClipboardFormat*>(&dest))
        f->SetValueBoolean(inShellDragLoop_);
    else
        return TCustomDataFormat::AssignTo(dest);
    return true;
}

void TFeedbackDataFormat::Clear() {
    Changing();
    preferred_ = 0;
    performed_ = 0;
    inShellDragLoop_ = false;
    hasInShellDragLoop_ = false;
}

bool TFeedbackDataFormat::HasData() {
    return preferred_ != 0 || performed_ != 0 || pasteSucceeded_ != 0 || hasInShellDragLoop_;
}

bool TFeedbackDataFormat::NeedsData() {
    return preferred_ == 0 || performed_ == 0 || pasteSucceeded_ == 0 || !hasInShellDragLoop_;
}
