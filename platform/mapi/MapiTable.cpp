#include "platform/mapi/MapiTable.h"

#include <algorithm>
#include <numeric>

namespace {

const SPropValue* Find(ULONG tag, const std::vector<ULONG>& tags, const std::vector<SPropValue>& values) {
    for (std::size_t i = 0; i < tags.size() && i < values.size(); ++i)
        if (PROP_ID(tags[i]) == PROP_ID(tag) && !values[i].isError()) return &values[i];
    return nullptr;
}

bool Relate(int c, ULONG relop) {
    switch (relop) {
    case RELOP_LT: return c < 0;
    case RELOP_LE: return c <= 0;
    case RELOP_GT: return c > 0;
    case RELOP_GE: return c >= 0;
    case RELOP_EQ: return c == 0;
    case RELOP_NE: return c != 0;
    default: return false;
    }
}

char16_t Fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool ContentMatches(const SPropValue& v, const SPropValue& pattern, ULONG fuzzy) {
    const bool text = v.type() == PT_UNICODE || v.type() == PT_STRING8;
    std::u16string hay, needle;
    if (text) {
        hay = PropValueText(v);
        needle = PropValueText(pattern);
    } else if (v.type() == PT_BINARY && pattern.type() == PT_BINARY) {
        hay.assign(v.Value.bin.lpb, v.Value.bin.lpb + v.Value.bin.cb);
        needle.assign(pattern.Value.bin.lpb, pattern.Value.bin.lpb + pattern.Value.bin.cb);
    } else {
        return false;
    }
    if (text && (fuzzy & FL_IGNORECASE)) {
        std::transform(hay.begin(), hay.end(), hay.begin(), Fold);
        std::transform(needle.begin(), needle.end(), needle.begin(), Fold);
    }
    switch (fuzzy & 0xFFFF) {
    case FL_SUBSTRING: return hay.find(needle) != std::u16string::npos;
    case FL_PREFIX: return hay.compare(0, needle.size(), needle) == 0;
    default: return hay == needle;
    }
}

}  // namespace

SRestriction SRestriction::And(std::vector<SRestriction> subs) {
    SRestriction r;
    r.rt = RES_AND;
    r.sub = std::move(subs);
    return r;
}

SRestriction SRestriction::Or(std::vector<SRestriction> subs) {
    SRestriction r;
    r.rt = RES_OR;
    r.sub = std::move(subs);
    return r;
}

SRestriction SRestriction::Not(SRestriction inner) {
    SRestriction r;
    r.rt = RES_NOT;
    r.sub.push_back(std::move(inner));
    return r;
}

SRestriction SRestriction::Property(ULONG relop, ULONG tag, SPropValue value) {
    SRestriction r;
    r.rt = RES_PROPERTY;
    r.relop = relop;
    r.ulPropTag = tag;
    r.prop = std::move(value);
    return r;
}

SRestriction SRestriction::Content(ULONG fuzzyLevel, ULONG tag, SPropValue value) {
    SRestriction r;
    r.rt = RES_CONTENT;
    r.ulFuzzyLevel = fuzzyLevel;
    r.ulPropTag = tag;
    r.prop = std::move(value);
    return r;
}

SRestriction SRestriction::Exist(ULONG tag) {
    SRestriction r;
    r.rt = RES_EXIST;
    r.ulPropTag = tag;
    return r;
}

SRestriction SRestriction::Bitmask(ULONG bmr, ULONG tag, ULONG mask) {
    SRestriction r;
    r.rt = RES_BITMASK;
    r.relop = bmr;
    r.ulPropTag = tag;
    r.ulMask = mask;
    return r;
}

void RestrictionTags(const SRestriction& r, std::vector<ULONG>& tags) {
    switch (r.rt) {
    case RES_AND:
    case RES_OR:
    case RES_NOT:
        for (const SRestriction& s : r.sub) RestrictionTags(s, tags);
        break;
    case RES_COMPAREPROPS:
        tags.push_back(r.ulPropTag);
        tags.push_back(r.ulPropTag2);
        break;
    default: tags.push_back(r.ulPropTag); break;
    }
}

