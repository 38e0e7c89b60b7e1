// Attachments of a store message: listing, inline pictures, saving, attached messages.
#include <filesystem>
#include <fstream>

#include "app/CAppUtils.h"
#include "app/MiscUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "mapi/MessagePST.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "platform/mapi/MapiTags.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/WinString.h"

namespace {

constexpr ULONG kNameTags[] = {PR_ATTACH_LONG_FILENAME_W, PR_ATTACH_FILENAME_W, PR_ATTACH_PATHNAME_W,
                               PR_ATTACH_TRANSPORT_NAME_W, PR_DISPLAY_NAME_W};

// PR_ATTACH_NUM of every row of the message's attachment table, in table order.
bool AttachNumbers(IMessage* message, MapiLibs& libs, std::vector<ULONG>& numbers)
{
    ComPtr<IMAPITable> table;
    if (!message || message->GetAttachmentTable(0, table.put()) != S_OK || !table) {
        LogPrintf(u"FAILED: GetAttachmentTable");
        return false;
    }
    const SPropTagArray columns{PR_ATTACH_NUM};
    SRowSetPtr rows;
    if (libs.HrQueryAllRows(table.get(), &columns, nullptr, nullptr, 0, &rows) != S_OK || !rows) {
        LogPrintf(u"FAILED: pHrQueryAllRows for attachments");
        return false;
    }
    numbers.clear();
    for (const SRow& row : rows->aRow)
        numbers.push_back(row.cValues() > 0 && row.lpProps[0].ulPropTag == PR_ATTACH_NUM
                              ? static_cast<ULONG>(row.lpProps[0].Value.l)
                              : 0xFFFFFFFFu);
    return true;
}

ComPtr<IAttach> OpenAttachment(IMessage* message, ULONG number)
{
    ComPtr<IAttach> attachment;
    if (number == 0xFFFFFFFFu || message->OpenAttach(number, nullptr, MAPI_BEST_ACCESS, attachment.put()) != S_OK) {
        LogPrintf(u"FAILED: OpenAttach");
        return {};
    }
    return attachment;
}

WideString ContentId(IAttach* attachment)
{
    SPropValuePtr v;
    if (MapiLibs::HrGetOneProp(attachment, PR_ATTACH_CONTENT_ID_W, &v) != S_OK || !v) return {};
    WideString id = PropValueText(*v);
    if (id.size() >= 2 && id.front() == u'<' && id.back() == u'>') id = id.substr(1, id.size() - 2);
    return id;
}

// A file name of an attachment for the user: its own name, else one made from its position.
WideString ListedName(IAttach* attachment, int method, std::size_t row)
{
    WideString name = MessagePST::GetAttachName(attachment);
    if (name.empty())
        name = u"attachment " + Utf8ToUtf16(std::to_string(row + 1)) + (method == ATTACH_EMBEDDED_MSG ? u".msg" : u"");
    return name;
}

}  // namespace

WideString MessagePST::GetAttachName(IAttach* attachment)
{
    for (ULONG tag : kNameTags) {
        SPropValuePtr v;
        if (MapiLibs::HrGetOneProp(attachment, tag, &v) != S_OK || !v) continue;
        WideString name = PropValueText(*v);
        while (!name.empty() && name.back() == 0) name.pop_back();
        if (!name.empty()) return name;
    }
    return {};
}

int MessagePST::GetAttachMethod(IAttach* attachment)
{
    SPropValuePtr v;
    if (!attachment || MapiLibs::HrGetOneProp(attachment, PR_ATTACH_METHOD, &v) != S_OK || !v) return ATTACH_BY_VALUE;
    return v->Value.l;
}

bool MessagePST::EnumAttachmentNames(IMessage* message)
{
    QUILLORA_TRACE(u"MessagePST::EnumAttachmentNames");
    std::vector<ULONG> numbers;
    if (!AttachNumbers(message, Libs(), numbers)) return false;
    attachments.clear();
    inlineParts.clear();  // a reload must not pile up copies
    const WideString tempFolder = CAppUtils::getAppTempFolder();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        ComPtr<IAttach> attachment = OpenAttachment(message, numbers[i]);
        if (!attachment) continue;
        const int method = GetAttachMethod(attachment.get());
        const WideString name = ListedName(attachment.get(), method, i);
        const WideString contentId = ContentId(attachment.get());
        const WideString key = contentId.empty() ? name : contentId;
        const int number = static_cast<int>(i);
        if (IsRealAttachment(htmlBody, key)) {
            attachments.push_back({number, method, name, {}});
            continue;
        }
        // Shown inline by the HTML body: saved beside the body page under a cleaned name of this
        // load's own, so another message's picture of the same name is another file.
        const WideString safe = CutToUtf8Bytes(
            TempTag() + u"-" + Utf8ToUtf16(std::to_string(number)) + u"-" + CAppUtils::MakeValidFileName(name, false), 255);
        inlineParts.push_back({number, method, safe, contentId});
        if (tempFolder.empty() || !SaveAttach(method, attachment.get(), tempFolder + safe, false))
            LogPrintf(u"FAILED: inline picture not saved: %s", safe.c_str());
    }
    return true;
}

bool MessagePST::SaveAttachment(int index, const WideString& path, bool flag)
{
    QUILLORA_TRACE(u"MessagePST::SaveAttachment");
    if (index < 0 || static_cast<std::size_t>(index) >= attachments.size() || path.empty()) return false;
    ComPtr<IMessage> message = GetIMessage(nullptr);
    if (!message) return false;
    const WideString target = CAppUtils::MakeValidFileName(path, true);
    return ExtractAttachment(message.get(), attachments[static_cast<std::size_t>(index)].number, target, flag);
}

