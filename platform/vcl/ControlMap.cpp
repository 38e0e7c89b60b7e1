#include "platform/vcl/ControlMap.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StatusBar.h"
#include "platform/vcl/TreeView.h"
#include "platform/win/WinString.h"

namespace {

std::function<std::vector<TShownMenuItem>()>& ShownMenuSource() {
    static std::function<std::vector<TShownMenuItem>()> source;
    return source;
}

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

// Windows a form's components own that have no parent (drop-down popups), named Form.#popup.
void DescribeOwnedPopups(const TComponent& owner, const std::string& formPath, std::string& out) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        const TComponent* component = owner.Components(i);
        const auto* window = dynamic_cast<const TWinControl*>(component);
        if (window && !window->Parent() && !dynamic_cast<const TCustomForm*>(window) && window->HandleAllocated() &&
            window->Visible())
            Describe(*window, formPath + ".#popup", out);
        DescribeOwnedPopups(*component, formPath, out);
    }
}

// The entries of menu bars and open menus, named Form.Menu.Item after the menu item they show.
void DescribeMenus(std::string& out) {
    if (!ShownMenuSource()) return;
    for (const TShownMenuItem& shown : ShownMenuSource()()) {
        std::string path;
        for (const TCustomForm* form : Screen->AllForms()) {
            for (int i = 0; i < form->ComponentCount() && path.empty(); ++i) {
                auto* menu = dynamic_cast<TMenu*>(form->Components(i));
                if (!menu) continue;
                const TMenuItem* item =
                    shown.SubMenu ? menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(shown.SubMenu)), fkHandle)
                                  : menu->FindItem(shown.Id, fkCommand);
                if (item && !item->Name().empty()) path = form->Name() + '.' + menu->Name() + '.' + item->Name();
            }
            if (!path.empty()) break;
        }
        if (path.empty()) path = "#menu." + OneLine(shown.Text);
        char rect[64];
        std::snprintf(rect, sizeof rect, "%d\t%d\t%d\t%d", static_cast<int>(shown.Bounds.left), static_cast<int>(shown.Bounds.top),
                      static_cast<int>(shown.Bounds.Width()), static_cast<int>(shown.Bounds.Height()));
        out += path + "\tTMenuItem\t" + rect + '\t' + (shown.Enabled ? "E" : "") + '\t' + OneLine(shown.Text) + "\t\n";
    }
}

}  // namespace

void SetShownMenuSource(std::function<std::vector<TShownMenuItem>()> source) { ShownMenuSource() = std::move(source); }

std::string DescribeShowingControls() {
    std::string out;
    if (!Screen) return out;
    for (const TCustomForm* form : Screen->AllForms())
        if (form->HandleAllocated() && form->Visible()) {
            const std::string path = form->Name().empty() ? "#form" : form->Name();
            Describe(*form, path, out);
            DescribeOwnedPopups(*form, path, out);
        }
    DescribeMenus(out);
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
