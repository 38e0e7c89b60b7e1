// An Outlook message file (".msg", a compound file) as a message record: filled from the
// property tree of a TMSGFile, shown in a view, exported as HTML, with its attachments listed,
// saved and opened as records of their own. Tasks, appointments and contacts get a generated
// body of their fields.
#pragma once

#include <memory>
#include <set>
#include <vector>

#include "message/MSGFile.h"
#include "message/MessageAttr.h"

namespace richtext {
class RichTextDocument;
}

class MessageMSG : public TMessageAttr {
public:
    MessageMSG();
    ~MessageMSG() override;

    int GetType() override { return mftMSG; }
    // Loads fully first when only the headers were loaded (once: the record then stays at the
    // full level), shows the header fields, the date of a sent message, the property tree and
    // the body: plain text, the HTML body as a page in the temporary folder (its inline
    // pictures written beside it), or the RTF with its pictures and object marks cut out
    // (ExtractRtfObjects, once a load) and put back into the control the view returns.
    void Display(IView& view, bool plainText, bool withHeader = false) override;
    // ReplaceRichEditPlaceholders.
    void PlaceRtfObjects(richtext::RichTextDocument& document) override;
    // False when the file cannot be read (the record is then empty with fileName set). A file
    // that is no compound file loads as an empty record (true). headersOnly fills every field
    // and drops the compound file.
    bool LoadFromFile(const WideString& path, bool headersOnly) override;
    // False for an index outside the list, a file that cannot be loaded or a target that
    // cannot be written.
    bool SaveAttachment(int index, const WideString& path, bool flag = false) override;
    void LoadPlainTextBody() override;
    // The body as a new HTML file (the folder's export name, or the path, with ".html", made
    // unique); its path, or empty when it could not be written.
    WideString ExportToHtml(const WideString& destination) override;
    WideString GetExportFilterString() override;
    WideString GetSaveFilterString() override;
    WideString GetDefaultExtension() override;
    WideString GetExportDefaultExtension() override;
    // The attached message saved in the temporary folder and loaded as a record of its own;
    // null for anything but an attached message, or when it cannot be saved or loaded.
    std::unique_ptr<TMessageAttr> GetEmbeddedMessage(int index) override;
    // The base clear, then the compound file is dropped.
    void Clear() override;
    void ReleaseFullLoad() override;

    // Fills the record from a loaded compound-file message that the caller keeps; no
    // reference to it is kept. dateFormat is accepted and not used.
    void FillFromTMSGFile(const TMSGFile& file, const WideString& dateFormat = {});
    // Fills the list's fields only, from a file loaded with the list columns' scope.
    void FillListColumns(const TMSGFile& file);

    // --- Steps of the fill ---
    // "Task", "Appointment", "Contact", "Note" in the message class (case-sensitive).
    static MSGType GetMSGType(const TMSGFile& file);
    static int GetImageIndexFromMSGType(MSGType type);
    void GetHeaderMSG(const TMSGFile& file);
    void GetProperties(const TMSGFile& file);
    void GetBodyMSG(const TMSGFile& file);
    void ProcesssAttachmentsMSG(const TMSGFile& file);
    void ProcessBodyMSG(const TMSGFile& file);
    // Generated bodies of tasks, appointments and contacts: one row of caption and value per
    // field, named fields found through the file's name mapping.
    void FillMsgTask(const TMSGFile& file);
    void FillMsgAppointment(const TMSGFile& file);
    void FillMsgContact(const TMSGFile& file);

    // Attachment `number` (counted as TMSGProperties::GetAttachment does) of the file: its
    // data, or an attached message as a ".msg" file of its own that carries the file's name
    // mapping. False for a number outside the attachments, an empty path or a failed write.
    static bool SaveAttachmentAsBin(const TMSGFile& file, const WideString& path, int number);
    static bool SaveAttachmentAsMSG(const TMSGFile& file, const WideString& path, int number);

    // False when the last load found a file that is no compound file (the record is empty).
    bool IsCompoundFile() const { return compoundFile_; }

    // The compound-file message of a full load; null otherwise.
    TMSGFile* GetMSGFile() const { return msgFile_.get(); }

    // Pictures cut out of the RTF body into the temporary folder; kept for the object's life.
    std::vector<WideString> pictureFiles;

    // --- Pictures and attachment marks of the RTF body ---
    // Marks put into the RTF text, as the document shows them: private-use characters around
    // a word, so that no ordinary message text turns into an object. A picture mark is
    // followed by U+E100 + the index of its file in pictureFiles and a closing U+E001.
    static constexpr char16_t kAttachmentMark[] = u"\uE001OBJATTPH\uE001";
    static constexpr char16_t kPictureMark[] = u"\uE001OBJIMGPH";
    // Pictures cut out of one body at most; later ones are dropped without a file.
    static constexpr std::size_t kMaxRtfPictures = 1024;

    // Rewrites the RTF text in place: every "\objattph" becomes the attachment mark, every
    // "\pict...\binN " (on one line) has its N bytes written to a new "image" file of the
    // temporary folder (its path appended to pictureFiles) and becomes a picture mark. A
    // count beyond the text takes what remains; \bin0, or a file that cannot be written,
    // leaves neither file nor mark. Returns the number of files written.
    int ExtractRtfObjects(AnsiString& rtf);
    // Replaces the marks in the loaded document: the k-th attachment mark by attachment k's
    // data when it is a bitmap, else by its rendering (PR_ATTACH_RENDERING, a metafile) when
    // it has one; a picture mark by the file it names. A mark is removed whether
    // or not something could be placed.
    void ReplaceRichEditPlaceholders(richtext::RichTextDocument& control);
    // Puts the picture of the file (or the bitmap bytes) in place of the range; E_FAIL when
    // there is no picture, E_INVALIDARG for a range outside the text.
    static HRESULT InsertRichEditImageFile(richtext::RichTextDocument& control, LONG position, LONG length,
                                           const WideString& path);
    static HRESULT InsertRichEditBitmap(richtext::RichTextDocument& control, LONG position, LONG length,
                                        const std::string& bitmap);

private:
    // Loads the file fully when the compound file is not at hand; false when it cannot be.
    bool EnsureCompoundFile();
    void WriteInlineParts();
    void SetBody(const WideString& rows);

    std::unique_ptr<TMSGFile> msgFile_;
    std::set<int> inlineWritten_;  // inline parts this load has written to their files
    AnsiString shownRtf_;          // rtfBody with its pictures and object marks cut out
    bool compoundFile_ = true;
};

// "%HH" escapes decoded: a run of escapes that forms UTF-8 becomes its characters, any other
// escaped byte the character of that code (Latin-1). Text without escapes comes back as it is.
WideString PercentDecode(const WideString& text);
