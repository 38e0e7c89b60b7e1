// The folder scan behind the message list: walks a folder (and on request its subfolders)
// twice, first counting for the progress total, then listing every message file that passes
// the type filter and the search. A ".pst" store lists one record per message of its folders.
// It runs on the GUI thread and pumps the message loop after every entry and store row, so the
// owner must keep other handlers from starting a second walk while one runs (see Busy).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "message/MessageAttr.h"
#include "message/MessageAttrDeque.h"
#include "platform/win/WinTypes.h"

class ISearchInfoView;
class MapiSession;
class MessagePST;
class SearchEngine;

// The file types a scan takes.
using FileTypeFilter = unsigned;
inline constexpr FileTypeFilter ftEML = 1;
inline constexpr FileTypeFilter ftMSG = 2;
inline constexpr FileTypeFilter ftPST = 4;
inline constexpr FileTypeFilter ftAll = 7;

// True while a folder walk runs; clearing it stops the walk at its next entry.
extern bool ScanRunning;

// The type code of path by extension when the filter takes it, else mftUnknown.
MessageFileType MatchFileType(const WideString& path, FileTypeFilter filter);

class MessageScanner {
public:
    // The owner's side of a scan; every hook may be left empty.
    struct Hooks {
        std::function<void()> pump;                     // one turn of the message loop
        std::function<void()> listGrown;                // rows were appended or the count changed
        std::function<void()> sortList;                 // after the second pass
        std::function<void()> toolbarInit;              // command states may have changed
        std::function<void(std::size_t count, double seconds)> scanFinished;
        std::function<void()> loadFailed;               // an error while adding a file outside a scan
    };

    // The list is the owner's and owns every record in it; EmptyList frees them.
    MessageScanner(MessageAttrDeque& list, Hooks hooks);
    ~MessageScanner();
    MessageScanner(const MessageScanner&) = delete;
    MessageScanner& operator=(const MessageScanner&) = delete;

    // The two-pass scan. A stop in the first pass lists nothing; in the second pass what was
    // listed so far is kept and sorted.
    void FindMSGFiles(const WideString& folder, SearchEngine* engine, ISearchInfoView* view,
                      bool includeSubfolders, FileTypeFilter filter);
    // 0 when the folder was walked to its end (or could not be opened), -1 when stopped.
    int FindMSGFilesRecursive(const WideString& folder, SearchEngine* engine, ISearchInfoView* view,
                              bool includeSubfolders, FileTypeFilter filter, bool countOnly);
    // The new record when one was listed and is still listed; always null for a store.
    TMessageAttr* AddFileToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view,
                                MessageFileType type, bool headersOnly, bool countOnly);
    TMessageAttr* MSG_AddToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view, bool headersOnly);
    TMessageAttr* EML_AddToList(const WideString& path, SearchEngine* engine, ISearchInfoView* view, bool headersOnly);
    // 1 when the store's folders were walked to their end or stopped, 0 when it is not open.
    int PST_EnumAllMessages(const std::shared_ptr<MapiSession>& session, const WideString& path,
                            SearchEngine* engine, ISearchInfoView* view, bool headersOnly, bool countOnly);
    // Applies the search and appends; takes the record. True when it is still listed afterwards
    // (a handler run by the pump may have emptied the list).
    bool TestMessageAndAddToList(std::unique_ptr<TMessageAttr> message, SearchEngine* engine, ISearchInfoView* view);

    // The window that owns the box telling why a store could not be opened; 0 (the default,
    // and for runs nobody watches) leaves the failure to the trace log.
    void SetBoxOwner(std::uintptr_t owner) { boxOwner_ = owner; }

    // Stops the walk at its next entry and a store listing after its current row.
    bool StopSearch();
    // Frees every listed record and resets the counters.
    void EmptyList();
    // A walk or a store listing is on the stack.
    bool Busy() const { return depth_ > 0; }

    unsigned filesTotal = 0;
    unsigned filesProcessed = 0;
    bool stopStoreEnum = false;

private:
    // One entry of a folder as the walk found it.
    struct WalkedEntry {
        WideString name;
        std::int32_t attr = 0;
        bool link = false;  // a link to a folder, which is not followed
        std::int64_t size = 0;
    };
    // The entries of folder, in the order the file system gives; false when the folder cannot
    // be enumerated. The listing pass takes what the counting pass of the same scan found (it
    // keeps each folder it walked to the end), so that each file is looked up once a scan.
    bool FolderEntries(const WideString& folder, std::vector<WalkedEntry>& entries);

    void Pump() const;
    MessageAttrDeque& list_;
    Hooks hooks_;
    int depth_ = 0;
    std::uintptr_t boxOwner_ = 0;
    // Folders the counting pass walked, kept for the listing pass of the same scan.
    bool keepWalked_ = false;
    std::unordered_map<WideString, std::vector<WalkedEntry>> walked_;
};
