#include "platform/vcl/Clipbrd.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>

#include "platform/vcl/SysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr DWORD kErrorClipboardNotOpen = 1418;
constexpr DWORD kErrorNotFound = 1168;

class LocalStore : public TClipboardStore {
public:
    std::vector<UINT> Formats() const override {
        std::vector<UINT> formats;
        for (const TClipboardItem& i : items_) formats.push_back(i.Format);
        return formats;
    }
    std::optional<std::string> Get(UINT format) const override {
        for (const TClipboardItem& i : items_)
            if (i.Format == format) return i.Bytes;
        return std::nullopt;
    }
    void Put(const std::vector<TClipboardItem>& items) override { items_ = items; }

private:
    std::vector<TClipboardItem> items_;
};

struct State {
    std::unique_ptr<TClipboardStore> store = std::make_unique<LocalStore>();
    std::vector<WideString> names;  // registered formats from kFirstRegistered
    bool open = false;
    bool changed = false;
    std::vector<TClipboardItem> pending;  // the content this opening puts
    std::vector<HGLOBAL> blocks;          // blocks put, owned until the clipboard closes
    std::vector<HGLOBAL> handed;          // blocks handed out, valid until the next opening
};

State& S() {
    static State state;
    return state;
}

bool CheckOpen() {
    if (S().open) return true;
    SetLastError(kErrorClipboardNotOpen);
    return false;
}

std::string BytesOf(HGLOBAL memory) {
    const std::size_t size = GlobalSize(memory);
    const void* p = GlobalLock(memory);
    if (!p) return {};
    std::string bytes(static_cast<const char*>(p), size);
    GlobalUnlock(memory);
    return bytes;
}

HGLOBAL BlockOf(const std::string& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return nullptr;
    if (!bytes.empty()) std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return memory;
}

// UTF-16 little-endian bytes with their terminating zero, and back (up to the first zero).
}  // namespace

std::string ClipboardTextBytes(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    bytes.append(2, '\0');
    return bytes;
}

