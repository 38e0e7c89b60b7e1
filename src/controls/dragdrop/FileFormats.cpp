#include "controls/dragdrop/FileFormats.h"

#include <cstring>

#include "controls/dragdrop/PidlFormats.h"
#include "platform/com/DropFilesBlock.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/win/FileNameText.h"
#include "platform/win/WinString.h"

DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TCustomNameListClipboardFormat, TCustomSimpleClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TFileClipboardFormat, TCustomNameListClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TAnsiFilenameClipboardFormat, TCustomAnsiTextClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TUnicodeFilenameClipboardFormat, TCustomUnicodeTextClipboardFormat)
DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TFilenameMapClipboardFormat, TCustomNameListClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TAnsiFilenameMapClipboardFormat, TFilenameMapClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TUnicodeFilenameMapClipboardFormat, TFilenameMapClipboardFormat)

namespace {

const TConversionCapabilities kBoth{ccWriteToDataFormat, ccReadFromDataFormat};

void RegisterFileConversions() {
    const TDataFormatClass& self = TFileDataFormat::StaticClass();
    TCustomDataFormat::RegisterDataConversion(self, TFileClipboardFormat::StaticClass(), 0, kBoth);
    TCustomDataFormat::RegisterDataConversion(self, TPIDLClipboardFormat::StaticClass(), 1, kBoth);
    TCustomDataFormat::RegisterDataConversion(self, TAnsiFilenameClipboardFormat::StaticClass(), 2, kBoth);
    TCustomDataFormat::RegisterDataConversion(self, TUnicodeFilenameClipboardFormat::StaticClass(), 3, kBoth);
}

void RegisterFileMapConversions() {
    const TDataFormatClass& self = TFileMapDataFormat::StaticClass();
    TCustomDataFormat::RegisterDataConversion(self, TAnsiFilenameMapClipboardFormat::StaticClass(), -1, kBoth);
    TCustomDataFormat::RegisterDataConversion(self, TUnicodeFilenameMapClipboardFormat::StaticClass(), 0, kBoth);
}

void SetNames(TStrings& list, const std::vector<WideString>& names) {
    list.BeginUpdate();
    list.Clear();
    for (const WideString& name : names) list.Add(FileNameFromUtf16(name));
    list.EndUpdate();
}

}  // namespace

std::vector<WideString> WideNames(const TStrings& names) {
    std::vector<WideString> wide;
    for (int i = 0; i < names.Count(); ++i) wide.push_back(FileNameToUtf16(names[i]));
    return wide;
}

bool TCustomNameListClipboardFormat::ReadData(const std::uint8_t* data, std::size_t size) {
    SetNames(names_, ReadNames({data, size}));
    return true;
}

bool TCustomNameListClipboardFormat::WriteData(std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> block = Block();
    if (block.empty() || size != block.size()) return false;
    std::memcpy(data, block.data(), size);
    return true;
}

DRAGDROP_DEFINE_CLASS(TDataFormatClass, TFileDataFormat, TCustomDataFormat, TDataDirections{ddRead},
                      RegisterFileConversions)
DRAGDROP_DEFINE_CLASS(TDataFormatClass, TFileMapDataFormat, TCustomDataFormat, TDataDirections{ddRead},
                      RegisterFileMapConversions)

TFileClipboardFormat::TFileClipboardFormat() { formatEtc_.tymed = TYMED_HGLOBAL; }

CLIPFORMAT TFileClipboardFormat::GetClipboardFormat() { return CF_HDROP; }

std::vector<std::uint8_t> TFileClipboardFormat::Block() const { return BuildDropFilesBlock(WideNames(names_), true); }

std::vector<WideString> TFileClipboardFormat::ReadNames(std::span<const std::uint8_t> block) const {
    return ReadDropFilesBlock(block);
}

CLIPFORMAT TAnsiFilenameClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("FileName");
    return format;
}

CLIPFORMAT TUnicodeFilenameClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("FileNameW");
    return format;
}

