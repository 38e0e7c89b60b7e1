// Pictures and attachment marks of an RTF body: cut out of the RTF text into files before the
// text is shown, then put back into the shown document as pictures in place of their marks.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <system_error>

#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "message/MSGProperties.h"
#include "message/MSGProperty.h"
#include "message/MessageMSG.h"
#include "platform/mapi/MapiTags.h"
#include "platform/vcl/richtext/RichTextDocument.h"
#include "platform/win/WinString.h"
#include "regex/RegexpT.h"

namespace {

// A picture file larger than any RTF body we cut it from is not ours; refuse it.
constexpr std::uintmax_t kMaxPictureFileBytes = 256u * 1024u * 1024u;

// The marks as RTF: \uc0 so that no fallback character follows, inside a group so that the
// setting does not leak into the message's own text.
constexpr char kAttachmentMarkRtf[] = "{\\uc0\\u-8191 OBJATTPH\\u-8191 }";
constexpr char16_t kMarkEnd = u'\uE001';
// The picture mark carries the index of its file as one private-use character.
constexpr char16_t kPictureIndexBase = u'\uE100';

std::string PictureMarkRtf(std::size_t index)
{
    const int code = static_cast<int>(kPictureIndexBase + index) - 0x10000;  // \u takes signed 16 bits
    return "{\\uc0\\u-8191 OBJIMGPH\\u" + std::to_string(code) + " \\u-8191 }";
}

// A decimal count that saturates instead of overflowing.
std::size_t ParseCount(std::string_view digits)
{
    std::size_t n = 0;
    for (char c : digits) {
        if (n > (std::numeric_limits<std::size_t>::max() - 9) / 10) return std::numeric_limits<std::size_t>::max();
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    return n;
}

// True when path names an entry directly inside folder (no "..", no other folder).
bool DirectlyInside(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    const std::filesystem::path parent = path.lexically_normal().parent_path();
    std::filesystem::path base = folder.lexically_normal();
    if (!base.has_filename()) base = base.parent_path();
    return !path.filename().empty() && parent == base;
}

// Writes the bytes to a new file; a partial file is removed.
bool WritePictureFile(const std::filesystem::path& path, std::string_view bytes)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (out) return true;
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return false;
}

bool ReadPictureFile(const std::filesystem::path& path, std::string& bytes)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxPictureFileBytes) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The bitmap format the attachment's data must have to be shown as a picture.
bool IsBitmapFile(const std::string& bytes) { return bytes.size() > 14 && bytes[0] == 'B' && bytes[1] == 'M'; }

// Deletes the selected text.
void RemoveSelection(richtext::RichTextDocument& control)
{
    control.ReplaceSel(u"");
}

}  // namespace

int MessageMSG::ExtractRtfObjects(AnsiString& rtf)
{
    QUILLORA_TRACE(u"MessageMSG::ExtractRtfObjects");
    if (rtf.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        LogPrintf(u"RTF body too large to scan: %u bytes", static_cast<unsigned>(rtf.size()));
        return 0;
    }
    static const CRegexpT<char> pattern("\\\\objattph|\\\\pict.*?\\\\bin(\\d+)\\ ");
    const WideString folder = CAppUtils::getAppTempFolder();
    const std::filesystem::path folderPath(Utf16ToUtf8(folder));
    const WideString prefix = folder.empty() ? WideString() : folder + u"image";

    // Built in one pass: the scan resumes right after what was cut, so a mark put in is never
    // searched again and no later occurrence is skipped.
    std::string out;
    out.reserve(rtf.size());
    const int length = static_cast<int>(rtf.size());
    int pos = 0;
    int written = 0;
    while (pos < length) {
        const MatchResult m = pattern.Match(rtf.data(), length, pos);
        if (!m.Found()) break;
        const int b = m.MatchBegin();
        const int e = m.MatchEnd();
        if (b < pos || e < b) break;
        out.append(rtf, static_cast<std::size_t>(pos), static_cast<std::size_t>(b - pos));
        if (m.GroupBegin(1) < 0) {
            out += kAttachmentMarkRtf;
            pos = e;
            continue;
        }
        const std::string_view digits(rtf.data() + m.GroupBegin(1), static_cast<std::size_t>(m.GroupEnd(1) - m.GroupBegin(1)));
        // A count beyond the text takes the bytes that remain.
        const std::size_t n = std::min(ParseCount(digits), static_cast<std::size_t>(length - e));
        const std::string_view data(rtf.data() + e, n);
        pos = e + static_cast<int>(n);
        if (n == 0) continue;
        if (pictureFiles.size() >= kMaxRtfPictures || prefix.empty()) {
            LogPrintf(u"picture dropped: %u bytes", static_cast<unsigned>(n));
            continue;
        }
        const WideString path = CAppUtils::MakeUniqueFileName(prefix);
        const std::filesystem::path file(Utf16ToUtf8(path));
        if (!DirectlyInside(file, folderPath) || !WritePictureFile(file, data)) {
            // No entry and no mark: every mark names a file that was written.
            LogPrintf(u"picture not written: %s", path.c_str());
            continue;
        }
        out += PictureMarkRtf(pictureFiles.size());
        pictureFiles.push_back(path);
        ++written;
    }
    if (pos < length) out.append(rtf, static_cast<std::size_t>(pos), std::string::npos);
    rtf = std::move(out);
    return written;
}

