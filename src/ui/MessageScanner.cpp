#include "ui/MessageScanner.h"

#include "app/AppLocDB.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "mapi/MapiLibs.h"
#include "mapi/MapiSession.h"
#include "mapi/MessagePST.h"
#include "mapi/StoreMessageList.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"
#include "search/SearchEngine.h"
#include "ui/ISearchInfoView.h"

bool ScanRunning = false;

namespace {

// Counts the walks and store listings on the stack, also when one ends by an exception.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

WideString JoinPath(const WideString& folder, const WideString& name)
{
    if (!folder.empty() && folder.back() == u'/') return folder + name;
    return folder + u'/' + name;
}

}  // namespace

MessageFileType MatchFileType(const WideString& path, FileTypeFilter filter)
{
    try {
        const MessageFileType type = GetMessageFileType(path, false);
        const FileTypeFilter bit = type == mftEML ? ftEML : type == mftMSG ? ftMSG : type == mftPST ? ftPST : 0;
        return (bit & filter) != 0 ? type : mftUnknown;
    } catch (...) {
        return mftUnknown;
    }
}

MessageScanner::MessageScanner(MessageAttrDeque& list, Hooks hooks) : list_(list), hooks_(std::move(hooks)) {}

MessageScanner::~MessageScanner() = default;

void MessageScanner::Pump() const
{
    if (hooks_.pump) hooks_.pump();
}

void MessageScanner::FindMSGFiles(const WideString& folder, SearchEngine* engine, ISearchInfoView* view,
                                  bool includeSubfolders, FileTypeFilter filter)
{
    QUILLORA_TRACE(u"TForm1::FindMSGFiles");
    DepthGuard depth(depth_);
    const ULONGLONG t0 = GetTickCount64();
    if (view) {
        view->SetSearchProgress(0, 100);
        view->SetSearchStatus(GetUiString(1085));
    }
    // The first pass counts every file and mounts every store for its number of messages; the
    // folders it walked serve the second.
    struct WalkedKeeper {
        MessageScanner& scanner;
        ~WalkedKeeper()
        {
            scanner.keepWalked_ = false;
            scanner.walked_.clear();
        }
    } keeper{*this};
    keepWalked_ = true;
    FindMSGFilesRecursive(folder, nullptr, view, includeSubfolders, ftPST, true);
    if (!ScanRunning) return;
    keepWalked_ = false;
    if (view) view->SetSearchStatus(GetUiString(1083));
    FindMSGFilesRecursive(folder, engine, view, includeSubfolders, filter, false);
    if (hooks_.sortList) hooks_.sortList();
    if (view) view->SetSearchStatus(GetUiString(1001));
    if (hooks_.toolbarInit) hooks_.toolbarInit();
    ScanRunning = false;
    if (view) view->SearchFinished();
    if (hooks_.scanFinished)
        hooks_.scanFinished(list_.size(), static_cast<double>(GetTickCount64() - t0) / 1000.0);
}

int MessageScanner::FindMSGFilesRecursive(const WideString& folder, SearchEngine* engine, ISearchInfoView* view,
                                          bool includeSubfolders, FileTypeFilter filter, bool countOnly)
{
    DepthGuard depth(depth_);
    if (!ScanRunning) {
        ScanRunning = true;
        if (view) view->SearchStarted();
    }
    std::vector<WalkedEntry> entries;
    if (!FolderEntries(folder, entries)) return 0;
    for (const WalkedEntry& f : entries) {
        const WideString path = JoinPath(folder, f.name);
        Pump();
        if (!ScanRunning) {
            if (view) view->SearchFinished();
            return -1;
        }
        if ((f.attr & faDirectory) != 0) {
            if (!countOnly && view) view->SetSearchFolder(folder);
            // Links to folders are not followed: a link to an ancestor would never end.
            if (f.name != u"." && f.name != u".." && includeSubfolders && !f.link &&
                FindMSGFilesRecursive(path, engine, view, includeSubfolders, filter, countOnly) == -1)
                return -1;
            continue;
        }
        if (f.size == 0) continue;
        const MessageFileType type = MatchFileType(path, filter);
        if (!countOnly) {
            ++filesProcessed;
            if (view) view->SetSearchProgress(filesProcessed, filesTotal);
        } else if (type != mftPST) {
            ++filesTotal;
        }
        if (!countOnly || type == mftPST) {
            if (view) view->SetSearchMsgName(path);
            AddFileToList(path, engine, view, type, true, countOnly);
        }
    }
    if (keepWalked_) walked_[folder] = std::move(entries);
    return 0;
}

