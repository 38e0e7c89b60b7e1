#include "platform/mapi/PropValue.h"

#include <algorithm>
#include <cstring>

#include "platform/win/WinString.h"

namespace {

template <class T>
std::shared_ptr<T> Keep(T value) {
    return std::make_shared<T>(std::move(value));
}

SPropValue Tagged(ULONG tag) {
    SPropValue v;
    v.ulPropTag = tag;
    return v;
}

struct MVStrings8 {
    std::vector<std::string> strings;
    std::vector<const char*> pointers;
};
struct MVStringsW {
    std::vector<std::u16string> strings;
    std::vector<const char16_t*> pointers;
};
struct MVBinaries {
    std::vector<std::vector<BYTE>> blobs;
    std::vector<SBinary> bins;
};

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return c;
}

template <class T>
int Cmp(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

SPropValue SPropValue::Long(ULONG tag, LONG v) {
    SPropValue p = Tagged(tag);
    p.Value.l = v;
    return p;
}

SPropValue SPropValue::Short(ULONG tag, short v) {
    SPropValue p = Tagged(tag);
    p.Value.i = v;
    return p;
}

SPropValue SPropValue::Bool(ULONG tag, bool v) {
    SPropValue p = Tagged(tag);
    p.Value.b = v ? 1 : 0;
    return p;
}

SPropValue SPropValue::Float(ULONG tag, float v) {
    SPropValue p = Tagged(tag);
    p.Value.flt = v;
    return p;
}

SPropValue SPropValue::Double(ULONG tag, double v) {
    SPropValue p = Tagged(tag);
    p.Value.dbl = v;
    return p;
}

SPropValue SPropValue::I8(ULONG tag, LONGLONG v) {
    SPropValue p = Tagged(tag);
    p.Value.li = v;
    return p;
}

SPropValue SPropValue::SysTime(ULONG tag, FILETIME v) {
    SPropValue p = Tagged(tag);
    p.Value.ft = v;
    return p;
}

SPropValue SPropValue::Error(ULONG tag, SCODE code) {
    SPropValue p = Tagged(CHANGE_PROP_TYPE(tag, PT_ERROR));
    p.Value.err = code;
    return p;
}

SPropValue SPropValue::String8(ULONG tag, std::string_view text) {
    SPropValue p = Tagged(tag);
    auto s = Keep(std::string(text));
    p.Value.lpszA = s->c_str();
    p.hold_ = std::move(s);
    return p;
}

SPropValue SPropValue::Unicode(ULONG tag, std::u16string_view text) {
    SPropValue p = Tagged(tag);
    auto s = Keep(std::u16string(text));
    p.Value.lpszW = s->c_str();
    p.hold_ = std::move(s);
    return p;
}

SPropValue SPropValue::Binary(ULONG tag, const void* bytes, std::size_t size) {
    SPropValue p = Tagged(tag);
    const BYTE* b = static_cast<const BYTE*>(bytes);
    auto v = Keep(std::vector<BYTE>(b, b + (b ? size : 0)));
    p.Value.bin.cb = static_cast<ULONG>(v->size());
    p.Value.bin.lpb = v->data();
    p.hold_ = std::move(v);
    return p;
}

SPropValue SPropValue::Guid(ULONG tag, const GUID& g) {
    SPropValue p = Tagged(tag);
    auto k = Keep(g);
    p.Value.lpguid = k.get();
    p.hold_ = std::move(k);
    return p;
}

SPropValue SPropValue::MVLong(ULONG tag, std::vector<LONG> v) {
    SPropValue p = Tagged(tag);
    auto k = Keep(std::move(v));
    p.Value.MVl.cValues = static_cast<ULONG>(k->size());
    p.Value.MVl.lpl = k->data();
    p.hold_ = std::move(k);
    return p;
}

SPropValue SPropValue::MVI8(ULONG tag, std::vector<LONGLONG> v) {
    SPropValue p = Tagged(tag);
    auto k = Keep(std::move(v));
    p.Value.MVli.cValues = static_cast<ULONG>(k->size());
    p.Value.MVli.lpli = k->data();
    p.hold_ = std::move(k);
    return p;
}

SPropValue SPropValue::MVSysTime(ULONG tag, std::vector<FILETIME> v) {
    SPropValue p = Tagged(tag);
    auto k = Keep(std::move(v));
    p.Value.MVft.cValues = static_cast<ULONG>(k->size());
    p.Value.MVft.lpft = k->data();
    p.hold_ = std::move(k);
    return p;
}

SPropValue SPropValue::MVGuid(ULONG tag, std::vector<GUID> v) {
    SPropValue p = Tagged(tag);
    auto k = Keep(std::move(v));
    p.Value.MVguid.cValues = static_cast<ULONG>(k->size());
    p.Value.MVguid.lpguid = k->data();
    p.hold_ = std::move(k);
    return p;
}

SPropValue SPropValue::MVString8(ULONG tag, const std::vector<std::string>& v) {
    SPropValue p = Tagged(tag);
    auto k = std::make_shared<MVStrings8>();
    k->strings = v;
    for (const std::string& s : k->strings) k->pointers.push_back(s.c_str());
    p.Value.MVszA.cValues = static_cast<ULONG>(k->pointers.size());
    p.Value.MVszA.lppszA = k->pointers.data();
    p.hold_ = std::move(k);
    return p;
}

SPropValue SPropValue::MVUnicode(ULONG tag, const std::vector<std::u16string>& v) {
    SPropValue p = Tagged(tag);
    auto k = std::make_shared<MVStringsW>();
    k->strings = v;
    for (const std::u16string& s : k->strings) k->pointers.push_back(s.c_str());
    p.Value.MVszW.cValues = static_cast<ULONG>(k->pointers.size());
    p.Value.MVszW.lppszW = k->pointers.data();
    p.hold_ = std::move(k);
    return p;
}

SPropValue SPropValue::MVBinary(ULONG tag, const std::vector<std::vector<BYTE>>& v) {
    SPropValue p = Tagged(tag);
    auto k = std::make_shared<MVBinaries>();
    k->blobs = v;
    for (const std::vector<BYTE>& b : k->blobs) k->bins.push_back({static_cast<ULONG>(b.size()), b.data()});
    p.Value.MVbin.cValues = static_cast<ULONG>(k->bins.size());
    p.Value.MVbin.lpbin = k->bins.data();
    p.hold_ = std::move(k);
    return p;
}

bool ConvertPropValue(const SPropValue& in, ULONG wantedTag, SPropValue& out) {
    const ULONG want = PROP_TYPE(wantedTag);
    const ULONG have = in.type();
    if (want == PT_UNSPECIFIED || want == have) {
        out = in;
        out.ulPropTag = PROP_TAG(have, PROP_ID(wantedTag));
        return true;
    }
    if (want == PT_STRING8 && have == PT_UNICODE) {
        out = SPropValue::String8(wantedTag, in.Value.lpszW ? Utf16ToUtf8(in.Value.lpszW) : std::string());
        return true;
    }
    if (want == PT_UNICODE && have == PT_STRING8) {
        out = SPropValue::Unicode(wantedTag, in.Value.lpszA ? Utf8ToUtf16(in.Value.lpszA) : std::u16string());
        return true;
    }
    if (want == PT_MV_STRING8 && have == PT_MV_UNICODE) {
        std::vector<std::string> v;
        for (ULONG i = 0; i < in.Value.MVszW.cValues; ++i) v.push_back(Utf16ToUtf8(in.Value.MVszW.lppszW[i]));
        out = SPropValue::MVString8(wantedTag, v);
        return true;
    }
    if (want == PT_MV_UNICODE && have == PT_MV_STRING8) {
        std::vector<std::u16string> v;
        for (ULONG i = 0; i < in.Value.MVszA.cValues; ++i) v.push_back(Utf8ToUtf16(in.Value.MVszA.lppszA[i]));
        out = SPropValue::MVUnicode(wantedTag, v);
        return true;
    }
    return false;
}

std::u16string PropValueText(const SPropValue& v) {
    if (v.type() == PT_UNICODE && v.Value.lpszW) return v.Value.lpszW;
    if (v.type() == PT_STRING8 && v.Value.lpszA) return Utf8ToUtf16(v.Value.lpszA);
    return {};
}

int ComparePropValues(const SPropValue& a, const SPropValue& b) {
    const bool aText = a.type() == PT_UNICODE || a.type() == PT_STRING8;
    const bool bText = b.type() == PT_UNICODE || b.type() == PT_STRING8;
    if (aText && bText) {
        const std::u16string x = PropValueText(a), y = PropValueText(b);
        const std::size_t n = std::min(x.size(), y.size());
        for (std::size_t i = 0; i < n; ++i) {
            const char16_t cx = FoldCase(x[i]), cy = FoldCase(y[i]);
            if (cx != cy) return cx < cy ? -1 : 1;
        }
        return Cmp(x.size(), y.size());
    }
    if (a.type() != b.type()) return Cmp(a.type(), b.type());
    switch (a.type()) {
    case PT_I2: return Cmp(a.Value.i, b.Value.i);
    case PT_LONG: return Cmp(a.Value.l, b.Value.l);
    case PT_ERROR: return Cmp(a.Value.err, b.Value.err);
    case PT_BOOLEAN: return Cmp(a.Value.b != 0, b.Value.b != 0);
    case PT_R4: return Cmp(a.Value.flt, b.Value.flt);
    case PT_DOUBLE:
    case PT_APPTIME: return Cmp(a.Value.dbl, b.Value.dbl);
    case PT_I8:
    case PT_CURRENCY: return Cmp(a.Value.li, b.Value.li);
    case PT_SYSTIME: {
        const ULONGLONG x = (ULONGLONG(a.Value.ft.dwHighDateTime) << 32) | a.Value.ft.dwLowDateTime;
        const ULONGLONG y = (ULONGLONG(b.Value.ft.dwHighDateTime) << 32) | b.Value.ft.dwLowDateTime;
        return Cmp(x, y);
    }
    case PT_BINARY: {
        const ULONG n = std::min(a.Value.bin.cb, b.Value.bin.cb);
        const int c = n ? std::memcmp(a.Value.bin.lpb, b.Value.bin.lpb, n) : 0;
        if (c != 0) return c < 0 ? -1 : 1;
        return Cmp(a.Value.bin.cb, b.Value.bin.cb);
    }
    case PT_CLSID: {
        BYTE x[16], y[16];
        GuidToBytes(*a.Value.lpguid, x);
        GuidToBytes(*b.Value.lpguid, y);
        const int c = std::memcmp(x, y, 16);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    default: return 0;
    }
}

GUID GuidFromBytes(const BYTE* b) {
    GUID g;
    g.Data1 = ULONG(b[0]) | ULONG(b[1]) << 8 | ULONG(b[2]) << 16 | ULONG(b[3]) << 24;
    g.Data2 = static_cast<std::uint16_t>(b[4] | b[5] << 8);
    g.Data3 = static_cast<std::uint16_t>(b[6] | b[7] << 8);
    std::memcpy(g.Data4, b + 8, 8);
    return g;
}

void GuidToBytes(const GUID& g, BYTE* out) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<BYTE>(g.Data1 >> (8 * i));
    out[4] = static_cast<BYTE>(g.Data2);
    out[5] = static_cast<BYTE>(g.Data2 >> 8);
    out[6] = static_cast<BYTE>(g.Data3);
    out[7] = static_cast<BYTE>(g.Data3 >> 8);
    std::memcpy(out + 8, g.Data4, 8);
}