CLIPFORMAT TAnsiFilenameMapClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("FileNameMap");
    return format;
}

CLIPFORMAT TUnicodeFilenameMapClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("FileNameMapW");
    return format;
}

std::vector<std::uint8_t> TFilenameMapClipboardFormat::Block() const {
    if (names_.Count() == 0) return {};
    // The drop-files list without its header is the same layout.
    std::vector<std::uint8_t> block = BuildDropFilesBlock(WideNames(names_), wide_);
    block.erase(block.begin(), block.begin() + DROPFILES_HEADER_SIZE);
    if (!wide_) block.pop_back();  // the 8-bit list has no spare zero
    return block;
}

std::vector<WideString> TFilenameMapClipboardFormat::ReadNames(std::span<const std::uint8_t> data) const {
    // Read as a drop-files list behind a made-up header.
    std::vector<std::uint8_t> block(DROPFILES_HEADER_SIZE, 0);
    block[0] = static_cast<std::uint8_t>(DROPFILES_HEADER_SIZE);
    block[16] = wide_ ? 1 : 0;
    block.insert(block.end(), data.begin(), data.end());
    return ReadDropFilesBlock(block);
}

TFileDataFormat::TFileDataFormat(TDragDropComponent* owner) : TCustomDataFormat(owner) {
    files_.OnChanging = [this](TObject*) { Changing(); };
}

bool TFileDataFormat::Assign(TClipboardFormat& source) {
    if (auto* f = dynamic_cast<TFileClipboardFormat*>(&source)) {
        files_.Assign(&f->Files());
    } else if (auto* f = dynamic_cast<TAnsiFilenameClipboardFormat*>(&source)) {
        files_.Clear();
        files_.Add(f->Data());
    } else if (auto* f = dynamic_cast<TUnicodeFilenameClipboardFormat*>(&source)) {
        const WideString& text = f->Text();
        files_.Clear();
        files_.Add(FileNameFromUtf16(text.substr(0, text.find(u'\0'))));
    } else if (auto* f = dynamic_cast<TPIDLClipboardFormat*>(&source)) {
        SetNames(files_, f->PIDLs().Filenames());
    } else {
        return TCustomDataFormat::Assign(source);
    }
    return files_.Count() > 0;
}

bool TFileDataFormat::AssignTo(TClipboardFormat& dest) {
    if (auto* f = dynamic_cast<TFileClipboardFormat*>(&dest)) {
        f->Files().Assign(&files_);
    } else if (auto* f = dynamic_cast<TAnsiFilenameClipboardFormat*>(&dest)) {
        f->SetData(files_.Count() ? files_[0] : AnsiString());
    } else if (auto* f = dynamic_cast<TUnicodeFilenameClipboardFormat*>(&dest)) {
        f->SetText(files_.Count() ? FileNameToUtf16(files_[0]) : WideString());
    } else if (auto* f = dynamic_cast<TPIDLClipboardFormat*>(&dest)) {
        // A conversion answers failure; nothing is thrown across the data object.
        return f->PIDLs().SetFilenames(WideNames(files_));
    } else {
        return TCustomDataFormat::AssignTo(dest);
    }
    return true;
}

TFileMapDataFormat::TFileMapDataFormat(TDragDropComponent* owner) : TCustomDataFormat(owner) {
    maps_.OnChanging = [this](TObject*) { Changing(); };
}

bool TFileMapDataFormat::Assign(TClipboardFormat& source) {
    if (auto* f = dynamic_cast<TFilenameMapClipboardFormat*>(&source)) {
        maps_.Assign(&f->FileMaps());
        return true;
    }
    return TCustomDataFormat::Assign(source);
}

bool TFileMapDataFormat::AssignTo(TClipboardFormat& dest) {
    if (auto* f = dynamic_cast<TFilenameMapClipboardFormat*>(&dest)) {
        f->FileMaps().Assign(&maps_);
        return true;
    }
    return TCustomDataFormat::AssignTo(dest);
}