bool MatchRestriction(const SRestriction& r, const std::vector<ULONG>& tags, const std::vector<SPropValue>& values) {
    switch (r.rt) {
    case RES_AND:
        return std::all_of(r.sub.begin(), r.sub.end(),
                           [&](const SRestriction& s) { return MatchRestriction(s, tags, values); });
    case RES_OR:
        return std::any_of(r.sub.begin(), r.sub.end(),
                           [&](const SRestriction& s) { return MatchRestriction(s, tags, values); });
    case RES_NOT: return r.sub.size() == 1 && !MatchRestriction(r.sub[0], tags, values);
    case RES_EXIST: return Find(r.ulPropTag, tags, values) != nullptr;
    case RES_PROPERTY: {
        const SPropValue* v = Find(r.ulPropTag, tags, values);
        return v && Relate(ComparePropValues(*v, r.prop), r.relop);
    }
    case RES_COMPAREPROPS: {
        const SPropValue* a = Find(r.ulPropTag, tags, values);
        const SPropValue* b = Find(r.ulPropTag2, tags, values);
        return a && b && Relate(ComparePropValues(*a, *b), r.relop);
    }
    case RES_CONTENT: {
        const SPropValue* v = Find(r.ulPropTag, tags, values);
        return v && ContentMatches(*v, r.prop, r.ulFuzzyLevel);
    }
    case RES_BITMASK: {
        const SPropValue* v = Find(r.ulPropTag, tags, values);
        if (!v || v->type() != PT_LONG) return false;
        const bool zero = (static_cast<ULONG>(v->Value.l) & r.ulMask) == 0;
        return r.relop == BMR_EQZ ? zero : !zero;
    }
    default: return false;
    }
}

void FixedRowSource::ReadRow(ULONG row, const std::vector<ULONG>& tags, std::vector<SPropValue>& out) {
    out.clear();
    const std::vector<SPropValue>& values = rows_.at(row);
    for (ULONG tag : tags) {
        SPropValue v = SPropValue::Error(tag, MAPI_E_NOT_FOUND);
        for (const SPropValue& have : values) {
            if (have.id() != PROP_ID(tag)) continue;
            ULONG want = tag;
            if (PROP_TYPE(tag) == PT_UNSPECIFIED && have.type() == PT_UNICODE) want = CHANGE_PROP_TYPE(tag, PT_STRING8);
            if (!ConvertPropValue(have, want, v)) v = SPropValue::Error(tag, MAPI_E_INVALID_TYPE);
            break;
        }
        out.push_back(std::move(v));
    }
}

MemTable::MemTable(std::unique_ptr<TableRowSource> source, std::vector<ULONG> defaultColumns)
    : source_(std::move(source)), columns_(std::move(defaultColumns)) {
    RebuildView();
}

HRESULT MemTable::GetLastError(HRESULT, ULONG, std::unique_ptr<MAPIERROR>* error) {
    if (error) error->reset();
    return MAPI_E_NOT_FOUND;
}

HRESULT MemTable::SetColumns(const SPropTagArray* columns, ULONG) {
    if (!columns || columns->aulPropTag.empty()) return MAPI_E_INVALID_PARAMETER;
    columns_ = columns->aulPropTag;
    return S_OK;
}

HRESULT MemTable::QueryColumns(ULONG, SPropTagArray* columns) {
    if (!columns) return MAPI_E_INVALID_PARAMETER;
    columns->aulPropTag = columns_;
    return S_OK;
}

HRESULT MemTable::GetRowCount(ULONG, ULONG* count) {
    if (!count) return MAPI_E_INVALID_PARAMETER;
    *count = static_cast<ULONG>(view_.size());
    return S_OK;
}

HRESULT MemTable::SeekRow(BOOKMARK origin, LONG rowCount, LONG* sought) {
    LONGLONG base;
    switch (origin) {
    case BOOKMARK_BEGINNING: base = 0; break;
    case BOOKMARK_CURRENT: base = cursor_; break;
    case BOOKMARK_END: base = static_cast<LONGLONG>(view_.size()); break;
    default: return MAPI_E_INVALID_BOOKMARK;
    }
    const LONGLONG target = std::clamp<LONGLONG>(base + rowCount, 0, static_cast<LONGLONG>(view_.size()));
    cursor_ = static_cast<ULONG>(target);
    if (sought) *sought = static_cast<LONG>(target - base);
    return S_OK;
}

