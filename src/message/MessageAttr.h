// The record of one message, whatever its source: one row of the message list, the content of
// the view and the source of every save, export, search test, print, reply and forward.
// Kinds: MessageEML (an ".eml" file), MessageMSG (an ".msg" compound file), MessagePST (a
// message in a ".pst" store).
#pragma once

#include <memory>
#include <random>
#include <vector>

#include "message/IView.h"
#include "platform/vcl/Streams.h"
#include "platform/win/WinTime.h"
#include "platform/win/WinTypes.h"

class IRenderer;
namespace richtext {
class RichTextDocument;
}

enum MessageFileType : std::int32_t { mftUnknown = 0, mftEML = 1, mftMSG = 2, mftPST = 3 };

enum MessageLoadLevel : std::int32_t { mllEmpty = 0, mllHeaders = 1, mllFull = 2 };

enum MSGType : std::int32_t { mtOther = 0, mtTask = 1, mtAppointment = 2, mtContact = 3, mtNote = 4 };

// One listed attachment or one inline part of a message.
struct AttachmentItem {
    std::int32_t number = 0;        // where the part lives in its source (".eml": part index)
    std::int32_t attachMethod = 0;  // 5 an attached message, 6 an OLE object, else 0
    WideString name;                // shown and used for saving; inline ".msg" parts: saved path
    WideString contentId;           // without angle brackets; empty for listed ".eml" attachments
};

class TMessageAttr {
public:
    TMessageAttr() = default;
    TMessageAttr(const TMessageAttr&) = delete;
    TMessageAttr& operator=(const TMessageAttr&) = delete;

    // --- The virtual operations, in their fixed order ---
    virtual ~TMessageAttr();
    virtual int GetType() = 0;
    // Clears the view and sets To, From, CC, subject, file name, header and attachment list.
    // The kinds load fully first and add the date and the body. withHeader is accepted for
    // the callers that pass it (always false); the header fields are always set.
    virtual void Display(IView& view, bool plainText, bool withHeader = false);
    // Puts what the RTF body shown by Display marks for placing (its pictures, the attachments
    // of its object marks) into the document it was loaded into. The base has nothing to place.
    virtual void PlaceRtfObjects(richtext::RichTextDocument& /*document*/) {}
    virtual bool LoadFromFile(const WideString& path, bool headersOnly);
    virtual void RenderHeaders(IRenderer& renderer);
    virtual void RenderBody(IRenderer& renderer);
    virtual void RenderHeadersAndBody(IRenderer& renderer);
    // Saves every listed attachment into folder as prefix + its name (or a random decimal name
    // below 0xFFFFFF with the attachment's extension), under a unique name. The path of each
    // one saved is appended to savedPaths. A failed save does not stop the others; the answer
    // is false when any attachment was not saved (true when there is none to save).
    virtual bool SaveAllAttachments(const WideString& folder, const WideString& prefix,
                                    std::vector<WideString>* savedPaths, bool randomNames);
    // Writes listed attachment `index` to path. flag belongs to the store message (passed on
    // to its ".msg" writer); the file readers ignore it.
    virtual bool SaveAttachment(int index, const WideString& path, bool flag = false);
    virtual int GetAttachmentCount();
    // Appends every listed attachment's name; returns the vector's new size.
    virtual int GetAttachmentNames(std::vector<WideString>& names);
    virtual void LoadPlainTextBody();
    virtual bool IsEmbeddedAttachMessage(int index);
    // Copies the source file into the folder (or to the path) under a unique name; the new
    // path, or empty on failure.
    virtual WideString Export(const WideString& destination);
    virtual WideString ExportToHtml(const WideString& destination);
    virtual WideString GetExportFilterString();
    virtual WideString GetSaveFilterString();
    virtual WideString GetDefaultExtension();
    virtual WideString GetExportDefaultExtension();
    // A new record for attached message `index`, owned by the caller; null when unavailable.
    virtual std::unique_ptr<TMessageAttr> GetEmbeddedMessage(int index);
    // The source's file name without extension / with it, made valid as a file name.
    virtual WideString GetExportName();
    virtual WideString GetExportFileName();
    // Resets every field a load fills; keeps checked, fileType, fileName, msgType, imageIndex,
    // sent and dateCaption.
    virtual void Clear();
    // Drops what a full load added (bodies, header text, attachment lists, the kind's source)
    // and keeps the list's fields: the record holds its headers only again.
    virtual void ReleaseFullLoad();

