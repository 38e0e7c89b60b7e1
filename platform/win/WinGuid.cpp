#include "platform/win/WinGuid.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/win/WinError.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads `digits` hex digits at text[pos]; false on anything else.
bool ReadHex(std::u16string_view text, std::size_t pos, int digits, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int v = HexValue(text[pos + static_cast<std::size_t>(i)]);
        if (v < 0) return false;
        value = (value << 4) | static_cast<std::uint64_t>(v);
    }
    return true;
}

// Parses exactly XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX (36 characters).
bool ParseBare(std::u16string_view t, GUID& guid) {
    if (t.size() != 36 || t[8] != u'-' || t[13] != u'-' || t[18] != u'-' || t[23] != u'-') return false;
    std::uint64_t v;
    GUID g;
    if (!ReadHex(t, 0, 8, v)) return false;
    g.Data1 = static_cast<std::uint32_t>(v);
    if (!ReadHex(t, 9, 4, v)) return false;
    g.Data2 = static_cast<std::uint16_t>(v);
    if (!ReadHex(t, 14, 4, v)) return false;
    g.Data3 = static_cast<std::uint16_t>(v);
    static constexpr std::size_t bytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(t, bytePos[i], 2, v)) return false;
        g.Data4[i] = static_cast<std::uint8_t>(v);
    }
    guid = g;
    return true;
}

bool FillRandom(void* buf, std::size_t size) {
    auto* p = static_cast<unsigned char*>(buf);
    while (size > 0) {
        const ssize_t n = getrandom(p, size, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

HRESULT CoCreateGuid(GUID* pguid) {
    if (!pguid) return E_INVALIDARG;
    unsigned char bytes[16];
    if (!FillRandom(bytes, sizeof bytes)) return HRESULT_FROM_WIN32(WinErrorFromErrno(errno));
    GUID g;
    std::memcpy(&g.Data1, bytes, 4);
    std::memcpy(&g.Data2, bytes + 4, 2);
    std::memcpy(&g.Data3, bytes + 6, 2);
    std::memcpy(g.Data4, bytes + 8, 8);
    g.Data3 = static_cast<std::uint16_t>((g.Data3 & 0x0FFF) | 0x4000);  // version 4: random
    g.Data4[0] = static_cast<std::uint8_t>((g.Data4[0] & 0x3F) | 0x80);  // RFC 4122 variant
    *pguid = g;
    return S_OK;
}

WideString StringFromCLSID(REFCLSID rclsid) {
    WideString s;
    s.reserve(38);
    const auto put = [&s](std::uint64_t v, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) s.push_back(static_cast<char16_t>(kHex[(v >> shift) & 0xF]));
    };
    s.push_back(u'{');
    put(rclsid.Data1, 8);
    s.push_back(u'-');
    put(rclsid.Data2, 4);
    s.push_back(u'-');
    put(rclsid.Data3, 4);
    s.push_back(u'-');
    put(rclsid.Data4[0], 2);
    put(rclsid.Data4[1], 2);
    s.push_back(u'-');
    for (int i = 2; i < 8; ++i) put(rclsid.Data4[i], 2);
    s.push_back(u'}');
    return s;
}

int StringFromGUID2(REFGUID rguid, char16_t* lpsz, int cchMax) {
    const WideString s = StringFromCLSID(rguid);
    if (!lpsz || cchMax < static_cast<int>(s.size()) + 1) return 0;
    s.copy(lpsz, s.size());
    lpsz[s.size()] = u'\0';
    return static_cast<int>(s.size()) + 1;
}

bool TryParseGuid(std::u16string_view text, GUID& guid) {
    if (text.size() == 38 && text.front() == u'{' && text.back() == u'}') return ParseBare(text.substr(1, 36), guid);
    return ParseBare(text, guid);
}

HRESULT CLSIDFromString(const char16_t* lpsz, CLSID* pclsid) {
    if (!pclsid) return E_INVALIDARG;
    *pclsid = CLSID_NULL;
    if (!lpsz) return S_OK;
    const std::u16string_view text(lpsz);
    if (text.size() != 38 || text.front() != u'{' || !TryParseGuid(text, *pclsid)) {
        *pclsid = CLSID_NULL;
        return CO_E_CLASSSTRING;
    }
    return S_OK;
}

HRESULT IIDFromString(const char16_t* lpsz, IID* lpiid) {
    const HRESULT hr = CLSIDFromString(lpsz, lpiid);
    return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}
