#include "controls/unicode/TntClasses.h"

#include <algorithm>

#include "controls/unicode/TntWideProperties.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

// --- Shadow strings --------------------------------------------------------------------------

namespace {

AnsiString ToAnsi(const WideString& text) { return WideToAnsiCodePage(text, DefaultAnsiCodePage); }
WideString FromAnsi(const AnsiString& text) { return AnsiToWideCodePage(text, DefaultAnsiCodePage); }

}  // namespace

WideString GetSyncedWideString(WideString& shadow, const AnsiString& ansiValue) {
    if (ToAnsi(shadow) != ansiValue) shadow = FromAnsi(ansiValue);
    return shadow;
}

void SetSyncedWideString(const WideString& value, WideString& shadow, const AnsiString& ansiValue,
                         const std::function<void(const AnsiString&)>& setAnsiValue) {
    if (GetSyncedWideString(shadow, ansiValue) == value) return;
    const AnsiString ansi = ToAnsi(value);
    // The platform's setter ignores a value equal to the current one: a lossy form that
    // happens to equal it would otherwise never reach the control.
    if (!WideSameStr(FromAnsi(ansi), value) && ansi == ansiValue) setAnsiValue(AnsiString());
    shadow = value;
    setAnsiValue(ansi);
}

// --- TTntFileStream --------------------------------------------------------------------------

TTntFileStream::TTntFileStream(const WideString& fileName, WORD mode) : THandleStream(INVALID_HANDLE_VALUE) {
    const bool create = mode == fmCreate;
    handle_ = create ? WideFileCreate(fileName) : WideFileOpen(fileName, mode);
    if (handle_ != INVALID_HANDLE_VALUE) return;
    const WideString reason = WideSysErrorMessage(GetLastError());
    WideString fullName = WideExpandFileName(fileName);
    if (fullName.empty()) fullName = fileName;
    if (create) throw EWideFCreateError(WideFormat(u"Cannot create file \"%s\". %s", fullName.c_str(), reason.c_str()));
    throw EWideFOpenError(WideFormat(u"Cannot open file \"%s\". %s", fullName.c_str(), reason.c_str()));
}

TTntFileStream::~TTntFileStream() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

// --- Character sets --------------------------------------------------------------------------

TTntFileCharSet DetectFileCharSet(TStream& stream) {
    const std::int64_t start = stream.Position();
    const std::int64_t remaining = stream.Size() - start;
    if (remaining < 2) return FileCharSetAnsi;
    unsigned char mark[3] = {};
    stream.ReadBuffer(mark, 2);
    if (mark[0] == 0xFF && mark[1] == 0xFE) return FileCharSetUnicode;
    if (mark[0] == 0xFE && mark[1] == 0xFF) return FileCharSetUnicodeSwapped;
    stream.SetPosition(start);
    if (remaining >= 3) {
        stream.ReadBuffer(mark, 3);
        if (mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) return FileCharSetUtf8;
        stream.SetPosition(start);
    }
    return FileCharSetAnsi;
}

namespace {

AnsiString ReadRestOfStream(TStream& stream) {
    const std::int64_t size = std::max<std::int64_t>(stream.Size() - stream.Position(), 0);
    AnsiString bytes(static_cast<std::size_t>(size), '\0');
    bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(stream.Read(bytes.data(), size), 0)));
    return bytes;
}

WideString Utf16FromBytes(const AnsiString& bytes, bool bigEndian) {
    WideString text(bytes.size() / 2, u'\0');  // an odd last byte is ignored
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    if (bigEndian) SwapWideByteOrder(text);
    return text;
}

}  // namespace

// --- TAnsiStringsForWideStringsAdapter -------------------------------------------------------

AnsiString TAnsiStringsForWideStringsAdapter::Get(int index) const {
    return WideToAnsiCodePage(wide_.Get(index), CodePage());
}

void TAnsiStringsForWideStringsAdapter::Put(int index, const AnsiString& text) {
    wide_.Put(index, AnsiToWideCodePage(text, CodePage()));
}

