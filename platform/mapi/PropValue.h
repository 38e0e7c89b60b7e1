// Property values, tag arrays, rows and property names of the MAPI layer.
// An SPropValue has the MAPI shape (tag plus a union of typed members); the bytes, strings and
// arrays its pointer members refer to are owned by the value itself and shared, read-only,
// between its copies, so values can be copied, kept and returned freely.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mapi/MapiError.h"

struct SBinary {
    ULONG cb = 0;
    const BYTE* lpb = nullptr;
};

struct SPropValue {
    ULONG ulPropTag = PR_NULL;
    ULONG dwAlignPad = 0;
    union PropValueUnion {
        PropValueUnion() : li(0) {}
        LONGLONG li;
        short i;
        LONG l;
        ULONG ul;
        float flt;
        double dbl;
        unsigned short b;
        double at;
        FILETIME ft;
        const char* lpszA;
        const char16_t* lpszW;
        SBinary bin;
        const GUID* lpguid;
        SCODE err;
        struct {
            ULONG cValues;
            const LONG* lpl;
        } MVl;
        struct {
            ULONG cValues;
            const LONGLONG* lpli;
        } MVli;
        struct {
            ULONG cValues;
            const FILETIME* lpft;
        } MVft;
        struct {
            ULONG cValues;
            const char* const* lppszA;
        } MVszA;
        struct {
            ULONG cValues;
            const char16_t* const* lppszW;
        } MVszW;
        struct {
            ULONG cValues;
            const SBinary* lpbin;
        } MVbin;
        struct {
            ULONG cValues;
            const GUID* lpguid;
        } MVguid;
    } Value;

    ULONG type() const { return PROP_TYPE(ulPropTag); }
    ULONG id() const { return PROP_ID(ulPropTag); }
    bool isError() const { return type() == PT_ERROR; }

    static SPropValue Long(ULONG tag, LONG v);
    static SPropValue Short(ULONG tag, short v);
    static SPropValue Bool(ULONG tag, bool v);
    static SPropValue Float(ULONG tag, float v);
    static SPropValue Double(ULONG tag, double v);  // PT_DOUBLE or PT_APPTIME
    static SPropValue I8(ULONG tag, LONGLONG v);    // PT_I8 or PT_CURRENCY
    static SPropValue SysTime(ULONG tag, FILETIME v);
    // An error value: the tag keeps its id and gets the type PT_ERROR.
    static SPropValue Error(ULONG tag, SCODE code);
    // 8-bit text (UTF-8, the system's ANSI code page).
    static SPropValue String8(ULONG tag, std::string_view text);
    static SPropValue Unicode(ULONG tag, std::u16string_view text);
    static SPropValue Binary(ULONG tag, const void* bytes, std::size_t size);
    static SPropValue Binary(ULONG tag, const std::vector<BYTE>& bytes) {
        return Binary(tag, bytes.data(), bytes.size());
    }
    static SPropValue Guid(ULONG tag, const GUID& g);
    static SPropValue MVLong(ULONG tag, std::vector<LONG> v);
    static SPropValue MVI8(ULONG tag, std::vector<LONGLONG> v);
    static SPropValue MVSysTime(ULONG tag, std::vector<FILETIME> v);
    static SPropValue MVString8(ULONG tag, const std::vector<std::string>& v);
    static SPropValue MVUnicode(ULONG tag, const std::vector<std::u16string>& v);
    static SPropValue MVBinary(ULONG tag, const std::vector<std::vector<BYTE>>& v);
    static SPropValue MVGuid(ULONG tag, std::vector<GUID> v);

private:
    // Keeps what the pointer members point at; shared by copies, never changed.
    std::shared_ptr<const void> hold_;
};

using SPropValuePtr = std::unique_ptr<SPropValue>;
using SPropValueArray = std::vector<SPropValue>;

// A list of property tags (columns, or the properties asked of GetProps).
struct SPropTagArray {
    std::vector<ULONG> aulPropTag;

    SPropTagArray() = default;
    SPropTagArray(std::initializer_list<ULONG> tags) : aulPropTag(tags) {}
    explicit SPropTagArray(std::vector<ULONG> tags) : aulPropTag(std::move(tags)) {}
    ULONG cValues() const { return static_cast<ULONG>(aulPropTag.size()); }
};

struct SRow {
    std::vector<SPropValue> lpProps;
    ULONG cValues() const { return static_cast<ULONG>(lpProps.size()); }
};

struct SRowSet {
    std::vector<SRow> aRow;
    ULONG cRows() const { return static_cast<ULONG>(aRow.size()); }
};
using SRowSetPtr = std::unique_ptr<SRowSet>;

// The name of a named property: a number or a string in a property set.
struct MAPINAMEID {
    GUID guid;
    ULONG ulKind = MNID_ID;
    LONG lID = 0;
    std::u16string lpwstrName;
};

// Property sets of the well-known named properties.
inline constexpr GUID PS_MAPI = {0x00020328, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr GUID PS_PUBLIC_STRINGS = {0x00020329, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The value as the type the tag asks for: PT_STRING8 and PT_UNICODE (single and multi-valued)
// are converted into each other, PT_UNSPECIFIED takes the value's own type; any other type
// must match. The result carries the asked tag (with the value's type for PT_UNSPECIFIED).
// False when the types cannot be converted.
bool ConvertPropValue(const SPropValue& in, ULONG wantedTag, SPropValue& out);

// Orders two values of the same type for table sorting: strings case-insensitively,
// numbers and times by value, binary by bytes. Values of different types order by type.
int ComparePropValues(const SPropValue& a, const SPropValue& b);

// The value's text as UTF-16, for string types (otherwise empty).
std::u16string PropValueText(const SPropValue& v);

// The little-endian GUID from 16 bytes as stored in files.
GUID GuidFromBytes(const BYTE* b);
void GuidToBytes(const GUID& g, BYTE* out);