WideString ClipboardText(std::string_view bytes) {
    WideString text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto c = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

WideString ClipboardFormatName(UINT format) {
    const auto& names = S().names;
    return format >= kFirstRegistered && format - kFirstRegistered < names.size() ? names[format - kFirstRegistered] : WideString();
}

namespace {

std::string NarrowOfBytes(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

// The content now: what this opening put, else the store's.
std::optional<std::string> Current(UINT format) {
    State& s = S();
    if (s.changed) {
        for (const TClipboardItem& i : s.pending)
            if (i.Format == format) return i.Bytes;
        return std::nullopt;
    }
    return s.store->Get(format);
}

std::vector<UINT> CurrentFormats() {
    State& s = S();
    if (!s.changed) return s.store->Formats();
    std::vector<UINT> formats;
    for (const TClipboardItem& i : s.pending) formats.push_back(i.Format);
    return formats;
}

// A format's bytes, with the two text formats standing in for each other.
std::optional<std::string> Lookup(UINT format) {
    if (auto bytes = Current(format)) return bytes;
    if (format == CF_TEXT)
        if (auto wide = Current(CF_UNICODETEXT)) return Utf16ToUtf8(ClipboardText(*wide)) + '\0';
    if (format == CF_UNICODETEXT)
        if (auto narrow = Current(CF_TEXT)) return ClipboardTextBytes(Utf8ToUtf16(NarrowOfBytes(*narrow)));
    return std::nullopt;
}

// Puts bytes under a format in this opening's content.
void Stage(UINT format, std::string bytes) {
    State& s = S();
    if (!s.changed) {
        // Adding to what the clipboard holds: start from its content.
        s.pending.clear();
        for (UINT f : s.store->Formats())
            if (auto b = s.store->Get(f)) s.pending.push_back({f, *b});
        s.changed = true;
    }
    std::erase_if(s.pending, [&](const TClipboardItem& i) { return i.Format == format; });
    s.pending.push_back({format, std::move(bytes)});
}

// The decimal value after "Name:" in the header, or -1.
long HeaderValue(std::string_view content, std::string_view name) {
    const std::size_t at = content.find(name);
    if (at == std::string_view::npos) return -1;
    std::size_t p = at + name.size();
    if (p >= content.size() || content[p] != ':') return -1;
    ++p;
    long value = -1;
    const auto [end, ec] = std::from_chars(content.data() + p, content.data() + content.size(), value);
    (void)end;
    return ec == std::errc() ? value : -1;
}

std::string Offset(std::size_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%010zu", value);
    return buffer;
}

std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from = 0) {
    const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
                                what.begin(), what.end(), [](char a, char b) {
                                    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                                });
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

}  // namespace

UINT RegisterClipboardFormatW(LPCWSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& names = S().names;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (WideSameText(names[i], name)) return kFirstRegistered + static_cast<UINT>(i);
    names.emplace_back(name);
    return kFirstRegistered + static_cast<UINT>(names.size() - 1);
}

UINT RegisterClipboardFormatA(LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WideString wide = Utf8ToUtf16(name);
    return RegisterClipboardFormatW(wide.c_str());
}

int GetClipboardFormatNameW(UINT format, LPWSTR buffer, int maxCount) {
    const auto& names = S().names;
    if (format < kFirstRegistered || format - kFirstRegistered >= names.size() || !buffer || maxCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WideString& name = names[format - kFirstRegistered];
    const int n = std::min(static_cast<int>(name.size()), maxCount - 1);
    std::copy_n(name.begin(), n, buffer);
    buffer[n] = 0;
    return n;
}

int GetClipboardFormatNameA(UINT format, LPSTR buffer, int maxCount) {
    WideChar wide[256];
    if (GetClipboardFormatNameW(format, wide, 256) == 0 || !buffer || maxCount <= 0) return 0;
    const std::string name = Utf16ToUtf8(wide);
    const int n = std::min(static_cast<int>(name.size()), maxCount - 1);
    std::copy_n(name.begin(), n, buffer);
    buffer[n] = 0;
    return n;
}

BOOL OpenClipboard(HWND) {
    State& s = S();
    if (s.open) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    for (HGLOBAL b : s.handed) GlobalFree(b);
    s.handed.clear();
    s.open = true;
    s.changed = false;
    s.pending.clear();
    return TRUE;
}

BOOL CloseClipboard() {
    if (!CheckOpen()) return FALSE;
    State& s = S();
    if (s.changed) s.store->Put(s.pending);
    for (HGLOBAL b : s.blocks) GlobalFree(b);
    s.blocks.clear();
    s.pending.clear();
    s.changed = false;
    s.open = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    if (!CheckOpen()) return FALSE;
    State& s = S();
    s.pending.clear();
    s.changed = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
    if (!CheckOpen()) return nullptr;
    if (format == 0 || !GlobalLock(memory)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    GlobalUnlock(memory);
    Stage(format, BytesOf(memory));
    S().blocks.push_back(memory);
    return memory;
}

HANDLE GetClipboardData(UINT format) {
    if (!CheckOpen()) return nullptr;
    const auto bytes = Lookup(format);
    if (!bytes) {
        SetLastError(kErrorNotFound);
        return nullptr;
    }
    HGLOBAL block = BlockOf(*bytes);
    if (block) S().handed.push_back(block);
    return block;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    if (Current(format)) return TRUE;
    if (format == CF_TEXT) return Current(CF_UNICODETEXT) ? TRUE : FALSE;
    if (format == CF_UNICODETEXT) return Current(CF_TEXT) ? TRUE : FALSE;
    return FALSE;
}

int CountClipboardFormats() { return static_cast<int>(CurrentFormats().size()); }

UINT CF_HTML() {
    static const UINT format = RegisterClipboardFormatW(u"HTML Format");
    return format;
}

UINT CF_RTF() {
    static const UINT format = RegisterClipboardFormatW(u"Rich Text Format");
    return format;
}

std::string MakeClipboardHtml(std::string_view html) {
    static constexpr std::string_view kStart = "<!--StartFragment-->", kEnd = "<!--EndFragment-->";
    std::string doc(html);
    if (FindNoCase(doc, kStart) == std::string::npos || FindNoCase(doc, kEnd) == std::string::npos) {
        // Mark the body's content (or everything) as the fragment.
        std::size_t from = 0, to = doc.size();
        if (const std::size_t body = FindNoCase(doc, "<body"); body != std::string::npos) {
            if (const std::size_t gt = doc.find('>', body); gt != std::string::npos) from = gt + 1;
            if (const std::size_t close = FindNoCase(doc, "</body", from); close != std::string::npos) to = close;
        }
        doc.insert(to, kEnd);
        doc.insert(from, kStart);
    }
    const std::string header = "Version:0.9\r\nStartHTML:0000000000\r\nEndHTML:0000000000\r\n"
                               "StartFragment:0000000000\r\nEndFragment:0000000000\r\n";
    const std::size_t startHtml = header.size();
    const std::size_t startFragment = startHtml + FindNoCase(doc, kStart) + kStart.size();
    const std::size_t endFragment = startHtml + FindNoCase(doc, kEnd);
    return "Version:0.9\r\nStartHTML:" + Offset(startHtml) + "\r\nEndHTML:" + Offset(startHtml + doc.size()) +
           "\r\nStartFragment:" + Offset(startFragment) + "\r\nEndFragment:" + Offset(endFragment) + "\r\n" + doc;
}

std::string ClipboardHtmlDocument(std::string_view content) {
    content = content.substr(0, content.find('\0'));
    const long start = HeaderValue(content, "StartHTML");
    const long end = HeaderValue(content, "EndHTML");
    if (start >= 0 && end >= start && static_cast<std::size_t>(end) <= content.size())
        return std::string(content.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    // Without usable offsets: what follows the header lines.
    const std::size_t lt = content.find('<');
    return lt == std::string_view::npos ? std::string() : std::string(content.substr(lt));
}

void SetClipboardStore(std::unique_ptr<TClipboardStore> store) {
    S().store = store ? std::move(store) : std::make_unique<LocalStore>();
}

// ---------------------------------------------------------------------------------------------
// TClipboard

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::Open() {
    if (opens_ == 0) {
        if (!OpenClipboard(nullptr)) throw Exception(u"Cannot open clipboard");
        emptied_ = false;
    }
    ++opens_;
}

void TClipboard::Close() {
    if (opens_ == 0) return;
    if (--opens_ == 0) CloseClipboard();
}

void TClipboard::Clear() {
    Open();
    EmptyClipboard();
    emptied_ = true;
    Close();
}

bool TClipboard::HasFormat(UINT format) const { return IsClipboardFormatAvailable(format) != FALSE; }
int TClipboard::FormatCount() const { return CountClipboardFormats(); }

UINT TClipboard::Formats(int index) const {
    const auto formats = CurrentFormats();
    if (index < 0 || index >= static_cast<int>(formats.size())) RaiseRangeError();
    return formats[static_cast<std::size_t>(index)];
}

void TClipboard::SetBuffer(UINT format, std::string_view bytes) {
    Open();
    // Outside an opening of the caller's, a change replaces the content.
    if (!emptied_) {
        EmptyClipboard();
        emptied_ = true;
    }
    HGLOBAL block = BlockOf(std::string(bytes));
    if (!block || !SetClipboardData(format, block)) {
        if (block) GlobalFree(block);
        Close();
        throw Exception(u"Cannot set clipboard data");
    }
    Close();
}

std::optional<std::string> TClipboard::Buffer(UINT format) const {
    if (S().open) return Lookup(format);
    if (!OpenClipboard(nullptr)) return std::nullopt;
    auto bytes = Lookup(format);
    CloseClipboard();
    return bytes;
}

WideString TClipboard::AsText() const {
    const auto bytes = Buffer(CF_UNICODETEXT);
    return bytes ? ClipboardText(*bytes) : WideString();
}

void TClipboard::SetAsText(const WideString& text) { SetBuffer(CF_UNICODETEXT, ClipboardTextBytes(text)); }

int TClipboard::GetTextBuf(WideChar* buffer, int size) const {
    if (!buffer || size <= 0) return 0;
    const WideString text = AsText();
    const int n = std::min(static_cast<int>(text.size()), size - 1);
    std::copy_n(text.begin(), n, buffer);
    buffer[n] = 0;
    return n;
}

void TClipboard::SetTextBuf(const WideChar* buffer) { SetAsText(buffer ? WideString(buffer) : WideString()); }

void TClipboard::SetAsHandle(UINT format, HANDLE memory) {
    Open();
    if (!emptied_) {
        EmptyClipboard();
        emptied_ = true;
    }
    const bool ok = SetClipboardData(format, memory) != nullptr;
    Close();
    if (!ok) throw Exception(u"Cannot set clipboard data");
}

HANDLE TClipboard::GetAsHandle(UINT format) {
    Open();
    HANDLE h = GetClipboardData(format);
    Close();
    return h;
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}
