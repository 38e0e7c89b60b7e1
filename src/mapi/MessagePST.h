// MessagePST: one message inside a mounted ".pst" store as a message record. The record keeps
// no MAPI object open: it holds its location and the list row's fields, and every operation
// that needs more reopens the message by its entry id, reads what it needs and lets go.
#pragma once

#include <memory>
#include <vector>

#include "mapi/MapiEntryid.h"
#include "mapi/MapiLibs.h"
#include "mapi/MapiSession.h"
#include "message/MessageAttr.h"
#include "message/SharedWideString.h"

// Where a store message lives. entryId is the message's own entry id, taken from its row: the
// message is reopened by it, never by folder and row number (rows move when a store changes).
// The folder's name and path are shared by all records listed from that folder.
struct PstMessageAttr {
    SharedWideString folderName;
    SharedWideString folderPath;
    std::int32_t folderType = 0;
    std::int32_t row = 0;
    mapi_TEntryid entryId;
};

class MessagePST : public TMessageAttr {
public:
    MessagePST();
    ~MessagePST() override;

    PstMessageAttr pstAttr;
    std::int32_t attachRow = 0;
    bool unicodeStore = false;
    std::shared_ptr<MapiSession> session;
    std::shared_ptr<MapiLibs> mapiLibs;  // stays empty: the session's libraries are used
    std::uint32_t codePage = 0;

    // --- The record and its bodies ---
    // Fills the list row's fields from one contents-table row (any subset of its columns).
    void FillFromSRow(std::shared_ptr<MapiSession> session, const SRow& row);
    // The folder of the record's location, found again in the session's folder list.
    ComPtr<IMAPIFolder> GetIFolder();
    // The message named by the record's entry id (folder may be null: the store opens it).
    ComPtr<IMessage> GetIMessage(IMAPIFolder* folder);
    // GetIMessage after the Unicode probe of the store.
    ComPtr<IMessage> OpenIMessage();
    bool OpenMessage();
    bool OpenPlainMessage();
    // Body, plain text, attachments, transport headers and the kind summary.
    bool GetMessageBody(IMessage* message);
    // The rich body: HTML, else RTF that wraps HTML, else RTF. False when there is none.
    bool GetBodyFromIMessage(IMessage* message);
    void GetPlainTextFromIMessage(IMessage* message);

    // --- Task, appointment and contact summaries ---
    void FillMsgTask(IMessage* message);
    void FillMsgAppointment(IMessage* message);
    void FillMsgContact(IMessage* message);

    // --- Attachments ---
    bool EnumAttachmentNames(IMessage* message);
    static int GetAttachMethod(IAttach* attachment);
    bool ExtractAttachment(IMessage* message, int number, const WideString& path, bool flag);
    bool SaveAttach(int method, IAttach* attachment, const WideString& path, bool flag);
    static bool SaveAttachAsBinary(IAttach* attachment, const WideString& path);
    bool SaveAttachAsMsg(IAttach* attachment, const WideString& path, bool flag);
    // The attachment's name from its name properties; empty when it has none.
    static WideString GetAttachName(IAttach* attachment);

    // --- Export ---
    // Writes the message (recipients, attachments, attached messages and named properties
    // included) as a ".msg" file: 0 when written, 1 on failure.
    static int SaveToMSG(IMessage* message, const WideString& path, bool flag);
    WideString FormatExportFileName(const WideString& destination, const WideString& extension);

    // --- Overrides ---
    int GetType() override { return mftPST; }
    void Display(IView& view, bool plainText, bool withHeader = false) override;
    bool LoadFromFile(const WideString& path, bool headersOnly) override;
    bool SaveAllAttachments(const WideString& folder, const WideString& prefix, std::vector<WideString>* savedPaths,
                            bool randomNames) override;
    bool SaveAttachment(int index, const WideString& path, bool flag = false) override;
    int GetAttachmentCount() override;
    void LoadPlainTextBody() override;
    bool IsEmbeddedAttachMessage(int index) override;
    WideString Export(const WideString& destination) override;
    WideString ExportToHtml(const WideString& destination) override;
    WideString GetExportFilterString() override;
    WideString GetSaveFilterString() override;
    WideString GetDefaultExtension() override;
    WideString GetExportDefaultExtension() override;
    std::unique_ptr<TMessageAttr> GetEmbeddedMessage(int index) override;
    WideString GetExportName() override;
    WideString GetExportFileName() override;
    void Clear() override;

    // MSG type of a message class (whole class, any case).
    static MSGType MSGTypeOfClass(const WideString& messageClass);

private:
    MapiLibs& Libs() const;
    ULONG StringType() const;
    // The kind summary: a kind line, one line per property, notes. Marks the body plain text.
    void FillSummary(IMessage* message, int kindText, const std::vector<ULONG>& tags, bool contact);
};