    // --- Loading on demand ---
    // A listed record holds what the list, its sort and the header search need. Whatever needs
    // more (display, print, export, save, reply, body search) calls this first: it loads the
    // whole message when only the headers are held, and keeps the record among the few recent
    // full loads; the oldest of those goes back to its headers. False when it cannot be loaded.
    bool EnsureFullyLoaded();
    // Full loads kept at most before the oldest is released.
    static constexpr std::size_t kRecentFullLoads = 8;

    // --- Helpers ---
    int GetImageIndex() const { return imageIndex; }

    // False when the HTML shows the part inline: an IMG tag (or any tag with SRC ... CID:)
    // names the content id. An empty id is always a real attachment.
    static bool IsRealAttachment(const WideString& html, const WideString& contentId);
    // The file opened for reading (shared read) or created for writing (replacing it); null
    // when it cannot be opened. The stream owns its handle.
    static std::unique_ptr<THandleStream> OpenStream(const WideString& path, bool write);
    // Rewrites src="cid:<id>" and src="<id>" of every inline part to src="<its name>".
    void FormatHtmlBodyLinks();
    // Writes html as the record's own page ("page-<tag>.html") in the temporary folder, UTF-8
    // with a byte-order mark (which decides the page's charset whatever its meta tags say),
    // and hands it to the view; false when the page cannot be written.
    bool ShowHtmlBodyPage(IView& view, const WideString& html);
    // The body as an HTML file in UTF-16, for ExportToHtml: an HTML body as it stands, else the
    // plain text in a "<pre>" page (an RTF body goes as its plain text). Traces "res: %d";
    // false when the file cannot be written.
    bool SaveBodyAsHtml(const WideString& path) const;
    // The offset of the Date header from UTC in whole hours, for the view's zone selector.
    static int GetTimeZone(const WideString& headerText);
    // The same offset in minutes, exact for half-hour and 45-minute zones; used to make the
    // date UTC.
    static int GetTimeZoneMinutes(const WideString& headerText);
    // Both offsets at once, for a reader that needs both.
    struct DateZone {
        int hours = 0;
        int minutes = 0;
    };
    static DateZone GetDateZone(const WideString& headerText);
    // The same from the Date header's value (DateHeaderValue with any case).
    static DateZone DateZoneOfValue(const WideString& dateValue);
    // The generator behind random file names; tests seed it.
    static std::mt19937& RandomNames();

    // --- Fields ---
    MSGType msgType = mtNote;
    MessageFileType fileType = mftUnknown;
    MessageLoadLevel loadLevel = mllEmpty;
    WideString from;
    WideString subject;
    WideString to;
    WideString cc;
    WideString bcc;
    WideString htmlBody;        // with the script block in front; for a text-only ".eml" the text
    WideString loadedHtmlBody;  // htmlBody as stored by the reader, before links are rewritten
    AnsiString rtfBody;
    WideString plainBody;
    WideString shownFile;       // the temporary file last handed to a view as the body
    AnsiString shownCharset;    // the charset of shownFile
    WideString headerText;
    WideString dateText;        // local date-time as text; empty when there is no date
    std::int32_t zoneHours = 0;
    std::vector<AttachmentItem> attachments;
    std::vector<AttachmentItem> inlineParts;
    WideString fileName;
    TDateTime date = 0;  // UTC; 0 when unknown
    bool bodyIsHtml = false;
    bool bodyIsRtf = false;
    bool checked = false;
    bool hasAttachments = false;
    std::int32_t imageIndex = 0;
    bool sent = true;
    WideString dateCaption;
    std::vector<BYTE> bodyBuffer;

protected:
    // A number no other load of this run shares (renewed by Clear): the files a load writes
    // into the temporary folder carry it, so no other record shows or overwrites them.
    const WideString& TempTag() const { return tempTag_; }

private:
    static WideString NewTempTag();
    WideString tempTag_ = NewTempTag();
};

// The HTML with the block that silences script errors in front.
WideString PrependScriptErrorHandler(const WideString& html);

// The kind of a message file: by content, 2 for a compound file and 1 for any other (missing
// and unreadable files included); by extension (any case), 2 ".msg", 1 ".eml", 3 ".pst", else 0.
MessageFileType GetMessageFileType(const WideString& path, bool byContent);

// The local date-time text of a UTC date ("yyyy-mm-dd hh:nn:ss"); empty for 0.
WideString MessageDateText(TDateTime utc);

// Makes a record of the kind of a message file for GetEmbeddedMessage. The compound-file
// reader registers the ".msg" kind; without it an attached ".msg" yields no record.
using MessageKindFactory = std::unique_ptr<TMessageAttr> (*)();
void RegisterMessageKind(MessageFileType type, MessageKindFactory factory);
std::unique_ptr<TMessageAttr> NewMessageOfKind(MessageFileType type);
