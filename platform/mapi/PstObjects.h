// The objects of a mounted store file (store, folders, messages, attachments) and the
// property readers their tables share. Private to platform/mapi.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/mapi/MapiFolder.h"
#include "platform/mapi/MapiMessage.h"
#include "platform/mapi/MsgStore.h"
#include "platform/mapi/PstFile.h"

// What every object of one mounted store shares.
struct PstStoreContext {
    std::shared_ptr<PstFile> file;
    std::vector<BYTE> storeEntryId;
};
using PstContextPtr = std::shared_ptr<const PstStoreContext>;

// The named-property lookups every object of a store answers (PropSource::IdFromName and
// NameFromId) through the store's name-to-id map.
inline bool PstIdFromName(const PstStoreContext& ctx, const MAPINAMEID& name, ULONG& id) {
    const auto found = ctx.file->IdFromName(name);
    if (found) id = *found;
    return found.has_value();
}
inline bool PstNameFromId(const PstStoreContext& ctx, ULONG id, MAPINAMEID& name) {
    const auto found = ctx.file->NameFromId(id);
    if (found) name = *found;
    return found.has_value();
}

// The provider id in the entry ids of stores (as opposed to the objects inside them).
extern const MAPIUID kPstProviderUid;

// The store entry id of a file path, and the path of a store entry id.
std::vector<BYTE> PstStoreEntryId(const std::string& utf8Path);
bool PstPathFromStoreEntryId(const BYTE* eid, ULONG cb, std::string& utf8Path);

ComPtr<IMsgStore> MakePstStore(PstContextPtr ctx);
ComPtr<IMAPIFolder> MakePstFolder(PstContextPtr ctx, PstItem item);
// parentNid: the folder the message was listed in (0 when opened by id), or kAttachedMessage
// for a message inside an attachment, which has no entry id of its own.
inline constexpr std::uint32_t kAttachedMessage = 0xFFFFFFFFu;
ComPtr<IMessage> MakePstMessage(PstContextPtr ctx, PstItem item, std::uint32_t parentNid);

// OpenEntry of a store and its folders: folders and messages by entry id. On failure why
// gets libpff's text when it gave one.
HRESULT OpenPstEntry(const PstContextPtr& ctx, ULONG cb, const BYTE* eid, ULONG* objType, IUnknown** object,
                     std::string& why);

// The value answered for a tag from a stored or computed value: converted to the tag's type;
// a PT_UNSPECIFIED string tag gets PT_STRING8. Absent values become PT_ERROR MAPI_E_NOT_FOUND.
SPropValue AnswerColumn(ULONG tag, bool found, const SPropValue& value);

// Property readers of folders and messages (stored values plus the computed ones).
bool ReadFolderProp(const PstStoreContext& ctx, const PstItem& folder, ULONG tag, SPropValue& out);
bool ReadMessageProp(const PstStoreContext& ctx, const PstItem& message, std::uint32_t parentNid,
                     const LazyCodePage& codePage, ULONG tag, SPropValue& out);
// The code page of a message's 8-bit text: its own, else the store's.
ULONG MessageCodePage(const PstStoreContext& ctx, const PstItem& message);
// A subject as stored less its leading marker and prefix length, when it has them.
void StripSubjectMarker(SPropValue& subject);
// The code page from any reader of the message's stored properties (by property id).
ULONG CodePageFromProps(const std::function<bool(ULONG propId, SPropValue& out)>& read, ULONG storeCodePage);

// The rows of a folder's contents table read from the store's own table node, in the order
// of the folder's messages; null (why tells) when that table is missing, damaged or does not
// match the folder's messages, and the rows must come from the messages themselves.
// perMessage makes the rows read from the messages, for a row the table cannot answer.
std::unique_ptr<TableRowSource> MakePstContentsRows(PstContextPtr ctx, std::uint32_t folderNid,
                                                    std::function<std::unique_ptr<TableRowSource>()> perMessage,
                                                    std::string& why);
