// Wide string lists with file loading and saving, their 8-bit view, the wide shadow string
// kept beside an 8-bit property, and file streams opened by wide name.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/unicode/TntSysUtils.h"
#include "platform/vcl/Streams.h"
#include "platform/vcl/Strings.h"

class TReader;

// --- Shadow strings ---

// The wide value of a property whose platform value is 8-bit: the shadow, unless the 8-bit
// value was changed behind its back (it no longer converts to that value), in which case the
// 8-bit value widened becomes the shadow.
WideString GetSyncedWideString(WideString& shadow, const AnsiString& ansiValue);
// Stores value in the shadow and hands its 8-bit form to the 8-bit setter. When that form is
// lossy and equal to the current 8-bit value, the setter first gets an empty string, so the
// platform sees the change.
void SetSyncedWideString(const WideString& value, WideString& shadow, const AnsiString& ansiValue,
                         const std::function<void(const AnsiString&)>& setAnsiValue);

// --- File streams ---

// A file opened by wide name (mode fmCreate, or fmOpenXxx | fmShareXxx); owns its handle.
// Failures raise EWideFCreateError / EWideFOpenError with the full name and the system's reason.
class TTntFileStream : public THandleStream {
public:
    TTntFileStream(const WideString& fileName, WORD mode);
    ~TTntFileStream() override;
    TTntFileStream(const TTntFileStream&) = delete;
    TTntFileStream& operator=(const TTntFileStream&) = delete;
    std::string_view ClassName() const override { return "TTntFileStream"; }
};

class TTntMemoryStream : public TMemoryStream {
public:
    std::string_view ClassName() const override { return "TTntMemoryStream"; }
};

// --- String lists ---

enum TTntFileCharSet {
    FileCharSetAnsi = 0,             // 8-bit text, no mark
    FileCharSetUnicode = 1,          // UTF-16 little-endian, FF FE
    FileCharSetUnicodeSwapped = 2,   // UTF-16 big-endian, FE FF
    FileCharSetUtf8 = 3,             // UTF-8, EF BB BF
};

// Reads the byte-order mark at the stream's position: a UTF-16 or UTF-8 mark is consumed;
// anything else is left in place and gives FileCharSetAnsi.
TTntFileCharSet DetectFileCharSet(TStream& stream);

// The 8-bit list base with streaming in a given code page.
class TAnsiStrings : public TStrings {
public:
    std::string_view ClassName() const override { return "TAnsiStrings"; }
    void LoadFromStream(TStream& stream) override { LoadFromStreamEx(stream, 0); }
    void SaveToStream(TStream& stream) const override { SaveToStreamEx(stream, 0); }
    // Code page 0 is DefaultAnsiCodePage.
    virtual void LoadFromStreamEx(TStream& stream, UINT codePage) = 0;
    virtual void SaveToStreamEx(TStream& stream, UINT codePage) const = 0;
};

// An 8-bit view of a wide list: items are converted with the adapter's code page.
class TAnsiStringsForWideStringsAdapter : public TAnsiStrings {
public:
    explicit TAnsiStringsForWideStringsAdapter(TWideStrings& wideStrings, UINT codePage = 0)
        : wide_(wideStrings), codePage_(codePage) {}
    std::string_view ClassName() const override { return "TAnsiStringsForWideStringsAdapter"; }

    AnsiString Get(int index) const override;
    void Put(int index, const AnsiString& text) override;
    void Insert(int index, const AnsiString& text) override;
    int GetCount() const override { return wide_.GetCount(); }
    void Clear() override { wide_.Clear(); }
    void Delete(int index) override { wide_.Delete(index); }
    TObject* GetObject(int index) const override { return wide_.GetObject(index); }
    void PutObject(int index, TObject* object) override { wide_.PutObject(index, object); }
    void LoadFromStreamEx(TStream& stream, UINT codePage) override;
    void SaveToStreamEx(TStream& stream, UINT codePage) const override;

protected:
    void SetUpdateState(bool updating) override;

private:
    UINT CodePage() const { return codePage_ != 0 ? codePage_ : DefaultAnsiCodePage; }

