#include "platform/outside/PdfDocument.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/Printers.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

// A text string of the information dictionary: UTF-16 big-endian with its mark, in hex.
std::string PdfTextString(const WideString& text) {
    static const char* const digits = "0123456789ABCDEF";
    std::string out = "<FEFF";
    for (const char16_t c : text)
        for (int shift = 12; shift >= 0; shift -= 4) out += digits[(c >> shift) & 0xF];
    return out + ">";
}

class PdfDocument : public IPDFDocument4 {
public:
    explicit PdfDocument(const TPdfPageSetup& setup) : setup_(setup) {
        std::string pattern = (fs::temp_directory_path() / "quillora-pdf-XXXXXX").string();
        if (mkdtemp(pattern.data())) folder_ = pattern;
    }
    ~PdfDocument() override {
        Close();
        std::error_code error;
        if (!folder_.empty()) fs::remove_all(folder_, error);
    }
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    HRESULT Clear() override {
        Close();
        return Open();
    }

    HRESULT SaveToFile(const WideString& path) override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        const bool ended = EndDoc(dc_) > 0;
        DeleteDC(dc_);
        dc_ = nullptr;
        if (!ended) return Fail("the document could not be finished");
        std::ifstream in(File(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) return Fail("the document was not written");
        if (!AppendPdfInfo(bytes, info_)) return Fail("the document has no trailer");
        if (!WriteFileAtomically(path, bytes)) return Fail("cannot write " + Utf16ToUtf8(path));
        return S_OK;
    }

    HRESULT GetDC(HDC& dc) override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        dc = dc_;
        return S_OK;
    }
    HRESULT get_PageResolution(long& dpi) override {
        dpi = setup_.dpi;
        return S_OK;
    }
    HRESULT get_PageWidth(long& pixels) override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        pixels = GetDeviceCaps(dc_, HORZRES);
        return S_OK;
    }
    HRESULT get_PageHeight(long& pixels) override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        pixels = GetDeviceCaps(dc_, VERTRES);
        return S_OK;
    }
    HRESULT NewPage() override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) return Fail("cannot start a page");
        SelectClipRgn(dc_, nullptr);
        return S_OK;
    }
    HRESULT DrawRectangle(float x, float y, float width, float height, float) override {
        path_ = RECT{Round(x), Round(y), Round(x + width), Round(y + height)};
        return S_OK;
    }
    HRESULT Clip() override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        HRGN region = CreateRectRgn(path_.left, path_.top, path_.right, path_.bottom);
        const int kind = SelectClipRgn(dc_, region);
        DeleteObject(region);
        return kind == ERROR ? Fail("cannot clip") : S_OK;
    }
    HRESULT Stroke() override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        HGDIOBJ brush = SelectObject(dc_, GetStockObject(NULL_BRUSH));
        HGDIOBJ pen = SelectObject(dc_, GetStockObject(BLACK_PEN));
        const BOOL drawn = Rectangle(dc_, path_.left, path_.top, path_.right, path_.bottom);
        SelectObject(dc_, pen);
        SelectObject(dc_, brush);
        return drawn ? S_OK : Fail("cannot stroke");
    }
    HRESULT PlayMetaFileFromHandle(HENHMETAFILE picture, float x, float y, float scaleX, float scaleY) override {
        if (const HRESULT r = Ensure(); FAILED(r)) return r;
        ENHMETAHEADER header;
        if (!GetEnhMetaFileHeader(picture, sizeof(header), &header)) return Fail("not a picture");
        const float w = static_cast<float>(header.rclBounds.right - header.rclBounds.left + 1);
        const float h = static_cast<float>(header.rclBounds.bottom - header.rclBounds.top + 1);
        const RECT r{Round(x), Round(y), Round(x + w * scaleX), Round(y + h * scaleY)};
        return PlayEnhMetaFile(dc_, picture, &r) ? S_OK : Fail("cannot play the picture");
    }

    HRESULT put_Title(const WideString& text) override { return Set(info_.title, text); }
    HRESULT put_Author(const WideString& text) override { return Set(info_.author, text); }
    HRESULT put_Subject(const WideString& text) override { return Set(info_.subject, text); }
    HRESULT put_Creator(const WideString& text) override { return Set(info_.creator, text); }
    HRESULT put_Producer(const WideString& text) override { return Set(info_.producer, text); }
    const std::string& LastError() const override { return error_; }

