// String lists: TStrings (8-bit, UTF-8) and TWideStrings (UTF-16) share one template base,
// TStringsOf, with text splitting and joining, delimited text, names and values, objects and
// the update state; TStringList is the class library's 8-bit list.
#pragma once

#include <string_view>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Streams.h"
#include "platform/vcl/SysUtils.h"

QUILLORA_EXCEPTION_CLASS(EStringListError, Exception);

enum TDuplicates { dupIgnore = 0, dupAccept = 1, dupError = 2 };

template <class S>
class TStringsOf : public TPersistent {
public:
    using String = S;
    using Char = typename S::value_type;
    using View = std::basic_string_view<Char>;

    // Items, in the order of the concrete list.
    virtual S Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    virtual void Insert(int index, const S& text) = 0;

    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    virtual void Put(int index, const S& text);
    virtual int Add(const S& text);
    virtual int AddObject(const S& text, TObject* object);
    virtual void InsertObject(int index, const S& text, TObject* object);
    virtual void Exchange(int index1, int index2);
    virtual int IndexOf(const S& text) const;
    virtual int IndexOfName(const S& name) const;
    virtual int GetCapacity() const { return GetCount(); }
    virtual void SetCapacity(int) {}

    int Count() const { return GetCount(); }
    S operator[](int index) const { return Get(index); }
    int IndexOfObject(const TObject* object) const;
    void Move(int curIndex, int newIndex);
    void Append(const S& text) { Add(text); }
    void AddStrings(const TStringsOf& strings);
    bool Equals(const TStringsOf& strings) const;

    // Lines joined with CR LF after each line; setting splits at CR LF, CR or LF.
    S Text() const;
    virtual void SetText(const S& text);
    // Items joined by the delimiter, each quoted when it holds a blank, control character,
    // quote or delimiter. Setting parses quoted items (a doubled quote is one quote); unless
    // StrictDelimiter is set, blanks separate items too.
    S DelimitedText() const;
    void SetDelimitedText(const S& text);
    // DelimitedText with ',' and '"'.
    S CommaText() const;
    void SetCommaText(const S& text);

    Char Delimiter = Char(',');
    Char QuoteChar = Char('"');
    Char NameValueSeparator = Char('=');
    bool StrictDelimiter = false;

    // "name=value" items.
    S Names(int index) const;
    S ValueFromIndex(int index) const;
    S Values(const S& name) const;
    // An empty value deletes the item.
    void SetValue(const S& name, const S& value);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void Assign(const TPersistent* source) override;

protected:
    // Called when the first update opens (true) and when the last one closes (false).
    virtual void SetUpdateState(bool) {}
    // The order of two items; the base compares without case.
    virtual int CompareStrings(const S& a, const S& b) const;
    [[noreturn]] void Error(const char16_t* format, int data) const;

private:
    S JoinDelimited(Char delimiter, Char quoteChar, bool strict) const;

    int updateCount_ = 0;
};

extern template class TStringsOf<AnsiString>;
extern template class TStringsOf<WideString>;

// The class library's 8-bit list. Files are read as UTF-8 (a UTF-8 mark is skipped; bytes that
// are not UTF-8 are read in the legacy code page) and written as UTF-8 without a mark.
class TStrings : public TStringsOf<AnsiString> {
public:
    std::string_view ClassName() const override { return "TStrings"; }
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) const;
    virtual void LoadFromFile(const AnsiString& fileName);
    virtual void SaveToFile(const AnsiString& fileName) const;
};

// The wide list base. Its own streaming reads and writes raw UTF-16 little-endian.
class TWideStrings : public TStringsOf<WideString> {
public:
    std::string_view ClassName() const override { return "TWideStrings"; }
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) const;
    virtual void LoadFromFile(const WideString& fileName);
    virtual void SaveToFile(const WideString& fileName) const;
};

// An 8-bit list of strings and objects (not owned), optionally kept sorted.
class TStringList : public TStrings {
public:
    using TStringListSortCompare = int (*)(TStringList& list, int index1, int index2);

    ~TStringList() override;
    std::string_view ClassName() const override { return "TStringList"; }

    AnsiString Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const AnsiString& text) override;
    void InsertObject(int index, const AnsiString& text, TObject* object) override;
    int Add(const AnsiString& text) override { return AddObject(text, nullptr); }
    void Put(int index, const AnsiString& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    int AddObject(const AnsiString& text, TObject* object) override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const AnsiString& text) const override;
    int GetCapacity() const override { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int capacity) override;

    // Binary search of a sorted list: true when found; index is the match (the first of equal
    // items with dupAccept) or the insertion point.
    virtual bool Find(const AnsiString& text, int& index) const;
    virtual void Sort();
    virtual void CustomSort(TStringListSortCompare compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(const AnsiString& a, const AnsiString& b) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct Item {
        AnsiString text;
        TObject* object = nullptr;
    };
    void CheckIndex(int index, int limit) const;
    void InsertItem(int index, const AnsiString& text, TObject* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
    bool updating_ = false;
};