HRESULT MessageMSG::InsertRichEditBitmap(richtext::RichTextDocument& control, LONG position, LONG length,
                                         const std::string& bitmap)
{
    QUILLORA_TRACE(u"MessageMSG::InsertRichEditBitmap");
    if (position < 0 || length < 0 || position > control.TextLength() || length > control.TextLength() - position)
        return E_INVALIDARG;
    control.ExSetSel(richtext::CHARRANGE{position, position + length});
    if (!control.InsertPicture(bitmap)) {
        LogPrintf(u"no picture: %u bytes", static_cast<unsigned>(bitmap.size()));
        return E_FAIL;
    }
    return S_OK;
}

HRESULT MessageMSG::InsertRichEditImageFile(richtext::RichTextDocument& control, LONG position, LONG length,
                                            const WideString& path)
{
    QUILLORA_TRACE(u"MessageMSG::InsertRichEditImageFile");
    std::string bytes;
    if (path.empty() || !ReadPictureFile(std::filesystem::path(Utf16ToUtf8(path)), bytes)) {
        LogPrintf(u"picture file not read: %s", path.c_str());
        return E_FAIL;
    }
    return InsertRichEditBitmap(control, position, length, bytes);
}

void MessageMSG::ReplaceRichEditPlaceholders(richtext::RichTextDocument& control)
{
    QUILLORA_TRACE(u"MessageMSG::ReplaceRichEditPlaceholders");
    control.SetSel(0, -1);
    LONG limit = control.GetSel().cpMax;
    control.SetSel(0, 0);

    // Attachment marks count in text order: the k-th stands for attachment k.
    const std::u16string_view attachmentMark(kAttachmentMark);
    LONG from = 0;
    for (int counter = 0;; ++counter) {
        richtext::CHARRANGE found{-1, -1};
        const LONG p = control.FindText(richtext::FR_DOWN, richtext::CHARRANGE{from, limit}, attachmentMark, &found);
        if (p < 0) break;
        control.ExSetSel(found);
        RemoveSelection(control);
        limit -= static_cast<LONG>(attachmentMark.size());
        const TMSGProperty* attachment = msgFile_ ? msgFile_->GetProperties().GetAttachment(counter) : nullptr;
        const TMSGProperty* data = attachment ? attachment->SubProperties().GetPropertyByTag(PR_ATTACH_DATA_BIN, false, true) : nullptr;
        const std::string* bytes = data ? data->RawBytes() : nullptr;
        // A bitmap shows itself; other files, and objects that cannot run here, show their
        // rendering (the picture the sender's program drew of them) where the message has one.
        bool placed = false;
        if (bytes && IsBitmapFile(*bytes)) placed = SUCCEEDED(InsertRichEditBitmap(control, p, 0, *bytes));
        const TMSGProperty* rendering =
            attachment ? attachment->SubProperties().GetPropertyByTag(PR_ATTACH_RENDERING, false, false) : nullptr;
        if (!placed && rendering && rendering->RawBytes() && !rendering->RawBytes()->empty())
            placed = SUCCEEDED(InsertRichEditBitmap(control, p, 0, *rendering->RawBytes()));
        if (!placed) LogPrintf(u"attachment %d not shown", counter);
        // Resume right after what replaced the mark: an unplaced mark leaves nothing to skip.
        if (placed) ++limit;
        from = placed ? p + 1 : p;
    }

    // Picture marks name their file: a mark hidden by the reader (the text-only alternative of
    // a shape picture) shifts no other picture.
    const std::u16string_view pictureMark(kPictureMark);
    const LONG markLength = static_cast<LONG>(pictureMark.size()) + 2;
    from = 0;
    for (;;) {
        const LONG p = control.FindText(richtext::FR_DOWN, richtext::CHARRANGE{from, limit}, pictureMark);
        if (p < 0) break;
        const WideString tail = control.TextRange(p + markLength - 2, p + markLength);
        if (tail.size() != 2 || tail[1] != kMarkEnd || tail[0] < kPictureIndexBase ||
            tail[0] >= kPictureIndexBase + kMaxRtfPictures) {
            from = p + 1;  // not a mark of ours
            continue;
        }
        const std::size_t index = tail[0] - kPictureIndexBase;
        control.ExSetSel(richtext::CHARRANGE{p, p + markLength});
        RemoveSelection(control);
        limit -= markLength;
        bool placed = false;
        if (index < pictureFiles.size()) placed = SUCCEEDED(InsertRichEditImageFile(control, p, 0, pictureFiles[index]));
        else LogPrintf(u"picture %d has no file", static_cast<int>(index));
        if (placed) ++limit;
        from = placed ? p + 1 : p;
    }
}