bool MessageScanner::FolderEntries(const WideString& folder, std::vector<WalkedEntry>& entries)
{
    if (const auto kept = walked_.find(folder); kept != walked_.end() && !keepWalked_) {
        entries = std::move(kept->second);
        walked_.erase(kept);
        return true;
    }
    TSearchRecW f;
    if (WideFindFirst(JoinPath(folder, u"*"), static_cast<int>(faAnyFile), f) != 0) return false;
    struct Closer {
        TSearchRecW& f;
        ~Closer() { WideFindClose(f); }
    } closer{f};
    do {
        const bool link = (f.FindData.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entries.push_back({f.Name, f.Attr, link, f.Size});
    } while (WideFindNext(f) == 0);
    return true;
}

TMessageAttr* MessageScanner::AddFileToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view,
                                            MessageFileType type, bool headersOnly, bool countOnly)
{
    try {
        if (type == mftPST) {
            if (!EnsureMapi()) return nullptr;
            auto session = std::make_shared<MapiSession>();
            // The counting pass opens each store too: the box comes once, from the listing pass.
            session->Open(path, &MapiLibs::get(), countOnly ? 0 : boxOwner_);
            // The records that were listed keep the session; without them it closes here.
            if (session->opened) PST_EnumAllMessages(session, path, engine, view, headersOnly, countOnly);
            return nullptr;
        }
        if (type == mftMSG) return MSG_AddToList(path, engine, view, headersOnly);
        if (type == mftEML) return EML_AddToList(path, engine, view, headersOnly);
        return nullptr;
    } catch (const std::exception& e) {
        LogWriteLine(u"AddFileToList: " + Utf8ToUtf16(e.what()) + u": " + path);
    } catch (...) {
        LogWriteLine(u"AddFileToList: unknown exception: " + path);
    }
    // During a scan the file is skipped silently.
    if (!ScanRunning && hooks_.loadFailed) hooks_.loadFailed();
    return nullptr;
}

TMessageAttr* MessageScanner::MSG_AddToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view,
                                            bool headersOnly)
{
    // One open of the file: a ".msg" that holds MIME text is read as an ".eml" after all.
    auto message = std::make_unique<MessageMSG>();
    if (!message->LoadFromFile(path, headersOnly)) return nullptr;
    if (!message->IsCompoundFile()) return EML_AddToList(path, engine, view, headersOnly);
    TMessageAttr* const raw = message.get();
    return TestMessageAndAddToList(std::move(message), engine, view) ? raw : nullptr;
}

TMessageAttr* MessageScanner::EML_AddToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view,
                                            bool headersOnly)
{
    auto message = std::make_unique<MessageEML>();
    if (!message->LoadFromFile(path, headersOnly)) return nullptr;
    TMessageAttr* const raw = message.get();
    return TestMessageAndAddToList(std::move(message), engine, view) ? raw : nullptr;
}

int MessageScanner::PST_EnumAllMessages(const std::shared_ptr<MapiSession>& session, const WideString& path,
                                        SearchEngine* engine, ISearchInfoView* view, bool /*headersOnly*/,
                                        bool countOnly)
{
    QUILLORA_TRACE(u"TForm1::PST_EnumAllMessages");
    DepthGuard depth(depth_);
    stopStoreEnum = false;
    StoreWalk walk;
    walk.withBody = engine != nullptr;
    walk.onFolderRows = [&](std::size_t rows) {
        if (countOnly) filesTotal += static_cast<unsigned>(rows);
    };
    if (!countOnly) {
        walk.onRow = [&](std::unique_ptr<MessagePST> message) {
            ++filesProcessed;
            TestMessageAndAddToList(std::move(message), engine, view);
            if (view) view->SetSearchProgress(filesProcessed, filesTotal);
            Pump();
            return !stopStoreEnum;
        };
    }
    if (!WalkStoreMessages(session, path, walk)) return 0;
    if (!countOnly && hooks_.listGrown) hooks_.listGrown();
    return 1;
}

bool MessageScanner::TestMessageAndAddToList(std::unique_ptr<TMessageAttr> message, SearchEngine* engine,
                                             ISearchInfoView* view)
{
    if (engine) {
        message->LoadPlainTextBody();
        if (!engine->Test(message.get())) return false;
        // Listed, it holds its headers again: the body is read when it is shown.
        message->ReleaseFullLoad();
    }
    TMessageAttr* const raw = message.get();
    list_.push_back(message.release());
    if (!ScanRunning) Pump();
    // A handler run by the pump may have emptied the list and freed the record.
    const bool listed = !list_.empty() && list_.back() == raw;
    if (hooks_.listGrown) hooks_.listGrown();
    if (view) view->SetSearchMessagesCount(static_cast<int>(list_.size()));
    return listed;
}

bool MessageScanner::StopSearch()
{
    ScanRunning = false;
    // A store being listed stops after its current row, not only at the next file.
    stopStoreEnum = true;
    return ScanRunning;
}

void MessageScanner::EmptyList()
{
    filesTotal = 0;
    filesProcessed = 0;
    for (TMessageAttr* m : list_) delete m;
    list_.clear();
    if (hooks_.listGrown) hooks_.listGrown();
}
