#include "ui/Form1.h"

#include <algorithm>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "controls/dragdrop/DragDetect.h"
#include "controls/dragdrop/DropFileComponents.h"
#include "controls/shell/RzShellTree.h"
#include "controls/styled/RzPageControl.h"
#include "controls/styled/RzRadChk.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "controls/unicode/TntRegistry.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntSysUtils.h"
#include "mail/MailSender.h"
#include "mail/ReplyForwardForm.h"
#include "dialogs/DialogForms.h"
#include "output/PrintCopyForm.h"
#include "output/export/ExportManagerForm.h"
#include "dialogs/OpenAttachmentDlg.h"
#include "dialogs/SelectFolderDlg.h"
#include "favorites/FavoritesDialogForms.h"
#include "favorites/frmFavorites.h"
#include "platform/vcl/WinUser.h"
#include "mapi/StoreMessageList.h"
#include "message/MessageAttr.h"
#include "platform/outside/WebBrowser.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/VclClasses.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WidgetSet.h"
#include "platform/win/WinString.h"
#include "search/SearchDlg.h"
#include "ui/DateZone.h"
#include "ui/MainImages.h"
#include "app/FileDlgWrapper.h"
#include "platform/vcl/StdCtrls.h"
#include "ui/TempFolderCleanup.h"

TForm1* Form1 = nullptr;
WideString CurrentShellFolder;

namespace {

constexpr char kQuilloraKey[] = "SOFTWARE\\Kestrelwright\\quillora";
constexpr char kPropertiesKey[] = "SOFTWARE\\Kestrelwright\\quillora\\Properties";

}  // namespace

