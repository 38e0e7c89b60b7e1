#include "platform/win/StringResources.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <unordered_map>

#include "platform/win/WinError.h"

namespace {

struct StringTable {
    std::mutex lock;
    std::unordered_map<UINT, WideString> texts;  // node-based: a text's address stays put
};

// Built on first use, so registrations from other files' static initialisers find it ready.
StringTable& Table() {
    static StringTable table;
    return table;
}

}  // namespace

bool RegisterStringTable(std::initializer_list<std::pair<UINT, const char16_t*>> entries) {
    StringTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    bool consistent = true;
    for (const auto& [id, text] : entries) {
        WideString value = text ? WideString(text) : WideString();
        auto [it, inserted] = t.texts.try_emplace(id, value);
        if (!inserted && it->second != value) {
            consistent = false;
            it->second = std::move(value);
        }
    }
    return consistent;
}

int LoadStringW(HINSTANCE, UINT uID, char16_t* lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    StringTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    const auto it = t.texts.find(uID);
    if (it == t.texts.end() || it->second.empty()) {
        if (cchBufferMax > 0) lpBuffer[0] = u'\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const WideString& text = it->second;
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    if (cchBufferMax == 0) {
        *reinterpret_cast<const char16_t**>(lpBuffer) = text.c_str();
        return length;
    }
    const int n = std::min(length, cchBufferMax - 1);
    std::copy_n(text.data(), n, lpBuffer);
    lpBuffer[n] = u'\0';
    return n;
}

WideString LoadResString(UINT id) {
    StringTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    const auto it = t.texts.find(id);
    return it == t.texts.end() ? WideString() : it->second;
}
