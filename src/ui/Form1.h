// The main window: the folder tree and the favorites on the left, the list of messages found,
// the header of the shown message, its body, header text, properties and attachments. It owns
// the listed messages and is the host the favorites pane, the search window, the export manager
// and the print and copy window reach them through.
#pragma once

#include <memory>
#include <vector>

#include "app/IChangeableLangForm.h"
#include "message/IView.h"
#include "ui/IQuilloraProvider.h"
#include "ui/ISearchInfoView.h"
#include "ui/MessageList.h"
#include "ui/MessageScanner.h"
#include "ui/PropertyTree.h"
#include "platform/shell/ShellFileOps.h"

class MailDesktop;
class TfrmFavorites;

class TAction;
class TCppWebBrowser;
class TCustomStatusBar;
class TImageList;
class TListItem;
class TListColumn;
class TStatusPanel;
class TTimer;
class TTntListView;
class TTntRichEdit;
class TTntStatusBar;
class TTntTreeView;
class TTreeNode;
struct TPoint;

// The folder last listed from the tree; a folder equal to it is not listed again.
extern WideString CurrentShellFolder;

class TForm1 : public IChangeableLangForm, public IQuilloraProvider, public IView, public ISearchInfoView {
    QUILLORA_COMPONENT(TForm1)
    QUILLORA_MESSAGES()
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    // ---- life cycle
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender, TCloseAction& action);
    void Timer1Timer(TObject* sender);
    void LoadSizes();
    // The favorites pane in the "Favorites" tab, read from the favorites file.
    void CreateFavors();
    TfrmFavorites* Favorites() const { return m_favorites; }
    void SaveSizes();
    static WideString GetStartPath();
    void ChangeShellDirListFolder(const WideString& folder);
    void CleanUpTempFolder();
    void AppRestoreHandler(TObject* sender);

    // ---- folder scan
    bool NavigateToFolder(const WideString& folderPath);
    void ShellDirListMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void TreeTimerTimer(TObject* sender);
    void ShellDirListKeyUp(TObject* sender, WORD& key, TShiftState shift);
    void rbSubFolderClick(TObject* sender);
    void FindMSGFiles(const WideString& folder, SearchEngine* engine, ISearchInfoView* view, bool includeSubfolders,
                      FileTypeFilter filter);
    TMessageAttr* AddFileToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view,
                                MessageFileType type, bool headersOnly, bool countOnly);
    bool StopSearch();
    // Lists the folder asked for while a scan ran that was no folder listing of its own (a
    // "+DIR" start, a store opened, dropped or shown, a search); called once that scan ended.
    void ListPendingFolder();
    void EmptyList();
    MessageScanner& Scanner() { return scanner_; }

    // ---- message list
    void BuildColumns();
    void MessagelistData(TObject* sender, TListItem* item);
    void SortMessages(int column, bool flag);
    void MessagelistColumnClick(TObject* sender, TListColumn* column);
    void MessagelistSelectItem(TObject* sender, TListItem* item, bool selected);
    void MessagelistMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void MessagelistItemChecked(TObject* sender, TListItem* item);
    void MessagelistKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void KeyTimerTimer(TObject* sender);
    TMessageAttr* GetSelectedMessage() const;
    void UpdateMessagesCount(int count);
    void SetStatusPanelText(const WideString& text);
    void SetProgressPercent(unsigned done, unsigned total);
    void StatusBar1DrawPanel(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect);
    void LanguageChanged() override;  // ListReady
    // Rows 0 .. count-1 as the list shows them now.
    const MessageAttrDeque& Messages() const { return m_messages; }
    // Selects exactly the given rows.
    void SelectRows(const std::vector<int>& rows);
    std::vector<int> SelectedRows() const;

    // ---- display
    void ShowHTML(const WideString& textOrPath, bool isFile);
    void ClearMsgInfoUI();
    void cbTimeZoneChange(TObject* sender);
    void UpdateDateTimeField();
    void tvPropertiesChange(TObject* sender, TTreeNode* node);
    int CopyHTMLToClipboard();
    void CppWebBrowser1DocumentComplete(TObject* sender, const WideString& url);

    // ---- actions, menus and the command state (Form1Actions.cpp)
    void ToolbarInit();
    void PruneMainMenu();
    void RzPageControl1Change(TObject* sender);
    void Help1Click(TObject* sender);
    void actionViewMessageExecute(TObject* sender);
    void actionViewMessageHeaderExecute(TObject* sender);
    void actionPlainTextBodyExecute(TObject* sender);
    void actionShowToolbarExecute(TObject* sender);
    void actionShowFoldersTreeExecute(TObject* sender);
    void actionShowMessagesListExecute(TObject* sender);
    void actionSelectAllExecute(TObject* sender);
    void actionCheckAllExecute(TObject* sender);
    void actionUncheckAllExecute(TObject* sender);
    // The one message Save body, Copy body, Reply, Forward and Add To Favorites act on.
    TMessageAttr* GetTargetMessage() const;

    // ---- attachment commands (Form1Attachments.cpp)
    bool GetSelectedAttachment(int& index, TMessageAttr*& message) const;
    bool AttachmentActionSelect();
    bool OpenSelectedAttachment(int index, TMessageAttr* message);
    bool SaveSelectedAttachments(int index, TMessageAttr* message);
    bool ProcessEmbeddedMessage(int index, TMessageAttr* message);
    bool AttachmentOpen(int index, TMessageAttr* message);
    bool AttachmentSave(int index, TMessageAttr* message);
    bool AttachmentSaveAll(TMessageAttr* message);
    void actionOpenAttachmentExecute(TObject* sender);
    void actionSaveAttachmentExecute(TObject* sender);
    void AttachmentListDblClick(TObject* sender);
    void AttachmentListKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void AttachmentListMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void AttachmentListMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // Saves an attachment under the temporary folder with a name made safe; empty on failure.
    WideString SaveAttachmentCopy(int index, TMessageAttr& message);

    // ---- message commands (Form1Commands.cpp)
    void actionOpenFileExecute(TObject* sender);
    WideString SetOpenFileDlgParams() const;
    void OpenMessageFromFile();
    bool OpenMessageFile(const WideString& path);
    void actionSaveBodyExecute(TObject* sender);
    void actionSaveHeaderExecute(TObject* sender);
    bool SaveMessageToFile(TMessageAttr& message);
    bool SaveHeaderToFile(TMessageAttr& message);
    void actionCopyMessageExecute(TObject* sender);
    void actionCopyMessageHeaderExecute(TObject* sender);
    void actionCopyToExecute(TObject* sender);
    void actionDeleteExecute(TObject* sender);
    void actionAddToFavsExecute(TObject* sender);
    void actionStopListExecute(TObject* sender);
    void actionRefreshListExecute(TObject* sender);
    void actionExitExecute(TObject* sender);
    void actionSearchExecute(TObject* sender);
    void actionExportExecute(TObject* sender);
    void actionExportCsvExecute(TObject* sender);
    void actionFileNamingExecute(TObject* sender);
    void actionSettingsDlgExecute(TObject* sender);
    void actionFontSelectExecute(TObject* sender);
    void actionReplyExecute(TObject* sender);
    void actionForwardExecute(TObject* sender);
    void actionPrintMessageExecute(TObject* sender);
    void actionPrintHeaderExecute(TObject* sender);
    void actionPrintMessageSilentExecute(TObject* sender);
    void actionPrintHeaderSilentExecute(TObject* sender);
    // Files dropped on the window, in the order given.
    void DropFiles(const std::vector<WideString>& paths);
    void WMDropFiles(TMessage& message);
    // Opens the clicked message full-screen in a second instance of the program.
    void MessagelistDblClick(TObject* sender);
    // Answers or passes on the target message through the user's mail program.
    void Reply();
    void Forward();

    // ---- IQuilloraProvider
    void Show(const WideString& path) override;
    using IChangeableLangForm::Show;
    void GoToFolder(const WideString& path) override;
    WideString GetRootFolderLocation() override;
    void GetMessagesFromList(MessageAttrDeque& out, bool checkedOnly) override;
    TForm* GetOwnerForm() override;

    // ---- IView
    void ViewRTFString(TMessageAttr& message, const WideString& text, HWND* richEdit = nullptr) override;
    void ViewHTMLString(TMessageAttr& message, const WideString& html) override;
    void ViewHTMLFile(TMessageAttr& message, const WideString& path, const WideString& text) override;
    void SetToField(TMessageAttr& message, const WideString& text) override;
    void SetFromFiled(TMessageAttr& message, const WideString& text) override;
    void SetCCFiled(TMessageAttr& message, const WideString& text) override;
    void SetDateFiled(TMessageAttr& message, TDateTime date, const WideString& caption, int zoneHours) override;
    void SetSubjectFiled(TMessageAttr& message, const WideString& text) override;
    void SetHeader(TMessageAttr& message, const WideString& text) override;
    void SetFileName(TMessageAttr& message, const WideString& text) override;
    void SetAttachmentsList(TMessageAttr& message, const std::vector<AttachmentItem>& attachments) override;
    void SetMessageProperties(TMessageAttr& message, TMSGFile& file) override;
    void Clear() override;

    // ---- ISearchInfoView
    void SetSearchMessagesCount(int count) override;
    void SetSearchFolder(const WideString& path) override;
    void SetSearchMsgName(const WideString& path) override;
    void SetSearchProgress(unsigned int done, unsigned int total) override;
    void SetSearchStatus(const WideString& text) override;
    void SearchStarted() override;
    void SearchFinished() override;

    // ---- state
    bool Closing() const { return m_closing; }
    unsigned ProgressPercent() const { return m_progressPercent; }
    const WideString& DateText() const { return m_dateText; }
    const WideString& TempFolder() const { return m_tempFolder; }
    bool MapiAvailable() const { return m_mapiAvailable; }
    // The plain-text view of bodies; the shown message shows itself again.
    void SetPlainTextMode(bool on);
    // Runs one turn of the message loop during a scan; tests replace it.
    std::function<void()> pump;
    // The desktop services the commands hand files to; tests replace them.
    std::function<DesktopOpenResult(const WideString& path)> openWithDesktop;
    // Shows the desktop's chooser of a program for a file; false when there is none.
    std::function<bool(const WideString& path)> openWith;
    std::function<bool(const WideString& path, std::string* error)> moveToTrash;
    // The mail program's side of reply and forward; null for the session's desktop.
    MailDesktop* mailDesktop = nullptr;
    // Starts a drag of files out of the window (copy only); tests replace it.
    std::function<void(const std::vector<WideString>& paths)> dragFilesOut;
    // Tells a drag from a click after a press at a client point of a control.
    std::function<bool(TControl* control, int x, int y)> detectDrag;
    // Asks what to do with the selected attachment: 1 open, 2 save, 3 save all, 0 or 10 nothing.
    std::function<int()> askAttachmentAction;
    // Asks for a folder; empty when cancelled.
    std::function<WideString()> chooseFolder;
    // Starts the full-screen viewer on a file; tests replace it.
    std::function<void(const WideString& path)> startViewer;
    // Hands a message to the favorites pane; unset while there is no pane.
    std::function<void(TMessageAttr& message)> addToFavorites;