const TMetaClass& TForm1::StaticClass()
{
    static const TMetaClass& meta =
        DescribeClass<TForm1>("TForm1", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TForm1>& b) {
            b.Method("FormCreate", &TForm1::FormCreate);
            b.Method("FormShow", &TForm1::FormShow);
            b.Method("FormCloseQuery", &TForm1::FormCloseQuery);
            b.Method("FormClose", &TForm1::FormClose);
            b.Method("Timer1Timer", &TForm1::Timer1Timer);
            b.Method("KeyTimerTimer", &TForm1::KeyTimerTimer);
            b.Method("ShellDirListMouseDown", &TForm1::ShellDirListMouseDown);
            b.Method("TreeTimerTimer", &TForm1::TreeTimerTimer);
            b.Method("ShellDirListKeyUp", &TForm1::ShellDirListKeyUp);
            b.Method("rbSubFolderClick", &TForm1::rbSubFolderClick);
            b.Method("MessagelistData", &TForm1::MessagelistData);
            b.Method("MessagelistColumnClick", &TForm1::MessagelistColumnClick);
            b.Method("MessagelistSelectItem", &TForm1::MessagelistSelectItem);
            b.Method("MessagelistItemChecked", &TForm1::MessagelistItemChecked);
            b.Method("MessagelistKeyDown", &TForm1::MessagelistKeyDown);
            b.Method("StatusBar1DrawPanel", &TForm1::StatusBar1DrawPanel);
            b.Method("cbTimeZoneChange", &TForm1::cbTimeZoneChange);
            b.Method("tvPropertiesChange", &TForm1::tvPropertiesChange);
            b.Method("CppWebBrowser1DocumentComplete", &TForm1::CppWebBrowser1DocumentComplete);
            b.Method("actionSaveAttachmentExecute", &TForm1::actionSaveAttachmentExecute);
            b.Method("actionOpenAttachmentExecute", &TForm1::actionOpenAttachmentExecute);
            b.Method("actionOpenFileExecute", &TForm1::actionOpenFileExecute);
            b.Method("actionSaveBodyExecute", &TForm1::actionSaveBodyExecute);
            b.Method("actionSaveHeaderExecute", &TForm1::actionSaveHeaderExecute);
            b.Method("actionExportExecute", &TForm1::actionExportExecute);
            b.Method("actionExportCsvExecute", &TForm1::actionExportCsvExecute);
            b.Method("actionFileNamingExecute", &TForm1::actionFileNamingExecute);
            b.Method("actionRefreshListExecute", &TForm1::actionRefreshListExecute);
            b.Method("actionCopyToExecute", &TForm1::actionCopyToExecute);
            b.Method("actionExitExecute", &TForm1::actionExitExecute);
            b.Method("actionViewMessageExecute", &TForm1::actionViewMessageExecute);
            b.Method("actionViewMessageHeaderExecute", &TForm1::actionViewMessageHeaderExecute);
            b.Method("actionSelectAllExecute", &TForm1::actionSelectAllExecute);
            b.Method("actionCopyMessageExecute", &TForm1::actionCopyMessageExecute);
            b.Method("actionCopyMessageHeaderExecute", &TForm1::actionCopyMessageHeaderExecute);
            b.Method("actionFontSelectExecute", &TForm1::actionFontSelectExecute);
            b.Method("actionReplyExecute", &TForm1::actionReplyExecute);
            b.Method("actionForwardExecute", &TForm1::actionForwardExecute);
            b.Method("actionSearchExecute", &TForm1::actionSearchExecute);
            b.Method("actionCheckAllExecute", &TForm1::actionCheckAllExecute);
            b.Method("actionUncheckAllExecute", &TForm1::actionUncheckAllExecute);
            b.Method("actionAddToFavsExecute", &TForm1::actionAddToFavsExecute);
            b.Method("actionPlainTextBodyExecute", &TForm1::actionPlainTextBodyExecute);
            b.Method("actionStopListExecute", &TForm1::actionStopListExecute);
            b.Method("actionSettingsDlgExecute", &TForm1::actionSettingsDlgExecute);
            b.Method("actionShowFoldersTreeExecute", &TForm1::actionShowFoldersTreeExecute);
            b.Method("actionShowToolbarExecute", &TForm1::actionShowToolbarExecute);
            b.Method("actionShowMessagesListExecute", &TForm1::actionShowMessagesListExecute);
            b.Method("actionDeleteExecute", &TForm1::actionDeleteExecute);
            b.Method("actionPrintMessageExecute", &TForm1::actionPrintMessageExecute);
            b.Method("actionPrintHeaderExecute", &TForm1::actionPrintHeaderExecute);
            b.Method("actionPrintMessageSilentExecute", &TForm1::actionPrintMessageSilentExecute);
            b.Method("actionPrintHeaderSilentExecute", &TForm1::actionPrintHeaderSilentExecute);
            b.Method("Help1Click", &TForm1::Help1Click);
            b.Method("MessagelistDblClick", &TForm1::MessagelistDblClick);
            b.Method("RzPageControl1Change", &TForm1::RzPageControl1Change);
            b.Method("MessagelistMouseDown", &TForm1::MessagelistMouseDown);
            b.Method("AttachmentListDblClick", &TForm1::AttachmentListDblClick);
            b.Method("AttachmentListKeyDown", &TForm1::AttachmentListKeyDown);
            b.Method("AttachmentListMouseMove", &TForm1::AttachmentListMouseMove);
            b.Method("AttachmentListMouseDown", &TForm1::AttachmentListMouseDown);
        });
    return meta;
}

TForm1::TForm1(TComponent* owner)
    : IChangeableLangForm(owner),
      scanner_(m_messages, MessageScanner::Hooks{
                               [this] {
                                   if (pump) pump();
                                   else if (Application) Application->ProcessMessages();
                               },
                               [this] { ListGrown(); },
                               [this] { SortMessages(sort_.column, sort_.flag); },
                               [this] { ToolbarInit(); },
                               [this](std::size_t count, double seconds) { ScanFinished(count, seconds); },
                               [this] { Application->MessageBox(GetUiString(1100), GetUiString(1087), MB_OK); }})
{
    m_tempFolder = CAppUtils::getAppTempFolder();
    detectDrag = [](TControl* control, int x, int y) {
        auto* window = dynamic_cast<TWinControl*>(control);
        return window && DragDetectPlus(window, TPoint{x, y});
    };
    // Copies only: a drag out of the list never moves the user's files away.
    auto* source = new TDropFileSource(this);
    dragFilesOut = [source](const std::vector<WideString>& paths) {
        source->Files().Clear();
        for (const WideString& path : paths) source->Files().Add(Utf16ToUtf8(path));
        source->Execute();
    };
    if (Application) Application->OnRestore = [this](TObject* sender) { AppRestoreHandler(sender); };
}

