#include "message/MessageAttr.h"

#include <atomic>
#include <filesystem>
#include <map>

#include "app/CAppUtils.h"
#include "app/MiscUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/HtmlTagRefs.h"
#include "platform/com/StructuredStorage.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

// A handle stream that closes its handle when it goes.
class OwnedHandleStream : public THandleStream {
public:
    explicit OwnedHandleStream(HANDLE handle) : THandleStream(handle) {}
    ~OwnedHandleStream() override { CloseHandle(handle_); }
    OwnedHandleStream(const OwnedHandleStream&) = delete;
    OwnedHandleStream& operator=(const OwnedHandleStream&) = delete;
};

std::map<MessageFileType, MessageKindFactory>& Kinds()
{
    static std::map<MessageFileType, MessageKindFactory> kinds;
    return kinds;
}

bool HasCompoundFileSignature(const WideString& path) { return StgIsStorageFile(path.c_str()) == S_OK; }

bool IsFolder(const WideString& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::path(Utf16ToUtf8(path)), error);
}

// Records fully loaded through EnsureFullyLoaded, the most recent last.
std::vector<TMessageAttr*>& RecentFullLoads()
{
    static std::vector<TMessageAttr*> recent;
    return recent;
}

void ForgetFullLoad(const TMessageAttr* message) { std::erase(RecentFullLoads(), message); }

// Gives the capacity back, not only the length.
template <class T>
void Release(T& value)
{
    T().swap(value);
}

}  // namespace

// --- Kinds ---

void RegisterMessageKind(MessageFileType type, MessageKindFactory factory) { Kinds()[type] = factory; }

std::unique_ptr<TMessageAttr> NewMessageOfKind(MessageFileType type)
{
    const auto it = Kinds().find(type);
    return it != Kinds().end() && it->second ? it->second() : nullptr;
}

// --- Base behaviour of the virtual operations ---

TMessageAttr::~TMessageAttr() { ForgetFullLoad(this); }

bool TMessageAttr::LoadFromFile(const WideString& /*path*/, bool /*headersOnly*/) { return false; }

bool TMessageAttr::SaveAllAttachments(const WideString& folder, const WideString& prefix,
                                      std::vector<WideString>* savedPaths, bool randomNames)
{
    QUILLORA_TRACE(u"TMessageAttr::SaveAllAttachments");
    // A listed record lists its attachments once loaded.
    EnsureFullyLoaded();
    bool allSaved = true;
    for (int i = 0; i < static_cast<int>(attachments.size()); ++i) {
        const WideString& own = attachments[static_cast<size_t>(i)].name;
        WideString name;
        if (randomNames) {
            std::uniform_int_distribution<std::uint32_t> pick(0, 0xFFFFFE);
            name = Utf8ToUtf16(std::to_string(pick(RandomNames()))) + WideExtractFileExt(own);
        } else {
            name = WideExtractFileName(own);
        }
        const WideString path = CAppUtils::MakeUniqueFileName(WideIncludeTrailingBackslash(folder) + prefix + name);
        LogPrintf(u"attachFullName: \"%s\"", path.c_str());
        const bool ok = !path.empty() && SaveAttachment(i, path);
        LogPrintf(u"res: %d", ok ? 1 : 0);
        if (ok && savedPaths) savedPaths->push_back(path);
        allSaved = allSaved && ok;
    }
    return allSaved;
}

bool TMessageAttr::SaveAttachment(int /*index*/, const WideString& /*path*/, bool /*flag*/) { return false; }

int TMessageAttr::GetAttachmentCount() { return static_cast<int>(attachments.size()); }

int TMessageAttr::GetAttachmentNames(std::vector<WideString>& names)
{
    for (const AttachmentItem& item : attachments) names.push_back(item.name);
    return static_cast<int>(names.size());
}

void TMessageAttr::LoadPlainTextBody() {}

bool TMessageAttr::IsEmbeddedAttachMessage(int index)
{
    return index >= 0 && index < static_cast<int>(attachments.size()) &&
           attachments[static_cast<size_t>(index)].attachMethod == 5;
}

WideString TMessageAttr::Export(const WideString& destination)
{
    QUILLORA_TRACE(u"TMessageAttr::Export");
    WideString target = IsFolder(destination)
                            ? WideIncludeTrailingBackslash(destination) + WideExtractFileName(fileName)
                            : destination;
    target = CAppUtils::MakeUniqueFileName(target);
    LogPrintf(u"fileName: \"%s\" dstFileName: \"%s\"", fileName.c_str(), target.c_str());
    // The name was free a moment ago; a file that appeared since is never overwritten.
    const bool ok = !target.empty() && WideCopyFile(fileName, target, true);
    LogPrintf(u"res: %d", ok ? 1 : 0);
    return ok ? target : WideString();
}

WideString TMessageAttr::ExportToHtml(const WideString& /*destination*/) { return {}; }
WideString TMessageAttr::GetExportFilterString() { return {}; }
WideString TMessageAttr::GetSaveFilterString() { return {}; }
WideString TMessageAttr::GetDefaultExtension() { return {}; }
WideString TMessageAttr::GetExportDefaultExtension() { return {}; }
std::unique_ptr<TMessageAttr> TMessageAttr::GetEmbeddedMessage(int /*index*/) { return nullptr; }

