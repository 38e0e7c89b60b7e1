// IMAPITable and the in-memory table behind every table of the layer: rows come from a
// TableRowSource that reads the asked columns of one row; Restrict and SortTable build a view
// of row numbers over it; the cursor moves over that view.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/mapi/MapiUnknown.h"
#include "platform/mapi/PropValue.h"

using BOOKMARK = ULONG;

inline constexpr ULONG RES_AND = 0;
inline constexpr ULONG RES_OR = 1;
inline constexpr ULONG RES_NOT = 2;
inline constexpr ULONG RES_CONTENT = 3;
inline constexpr ULONG RES_PROPERTY = 4;
inline constexpr ULONG RES_COMPAREPROPS = 5;
inline constexpr ULONG RES_BITMASK = 6;
inline constexpr ULONG RES_EXIST = 8;

inline constexpr ULONG RELOP_LT = 0;
inline constexpr ULONG RELOP_LE = 1;
inline constexpr ULONG RELOP_GT = 2;
inline constexpr ULONG RELOP_GE = 3;
inline constexpr ULONG RELOP_EQ = 4;
inline constexpr ULONG RELOP_NE = 5;

inline constexpr ULONG FL_FULLSTRING = 0x0;
inline constexpr ULONG FL_SUBSTRING = 0x1;
inline constexpr ULONG FL_PREFIX = 0x2;
inline constexpr ULONG FL_IGNORECASE = 0x10000;

inline constexpr ULONG BMR_EQZ = 0;
inline constexpr ULONG BMR_NEZ = 1;

// A row filter. Which members count depends on rt: sub for RES_AND/RES_OR/RES_NOT (one
// entry), ulPropTag with relop and prop for RES_PROPERTY, with ulFuzzyLevel and prop for
// RES_CONTENT, with ulPropTag2 and relop for RES_COMPAREPROPS, with relop (BMR_*) and ulMask
// for RES_BITMASK, alone for RES_EXIST.
struct SRestriction {
    ULONG rt = RES_AND;
    ULONG ulPropTag = 0;
    ULONG ulPropTag2 = 0;
    ULONG relop = 0;
    ULONG ulFuzzyLevel = 0;
    ULONG ulMask = 0;
    SPropValue prop;
    std::vector<SRestriction> sub;

    static SRestriction And(std::vector<SRestriction> subs);
    static SRestriction Or(std::vector<SRestriction> subs);
    static SRestriction Not(SRestriction r);
    static SRestriction Property(ULONG relop, ULONG tag, SPropValue value);
    static SRestriction Content(ULONG fuzzyLevel, ULONG tag, SPropValue value);
    static SRestriction Exist(ULONG tag);
    static SRestriction Bitmask(ULONG bmr, ULONG tag, ULONG mask);
};

struct SSortOrder {
    ULONG ulPropTag = 0;
    ULONG ulOrder = TABLE_SORT_ASCEND;
};

struct SSortOrderSet {
    std::vector<SSortOrder> aSort;
};

class IMAPITable : public IUnknown {
public:
    QUILLORA_MAPI_INTERFACE(IUnknown, IID_IMAPITable)
    virtual HRESULT GetLastError(HRESULT hr, ULONG flags, std::unique_ptr<MAPIERROR>* error) = 0;
    virtual HRESULT SetColumns(const SPropTagArray* columns, ULONG flags) = 0;
    virtual HRESULT QueryColumns(ULONG flags, SPropTagArray* columns) = 0;
    virtual HRESULT GetRowCount(ULONG flags, ULONG* count) = 0;
    // Moves the cursor from a bookmark by rowCount rows (negative: backwards); sought gets the
    // number of rows actually moved. MAPI_W_POSITION_CHANGED never occurs (rows do not change).
    virtual HRESULT SeekRow(BOOKMARK origin, LONG rowCount, LONG* sought) = 0;
    virtual HRESULT QueryPosition(ULONG* row, ULONG* numerator, ULONG* denominator) = 0;
    virtual HRESULT Restrict(const SRestriction* restriction, ULONG flags) = 0;
    virtual HRESULT SortTable(const SSortOrderSet* sortOrder, ULONG flags) = 0;
    // Up to rowCount rows from the cursor with the current columns (absent columns as PT_ERROR
    // values); the cursor moves past them unless TBL_NOADVANCE. A negative count reads backwards.
    virtual HRESULT QueryRows(LONG rowCount, ULONG flags, SRowSetPtr* rows) = 0;
    virtual HRESULT WaitForCompletion(ULONG flags, ULONG timeout, ULONG* status) = 0;
    virtual HRESULT FindRow(const SRestriction* restriction, BOOKMARK origin, ULONG flags) = 0;

};