HRESULT MemTable::QueryPosition(ULONG* row, ULONG* numerator, ULONG* denominator) {
    if (row) *row = cursor_;
    if (numerator) *numerator = cursor_;
    if (denominator) *denominator = static_cast<ULONG>(view_.size());
    return S_OK;
}

HRESULT MemTable::Restrict(const SRestriction* restriction, ULONG) {
    restriction_ = restriction ? std::make_unique<SRestriction>(*restriction) : nullptr;
    RebuildView();
    return S_OK;
}

HRESULT MemTable::SortTable(const SSortOrderSet* sortOrder, ULONG) {
    sort_ = sortOrder ? *sortOrder : SSortOrderSet{};
    RebuildView();
    return S_OK;
}

void MemTable::RebuildView() {
    const ULONG n = source_->RowCount();
    view_.clear();
    std::vector<SPropValue> values;
    if (restriction_) {
        std::vector<ULONG> tags;
        RestrictionTags(*restriction_, tags);
        for (ULONG i = 0; i < n; ++i) {
            source_->ReadRow(i, tags, values);
            if (MatchRestriction(*restriction_, tags, values)) view_.push_back(i);
        }
    } else {
        view_.resize(n);
        std::iota(view_.begin(), view_.end(), 0u);
    }
    if (!sort_.aSort.empty()) {
        std::vector<ULONG> tags;
        for (const SSortOrder& s : sort_.aSort) tags.push_back(s.ulPropTag);
        std::vector<std::vector<SPropValue>> keys(n);
        for (ULONG i : view_) source_->ReadRow(i, tags, keys[i]);
        std::stable_sort(view_.begin(), view_.end(), [&](ULONG a, ULONG b) {
            for (std::size_t k = 0; k < tags.size(); ++k) {
                const SPropValue& x = keys[a][k];
                const SPropValue& y = keys[b][k];
                int c;
                if (x.isError() || y.isError())  // rows without the value sort last
                    c = x.isError() == y.isError() ? 0 : (x.isError() ? 1 : -1);
                else
                    c = ComparePropValues(x, y);
                if (sort_.aSort[k].ulOrder == TABLE_SORT_DESCEND) c = -c;
                if (c != 0) return c < 0;
            }
            return false;
        });
    }
    cursor_ = 0;
}

HRESULT MemTable::QueryRows(LONG rowCount, ULONG flags, SRowSetPtr* rows) {
    if (!rows) return MAPI_E_INVALID_PARAMETER;
    auto set = std::make_unique<SRowSet>();
    const ULONG total = static_cast<ULONG>(view_.size());
    ULONG first = cursor_, last = cursor_;
    if (rowCount >= 0) {
        last = cursor_ + std::min<ULONG>(static_cast<ULONG>(rowCount), total - cursor_);
    } else {
        const ULONG back = std::min<ULONG>(static_cast<ULONG>(-static_cast<LONGLONG>(rowCount)), cursor_);
        first = cursor_ - back;
    }
    set->aRow.reserve(last - first);
    for (ULONG i = first; i < last; ++i) {
        SRow row;
        source_->ReadRow(view_[i], columns_, row.lpProps);
        set->aRow.push_back(std::move(row));
    }
    if (!(flags & TBL_NOADVANCE)) cursor_ = rowCount >= 0 ? last : first;
    *rows = std::move(set);
    return S_OK;
}

HRESULT MemTable::WaitForCompletion(ULONG, ULONG, ULONG* status) {
    if (status) *status = 0;  // rows are built synchronously: nothing to wait for
    return S_OK;
}

HRESULT MemTable::FindRow(const SRestriction* restriction, BOOKMARK origin, ULONG) {
    if (!restriction) return MAPI_E_INVALID_PARAMETER;
    ULONG start = origin == BOOKMARK_BEGINNING ? 0 : (origin == BOOKMARK_CURRENT ? cursor_ : static_cast<ULONG>(view_.size()));
    std::vector<ULONG> tags;
    RestrictionTags(*restriction, tags);
    std::vector<SPropValue> values;
    for (ULONG i = start; i < view_.size(); ++i) {
        source_->ReadRow(view_[i], tags, values);
        if (MatchRestriction(*restriction, tags, values)) {
            cursor_ = i;
            return S_OK;
        }
    }
    return MAPI_E_NOT_FOUND;
}
