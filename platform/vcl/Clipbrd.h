// The clipboard: the Windows calls (OpenClipboard ... CloseClipboard over global memory blocks,
// registered formats) and TClipboard of the class library over them. What the clipboard holds
// lives in a store: in-process by default (headless runs and unit tests), the desktop's
// clipboard once the toolkit side installs its store.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/GdiTypes.h"
#include "platform/win/WinGlobalMemory.h"

inline constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_DIB = 8, CF_UNICODETEXT = 13,
                      CF_ENHMETAFILE = 14, CF_HDROP = 15, CF_LOCALE = 16;

// A format by name: the same name (without regard to case) gives the same number, from 0xC000
// up; 0 for an empty name.
UINT RegisterClipboardFormatW(LPCWSTR name);
UINT RegisterClipboardFormatA(LPCSTR name);
// The name of a registered format into buffer; the characters copied (0 for an unknown format).
int GetClipboardFormatNameW(UINT format, LPWSTR buffer, int maxCount);
int GetClipboardFormatNameA(UINT format, LPSTR buffer, int maxCount);

// One owner at a time: a second OpenClipboard before CloseClipboard fails.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Clears the clipboard for new content (the clipboard must be open).
BOOL EmptyClipboard();
// Puts a global memory block under a format; the clipboard owns the block from then on.
// Text formats hold their terminating zero.
HANDLE SetClipboardData(UINT format, HANDLE memory);
// The block of a format, owned by the clipboard (valid until the next OpenClipboard); null
// when absent.
// CF_TEXT and CF_UNICODETEXT stand in for each other.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();

// The registered formats the program and the desktop share: "HTML Format" (the header with
// byte offsets, then the document) and "Rich Text Format".
UINT CF_HTML();
UINT CF_RTF();

// "HTML Format" content: the header with StartHTML, EndHTML, StartFragment and EndFragment as
// byte offsets, around a UTF-8 document. A document without fragment markers has its body (or
// all of it) marked as the fragment.
std::string MakeClipboardHtml(std::string_view html);
// The document part of "HTML Format" content (from StartHTML to EndHTML); the bytes after the
// header when the offsets are missing or out of range.
std::string ClipboardHtmlDocument(std::string_view content);

// CF_UNICODETEXT content (UTF-16 little-endian and a zero) of a text, and the text of such content.
std::string ClipboardTextBytes(std::u16string_view text);
WideString ClipboardText(std::string_view bytes);
// The name of a registered format (empty for a standard or unknown one).
WideString ClipboardFormatName(UINT format);

// What the clipboard holds: the formats and their bytes.
struct TClipboardItem {
    UINT Format = 0;
    std::string Bytes;
};
class TClipboardStore {
public:
    virtual ~TClipboardStore() = default;
    virtual std::vector<UINT> Formats() const = 0;
    virtual std::optional<std::string> Get(UINT format) const = 0;
    // Replaces the whole content.
    virtual void Put(const std::vector<TClipboardItem>& items) = 0;
};
// Installs a store (null: back to the in-process one).
void SetClipboardStore(std::unique_ptr<TClipboardStore> store);

class TClipboard : public TPersistent {
public:
    TClipboard();
    ~TClipboard() override;
    std::string_view ClassName() const override { return "TClipboard"; }

    // Nested: the clipboard closes with the last Close.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT format) const;
    int FormatCount() const;
    UINT Formats(int index) const;

    WideString AsText() const;
    void SetAsText(const WideString& text);
    // The text into buffer (at most size - 1 characters and a zero); the characters copied.
    int GetTextBuf(WideChar* buffer, int size) const;
    void SetTextBuf(const WideChar* buffer);
    // A block under a format; the clipboard owns it from then on.
    void SetAsHandle(UINT format, HANDLE memory);
    HANDLE GetAsHandle(UINT format);
    // Bytes under a format, as one change (the content so far is replaced when not open).
    void SetBuffer(UINT format, std::string_view bytes);
    std::optional<std::string> Buffer(UINT format) const;

private:
    int opens_ = 0;
    bool emptied_ = false;
};

// The program's clipboard.
TClipboard* Clipboard();
