#include "platform/vcl/Registry.h"

#include <cstring>

#include "platform/win/WinString.h"

namespace {

WideString W(const AnsiString& text) { return Utf8ToUtf16(text); }

[[noreturn]] void Raise(const char16_t* format, const AnsiString& name) {
    throw ERegistryException(WideFormat(format, W(name).c_str()));
}

TRegDataType DataTypeOf(DWORD type) {
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

// Splits "\a\b" into its relative part and whether it was relative.
AnsiString RelativePart(const AnsiString& key, bool& relative) {
    relative = key.empty() || key.front() != '\\';
    return relative ? key : key.substr(1);
}

}  // namespace

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY key) {
    if (rootKey_ == key) return;
    CloseKey();
    rootKey_ = key;
}

HKEY TRegistry::BaseKey(bool relative) const { return relative && currentKey_ ? currentKey_ : rootKey_; }

void TRegistry::ChangeKey(HKEY key, const AnsiString& path) {
    CloseKey();
    currentKey_ = key;
    currentPath_ = path;
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate) {
    bool relative = true;
    AnsiString path = RelativePart(key, relative);
    const WideString sub = W(path);
    HKEY opened = nullptr;
    LSTATUS status;
    if (!canCreate || path.empty())
        status = RegOpenKeyExW(BaseKey(relative), sub.c_str(), 0, access_, &opened);
    else
        status = RegCreateKeyExW(BaseKey(relative), sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_,
                                 nullptr, &opened, nullptr);
    if (status != ERROR_SUCCESS) return false;
    if (currentKey_ && relative) path = currentPath_.empty() ? path : currentPath_ + "\\" + path;
    ChangeKey(opened, path);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key) {
    const REGSAM saved = access_;
    access_ = KEY_READ;
    const bool ok = OpenKey(key, false);
    if (!ok) access_ = saved;
    return ok;
}

