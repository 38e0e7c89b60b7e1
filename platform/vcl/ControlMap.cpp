#include "platform/vcl/ControlMap.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/StatusBar.h"
#include "platform/vcl/TreeView.h"
#include "platform/win/WinString.h"

namespace {

std::string OneLine(const WideString& text) {
    std::string s = Utf16ToUtf8(text);
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

// What a person reads off a list, tree or status bar.
std::string Detail(const TControl& control) {
    if (const auto* list = dynamic_cast<const TCustomListView*>(&control)) {
        const int count = list->ItemCount();
        const int selected = list->ItemIndex();
        auto caption = [&](int i) {
            const TListItem* item = i >= 0 && i < count ? list->Items()->Item(i) : nullptr;
            if (!item) return std::string();
            std::string text = OneLine(item->Caption());
            for (int s = 0; s < item->SubItems()->Count(); ++s) text += '|' + OneLine(item->SubItems()->Get(s));
            return text;
        };
        return "items=" + std::to_string(count) + " selected=" + std::to_string(selected) + " first=" + caption(0) +
               " current=" + caption(selected);
    }
    if (const auto* tree = dynamic_cast<const TCustomTreeView*>(&control))
        return "selected=" + (tree->Selected() ? OneLine(tree->Selected()->Text()) : std::string());
    if (const auto* bar = dynamic_cast<const TCustomStatusBar*>(&control)) {
        std::string panels = OneLine(bar->SimpleText());
        for (int i = 0; i < bar->Panels()->Count(); ++i) panels += " | " + OneLine(bar->Panels()->Items(i)->Text());
        return panels;
    }
    return {};
}

void Describe(const TControl& control, const std::string& path, std::string& out) {
    // A window gives its client area, as the window system placed it.
    const TPoint origin = control.Parent() ? control.Parent()->ClientToScreen(TPoint(control.Left(), control.Top()))
                                           : control.ClientToScreen(TPoint(0, 0));
    const int width = control.Parent() ? control.Width() : control.ClientWidth();
    const int height = control.Parent() ? control.Height() : control.ClientHeight();
    const auto* windowed = dynamic_cast<const TWinControl*>(&control);
    std::string flags;
    if (control.Enabled()) flags += 'E';
    if (windowed && windowed->HandleAllocated() && windowed->Focused()) flags += 'F';
    char rect[64];
    std::snprintf(rect, sizeof rect, "%d\t%d\t%d\t%d", origin.x, origin.y, width, height);
    out += path + '\t' + std::string(control.ClassName()) + '\t' + rect + '\t' + flags + '\t' + OneLine(control.Text()) + '\t' +
           Detail(control) + '\n';
    if (!windowed) return;
    for (int i = 0; i < windowed->ControlCount(); ++i) {
        const TControl* child = windowed->Controls(i);
        if (!child->Visible()) continue;
        const std::string name = child->Name().empty() ? "#" + std::to_string(i) : child->Name();
        Describe(*child, path + '.' + name, out);
    }
}

}  // namespace

std::string DescribeShowingControls() {
    std::string out;
    if (!Screen) return out;
    for (const TCustomForm* form : Screen->AllForms())
        if (form->HandleAllocated() && form->Visible()) Describe(*form, form->Name().empty() ? "#form" : form->Name(), out);
    return out;
}

void WriteControlMapIfAsked() {
    static const char* const file = std::getenv("QUILLORA_CONTROL_MAP");
    if (!file || !*file) return;
    static std::string written;
    std::string map = DescribeShowingControls();
    if (map == written) return;
    // Replaced whole, so a reader never sees half a map.
    const std::string temp = std::string(file) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << map;
        if (!out) return;
    }
    if (std::rename(temp.c_str(), file) == 0) written = std::move(map);
}
