// The folder-browsing window.
#include "controls/shell/RzSelectFolderForm.h"

#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/RzStatusBar.h"
#include "controls/styled/RzToolButton.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinString.h"

namespace {

constexpr int kPicture = 16;

// The four button pictures: a folder with a plus (create) and with a cross (delete), each
// in colour and greyed.
std::vector<std::uint32_t> FolderPicture(bool cross, bool enabled) {
    std::vector<std::uint32_t> px(kPicture * kPicture, 0);
    const std::uint32_t body = enabled ? 0xFFE8C050 : 0xFFB0B0B0;
    const std::uint32_t edge = enabled ? 0xFF9A7420 : 0xFF808080;
    const std::uint32_t mark = !enabled ? 0xFF909090 : cross ? 0xFFD02020 : 0xFF20A020;
    auto set = [&](int x, int y, std::uint32_t c) {
        if (x >= 0 && x < kPicture && y >= 0 && y < kPicture) px[static_cast<std::size_t>(y * kPicture + x)] = c;
    };
    for (int y = 4; y < 14; ++y)
        for (int x = 0; x < 13; ++x) set(x, y, y == 4 || y == 13 || x == 0 || x == 12 ? edge : body);
    for (int x = 1; x < 6; ++x) set(x, 3, edge);
    for (int i = 0; i < 7; ++i) {
        if (cross) {
            set(9 + i / 2, 7 + i, mark), set(15 - i / 2, 7 + i, mark);
        } else {
            set(12, 7 + i, mark), set(9 + i, 10, mark);
        }
    }
    return px;
}

}  // namespace

WideString ShortenFolderPath(const WideString& path, int width, const std::function<int(const WideString&)>& measure) {
    const std::size_t cut = path.rfind(u'/');
    WideString dir = cut == WideString::npos ? WideString() : path.substr(0, cut + 1);
    const WideString name = cut == WideString::npos ? path : path.substr(cut + 1);
    const WideString ellipsis = u".../";
    while (measure(dir + name) > width && !dir.empty()) {
        if (dir == u"/.../") {
            dir = ellipsis;
            continue;
        }
        const bool rooted = dir.front() == u'/';
        WideString rest = rooted ? dir.substr(1) : dir;
        if (rest.compare(0, ellipsis.size(), ellipsis) == 0) rest.erase(0, ellipsis.size());
        const std::size_t slash = rest.find(u'/');
        if (slash == WideString::npos || rest.empty()) {
            dir.clear();
            continue;
        }
        rest = ellipsis + rest.substr(slash + 1);
        dir = rooted ? u"/" + rest : rest;
    }
    return dir + name;
}

const TMetaClass& TRzSelectFolderForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzSelectFolderForm>(
        "TRzSelectFolderForm", &TForm::StaticClass(), [](TClassBuilder<TRzSelectFolderForm>& b) {
            using C = TRzSelectFolderForm;
            b.Method("FormCreate", &C::FormCreate);
            b.Method("FormShow", &C::FormShow);
            b.Method("FormHide", &C::FormHide);
            b.Method("FormResize", &C::FormResize);
            b.Method("ShellTreeChange", &C::ShellTreeChange);
            b.Method("btnNewFolderClick", &C::btnNewFolderClick);
            b.Method("btnDeleteFolderClick", &C::btnDeleteFolderClick);
        });
    return meta;
}

TRzSelectFolderForm::TRzSelectFolderForm(TComponent* owner) : TForm(owner) {}

TRzSelectFolderForm::~TRzSelectFolderForm() = default;

void TRzSelectFolderForm::FormCreate(TObject*) {
    btnNewFolder_ = dynamic_cast<TRzToolButton*>(FindComponent("btnNewFolder"));
    btnDeleteFolder_ = dynamic_cast<TRzToolButton*>(FindComponent("btnDeleteFolder"));
    shellTree_ = dynamic_cast<TRzShellTree*>(FindComponent("ShellTree"));
    buttonPanel_ = dynamic_cast<TRzPanel*>(FindComponent("ButtonPanel"));
    btnOk_ = dynamic_cast<TRzBitBtn*>(FindComponent("btnOk"));
    btnCancel_ = dynamic_cast<TRzBitBtn*>(FindComponent("btnCancel"));
    statusBar_ = dynamic_cast<TRzStatusBar*>(FindComponent("RzStatusBar1"));
    if (!btnNewFolder_ || !btnDeleteFolder_ || !shellTree_ || !buttonPanel_ || !btnOk_ || !btnCancel_ || !statusBar_)
        throw EComponentError("The select-folder form lacks one of its controls");

    images_ = std::make_unique<TImageList>(nullptr);
    images_->SetSize(kPicture, kPicture);
    for (const bool cross : {false, true}) {
        images_->AddPixels(FolderPicture(cross, true));
        images_->AddPixels(FolderPicture(cross, false));
    }
    btnNewFolder_->SetImages(images_.get());
    btnDeleteFolder_->SetImages(images_.get());

    shellTree_->SetShowRoot(true);
    statusBar_->SetAlign(alBottom);
    statusBar_->SetTop(ClientHeight());
    Constraints()->SetMinWidth(366);
    Constraints()->SetMinHeight(340);
}

