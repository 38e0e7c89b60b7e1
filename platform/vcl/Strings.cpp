#include "platform/vcl/Strings.h"

#include <algorithm>

#include "platform/win/WinString.h"

namespace {

int CompareWithoutCase(const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b); }
int CompareWithoutCase(const WideString& a, const WideString& b) { return WideCompareText(a, b); }

// Text of the other width, for assigning a wide list to an 8-bit one and back.
AnsiString ConvertText(const WideString& text, const AnsiString*) { return Utf16ToUtf8(text); }
WideString ConvertText(const AnsiString& text, const WideString*) { return Utf8ToUtf16(text); }

// Code 32 or below; 8-bit text is UTF-8, so bytes above 127 are never blanks.
template <class Char>
bool IsBlankOrControl(Char c) {
    return static_cast<std::make_unsigned_t<Char>>(c) <= 32;
}

}  // namespace

template <class S>
TObject* TStringsOf<S>::GetObject(int) const {
    return nullptr;
}

template <class S>
void TStringsOf<S>::PutObject(int, TObject*) {}

template <class S>
void TStringsOf<S>::Put(int index, const S& text) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, text, object);
}

template <class S>
int TStringsOf<S>::Add(const S& text) {
    const int index = GetCount();
    Insert(index, text);
    return index;
}

template <class S>
int TStringsOf<S>::AddObject(const S& text, TObject* object) {
    const int index = Add(text);
    PutObject(index, object);
    return index;
}

template <class S>
void TStringsOf<S>::InsertObject(int index, const S& text, TObject* object) {
    Insert(index, text);
    PutObject(index, object);
}

template <class S>
void TStringsOf<S>::Exchange(int index1, int index2) {
    BeginUpdate();
    try {
        const S text = Get(index1);
        TObject* object = GetObject(index1);
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, text);
        PutObject(index2, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

template <class S>
int TStringsOf<S>::IndexOf(const S& text) const {
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), text) == 0) return i;
    return -1;
}

template <class S>
int TStringsOf<S>::IndexOfName(const S& name) const {
    for (int i = 0; i < GetCount(); ++i) {
        const S item = Get(i);
        const auto at = item.find(NameValueSeparator);
        if (at != S::npos && CompareStrings(item.substr(0, at), name) == 0) return i;
    }
    return -1;
}

template <class S>
int TStringsOf<S>::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