private:
    static LONG Round(float v) { return static_cast<LONG>(std::lround(v)); }
    static HRESULT Set(WideString& field, const WideString& text) {
        field = text;
        return S_OK;
    }
    HRESULT Fail(std::string why) {
        error_ = std::move(why);
        return E_FAIL;
    }
    fs::path File() const { return fs::path(folder_) / "document.pdf"; }

    HRESULT Ensure() { return dc_ ? S_OK : Open(); }
    HRESULT Open() {
        error_.clear();
        if (folder_.empty()) return Fail("no temporary folder for the document");
        dc_ = CreatePdfDCW(File().u16string().c_str(), setup_.widthMm, setup_.heightMm, setup_.dpi);
        if (!dc_) return Fail("cannot create the document");
        DOCINFOW doc;
        doc.lpszDocName = info_.title.c_str();
        if (StartDocW(dc_, &doc) <= 0 || StartPage(dc_) <= 0) {
            DeleteDC(dc_);
            dc_ = nullptr;
            return Fail("cannot start the document");
        }
        return S_OK;
    }
    void Close() {
        if (!dc_) return;
        AbortDoc(dc_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }

    TPdfPageSetup setup_;
    std::string folder_;
    HDC dc_ = nullptr;
    RECT path_{};
    TPdfInfo info_;
    std::string error_;
};

// The number that follows key in a dictionary's text; 0 when there is none.
long long NumberAfter(const std::string& dict, const std::string& key) {
    const std::size_t at = dict.find(key);
    return at == std::string::npos ? 0 : std::atoll(dict.c_str() + at + key.size());
}

// The indirect reference ("12 0 R") that follows key; empty when there is none.
std::string ReferenceAfter(const std::string& dict, const std::string& key) {
    const std::size_t at = dict.find(key);
    if (at == std::string::npos) return {};
    const std::size_t end = dict.find('R', at + key.size());
    if (end == std::string::npos) return {};
    std::string ref = dict.substr(at + key.size(), end + 1 - at - key.size());
    ref.erase(0, ref.find_first_not_of(" \r\n\t"));
    return ref;
}

}  // namespace

std::shared_ptr<IPDFDocument4> CreatePdfDocument(const TPdfPageSetup& setup) {
    return std::make_shared<PdfDocument>(setup);
}

bool AppendPdfInfo(std::string& pdf, const TPdfInfo& info) {
    const std::size_t trailer = pdf.rfind("trailer");
    const std::size_t startxref = pdf.rfind("startxref");
    if (trailer == std::string::npos || startxref == std::string::npos || startxref < trailer) return false;
    const std::string dict = pdf.substr(trailer, startxref - trailer);
    const long long number = NumberAfter(dict, "/Size");
    const std::string root = ReferenceAfter(dict, "/Root");
    const long long prev = std::atoll(pdf.c_str() + startxref + 9);
    if (prev <= 0 || number <= 0 || root.empty()) return false;

    if (pdf.back() != '\n') pdf += '\n';
    const std::size_t object = pdf.size();
    pdf += std::to_string(number) + " 0 obj\n<<\n/Title " + PdfTextString(info.title) + "\n/Author " +
           PdfTextString(info.author) + "\n/Subject " + PdfTextString(info.subject) + "\n/Creator " +
           PdfTextString(info.creator) + "\n/Producer " + PdfTextString(info.producer) + "\n>>\nendobj\n";
    const std::size_t xref = pdf.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", object);
    pdf += "xref\n" + std::to_string(number) + " 1\n" + entry;
    pdf += "trailer\n<<\n/Size " + std::to_string(number + 1) + "\n/Root " + root + "\n/Info " +
           std::to_string(number) + " 0 R\n/Prev " + std::to_string(prev) + "\n>>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n";
    return true;
}