TForm1::~TForm1()
{
    if (Application && Form1 == this) Application->OnRestore = nullptr;
    // Records still listed (a window destroyed without closing) go with the window.
    ScanRunning = false;
    scanner_.stopStoreEnum = true;
    for (TMessageAttr* m : m_messages) delete m;
    m_messages.clear();
    if (Form1 == this) Form1 = nullptr;
}

TTntListView* TForm1::List() const { return Find<TTntListView>("Messagelist"); }

// ---- life cycle

void TForm1::FormCreate(TObject*)
{
    QUILLORA_TRACE(u"TForm1::FormCreate");
    Form1 = this;
    CreateFavors();
    if (auto* images = Find<TImageList>("ImageList1")) FillListImages(*images);
    if (auto* images = Find<TImageList>("ToolImages")) FillToolbarImages(*images);
    if (auto* zones = Find<TCustomComboBox>("cbTimeZone")) {
        zones->Items()->Clear();
        for (int i = 0; i < kTimeZoneItemCount; ++i) zones->Items()->Add(Utf16ToUtf8(TimeZoneItemText(i)));
        zones->SetItemIndex(kZeroZoneItem);
        zones->SetEnabled(false);
    }
    BuildColumns();
    sort_.column = appOptions.sortMode;
    sort_.flag = appOptions.sortDir;
    LoadSizes();
    SetStatusPanelText(GetUiString(1001));
    const WideString start = GetStartPath();
    ChangeShellDirListFolder(start.empty() ? CAppUtils::getAppFolder() : start);
    SetCurrentDirectoryW(CAppUtils::getAppFolder().c_str());
    m_mapiAvailable = EnsureMapi();
    ToolbarInit();
}

void TForm1::CreateFavors()
{
    auto* sheet = Find<TWinControl>("TabSheet5");
    if (!sheet || m_favorites) return;
    // The tab owns the pane, so it goes with the window even when the close never ran.
    auto* pane = new TfrmFavorites(sheet);
    m_favorites = pane;
    // In its tab before anything can make its window: a load error is asked over it.
    pane->SetParent(sheet);
    pane->InitForm();
    pane->SetAlign(alClient);
    if (auto* images = Find<TImageList>("ImageList1")) pane->SetImages(images);
    pane->SetHost(this);
    pane->Load(CAppUtils::getFavoritesXmlFile());
    pane->Show();
    addToFavorites = [this](TMessageAttr& message) {
        if (m_favorites) m_favorites->AddMessage(&message, WideString());
    };
}

void TForm1::FreeFavors()
{
    if (!m_favorites) return;
    addToFavorites = nullptr;
    // Without an application data folder there is no file to keep them in.
    if (const WideString path = CAppUtils::getFavoritesXmlFile(); !path.empty()) m_favorites->Save(path);
    m_favorites->Clear();
    m_favorites->Close();
    std::unique_ptr<TfrmFavorites> pane(m_favorites);
    m_favorites = nullptr;
}