bool TRegistry::CreateKey(const AnsiString& key) {
    bool relative = true;
    const WideString sub = W(RelativePart(key, relative));
    HKEY created = nullptr;
    if (RegCreateKeyExW(BaseKey(relative), sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        Raise(u"Failed to create key %s", key);
    RegCloseKey(created);
    return true;
}

bool TRegistry::KeyExists(const AnsiString& key) {
    bool relative = true;
    const WideString sub = W(RelativePart(key, relative));
    HKEY opened = nullptr;
    if (RegOpenKeyExW(BaseKey(relative), sub.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

bool TRegistry::DeleteKey(const AnsiString& key) {
    bool relative = true;
    const AnsiString path = RelativePart(key, relative);
    const HKEY base = BaseKey(relative);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(base, W(path).c_str(), 0, KEY_ALL_ACCESS, &opened) == ERROR_SUCCESS) {
        // Subkeys first: the store refuses to delete a key that still has some.
        TStringList names;
        TRegistry sub;
        sub.currentKey_ = opened;
        sub.GetKeyNames(names);
        for (int i = 0; i < names.Count(); ++i) sub.DeleteKey(names[i]);
        sub.currentKey_ = nullptr;
        RegCloseKey(opened);
    }
    return RegDeleteKeyW(base, W(path).c_str()) == ERROR_SUCCESS;
}

void TRegistry::CloseKey() {
    if (!currentKey_) return;
    RegCloseKey(currentKey_);
    currentKey_ = nullptr;
    currentPath_.clear();
}

bool TRegistry::HasSubKeys() const {
    DWORD subKeys = 0;
    return RegQueryInfoKeyW(currentKey_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys > 0;
}

void TRegistry::GetKeyNames(TStrings& strings) const {
    strings.Clear();
    std::vector<char16_t> name(REG_MAX_KEY_NAME + 1);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(currentKey_, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        strings.Add(Utf16ToUtf8(std::u16string_view(name.data(), length)));
    }
}

void TRegistry::GetValueNames(TStrings& strings) const {
    strings.Clear();
    std::vector<char16_t> name(REG_MAX_VALUE_NAME + 1);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumValueW(currentKey_, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        strings.Add(Utf16ToUtf8(std::u16string_view(name.data(), length)));
    }
}

bool TRegistry::GetDataInfo(const AnsiString& name, TRegDataInfo& info) const {
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(currentKey_, W(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        info = TRegDataInfo{};
        return false;
    }
    info.RegData = DataTypeOf(type);
    info.DataSize = static_cast<int>(size);
    return true;
}

bool TRegistry::ValueExists(const AnsiString& name) const {
    TRegDataInfo info;
    return GetDataInfo(name, info);
}

TRegDataType TRegistry::GetDataType(const AnsiString& name) const {
    TRegDataInfo info;
    GetDataInfo(name, info);
    return info.RegData;
}

int TRegistry::GetDataSize(const AnsiString& name) const {
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.DataSize : -1;
}

bool TRegistry::DeleteValue(const AnsiString& name) {
    return RegDeleteValueW(currentKey_, W(name).c_str()) == ERROR_SUCCESS;
}

void TRegistry::ReadError(const AnsiString& name) { Raise(u"Invalid data type for '%s'", name); }

std::vector<BYTE> TRegistry::GetData(const AnsiString& name, DWORD& type) const {
    const WideString wideName = W(name);
    DWORD size = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<BYTE> data(size);
        DWORD got = size;
        const LSTATUS status =
            RegQueryValueExW(currentKey_, wideName.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &got);
        if (status == ERROR_SUCCESS && (got <= size)) {
            data.resize(got);
            return data;
        }
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) break;
        size = got;  // the size needed; the value may have grown meanwhile
    }
    Raise(u"Failed to get data for '%s'", name);
}

void TRegistry::PutData(const AnsiString& name, const void* data, DWORD size, DWORD type) {
    if (RegSetValueExW(currentKey_, W(name).c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        Raise(u"Failed to set data for '%s'", name);
}

AnsiString TRegistry::ReadString(const AnsiString& name) const {
    if (GetDataSize(name) <= 0) return {};
    DWORD type = REG_NONE;
    const std::vector<BYTE> data = GetData(name, type);
    if (type != REG_SZ && type != REG_EXPAND_SZ) ReadError(name);
    std::u16string text(data.size() / 2, u'\0');
    if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * 2);
    return Utf16ToUtf8(text.substr(0, text.find(u'\0')));
}

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value) {
    const WideString text = W(value);
    PutData(name, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2), REG_SZ);
}

void TRegistry::WriteExpandString(const AnsiString& name, const AnsiString& value) {
    const WideString text = W(value);
    PutData(name, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2), REG_EXPAND_SZ);
}

int TRegistry::ReadInteger(const AnsiString& name) const {
    DWORD type = REG_NONE;
    const std::vector<BYTE> data = GetData(name, type);
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) ReadError(name);
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return static_cast<int>(value);
}

void TRegistry::WriteInteger(const AnsiString& name, int value) {
    const DWORD raw = static_cast<DWORD>(value);
    PutData(name, &raw, sizeof raw, REG_DWORD);
}

int TRegistry::ReadBinaryData(const AnsiString& name, void* buffer, int bufferSize) const {
    TRegDataInfo info;
    if (!GetDataInfo(name, info)) Raise(u"Failed to get data for '%s'", name);
    if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > bufferSize) ReadError(name);
    DWORD type = REG_NONE;
    const std::vector<BYTE> data = GetData(name, type);
    if (static_cast<int>(data.size()) > bufferSize) ReadError(name);
    if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
    return static_cast<int>(data.size());
}

void TRegistry::WriteBinaryData(const AnsiString& name, const void* buffer, int bufferSize) {
    PutData(name, buffer, static_cast<DWORD>(bufferSize), REG_BINARY);
}
