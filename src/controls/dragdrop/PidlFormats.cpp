#include "controls/dragdrop/PidlFormats.h"

#include <cstring>

#include "controls/dragdrop/FileFormats.h"
#include "platform/win/FileNameText.h"
#include "platform/win/WinString.h"

DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TPIDLClipboardFormat, TCustomSimpleClipboardFormat)

namespace {

void RegisterPidlConversions() {
    const TConversionCapabilities both{ccWriteToDataFormat, ccReadFromDataFormat};
    const TDataFormatClass& self = TPIDLDataFormat::StaticClass();
    TCustomDataFormat::RegisterDataConversion(self, TPIDLClipboardFormat::StaticClass(), 0, both);
    TCustomDataFormat::RegisterDataConversion(self, TFileClipboardFormat::StaticClass(), 1, both);
}

}  // namespace

DRAGDROP_DEFINE_CLASS(TDataFormatClass, TPIDLDataFormat, TCustomDataFormat, TDataDirections{ddRead},
                      RegisterPidlConversions)

void TPIDLList::Changed() {
    if (OnChanging) OnChanging(nullptr);
}

void TPIDLList::Add(const ItemIdList& pidl) {
    items_.push_back(pidl);
    Changed();
}

void TPIDLList::Assign(const TPIDLList& other) {
    items_ = other.items_;
    Changed();
}

void TPIDLList::Clear() {
    items_.clear();
    Changed();
}

void TPIDLList::SetItem(int index, const ItemIdList& pidl) {
    items_.at(static_cast<std::size_t>(index)) = pidl;
    Changed();
}

std::vector<WideString> TPIDLList::Filenames() const {
    if (items_.size() < 2) return {};
    return PathsFromIdListArray({items_.front(), {items_.begin() + 1, items_.end()}});
}

bool TPIDLList::SetFilenames(const std::vector<WideString>& paths) {
    items_.clear();
    const std::optional<IdListArray> array = IdListArrayFromPaths(paths);
    if (array) {
        items_.push_back(array->folder);
        items_.insert(items_.end(), array->items.begin(), array->items.end());
    }
    Changed();
    return array.has_value();
}

CLIPFORMAT TPIDLClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("Shell IDList Array");
    return format;
}

IdListArray TPIDLClipboardFormat::Array() const {
    IdListArray array;
    if (pidls_.Count() == 0) return array;
    array.folder = pidls_.Item(0);
    for (int i = 1; i < pidls_.Count(); ++i) array.items.push_back(pidls_.Item(i));
    return array;
}

bool TPIDLClipboardFormat::ReadData(const std::uint8_t* data, std::size_t size) {
    pidls_.Clear();
    const std::optional<IdListArray> array = ReadIdListArray({data, size});
    if (!array) return false;
    pidls_.Add(array->folder);
    for (const ItemIdList& item : array->items) pidls_.Add(item);
    return pidls_.Count() > 1;
}

bool TPIDLClipboardFormat::WriteData(std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> block = BuildIdListArray(Array());
    if (size != block.size()) return false;
    std::memcpy(data, block.data(), size);
    return true;
}

std::size_t TPIDLClipboardFormat::GetSize() { return pidls_.Count() ? BuildIdListArray(Array()).size() : 0; }

TPIDLDataFormat::TPIDLDataFormat(TDragDropComponent* owner) : TCustomDataFormat(owner) {
    pidls_.OnChanging = [this](TObject*) { Changing(); };
}

bool TPIDLDataFormat::Assign(TClipboardFormat& source) {
    if (auto* f = dynamic_cast<TPIDLClipboardFormat*>(&source)) {
        pidls_.Assign(f->PIDLs());
        return true;
    }
    if (auto* f = dynamic_cast<TFileClipboardFormat*>(&source)) return pidls_.SetFilenames(WideNames(f->Files()));
    return TCustomDataFormat::Assign(source);
}

bool TPIDLDataFormat::AssignTo(TClipboardFormat& dest) {
    if (auto* f = dynamic_cast<TPIDLClipboardFormat*>(&dest)) {
        f->PIDLs().Assign(pidls_);
        return true;
    }
    if (auto* f = dynamic_cast<TFileClipboardFormat*>(&dest)) {
        f->Files().Clear();
        for (const WideString& name : pidls_.Filenames()) f->Files().Add(FileNameFromUtf16(name));
        return true;
    }
    return TCustomDataFormat::AssignTo(dest);
}