void TRzSelectFolderForm::FormShow(TObject*) {
    Font()->SetName(u"MS Sans Serif");
    TRzShellTreeOptions options = shellTree_->Options();
    options << stoAutoFill;
    shellTree_->SetOptions(options);
    shellTree_->FillTree();
    btnOk_->SetCaption(u"OK");
    btnCancel_->SetCaption(u"Cancel");
    btnNewFolder_->SetCaption(u"Create Folder");
    btnDeleteFolder_->SetCaption(u"Delete");
    if (Caption().empty()) SetCaption(u"Browse for Folder");
    FormResize(this);
    UpdateSelection(shellTree_->CurrentNode());
    if (OnFormShow) OnFormShow(this);
}

void TRzSelectFolderForm::FormHide(TObject*) {
    if (OnFormClose) OnFormClose(this);
}

void TRzSelectFolderForm::FormResize(TObject*) {
    if (!shellTree_) return;
    const TRect client = ClientRect();
    int top = 8;
    if (btnNewFolder_->Visible()) top = btnNewFolder_->Top() + btnNewFolder_->Height() + 4;
    else if (btnDeleteFolder_->Visible()) top = btnDeleteFolder_->Top() + btnDeleteFolder_->Height() + 4;
    const int bottom = buttonPanel_->Top() - 4;
    shellTree_->SetBounds(8, top, client.Width() - 16, std::max(0, bottom - top));
    btnCancel_->SetLeft(client.Width() - 8 - btnCancel_->Width());
    btnOk_->SetLeft(btnCancel_->Left() - 8 - btnOk_->Width());
    if (shellTree_->CurrentNode()) UpdateSelection(shellTree_->CurrentNode());
}

void TRzSelectFolderForm::ShowPath(const AnsiString& path) {
    const WideString text = Utf8ToUtf16(path);
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(statusBar_->Font());
    const int width = statusBar_->Width() - 20;
    statusBar_->SetSimpleCaption(ShortenFolderPath(text, width, [&](const WideString& s) { return measure.Canvas()->TextWidth(s); }));
}

// A place without a file-system path offers no folder operations, and is no answer unless
// virtual folders were asked for.
void TRzSelectFolderForm::UpdateSelection(TTreeNode* node) {
    const TRzShellTreeData* data = shellTree_->GetItemData(node);
    const AnsiString path = data ? data->GetPath() : AnsiString();
    ShowPath(path);
    btnNewFolder_->SetEnabled(!path.empty());
    btnDeleteFolder_->SetEnabled(!path.empty() && node != shellTree_->Items()->GetFirstNode());
    btnOk_->SetEnabled(data && (!path.empty() || allowVirtual_));
}

void TRzSelectFolderForm::ShellTreeChange(TObject*, TTreeNode* node) {
    const TRzShellTreeData* data = shellTree_->GetItemData(node);
    if (!data) return;
    UpdateSelection(node);
    if (OnSelChange) OnSelChange(this, data->GetAbsoluteIdList());
}

void TRzSelectFolderForm::btnNewFolderClick(TObject*) {
    try {
        shellTree_->CreateNewFolder();
    } catch (const Exception& e) {
        ShowMessage(e.Message());
    }
}

void TRzSelectFolderForm::btnDeleteFolderClick(TObject*) {
    try {
        shellTree_->DeleteSelectedFolder();
    } catch (const Exception& e) {
        ShowMessage(e.Message());
    }
    shellTree_->Refresh();
}

void RegisterSelectFolderForm() { RegisterClasses({&TRzSelectFolderForm::StaticClass()}); }