void TForm1::FormShow(TObject*)
{
    if (!m_firstShow) return;
    m_firstShow = false;
    // Shown to a person: a store that cannot be opened says why.
    scanner_.SetBoxOwner(reinterpret_cast<std::uintptr_t>(Handle()));
    if (!MailSender::CheckSimpleMAPI()) {
        // No mail program to hand a reply to: the commands are not offered.
        appOptions.hideR = true;
        appOptions.hideF = true;
    }
    DragAcceptFiles(Handle(), TRUE);
    auto check = [&](const char* name, bool on) {
        if (auto* action = Find<TAction>(name)) action->SetChecked(on);
    };
    check("actionShowFoldersTree", appOptions.showFolders);
    check("actionShowToolbar", appOptions.showToolbar);
    check("actionShowMessagesList", appOptions.showMessageList);
    PruneMainMenu();
    ToolbarInit();
    if (!appOptions.startDir.empty()) {
        if (auto* open = Find<TAction>("actionOpenFile")) open->SetEnabled(false);
        ChangeShellDirListFolder(appOptions.startDir);
        FindMSGFiles(appOptions.startDir, nullptr, this, false, ftAll);
        ListPendingFolder();
    } else if (!appOptions.fileToOpen.empty()) {
        const WideString& file = appOptions.fileToOpen;
        AddFileToList(file, nullptr, this, MatchFileType(file, ftAll), false, false);
        if (!m_messages.empty()) {
            if (auto* list = List(); list && list->ItemIndex() < 0) SelectRows({static_cast<int>(m_messages.size()) - 1});
            TMessageAttr* shown = m_messages.back();
            shown->Display(*this, m_plainTextMode, false);
            if (appOptions.fullScreenView) {
                WideString title = shown->subject.empty() ? shown->from : shown->subject;
                if (title.empty()) title = WideExtractFileName(shown->fileName);
                SetCaption(title);
                if (Application) Application->SetTitle(title);
            }
            if (appOptions.silentPrint) {
                actionPrintMessageSilentExecute(nullptr);
                if (Application) Application->Terminate();
            }
        }
    } else if (appOptions.hideOF) {
        FindMSGFiles(SelectedTreePath(), nullptr, this, false, ftAll);
    } else if (!appOptions.noLoad) {
        if (auto* timer = Find<TTimer>("Timer1")) timer->SetEnabled(true);
    }
    ToolbarInit();
}

void TForm1::Timer1Timer(TObject*)
{
    if (auto* timer = Find<TTimer>("Timer1")) timer->SetEnabled(false);
    if (debugMode && IsLogging()) Application->MessageBox(u"Debugging logs enabled", u"Debug build", MB_OK);
    NavigateToFolder(SelectedTreePath());
}

void TForm1::FormCloseQuery(TObject*, bool& canClose)
{
    if (appOptions.hideC) {
        canClose = false;
        return;
    }
    if (m_closed) return;
    m_closing = true;
    if (auto* browser = Find<TCppWebBrowser>("CppWebBrowser1")) browser->Stop();
    ScanRunning = false;
    scanner_.stopStoreEnum = true;
    EmptyList();
    if (!appOptions.fullScreenView) SaveSizes();
    FreeFavors();
    CleanUpTempFolder();
}

void TForm1::FormClose(TObject*, TCloseAction&) { m_closed = true; }

void TForm1::AppRestoreHandler(TObject*)
{
    // The export manager minimized the whole program; it comes back in front, once.
    TCustomForm* window = m_restoreWindow;
    m_restoreWindow = nullptr;
    if (!window) return;
    window->SetWindowState(wsNormal);
    window->BringToFront();
}

namespace {

// Clamps a stored rectangle into the screen that exists now, keeping a usable size.
TRect ClampToWorkArea(TRect r, const TRect& area)
{
    const int minW = 320, minH = 240;
    int w = std::clamp(r.Width(), std::min(minW, area.Width()), area.Width());
    int h = std::clamp(r.Height(), std::min(minH, area.Height()), area.Height());
    int x = std::clamp(r.left, area.left, area.right - w);
    int y = std::clamp(r.top, area.top, area.bottom - h);
    return TRect{x, y, x + w, y + h};
}

}  // namespace

