#include "dialogs/AboutDlg.h"

#include <cstring>
#include <string>

#include "app/AppLocDB.h"
#include "app/cLogger.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/win/ProcessSpawn.h"
#include "platform/win/WinString.h"

TAboutDlg* AboutDlg = nullptr;

namespace {
constexpr char16_t kPlaceholder[] = u"$WCREV$";
// The support page the link opens.
constexpr char16_t kSupportAddress[] = u"https://www.kestrelwright.com/support/";
}  // namespace

WideString ProgramVersion() {
    return Utf8ToUtf16(QUILLORA_VERSION_TEXT);
}

WideString SubstituteVersion(const WideString& text, const WideString& version, bool debug) {
    const std::size_t at = text.find(kPlaceholder);
    if (at == WideString::npos) return text;
    WideString out = text;
    out.replace(at, std::char_traits<char16_t>::length(kPlaceholder), debug ? version + u" (Debug)" : version);
    return out;
}

const TMetaClass& TAboutDlg::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TAboutDlg>("TAboutDlg", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TAboutDlg>& b) {
            b.Method("FormCreate", &TAboutDlg::FormCreate);
            b.Method("FormKeyDown", &TAboutDlg::FormKeyDown);
            b.Method("Label17Click", &TAboutDlg::Label17Click);
        });
    return meta;
}

TAboutDlg::TAboutDlg(TComponent* owner) : IChangeableLangForm(owner) {}

TAboutDlg::~TAboutDlg() {
    if (AboutDlg == this) AboutDlg = nullptr;
}

void TAboutDlg::FormCreate(TObject*) {
    if (auto* label = dynamic_cast<TControl*>(FindComponent("lbVersion")))
        label->SetText(SubstituteVersion(label->Text(), ProgramVersion(), debugMode));
}

void TAboutDlg::FormKeyDown(TObject*, WORD& key, TShiftState) {
    if (key != VK_ESCAPE) return;
    key = 0;
    Close();
}

void TAboutDlg::Label17Click(TObject*) {
    // The desktop's handler chooses the browser and its window.
    int error = 0;
    if (SpawnDetached({"xdg-open", Utf16ToUtf8(kSupportAddress)}, &error)) return;
    MessageBoxW(Handle(), (kSupportAddress + (u"\n" + Utf8ToUtf16(std::strerror(error)))).c_str(), GetUiString(1007).c_str(),
                MB_OK | MB_ICONERROR);
}