WideString TMessageAttr::GetExportName()
{
    WideString name = CAppUtils::MakeValidFileName(WideChangeFileExt(WideExtractFileName(fileName), u""), true);
    while (!name.empty() && (name.front() == u'\\' || name.front() == u'/')) name.erase(0, 1);
    return name;
}

WideString TMessageAttr::GetExportFileName() { return CAppUtils::MakeValidFileName(WideExtractFileName(fileName), false); }

WideString TMessageAttr::NewTempTag()
{
    static std::atomic<unsigned long long> last{0};
    return Utf8ToUtf16(std::to_string(++last));
}

void TMessageAttr::Clear()
{
    tempTag_ = NewTempTag();
    loadLevel = mllEmpty;
    from.clear();
    subject.clear();
    to.clear();
    cc.clear();
    bcc.clear();
    htmlBody.clear();
    loadedHtmlBody.clear();
    rtfBody.clear();
    plainBody.clear();
    shownFile.clear();
    shownCharset.clear();
    headerText.clear();
    dateText.clear();
    zoneHours = 0;
    attachments.clear();
    inlineParts.clear();
    date = 0;
    bodyIsHtml = false;
    bodyIsRtf = false;
    hasAttachments = false;
    bodyBuffer.clear();
}

void TMessageAttr::ReleaseFullLoad()
{
    ForgetFullLoad(this);
    Release(htmlBody);
    Release(loadedHtmlBody);
    Release(rtfBody);
    Release(plainBody);
    Release(headerText);
    Release(attachments);
    Release(inlineParts);
    Release(bodyBuffer);
    bodyIsHtml = false;
    bodyIsRtf = false;
    if (loadLevel > mllHeaders) loadLevel = mllHeaders;
}

bool TMessageAttr::EnsureFullyLoaded()
{
    if (loadLevel < mllFull) {
        // A record filled from memory has no file to load from; a store message reopens itself.
        if (fileName.empty() && GetType() != mftPST) return false;
        if (!LoadFromFile(fileName, false) || loadLevel < mllFull) return false;
    }
    std::vector<TMessageAttr*>& recent = RecentFullLoads();
    std::erase(recent, this);
    recent.push_back(this);
    while (recent.size() > kRecentFullLoads) {
        TMessageAttr* oldest = recent.front();
        recent.erase(recent.begin());
        oldest->ReleaseFullLoad();
    }
    return true;
}

// --- Helpers ---

bool TMessageAttr::IsRealAttachment(const WideString& html, const WideString& contentId)
{
    if (contentId.empty()) return true;
    WideString id = contentId;
    if (id.front() == u'<') id = id.size() >= 2 ? id.substr(1, id.size() - 2) : WideString();
    if (id.empty()) return true;
    // "<IMG[^<>]+SRC[^<>]+id[^<]*>" or "<[^<>]+SRC[^<>]+CID:id[^<]*>", letter case ignored.
    if (HasTagReferring(html, u"IMG", u"", id)) return false;
    return !HasTagReferring(html, u"", u"CID:", id);
}

std::unique_ptr<THandleStream> TMessageAttr::OpenStream(const WideString& path, bool write)
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (write) {
        LogPrintf(u"write access");
        handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    } else {
        handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    LogPrintf(u"%X", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(handle)));
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return nullptr;
    return std::make_unique<OwnedHandleStream>(handle);
}

std::mt19937& TMessageAttr::RandomNames()
{
    static std::mt19937 engine{std::random_device{}()};
    return engine;
}

MessageFileType GetMessageFileType(const WideString& path, bool byContent)
{
    if (byContent) return HasCompoundFileSignature(path) ? mftMSG : mftEML;
    if (isMSG(path)) return mftMSG;
    if (isEML(path)) return mftEML;
    if (isPST(path)) return mftPST;
    return mftUnknown;
}

WideString MessageDateText(TDateTime utc)
{
    if (utc == 0) return {};
    const TDateTime local = UtcToLocalDateTime(utc);
    SYSTEMTIME st{};
    if (local == 0 || !DateTimeToSystemTime(local, st)) return {};
    // "%04u-%02u-%02u %02u:%02u:%02u", written digit by digit: every listed message has one.
    WideString text;
    text.reserve(19);
    const auto put = [&text](unsigned value, size_t width, char16_t after) {
        char16_t digits[8];
        size_t n = 0;
        do {
            digits[n++] = static_cast<char16_t>(u'0' + value % 10);
            value /= 10;
        } while (value != 0);
        if (n < width) text.append(width - n, u'0');
        while (n > 0) text += digits[--n];
        if (after) text += after;
    };
    put(st.wYear, 4, u'-');
    put(st.wMonth, 2, u'-');
    put(st.wDay, 2, u' ');
    put(st.wHour, 2, u':');
    put(st.wMinute, 2, u':');
    put(st.wSecond, 2, 0);
    return text;
}