void TAnsiStringsForWideStringsAdapter::Insert(int index, const AnsiString& text) {
    wide_.Insert(index, AnsiToWideCodePage(text, CodePage()));
}

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool updating) {
    if (updating)
        wide_.BeginUpdate();
    else
        wide_.EndUpdate();
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamEx(TStream& stream, UINT codePage) {
    const UINT cp = codePage != 0 ? codePage : CodePage();
    BeginUpdate();
    try {
        wide_.SetText(AnsiToWideCodePage(ReadRestOfStream(stream), cp));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamEx(TStream& stream, UINT codePage) const {
    const AnsiString bytes = WideToAnsiCodePage(wide_.Text(), codePage != 0 ? codePage : CodePage());
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// --- TTntStrings -----------------------------------------------------------------------------

TTntStrings::TTntStrings() : ansiStrings_(std::make_unique<TAnsiStringsForWideStringsAdapter>(*this)) {}

void TTntStrings::DefineProperties(TFiler* filer) {
    TWideStrings::DefineProperties(filer);
    filer->DefineProperty("WideStrings", [this](TReader& r) { ReadWideStrings(r); }, nullptr, false);
    filer->DefineProperty("WideStringsW", [this](TReader& r) { ReadWideStringsW(r); }, nullptr, false);
    filer->DefineProperty("WideStrings_UTF7", [this](TReader& r) { ReadWideStringsUTF7(r); }, nullptr, false);
}

namespace {

// The items of a list value, each decoded; the whole list is read whatever is kept.
std::vector<WideString> ReadDecodedList(TReader& reader, WideString (*decode)(std::string_view)) {
    std::vector<WideString> items;
    reader.ReadListBegin();
    while (!reader.EndOfList()) items.push_back(decode(reader.ReadString()));
    reader.ReadListEnd();
    return items;
}

}  // namespace

void TTntStrings::ReadWideStrings(TReader& reader) {
    BeginUpdate();
    try {
        Clear();
        switch (reader.NextValue()) {
        case vaList:
            reader.ReadListBegin();
            while (!reader.EndOfList()) {
                if (reader.NextValue() == vaWString) Add(reader.ReadWideString());
                else Add(UTF8ToWideString(reader.ReadString()));
            }
            reader.ReadListEnd();
            break;
        case vaWString: SetText(reader.ReadWideString()); break;
        default: SetText(UTF8ToWideString(reader.ReadString())); break;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTntStrings::ReadWideStringsW(TReader& reader) {
    const bool apply = ApplyLegacyWideValue(reader) || GetCount() == 0;
    const std::vector<WideString> items = ReadDecodedList(reader, UTF8ToWideString);
    if (apply) ReplaceItems(items);
}

void TTntStrings::ReadWideStringsUTF7(TReader& reader) {
    const bool apply = ApplyLegacyWideValue(reader);
    const std::vector<WideString> items = ReadDecodedList(reader, UTF7ToWideString);
    if (apply) ReplaceItems(items);
}

void TTntStrings::ReplaceItems(const std::vector<WideString>& items) {
    BeginUpdate();
    Clear();
    for (const WideString& item : items) Add(item);
    EndUpdate();
}

void TTntStrings::LoadFromFile(const WideString& fileName) {
    TTntFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    lastFileCharSet_ = DetectFileCharSet(stream);
    stream.SetPosition(0);
    LoadFromStream(stream);
}

void TTntStrings::LoadFromStreamEx(TStream& stream, bool detectCharSet) {
    BeginUpdate();
    try {
        LoadText(stream, detectCharSet ? DetectFileCharSet(stream) : FileCharSetUnicode);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTntStrings::LoadText(TStream& stream, TTntFileCharSet charSet) {
    const AnsiString bytes = ReadRestOfStream(stream);
    switch (charSet) {
    case FileCharSetUnicode:
    case FileCharSetUnicodeSwapped:
        SetText(Utf16FromBytes(bytes, charSet == FileCharSetUnicodeSwapped));
        break;
    case FileCharSetUtf8:
        // A marked file keeps its good lines even if one byte is damaged.
        SetText(Utf8ToUtf16(bytes));
        break;
    case FileCharSetAnsi:
        // Unmarked text is UTF-8 when it is valid UTF-8, else the legacy Western code page.
        SetText(DefaultAnsiCodePage == CP_UTF8 ? DecodeUnmarkedText(bytes)
                                               : AnsiToWideCodePage(bytes, DefaultAnsiCodePage));
        break;
    }
}

void TTntStrings::SaveToFile(const WideString& fileName) const {
    TTntFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TTntStrings::SaveToStreamEx(TStream& stream, bool withBom) const {
    const WideString text = Text();
    AnsiString bytes;
    bytes.reserve(text.size() * 2 + 2);
    if (withBom) bytes += "\xFF\xFE";
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// --- TTntStringList --------------------------------------------------------------------------

TTntStringList::~TTntStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TTntStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) Error(u"List index out of bounds (%d)", index);
}

WideString TTntStringList::Get(int index) const {
    CheckIndex(index, GetCount());
    return items_[static_cast<std::size_t>(index)].text;
}

void TTntStringList::Put(int index, const WideString& text) {
    if (sorted_) Error(u"Operation not allowed on sorted list", 0);
    CheckIndex(index, GetCount());
    Changing();
    items_[static_cast<std::size_t>(index)].text = text;
    Changed();
}

TObject* TTntStringList::GetObject(int index) const {
    CheckIndex(index, GetCount());
    return items_[static_cast<std::size_t>(index)].object;
}

void TTntStringList::PutObject(int index, TObject* object) {
    CheckIndex(index, GetCount());
    Changing();
    items_[static_cast<std::size_t>(index)].object = object;
    Changed();
}

void TTntStringList::SetCapacity(int capacity) {
    capacity = std::max(capacity, GetCount());
    items_.reserve(static_cast<std::size_t>(capacity));
    capacity_ = capacity;
}

void TTntStringList::Grow() {
    const int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

int TTntStringList::AddObject(const WideString& text, TObject* object) {
    int index = GetCount();
    if (sorted_ && Find(text, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) Error(u"String list does not allow duplicates", 0);
    }
    InsertItem(index, text, object);
    return index;
}

void TTntStringList::InsertObject(int index, const WideString& text, TObject* object) {
    if (sorted_) Error(u"Operation not allowed on sorted list", 0);
    CheckIndex(index, GetCount() + 1);
    InsertItem(index, text, object);
}

void TTntStringList::InsertItem(int index, const WideString& text, TObject* object) {
    Changing();
    if (GetCount() == capacity_) Grow();
    items_.insert(items_.begin() + index, TWideStringItem{text, object});
    Changed();
}

void TTntStringList::Delete(int index) {
    CheckIndex(index, GetCount());
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TTntStringList::Exchange(int index1, int index2) {
    CheckIndex(index1, GetCount());
    CheckIndex(index2, GetCount());
    Changing();
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

void TTntStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    items_.shrink_to_fit();
    capacity_ = 0;
    Changed();
}

int TTntStringList::IndexOf(const WideString& text) const {
    if (!sorted_) return TTntStrings::IndexOf(text);
    int index = 0;
    return Find(text, index) ? index : -1;
}

int TTntStringList::IndexOfName(const WideString& name) const {
    if (!sorted_) return TTntStrings::IndexOfName(name);
    const WideString key = name + NameValueSeparator;
    int index = 0;
    Find(key, index);
    if (index < GetCount() &&
        CompareStrings(items_[static_cast<std::size_t>(index)].text.substr(0, key.size()), key) == 0)
        return index;
    return -1;
}

bool TTntStringList::Find(const WideString& text, int& index) const {
    bool found = false;
    int low = 0, high = GetCount() - 1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        const int c = CompareStrings(items_[static_cast<std::size_t>(mid)].text, text);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept) low = mid;
            }
        }
    }
    index = low;
    return found;
}

void TTntStringList::Sort() {
    CustomSort([](TTntStringList& list, int a, int b) {
        return list.CompareStrings(list.items_[static_cast<std::size_t>(a)].text,
                                   list.items_[static_cast<std::size_t>(b)].text);
    });
}

void TTntStringList::CustomSort(TWideStringListSortCompare compare) {
    if (sorted_ || GetCount() < 2) return;
    Changing();
    // A merge sort over a permutation: the comparison sees items at their original indexes,
    // and a comparison that is not a strict order cannot make it run off the array.
    std::vector<int> order(items_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<TWideStringItem> sorted;
    sorted.reserve(static_cast<std::size_t>(capacity_));
    for (const int i : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
    items_ = std::move(sorted);
    Changed();
}

void TTntStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TTntStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) {
        sorted_ = false;
        Sort();
        sorted_ = true;
    }
}

void TTntStringList::SetUpdateState(bool updating) {
    if (updating) {
        Changing();
        updating_ = true;
    } else {
        updating_ = false;
        Changed();
    }
}

int TTntStringList::CompareStrings(const WideString& a, const WideString& b) const {
    return caseSensitive_ ? WideCompareStr(a, b) : WideCompareText(a, b);
}

void TTntStringList::Changed() {
    if (!updating_ && OnChange) OnChange(this);
}

void TTntStringList::Changing() {
    if (!updating_ && OnChanging) OnChanging(this);
}
