// The store file under the MAPI layer: one libpff file handle per mounted store, its items,
// their property records, entry ids and the store's named-property map.
// Private to platform/mapi: nothing outside this folder includes it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/mapi/PropValue.h"
#include "platform/mapi/PstNodeReader.h"

struct PstItemHandle;  // wraps libpff_item_t

// The code page of an item's 8-bit text, worked out only when such text is met.
class LazyCodePage {
public:
    LazyCodePage(ULONG fixed) : cp_(fixed) {}  // NOLINT: a plain code page converts
    explicit LazyCodePage(std::function<ULONG()> find) : find_(std::move(find)) {}
    ULONG Get() const {
        if (cp_ == 0 && find_) cp_ = find_();
        return cp_ != 0 ? cp_ : 1252;
    }

private:
    mutable ULONG cp_ = 0;
    std::function<ULONG()> find_;
};

// Node id kinds (the low five bits of a node id).
inline constexpr std::uint32_t NID_TYPE_MASK = 0x1F;
inline constexpr std::uint32_t NID_TYPE_NORMAL_FOLDER = 0x02;
inline constexpr std::uint32_t NID_TYPE_SEARCH_FOLDER = 0x03;
inline constexpr std::uint32_t NID_TYPE_NORMAL_MESSAGE = 0x04;
inline constexpr std::uint32_t NID_TYPE_ATTACHMENT = 0x05;
inline constexpr std::uint32_t NID_ROOT_FOLDER = 0x122;

// An item (store, folder, message, attachment, recipients list) of an open store.
// Calls that can fail answer a MAPI code and, in `why`, libpff's own text of the failure;
// a failure is never answered as an empty folder or message.
class PstItem {
public:
    PstItem();
    PstItem(std::unique_ptr<PstItemHandle> h, std::uint32_t nid);
    PstItem(PstItem&&) noexcept;
    PstItem& operator=(PstItem&&) noexcept;
    ~PstItem();

    explicit operator bool() const { return h_ != nullptr; }
    std::uint32_t Nid() const { return nid_; }  // read when the item was fetched
    // Whether libpff reads the item as a folder (one met by id alone may be typed otherwise).
    bool IsFolder() const;
    HRESULT RecordSetCount(int& count, std::string& why) const;
    // One property of record set `set` by property id (named ids are the store's raw ids).
    // 8-bit text is decoded with codePage. False when absent or unreadable.
    bool ReadProp(ULONG propId, const LazyCodePage& codePage, SPropValue& out, int set = 0) const;
    // Every readable property of the record set.
    SPropValueArray ReadAll(const LazyCodePage& codePage, int set = 0) const;

    HRESULT SubFolderCount(int& count, std::string& why) const;
    PstItem SubFolder(int index, std::string* why = nullptr) const;
    HRESULT SubMessageCount(int& count, std::string& why) const;
    PstItem SubMessage(int index, std::string* why = nullptr) const;
    HRESULT AttachmentCount(int& count, std::string& why) const;
    PstItem Attachment(int index, std::string* why = nullptr) const;
    // One record set per recipient; S_OK with an empty item when the message has none.
    HRESULT Recipients(PstItem& out, std::string& why) const;
    // Attachment contents: kind 'd' data, 'i' attached item, 'r' reference, 0 unknown.
    int AttachmentKind() const;
    bool AttachmentData(std::vector<BYTE>& out) const;
    PstItem AttachedItem(std::string* why = nullptr) const;

private:
    std::unique_ptr<PstItemHandle> h_;
    std::uint32_t nid_ = 0;
};

class PstFile {
public:
    // Opens a store file read-only. On failure gives null, the MAPI result code and libpff's
    // text of the failure.
    static std::shared_ptr<PstFile> Open(const std::string& utf8Path, HRESULT& hr, std::string& errorText);
    ~PstFile();
    PstFile(const PstFile&) = delete;
    PstFile& operator=(const PstFile&) = delete;

    const std::string& Path() const { return path_; }
    // The store's ANSI code page (for 8-bit text without a code page of its own).
    ULONG CodePage() const { return codePage_; }
    const std::vector<BYTE>& RecordKey() const { return recordKey_; }
    // The store's nodes read directly, for lists; null when the file's form is not one it reads.
    const PstNodeReader* Nodes() const { return nodes_.get(); }

    PstItem MessageStore() const;
    // Messages and other items by node id (typed by what they hold).
    PstItem ItemByNid(std::uint32_t nid, std::string* why = nullptr) const;
    // A folder by node id, reached through the folder tree: libpff types an item met by id
    // by its message class, and folders that carry one would not answer as folders.
    PstItem FolderByNid(std::uint32_t nid, std::string* why = nullptr) const;

    // The node id of the folder that receives a message class, from the store's receive-folder
    // table: the entry whose class is the longest leading part of `messageClass` (whole
    // dot-separated parts, any case), else the default entry. explicitClass gets the entry's
    // class. MAPI_E_NOT_FOUND when the store names no receive folder for it.
    HRESULT ReceiveFolder(const std::string& messageClass, std::uint32_t& nid, std::string& explicitClass,
                          std::string& why) const;

    // Entry ids: four flag bytes, the store's record key, the node id (little-endian).
    std::vector<BYTE> EntryIdFor(std::uint32_t nid) const;
    // The node id of an entry id of this store; nullopt for a malformed or foreign id.
    std::optional<std::uint32_t> NidFromEntryId(const BYTE* eid, ULONG cb) const;

    // Named properties: the store's property id for a name, and back.
    std::optional<ULONG> IdFromName(const MAPINAMEID& name) const;
    std::optional<MAPINAMEID> NameFromId(ULONG id) const;

private:
    PstFile() = default;
    void LoadNameMap();
    // Where each folder sits in the folder tree: its parent's node id and its index there.
    struct TreePlace {
        std::uint32_t parent = 0;
        int index = 0;
    };
    const std::map<std::uint32_t, TreePlace>& FolderTree() const;

    struct Handle;
    std::unique_ptr<Handle> h_;
    std::string path_;
    ULONG codePage_ = 1252;
    std::vector<BYTE> recordKey_;
    std::vector<MAPINAMEID> names_;  // index = property id - 0x8000
    std::unique_ptr<PstNodeReader> nodes_;
    mutable std::once_flag treeOnce_;
    mutable std::map<std::uint32_t, TreePlace> tree_;
};

// One stored value of the given type into a value tagged `tag`; 8-bit text is decoded with
// codePage. False when the bytes are too short for the type or the type is unknown.
bool DecodeStoreValue(ULONG tag, const BYTE* d, std::size_t n, const LazyCodePage& codePage, SPropValue& out);

// 8-bit store text to UTF-16 with a Windows code page; undecodable bytes become U+FFFD.
std::u16string DecodeStoreText(const char* bytes, std::size_t size, ULONG codePage);
