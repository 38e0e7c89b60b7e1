#include "ui/MainImages.h"

#include <cstdint>
#include <vector>

#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/WidgetSet.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// A rounded square of one colour: what a missing theme icon becomes.
Pixels Square(int size, std::uint32_t argb)
{
    Pixels px(static_cast<std::size_t>(size) * size, 0);
    const int inset = size / 8;
    for (int y = inset; y < size - inset; ++y)
        for (int x = inset; x < size - inset; ++x) {
            const bool corner = (x == inset || x == size - inset - 1) && (y == inset || y == size - inset - 1);
            if (!corner) px[static_cast<std::size_t>(y * size + x)] = argb;
        }
    return px;
}

// A check box of the header: a framed white box, ticked or not.
Pixels CheckBox(bool checked)
{
    constexpr int n = 16;
    Pixels px(n * n, 0);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
            px[y * n + x] = (x == 2 || x == 13 || y == 2 || y == 13) ? 0xFF7A7A7Au : 0xFFFFFFFFu;
    if (checked) {
        const int tick[][2] = {{4, 7}, {5, 8}, {6, 9}, {7, 8}, {8, 7}, {9, 6}, {10, 5}, {11, 4}};
        for (const auto& p : tick)
            for (int d = 0; d < 2; ++d) px[(p[1] + d) * n + p[0]] = 0xFF202020u;
    }
    return px;
}

Pixels ThemeIcon(std::initializer_list<const char16_t*> names, int size, std::uint32_t fallback)
{
    for (const char16_t* name : names) {
        Pixels px = WidgetSet().DesktopIcon(name, {}, size);
        if (px.size() == static_cast<std::size_t>(size) * size) return px;
    }
    return Square(size, fallback);
}

}  // namespace

void FillListImages(TCustomImageList& images)
{
    images.Clear();
    const auto add = [&](std::initializer_list<const char16_t*> names, std::uint32_t fallback) {
        images.AddPixels(ThemeIcon(names, 16, fallback));
    };
    add({u"mail-attachment-symbolic", u"mail-attachment"}, 0xFF888A85u);        // 0 attachment
    add({u"mail-read-symbolic"}, 0xFF3465A4u);                                  // 1
    add({u"x-office-calendar-symbolic", u"x-office-calendar"}, 0xFFC4A000u);    // 2 appointment
    add({u"x-office-address-book-symbolic", u"x-office-address-book"}, 0xFF75507Bu);  // 3 contact
    add({u"task-due-symbolic"}, 0xFF4E9A06u);                                   // 4 task
    add({u"mail-unread-symbolic"}, 0xFF3465A4u);                                // 5 .msg mail
    add({u"mail-read-symbolic"}, 0xFF729FCFu);                                  // 6 .eml and others
    add({u"mail-unread-symbolic"}, 0xFFCE5C00u);                                // 7 store message
    for (int i = 8; i < kImageHeaderUnchecked; ++i) add({u"mail-read-symbolic"}, 0xFF729FCFu);
    images.AddPixels(CheckBox(false));  // 12
    images.AddPixels(CheckBox(true));   // 13
}

void FillToolbarImages(TCustomImageList& images)
{
    images.Clear();
    const int size = images.Width();
    const auto add = [&](std::initializer_list<const char16_t*> names) {
        images.AddPixels(ThemeIcon(names, size, 0xFF3465A4u));
    };
    add({u"document-open-symbolic", u"document-open"});
    add({u"application-exit-symbolic", u"application-exit"});
    add({u"mail-reply-sender-symbolic", u"mail-reply-sender"});
    add({u"mail-forward-symbolic", u"mail-forward"});
    add({u"document-save-symbolic", u"document-save"});
    add({u"document-save-as-symbolic", u"document-save-as"});
    add({u"document-print-symbolic", u"document-print"});
    add({u"document-print-preview-symbolic", u"document-print-symbolic"});
    add({u"edit-find-symbolic", u"edit-find"});
    add({u"document-send-symbolic", u"document-send"});
    add({u"edit-copy-symbolic", u"edit-copy"});
    add({u"user-trash-symbolic", u"user-trash", u"edit-delete"});
    add({u"view-refresh-symbolic", u"view-refresh"});
    add({u"process-stop-symbolic", u"process-stop"});
}