private:
    template <class T>
    T* Find(const char* name) const
    {
        return dynamic_cast<T*>(FindComponent(name));
    }
    TTntListView* List() const;
    void ShowMessageRow(int row);
    void ShowLoadError(const WideString& detail);
    void SetAction(const char* name, bool visible);
    void SetAllChecked(bool checked);
    void ReplyOrForward(bool forward);
    // Paths a drag of the chosen messages offers: store messages written out as .msg first.
    std::vector<WideString> CollectDraggedMessages();
    std::vector<WideString> CollectDraggedAttachments();
    void FillPropertyNodes(TTreeNode* parent, const std::vector<PropertyNode>& nodes);
    void ScanFinished(std::size_t count, double seconds);
    void ListGrown();
    WideString SelectedTreePath() const;
    bool rbSubFolderChecked() const;

    MessageAttrDeque m_messages;
    MessageScanner scanner_;
    MessageListSort sort_;
    bool m_displayBusy = false;
    bool m_listRebuilding = false;
    bool m_firstShow = true;
    bool m_plainTextMode = false;
    unsigned m_progressPercent = 0;
    bool m_closed = false;
    WideString m_pendingCharset;
    std::vector<PropertyNode> m_properties;  // what the property tree shows; nodes point into it
    TDateTime m_shownDate = 0;
    WideString m_dateText;
    int m_bodyKind = 0;
    bool m_closing = false;
    WideString m_tempFolder;
    bool m_mapiAvailable = false;
    bool exportMode = false;
    // Saves the favorites and frees the pane, at close.
    void FreeFavors();
    TfrmFavorites* m_favorites = nullptr;  // owned by its tab sheet, freed at close
    TCustomForm* m_restoreWindow = nullptr;  // a window to bring back when the program is restored
    WideString treePath_;       // the folder selected in the tree
    WideString pendingFolder_;  // a folder asked for while a scan ran: listed once it has ended
    bool pendingFolderSet_ = false;
};

extern TForm1* Form1;

// Registers the main window and the controls of its form file.
void RegisterForm1();
// Creates the main window and the windows it opens, and ties them together.
void CreateMainForms();