void TForm1::LoadSizes()
{
    TTntRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    try {
        if (!reg.OpenKeyReadOnly(kPropertiesKey)) {
            SetWindowState(wsMaximized);
            return;
        }
        auto read = [&](const char* name, auto apply) {
            if (reg.ValueExists(name)) apply(reg.ReadInteger(name));
        };
        const TRect area = WidgetSet().WorkAreaRect();
        read("FlistW", [&](int v) {
            if (auto* c = Find<TControl>("Panel4")) c->SetWidth(std::clamp(v, 60, std::max(60, area.Width() / 2)));
        });
        read("FlistH", [&](int v) {
            if (auto* c = Find<TControl>("ShellDirList")) c->SetHeight(std::clamp(v, 40, std::max(40, area.Height())));
        });
        read("Mlist", [&](int v) {
            if (auto* c = Find<TControl>("Messagelist")) c->SetHeight(std::clamp(v, 40, std::max(40, area.Height() / 2 * 3 / 2)));
        });
        read("Alist", [&](int v) {
            if (auto* c = Find<TControl>("AttachmentPanel")) c->SetHeight(std::clamp(v, 24, std::max(24, area.Height() / 2)));
        });
        TRect r = BoundsRect();
        read("WWidth", [&](int v) { r.right = r.left + v; });
        read("WHeight", [&](int v) { r.bottom = r.top + v; });
        int state = wsNormal;
        read("WState", [&](int v) { state = v; });
        read("WPosX", [&](int v) { r = TRect{v, r.top, v + r.Width(), r.bottom}; });
        read("WPosY", [&](int v) { r = TRect{r.left, v, r.right, v + r.Height()}; });
        // Kept on the monitor it was saved on while that monitor is there.
        const TRect monitor = WidgetSet().WorkAreaAt(TPoint(r.left + r.Width() / 2, r.top + r.Height() / 2));
        SetBoundsRect(ClampToWorkArea(r, monitor.Width() > 0 ? monitor : area));
        // A window closed minimized comes back normal: a start in the task bar only helps no one.
        SetWindowState(state == wsMaximized ? wsMaximized : wsNormal);
    } catch (const std::exception& e) {
        SetWindowState(wsMaximized);
        Application->ShowException(e);
    }
}

void TForm1::SaveSizes()
{
    try {
        TTntRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKey(kPropertiesKey, true)) return;
        auto height = [&](const char* name) {
            const auto* c = Find<TControl>(name);
            return c ? c->Height() : 0;
        };
        const auto* pane = Find<TControl>("Panel4");
        reg.WriteInteger("FlistW", pane ? pane->Width() : 233);
        reg.WriteInteger("FlistH", height("ShellDirList"));
        reg.WriteInteger("Mlist", height("Messagelist"));
        reg.WriteInteger("Alist", height("AttachmentPanel"));
        // The normal bounds, so that a maximized window comes back to them when restored.
        const TRect r = BoundsRect();
        reg.WriteInteger("WWidth", r.Width());
        reg.WriteInteger("WHeight", r.Height());
        reg.WriteInteger("WState", static_cast<int>(WindowState()));
        reg.WriteInteger("WPosX", r.left);
        reg.WriteInteger("WPosY", r.top);
        reg.CloseKey();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
}

WideString TForm1::GetStartPath()
{
    try {
        TTntRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        // Read only: a run that reads its start folder writes nothing (an export run saves no
        // settings at all).
        if (!reg.OpenKeyReadOnly(kQuilloraKey)) return {};
        return reg.ReadString(WideString(u"StartPath"));
    } catch (const std::exception&) {
        return {};
    }
}

void TForm1::CleanUpTempFolder() { ::CleanUpTempFolder(m_tempFolder); }

// ---- services

void TForm1::Show(const WideString& path)
{
    if (m_closing) return;
    const auto found = std::find_if(m_messages.begin(), m_messages.end(),
                                    [&](const TMessageAttr* m) { return m->fileName == path; });
    if (found != m_messages.end()) {
        const int row = static_cast<int>(found - m_messages.begin());
        SelectRows({row});
        (*found)->Display(*this, m_plainTextMode, false);
    } else if (TMessageAttr* added = AddFileToList(path, nullptr, this, MatchFileType(path, ftAll), false, false)) {
        SelectRows({static_cast<int>(m_messages.size()) - 1});
        added->Display(*this, m_plainTextMode, false);
    }
    ToolbarInit();
    ListPendingFolder();
}

void TForm1::GoToFolder(const WideString& path)
{
    ChangeShellDirListFolder(path);
    NavigateToFolder(path);
}