bool MessagePST::ExtractAttachment(IMessage* message, int number, const WideString& path, bool flag)
{
    QUILLORA_TRACE(u"MessagePST::ExtractAttachment");
    std::vector<ULONG> numbers;
    if (!AttachNumbers(message, Libs(), numbers)) return false;
    if (number < 0 || static_cast<std::size_t>(number) >= numbers.size()) return false;
    ComPtr<IAttach> attachment = OpenAttachment(message, numbers[static_cast<std::size_t>(number)]);
    if (!attachment) return false;
    return SaveAttach(GetAttachMethod(attachment.get()), attachment.get(), path, flag);
}

bool MessagePST::SaveAttach(int method, IAttach* attachment, const WideString& path, bool flag)
{
    if (method == static_cast<int>(ATTACH_BY_VALUE)) return SaveAttachAsBinary(attachment, path);
    if (method == static_cast<int>(ATTACH_EMBEDDED_MSG)) return SaveAttachAsMsg(attachment, path, flag);
    LogPrintf(u"FAILED: attachment method %d cannot be saved", method);
    return false;
}

bool MessagePST::SaveAttachAsBinary(IAttach* attachment, const WideString& path)
{
    QUILLORA_TRACE(u"MessagePST::SaveAttachAsBinary");
    SPropValuePtr data;
    if (!attachment || path.empty() || MapiLibs::HrGetOneProp(attachment, PR_ATTACH_DATA_BIN, &data) != S_OK || !data)
        return false;
    // Written aside and renamed into place, so a failed write leaves no half file.
    const auto* bytes = reinterpret_cast<const char*>(data->Value.bin.lpb);
    return WriteFileAtomically(path, std::string_view(bytes, data->Value.bin.cb));
}

bool MessagePST::SaveAttachAsMsg(IAttach* attachment, const WideString& path, bool flag)
{
    QUILLORA_TRACE(u"MessagePST::SaveAttachAsMsg");
    IUnknown* object = nullptr;
    if (!attachment || attachment->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, &object) != S_OK || !object)
        return false;
    ComPtr<IMessage> inner = ComPtr<IMessage>::Adopt(static_cast<IMessage*>(object));
    return SaveToMSG(inner.get(), path, flag) == 0;
}

bool MessagePST::IsEmbeddedAttachMessage(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= attachments.size()) return false;
    const AttachmentItem& item = attachments[static_cast<std::size_t>(index)];
    if (item.attachMethod == static_cast<int>(ATTACH_EMBEDDED_MSG)) return true;
    const WideString ext = WideUpperCaseString(WideExtractFileExt(item.name));
    return ext == u".MSG" || ext == u".EML";
}

std::unique_ptr<TMessageAttr> MessagePST::GetEmbeddedMessage(int index)
{
    QUILLORA_TRACE(u"MessagePST::GetEmbeddedMessage");
    if (!IsEmbeddedAttachMessage(index)) return nullptr;
    const AttachmentItem& item = attachments[static_cast<std::size_t>(index)];
    WideString ext = WideUpperCaseString(WideExtractFileExt(item.name));
    if (item.attachMethod == static_cast<int>(ATTACH_EMBEDDED_MSG) || ext.empty()) ext = u".MSG";
    const WideString folder = CAppUtils::getAppTempFolder();
    if (folder.empty()) return nullptr;
    const WideString path = CAppUtils::MakeUniqueFileName(folder + u"NEW" + ext);
    if (path.empty() || !SaveAttachment(index, path, false)) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(Utf16ToUtf8(path)), ignored);
        return nullptr;
    }
    std::unique_ptr<TMessageAttr> record;
    if (isMSG(path))
        record = std::make_unique<MessageMSG>();
    else if (isEML(path))
        record = std::make_unique<MessageEML>();
    if (!record || !record->LoadFromFile(path, false)) return nullptr;
    record->fileName = path;
    return record;
}

bool MessagePST::SaveAllAttachments(const WideString& folder, const WideString& prefix, std::vector<WideString>* savedPaths,
                                    bool)
{
    QUILLORA_TRACE(u"MessagePST::SaveAllAttachments");
    EnsureFullyLoaded();  // the body tells inline pictures apart
    ComPtr<IMessage> message = GetIMessage(nullptr);
    if (!message) return false;
    std::vector<ULONG> numbers;
    if (!AttachNumbers(message.get(), Libs(), numbers)) return false;
    const WideString base = WideIncludeTrailingBackslash(folder);
    // The body as stored: links to inline pictures are rewritten to file names on display.
    const WideString& shownHtml = loadedHtmlBody.empty() ? htmlBody : loadedHtmlBody;
    bool allSaved = true;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        ComPtr<IAttach> attachment = OpenAttachment(message.get(), numbers[i]);
        if (!attachment) {
            allSaved = false;
            continue;
        }
        const int method = GetAttachMethod(attachment.get());
        const WideString name = ListedName(attachment.get(), method, i);
        const WideString contentId = ContentId(attachment.get());
        // The same rule as the listing: inline pictures shown by the body are not saved.
        if (!IsRealAttachment(shownHtml, contentId.empty() ? name : contentId)) continue;
        const WideString path = CAppUtils::MakeUniqueFileName(base + CAppUtils::MakeValidFileName(prefix + name, false));
        if (path.empty() || !SaveAttach(method, attachment.get(), path, false)) {
            LogPrintf(u"FAILED: attachment not saved: %s", name.c_str());
            allSaved = false;
            continue;
        }
        if (savedPaths) savedPaths->push_back(path);
    }
    return allSaved;
}

int MessagePST::GetAttachmentCount()
{
    ReleaseFullLoad();  // counted afresh from the store
    EnsureFullyLoaded();
    return static_cast<int>(attachments.size());
}