// Where an in-memory table takes its rows from.
class TableRowSource {
public:
    virtual ~TableRowSource() = default;
    virtual ULONG RowCount() = 0;
    // The values of the given tags for one row, in tag order; an absent value is a PT_ERROR
    // value with MAPI_E_NOT_FOUND. String tags of type PT_UNSPECIFIED come back as PT_STRING8.
    virtual void ReadRow(ULONG row, const std::vector<ULONG>& tags, std::vector<SPropValue>& out) = 0;
};

// Rows held fully in memory, each a list of values; asked tags are matched by id and converted.
class FixedRowSource : public TableRowSource {
public:
    explicit FixedRowSource(std::vector<std::vector<SPropValue>> rows) : rows_(std::move(rows)) {}
    ULONG RowCount() override { return static_cast<ULONG>(rows_.size()); }
    void ReadRow(ULONG row, const std::vector<ULONG>& tags, std::vector<SPropValue>& out) override;

private:
    std::vector<std::vector<SPropValue>> rows_;
};

class MemTable : public ComObject<IMAPITable> {
public:
    MemTable(std::unique_ptr<TableRowSource> source, std::vector<ULONG> defaultColumns);

    HRESULT GetLastError(HRESULT hr, ULONG flags, std::unique_ptr<MAPIERROR>* error) override;
    HRESULT SetColumns(const SPropTagArray* columns, ULONG flags) override;
    HRESULT QueryColumns(ULONG flags, SPropTagArray* columns) override;
    HRESULT GetRowCount(ULONG flags, ULONG* count) override;
    HRESULT SeekRow(BOOKMARK origin, LONG rowCount, LONG* sought) override;
    HRESULT QueryPosition(ULONG* row, ULONG* numerator, ULONG* denominator) override;
    HRESULT Restrict(const SRestriction* restriction, ULONG flags) override;
    HRESULT SortTable(const SSortOrderSet* sortOrder, ULONG flags) override;
    HRESULT QueryRows(LONG rowCount, ULONG flags, SRowSetPtr* rows) override;
    HRESULT WaitForCompletion(ULONG flags, ULONG timeout, ULONG* status) override;
    HRESULT FindRow(const SRestriction* restriction, BOOKMARK origin, ULONG flags) override;

private:
    void RebuildView();
    bool Matches(const SRestriction& r, const std::vector<ULONG>& tags, const std::vector<SPropValue>& values) const;

    std::unique_ptr<TableRowSource> source_;
    std::vector<ULONG> columns_;
    std::unique_ptr<SRestriction> restriction_;
    SSortOrderSet sort_;
    std::vector<ULONG> view_;  // source row numbers in table order
    ULONG cursor_ = 0;         // position in view_
};

// True when the values satisfy the restriction (values[i] belongs to tags[i]); the tags a
// restriction needs are given by RestrictionTags.
bool MatchRestriction(const SRestriction& r, const std::vector<ULONG>& tags, const std::vector<SPropValue>& values);
void RestrictionTags(const SRestriction& r, std::vector<ULONG>& tags);
