#include "controls/shell/RzShellLocator.h"

#include <algorithm>

#include "platform/shell/ShellNamespace.h"
#include "platform/vcl/Filer.h"

const TMetaClass& TRzShellLocator::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzShellLocator>("TRzShellLocator", nullptr);
    return meta;
}

const ShellIdList& TRzShellLocator::GetIdList() const {
    if (!special_) return list_;
    if (!specialCache_) specialCache_ = GetSpecialFolderIdList(number_).value_or(ShellIdList());
    return *specialCache_;
}

void TRzShellLocator::SetIdList(const ShellIdList& list) {
    const bool changed = special_ || list_ != list;
    special_ = false;
    specialCache_.reset();
    number_ = kNoSpecialFolder;
    list_ = list;
    if (changed) Changed();
}

void TRzShellLocator::SetSpecialFolder(int csidl) {
    if (special_ && number_ == csidl) return;
    special_ = true;
    number_ = csidl;
    list_ = ShellIdList();
    specialCache_.reset();
    Changed();
}

void TRzShellLocator::SetPath(const AnsiString& path) { SetIdList(ParseShellPath(path).value_or(ShellIdList())); }

AnsiString TRzShellLocator::GetPath() const { return ShellIdListToPath(GetIdList()); }

bool TRzShellLocator::IsEqual(const TRzShellLocator& other) const {
    if (special_ != other.special_) return false;
    if (this == &other) return true;
    return special_ ? number_ == other.number_ : list_ == other.list_;
}

void TRzShellLocator::Assign(const TPersistent* source) {
    if (!source) {
        if (!Stored() && !specialCache_) return;
        special_ = false;
        number_ = kNoSpecialFolder;
        list_ = ShellIdList();
        specialCache_.reset();
        Changed();
        return;
    }
    const auto* other = dynamic_cast<const TRzShellLocator*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (IsEqual(*other)) return;
    special_ = other->special_;
    number_ = other->number_;
    list_ = other->list_;
    specialCache_.reset();
    Changed();
}

void TRzShellLocator::Changed() {
    if (OnChange) OnChange(this);
}

void TRzShellLocator::DefineProperties(TFiler* filer) {
    TPersistent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Pidl", [this](TStream& s) { ReadPidl(s); }, [this](TStream& s) { WritePidl(s); }, Stored());
}

void TRzShellLocator::WritePidl(TStream& stream) const {
    const std::uint8_t mode = special_ ? 1 : 0;
    stream.WriteBuffer(&mode, 1);
    if (special_) {
        const std::uint8_t number = static_cast<std::uint8_t>(number_);
        stream.WriteBuffer(&number, 1);
        return;
    }
    const std::vector<std::uint8_t> bytes = list_.Bytes();
    const std::uint32_t count = static_cast<std::uint32_t>(bytes.size());
    const std::uint8_t le[4] = {std::uint8_t(count), std::uint8_t(count >> 8), std::uint8_t(count >> 16),
                                std::uint8_t(count >> 24)};
    stream.WriteBuffer(le, 4);
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TRzShellLocator::ReadPidl(TStream& stream) {
    std::uint8_t mode = 0;
    stream.ReadBuffer(&mode, 1);
    specialCache_.reset();
    if (mode != 0) {
        std::uint8_t number = 0;
        stream.ReadBuffer(&number, 1);
        special_ = true;
        number_ = number;
        list_ = ShellIdList();
        return;
    }
    std::uint8_t le[4] = {};
    stream.ReadBuffer(le, 4);
    const std::uint32_t count = le[0] | (le[1] << 8) | (le[2] << 16) | (std::uint32_t(le[3]) << 24);
    list_ = ShellIdList();
    if (count == 0) {  // no list at all: the desktop, as a special folder
        special_ = true;
        number_ = 0;
        return;
    }
    // The count comes from a file: it must fit what the stream holds and cover exactly one
    // well-formed list.
    if (count < 2 || count > stream.Size() - stream.Position()) throw EReadError("Invalid Pidl size");
    std::vector<std::uint8_t> bytes(count);
    stream.ReadBuffer(bytes.data(), count);
    std::optional<ShellIdList> list = ShellIdList::FromBytes(bytes);
    if (!list || list->Size() != count) throw EReadError("Invalid Pidl data");
    special_ = false;
    number_ = kNoSpecialFolder;
    list_ = std::move(*list);
}