template <class S>
void TStringsOf<S>::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    BeginUpdate();
    try {
        const S text = Get(curIndex);
        TObject* object = GetObject(curIndex);
        Delete(curIndex);
        InsertObject(newIndex, text, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

template <class S>
void TStringsOf<S>::AddStrings(const TStringsOf& strings) {
    BeginUpdate();
    try {
        for (int i = 0; i < strings.GetCount(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

template <class S>
bool TStringsOf<S>::Equals(const TStringsOf& strings) const {
    if (GetCount() != strings.GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != strings.Get(i)) return false;
    return true;
}

template <class S>
S TStringsOf<S>::Text() const {
    S out;
    for (int i = 0; i < GetCount(); ++i) {
        out += Get(i);
        out += Char('\r');
        out += Char('\n');
    }
    return out;
}

template <class S>
void TStringsOf<S>::SetText(const S& text) {
    BeginUpdate();
    try {
        Clear();
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t start = i;
            while (i < text.size() && text[i] != Char('\r') && text[i] != Char('\n')) ++i;
            Add(text.substr(start, i - start));
            if (i < text.size() && text[i] == Char('\r')) ++i;
            if (i < text.size() && text[i] == Char('\n')) ++i;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

template <class S>
S TStringsOf<S>::DelimitedText() const {
    return JoinDelimited(Delimiter, QuoteChar, StrictDelimiter);
}

template <class S>
S TStringsOf<S>::JoinDelimited(Char delimiter, Char quoteChar, bool strict) const {
    const int count = GetCount();
    if (count == 1 && Get(0).empty()) return S(2, quoteChar);
    S out;
    for (int i = 0; i < count; ++i) {
        const S item = Get(i);
        const bool quote = std::any_of(item.begin(), item.end(), [&](Char c) {
            return c == quoteChar || c == delimiter || c == Char('\0') || (!strict && IsBlankOrControl(c));
        });
        if (i > 0) out += delimiter;
        if (!quote) {
            out += item;
            continue;
        }
        out += quoteChar;
        for (Char c : item) {
            if (c == quoteChar) out += quoteChar;
            out += c;
        }
        out += quoteChar;
    }
    return out;
}

template <class S>
void TStringsOf<S>::SetDelimitedText(const S& text) {
    const auto blank = [&](std::size_t i) {
        return !StrictDelimiter && i < text.size() && text[i] != Char('\0') && IsBlankOrControl(text[i]);
    };
    BeginUpdate();
    try {
        Clear();
        std::size_t i = 0;
        while (blank(i)) ++i;
        while (i < text.size()) {
            S item;
            if (text[i] == QuoteChar) {
                ++i;
                while (i < text.size()) {
                    if (text[i] == QuoteChar) {
                        if (i + 1 < text.size() && text[i + 1] == QuoteChar) {
                            item += QuoteChar;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    item += text[i++];
                }
            } else {
                const std::size_t start = i;
                while (i < text.size() && text[i] != Delimiter &&
                       (StrictDelimiter || !IsBlankOrControl(text[i])))
                    ++i;
                item = text.substr(start, i - start);
            }
            Add(item);
            while (blank(i)) ++i;
            if (i < text.size() && text[i] == Delimiter) {
                if (i + 1 == text.size()) Add(S());
                ++i;
                while (blank(i)) ++i;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

template <class S>
S TStringsOf<S>::CommaText() const {
    return JoinDelimited(Char(','), Char('"'), false);
}

template <class S>
void TStringsOf<S>::SetCommaText(const S& text) {
    Delimiter = Char(',');
    QuoteChar = Char('"');
    SetDelimitedText(text);
}

template <class S>
S TStringsOf<S>::Names(int index) const {
    const S item = Get(index);
    const auto at = item.find(NameValueSeparator);
    return at == S::npos ? S() : item.substr(0, at);
}

template <class S>
S TStringsOf<S>::ValueFromIndex(int index) const {
    const S item = Get(index);
    const auto at = item.find(NameValueSeparator);
    return at == S::npos ? S() : item.substr(at + 1);
}

template <class S>
S TStringsOf<S>::Values(const S& name) const {
    const int index = IndexOfName(name);
    return index < 0 ? S() : ValueFromIndex(index);
}

template <class S>
void TStringsOf<S>::SetValue(const S& name, const S& value) {
    const int index = IndexOfName(name);
    if (!value.empty()) {
        S item = name;
        item += NameValueSeparator;
        item += value;
        if (index < 0)
            Add(item);
        else
            Put(index, item);
    } else if (index >= 0) {
        Delete(index);
    }
}

template <class S>
void TStringsOf<S>::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

template <class S>
void TStringsOf<S>::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

template <class S>
void TStringsOf<S>::Assign(const TPersistent* source) {
    using Other = std::conditional_t<std::is_same_v<S, AnsiString>, WideString, AnsiString>;
    if (const auto* same = dynamic_cast<const TStringsOf<S>*>(source)) {
        if (same == this) return;
        BeginUpdate();
        try {
            Clear();
            Delimiter = same->Delimiter;
            QuoteChar = same->QuoteChar;
            NameValueSeparator = same->NameValueSeparator;
            StrictDelimiter = same->StrictDelimiter;
            AddStrings(*same);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    if (const auto* other = dynamic_cast<const TStringsOf<Other>*>(source)) {
        BeginUpdate();
        try {
            Clear();
            for (int i = 0; i < other->GetCount(); ++i)
                AddObject(ConvertText(other->Get(i), static_cast<const S*>(nullptr)), other->GetObject(i));
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

template <class S>
int TStringsOf<S>::CompareStrings(const S& a, const S& b) const {
    return CompareWithoutCase(a, b);
}

template <class S>
void TStringsOf<S>::Error(const char16_t* format, int data) const {
    throw EStringListError(WideFormat(format, data));
}

template class TStringsOf<AnsiString>;
template class TStringsOf<WideString>;

// --- TStrings --------------------------------------------------------------------------------

namespace {

AnsiString ReadRest(TStream& stream) {
    const std::int64_t size = stream.Size() - stream.Position();
    AnsiString bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
    bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(stream.Read(bytes.data(), size), 0)));
    return bytes;
}

}  // namespace

void TStrings::LoadFromStream(TStream& stream) {
    std::string_view bytes;
    const AnsiString raw = ReadRest(stream);
    bytes = raw;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    SetText(IsValidUtf8(bytes) ? AnsiString(bytes) : Utf16ToUtf8(DecodeUnmarkedText(bytes)));
}

void TStrings::SaveToStream(TStream& stream) const {
    const AnsiString text = Text();
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const AnsiString& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const AnsiString& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

// --- TWideStrings ----------------------------------------------------------------------------

void TWideStrings::LoadFromStream(TStream& stream) {
    const AnsiString raw = ReadRest(stream);
    WideString text(raw.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                        (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    SetText(text);
}

void TWideStrings::SaveToStream(TStream& stream) const {
    const WideString text = Text();
    AnsiString bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TWideStrings::LoadFromFile(const WideString& fileName) {
    TFileStream stream(Utf16ToUtf8(fileName), fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TWideStrings::SaveToFile(const WideString& fileName) const {
    TFileStream stream(Utf16ToUtf8(fileName), fmCreate);
    SaveToStream(stream);
}

// --- TStringList -----------------------------------------------------------------------------

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) Error(u"List index out of bounds (%d)", index);
}

AnsiString TStringList::Get(int index) const {
    CheckIndex(index, GetCount());
    return items_[static_cast<std::size_t>(index)].text;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index, GetCount());
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::Put(int index, const AnsiString& text) {
    if (sorted_) Error(u"Operation not allowed on sorted list", 0);
    CheckIndex(index, GetCount());
    Changing();
    items_[static_cast<std::size_t>(index)].text = text;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index, GetCount());
    Changing();
    items_[static_cast<std::size_t>(index)].object = object;
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    items_.shrink_to_fit();
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index, GetCount());
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Insert(int index, const AnsiString& text) { InsertObject(index, text, nullptr); }

void TStringList::InsertObject(int index, const AnsiString& text, TObject* object) {
    if (sorted_) Error(u"Operation not allowed on sorted list", 0);
    CheckIndex(index, GetCount() + 1);
    InsertItem(index, text, object);
}

void TStringList::InsertItem(int index, const AnsiString& text, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
}

int TStringList::AddObject(const AnsiString& text, TObject* object) {
    int index = GetCount();
    if (sorted_ && Find(text, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) Error(u"String list does not allow duplicates", 0);
    }
    InsertItem(index, text, object);
    return index;
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1, GetCount());
    CheckIndex(index2, GetCount());
    Changing();
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

int TStringList::IndexOf(const AnsiString& text) const {
    if (!sorted_) return TStrings::IndexOf(text);
    int index = 0;
    return Find(text, index) ? index : -1;
}

void TStringList::SetCapacity(int capacity) {
    if (capacity > GetCount()) items_.reserve(static_cast<std::size_t>(capacity));
}

bool TStringList::Find(const AnsiString& text, int& index) const {
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

void TStringList::Sort() {
    CustomSort([](TStringList& list, int a, int b) {
        return list.CompareStrings(list.items_[static_cast<std::size_t>(a)].text,
                                   list.items_[static_cast<std::size_t>(b)].text);
    });
}

void TStringList::CustomSort(TStringListSortCompare compare) {
    if (sorted_ || GetCount() < 2) return;
    Changing();
    // Sorting a permutation lets the comparison see the items at their original indexes.
    std::vector<int> order(items_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) {
        sorted_ = false;
        Sort();
        sorted_ = true;
    }
}

void TStringList::SetUpdateState(bool updating) {
    // The opening update still announces the change to come; the closing one reports it.
    if (updating) {
        Changing();
        updating_ = true;
    } else {
        updating_ = false;
        Changed();
    }
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const {
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::Changed() {
    if (!updating_ && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (!updating_ && OnChanging) OnChanging(this);
}