    TWideStrings& wide_;
    UINT codePage_;
};

// The wide list base of the layer: loads UTF-16 (either order), UTF-8 and unmarked 8-bit
// files, and always saves UTF-16 little-endian with its mark.
class TTntStrings : public TWideStrings {
public:
    TTntStrings();
    std::string_view ClassName() const override { return "TTntStrings"; }

    // The character set the last LoadFromFile found.
    TTntFileCharSet LastFileCharSet() const { return lastFileCharSet_; }
    TAnsiStringsForWideStringsAdapter& AnsiStrings() { return *ansiStrings_; }
    // Replaces the items by those of an 8-bit list.
    void SetAnsiStrings(const TStrings& strings) { ansiStrings_->Assign(&strings); }

    void LoadFromFile(const WideString& fileName) override;
    void LoadFromStream(TStream& stream) override { LoadFromStreamEx(stream, true); }
    // Without detect the bytes are taken as UTF-16 little-endian.
    virtual void LoadFromStreamEx(TStream& stream, bool detectCharSet);
    void SaveToFile(const WideString& fileName) const override;
    void SaveToStream(TStream& stream) const override { SaveToStreamEx(stream, true); }
    virtual void SaveToStreamEx(TStream& stream, bool withBom) const;
    // Older list encodings in form files, read and never written: "WideStrings" (always
    // applied), "WideStringsW" (UTF-8) and "WideStrings_UTF7".
    void DefineProperties(TFiler* filer) override;

private:
    void ReadWideStrings(TReader& reader);
    void ReadWideStringsW(TReader& reader);
    void ReadWideStringsUTF7(TReader& reader);
    void ReplaceItems(const std::vector<WideString>& items);
    // Reads the rest of the stream as text of the character set and replaces the items.
    void LoadText(TStream& stream, TTntFileCharSet charSet);

    std::unique_ptr<TAnsiStringsForWideStringsAdapter> ansiStrings_;
    TTntFileCharSet lastFileCharSet_ = FileCharSetUnicode;
};

class TTntStringList;
using TWideStringListSortCompare = int (*)(TTntStringList& list, int index1, int index2);

// A wide list of strings and objects (not owned), optionally kept sorted.
class TTntStringList : public TTntStrings {
public:
    ~TTntStringList() override;
    std::string_view ClassName() const override { return "TTntStringList"; }

    WideString Get(int index) const override;
    void Put(int index, const WideString& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    int GetCapacity() const override { return capacity_; }
    void SetCapacity(int capacity) override;
    int Add(const WideString& text) override { return AddObject(text, nullptr); }
    int AddObject(const WideString& text, TObject* object) override;
    void Insert(int index, const WideString& text) override { InsertObject(index, text, nullptr); }
    void InsertObject(int index, const WideString& text, TObject* object) override;
    void Delete(int index) override;
    void Exchange(int index1, int index2) override;
    void Clear() override;
    int IndexOf(const WideString& text) const override;
    int IndexOfName(const WideString& name) const override;

    // Binary search of a sorted list: true when found; index is the match (the first of
    // equal items with dupAccept) or the insertion point.
    virtual bool Find(const WideString& text, int& index) const;
    virtual void Sort();
    virtual void CustomSort(TWideStringListSortCompare compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(int index, const WideString& text, TObject* object);
    void SetUpdateState(bool updating) override;
    int CompareStrings(const WideString& a, const WideString& b) const override;

private:
    struct TWideStringItem {
        WideString text;
        TObject* object = nullptr;
    };
    void CheckIndex(int index, int limit) const;
    void Grow();

    std::vector<TWideStringItem> items_;
    int capacity_ = 0;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
    bool updating_ = false;
};