WideString TForm1::GetRootFolderLocation() { return CAppUtils::getFavoritesFolder(); }

void TForm1::GetMessagesFromList(MessageAttrDeque& out, bool checkedOnly)
{
    out.clear();
    for (TMessageAttr* m : m_messages)
        if (m->checked) out.push_back(m);
    if (!out.empty() || checkedOnly) return;
    for (int row : SelectedRows())
        if (row >= 0 && row < static_cast<int>(m_messages.size())) out.push_back(m_messages[static_cast<std::size_t>(row)]);
}

TForm* TForm1::GetOwnerForm() { return this; }

void TForm1::SetSearchMessagesCount(int count) { UpdateMessagesCount(count); }
void TForm1::SetSearchFolder(const WideString& path) { SetStatusPanelText(path); }
void TForm1::SetSearchMsgName(const WideString& path) { SetStatusPanelText(path); }
void TForm1::SetSearchProgress(unsigned int done, unsigned int total) { SetProgressPercent(done, total); }
void TForm1::SetSearchStatus(const WideString& text) { SetStatusPanelText(text); }

void TForm1::SearchStarted()
{
    if (appOptions.hideOF) return;
    SetAction("actionRefreshList", false);
    SetAction("actionStopList", true);
}

void TForm1::SearchFinished()
{
    if (!appOptions.hideOF) {
        SetAction("actionStopList", false);
        SetAction("actionRefreshList", true);
    }
    if (m_messages.empty()) SetSearchProgress(0, 0);
}

void TForm1::SetAction(const char* name, bool visible)
{
    if (auto* action = Find<TAction>(name)) action->SetVisible(visible);
}

namespace {

// The search window fills the main window's list through its scan.
class MainSearchHost : public ISearchHost {
public:
    explicit MainSearchHost(TForm1& form) : form_(form) {}
    void EmptyList() override { form_.EmptyList(); }
    void FindMSGFiles(const WideString& folder, SearchEngine* engine, ISearchInfoView* view, bool subFolders,
                      int filter) override
    {
        form_.FindMSGFiles(folder, engine, view, subFolders, static_cast<FileTypeFilter>(filter));
        form_.ListPendingFolder();
    }
    void StopSearch() override { form_.StopSearch(); }

private:
    TForm1& form_;
};

}  // namespace

void CreateMainForms()
{
    RegisterForm1();
    RegisterSearchDlg();
    RegisterReplyForwardForm();
    Application->CreateForm(Form1);
    Application->CreateForm(SearchDlg);
    Application->CreateForm(Form3);
    CreateDialogForms();
    CreateFavoritesDialogForms();
    // The print window made here runs nothing; the export manager lives as long as the program.
    RegisterForm2();
    RegisterExportManagerForm();
    Application->CreateForm(Form2);
    Application->CreateForm(fmBateStamp);
    Form3->Command = [](bool forward) {
        if (!Form1) return;
        if (forward) Form1->Forward();
        else Form1->Reply();
    };
    static std::unique_ptr<MainSearchHost> host;
    host = std::make_unique<MainSearchHost>(*Form1);
    SearchDlg->SetHost(host.get());
    SearchDlg->BrowseFolder = [](WideString& folder) { return SelectFolderDlg && SelectFolderDlg->Choose(folder); };
    fmBateStamp->BrowseFolder = SearchDlg->BrowseFolder;
    Form1->askAttachmentAction = [] { return OpenAttachmentDlg ? OpenAttachmentDlg->AskAction() : 10; };
    Form1->chooseFolder = [] {
        WideString folder;
        return SelectFolderDlg && SelectFolderDlg->Choose(folder) ? folder : WideString();
    };
}

void RegisterForm1()
{
    RegisterVclClasses();
    RegisterTntClasses();
    RegisterStyledControls();
    RegisterRzTabsClasses();
    RegisterShellControls();
    RegisterFavoritesForms();
    RegisterClasses({&TForm1::StaticClass(), &TCppWebBrowser::StaticClass()});
}
