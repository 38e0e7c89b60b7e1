// An internet message file (".eml", MIME) as a message record.
#pragma once

#include <map>
#include <memory>

#include "message/MessageAttr.h"
#include "platform/mime/IdMessage.h"

class MessageEML : public TMessageAttr {
public:
    MessageEML();
    ~MessageEML() override;

    int GetType() override { return mftEML; }
    // Loads fully when needed, shows the header fields and the date, then the body: with
    // plainText the plain body as text; otherwise an HTML page built from the message (the
    // HTML body with its inline parts saved beside it, or the plain body in <pre>), written
    // once into the per-process temporary folder and handed to ViewHTMLFile.
    void Display(IView& view, bool plainText, bool withHeader = false) override;
    // False for a missing, empty, unreadable or unparsable file; the record then stays empty.
    bool LoadFromFile(const WideString& path, bool headersOnly) override;
    // False for a bad index, a part that is no attachment, or a target that cannot be written
    // (the partial file is removed).
    bool SaveAttachment(int index, const WideString& path, bool flag = false) override;
    void LoadPlainTextBody() override;
    // A copy of the source file named after the destination with the extension ".mht"
    // (replacing any file there); empty on failure.
    WideString ExportToHtml(const WideString& destination) override;
    WideString GetExportFilterString() override;
    WideString GetSaveFilterString() override;
    WideString GetDefaultExtension() override;
    WideString GetExportDefaultExtension() override;
    // The attached message saved to the temporary folder and loaded as a record of its kind;
    // null for an index that is not a listed attachment or when it cannot be saved or loaded.
    std::unique_ptr<TMessageAttr> GetEmbeddedMessage(int index) override;
    void Clear() override;
    void ReleaseFullLoad() override;

    // Parses the message text from the stream and fills the record; fileName is untouched.
    // False when the text is no message.
    bool LoadFromStream(TStream& stream, bool headersOnly);
    // Fills the record from a parsed message (also one parsed elsewhere).
    void FillFromTIdMessage(TIdMessage& message);

    AnsiString charset;  // decodes the headers and a single-part body
    std::unique_ptr<TIdMessage> idMessage;  // the last parse; null for a listed record

private:
    void processSinglePartEML(TIdMessage& message);
    void processMultiPartEML(TIdMessage& message);
    void processTextPartEML(const TIdText& part);
    void processMimeAttachmentEML(const TIdAttachment& part, int index);
    void processNonMimeAttachmentEML(TIdAttachment& part, int index);
    void FillDate();

    // Writes part `number` of the message (the loaded one, else a fresh parse of the file).
    bool SavePart(int number, const WideString& path);
    // The HTML page of the body in the temporary folder; empty when it cannot be written.
    WideString WriteBodyPage();

    bool parsedWholeFile_ = false;       // idMessage holds the full parse of fileName
    bool plainFromPlainPart_ = false;    // plainBody came from a text/plain part
    std::map<int, WideString> inlineFiles_;  // part number -> its file beside the body page
};
