#include "tools/vcldemo/CombosDemo.h"

#include <memory>

#include "controls/styled/RzImageComboBox.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinString.h"
#include "tools/vcldemo/DemoRun.h"

namespace {

template <class C>
C* Place(TForm* form, int left, int top, int width) {
    auto* c = new C(form);
    c->SetParent(form);
    c->SetBounds(left, top, width, c->Height());
    return c;
}

void Caption(TForm* form, int left, int top, const WideString& text) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(left, top, 200, 16);
    label->SetCaption(text);
}

// A folder picture in one of four colours, 16 x 16.
std::vector<std::uint32_t> Folder(std::uint32_t body) {
    std::vector<std::uint32_t> px(256, 0);
    for (int y = 4; y < 14; ++y)
        for (int x = 1; x < 15; ++x) px[static_cast<std::size_t>(y * 16 + x)] = y == 4 || y == 13 || x == 1 || x == 14 ? 0xFF705010 : body;
    for (int x = 2; x < 7; ++x) px[static_cast<std::size_t>(3 * 16 + x)] = 0xFF705010;
    return px;
}

}  // namespace

int RunCombosDemo(const char* screenshot) {
    Application->Initialize();
    auto* form = new TForm(Application);
    form->SetCaption(u"Combo boxes");
    form->SetBounds(40, 40, 460, 300);

    Caption(form, 12, 10, u"Completion (typed \"qu\")");
    auto* names = Place<TRzComboBox>(form, 12, 28, 200);
    for (const char* s : {"Quarterly report", "Queries", "Quillora", "Receipts"}) names->Items()->Add(s);
    names->SetKeepSearchCase(true);

    Caption(form, 12, 66, u"Framed, hot-tracked, owner drawn");
    auto* zones = Place<TRzComboBox>(form, 12, 84, 200);
    zones->SetStyle(csOwnerDrawFixed);
    for (int h = -12; h <= 12; ++h) {
        const std::string z = (h < 0 ? "-" : "+") + std::string(std::abs(h) < 10 ? "0" : "") + std::to_string(std::abs(h)) + ":00";
        zones->Items()->Add(z);
    }
    zones->SetItemIndex(12);
    zones->SetFrameHotTrack(true);
    zones->SetFrameColor(clBtnShadow);
    zones->SetFrameHotColor(clHighlight);

    Caption(form, 12, 122, u"Flat button");
    auto* flat = Place<TRzComboBox>(form, 12, 140, 200);
    flat->SetStyle(csDropDownList);
    for (const char* s : {"1 digit", "2 digits", "3 digits"}) flat->Items()->Add(s);
    flat->SetItemIndex(1);
    flat->SetFlatButtons(true);
    flat->SetFrameVisible(true);

    Caption(form, 12, 178, u"Read-only");
    auto* readOnly = Place<TRzComboBox>(form, 12, 196, 200);
    readOnly->Items()->Add("Locked value");
    readOnly->SetItemIndex(0);
    readOnly->SetReadOnly(true);

    Caption(form, 12, 234, u"Cue text");
    auto* hint = Place<TRzComboBox>(form, 12, 252, 200);
    hint->SetTextHint(u"Type a folder name");

    auto images = std::make_unique<TImageList>(nullptr);
    images->SetSize(16, 16);
    for (const std::uint32_t c : {0xFFE8C050u, 0xFF70A0E0u, 0xFF80C080u, 0xFFE09090u}) images->AddPixels(Folder(c));
    Caption(form, 236, 122, u"Image combo (list open)");
    auto* folders = Place<TRzImageComboBox>(form, 236, 140, 200);
    folders->SetImages(images.get());
    folders->AddItem(u"Root folder", 0, 0);
    folders->AddItem(u"Customers", 1, 1);
    folders->AddItem(u"Acme", 2, 2);
    folders->AddItem(u"Globex", 2, 2);
    folders->AddItem(u"Suppliers", 3, 1);
    folders->SetItemIndex(2);
    Caption(form, 236, 234, u"Image combo (closed: no indent)");
    auto* closed = Place<TRzImageComboBox>(form, 236, 252, 200);
    closed->SetImages(images.get());
    closed->AddItem(u"Root folder", 0, 0);
    closed->AddItem(u"Acme", 2, 2);
    closed->SetItemIndex(1);

    form->Show();
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    // Typed into the first box as a user would: the rest of the first match is selected.
    names->SetFocus();
    for (const WideChar c : std::u16string_view(u"qu")) {
        names->Perform(WM_CHAR, c, 0);
    }
    if (screenshot) folders->SetDroppedDown(true);
    const int status = ShowDemoForm(*form, screenshot);
    return status;
}
