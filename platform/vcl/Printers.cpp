#include "platform/vcl/Printers.h"

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GdiDevice.h"
#include "platform/win/WinError.h"

namespace {

GdiSurface* SurfaceOf(HDC dc) {
    auto* d = DcFromHandle(dc);
    if (d && !d->Surface()) SetLastError(ERROR_NOT_SUPPORTED);
    return d ? d->Surface() : nullptr;
}

PrintDialogHook& Hook() {
    static PrintDialogHook hook;
    return hook;
}

}  // namespace

int StartDocW(HDC dc, const DOCINFOW* info) {
    GdiSurface* s = SurfaceOf(dc);
    if (!s) return SP_ERROR;
    const std::u16string_view name = info && info->lpszDocName ? info->lpszDocName : u"";
    const std::u16string_view output = info && info->lpszOutput ? info->lpszOutput : u"";
    const int job = s->StartDoc(name, output);
    if (job > 0) DcFromHandle(dc)->ApplyClip();
    return job;
}

int StartPage(HDC dc) {
    GdiSurface* s = SurfaceOf(dc);
    return s ? s->StartPage() : SP_ERROR;
}

int EndPage(HDC dc) {
    GdiSurface* s = SurfaceOf(dc);
    return s ? s->EndPage() : SP_ERROR;
}

int EndDoc(HDC dc) {
    GdiSurface* s = SurfaceOf(dc);
    return s ? s->EndDoc() : SP_ERROR;
}

int AbortDoc(HDC dc) {
    GdiSurface* s = SurfaceOf(dc);
    return s ? s->AbortDoc() : SP_ERROR;
}

void SetPrintDialogHook(PrintDialogHook hook) { Hook() = std::move(hook); }

BOOL PrintDlgW(PRINTDLGW* dialog) {
    if (!dialog) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    GdiBackend* backend = CurrentGdiBackend();
    if (!backend) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (dialog->Flags & PD_RETURNDEFAULT) {
        dialog->printerName = backend->DefaultPrinterName();
        if (dialog->printerName.empty()) return FALSE;
    } else if (Hook()) {
        if (!Hook()(*dialog)) return FALSE;
    } else if (!backend->PrintDialog(*dialog)) {
        return FALSE;
    }
    if ((dialog->Flags & PD_RETURNDC) && !dialog->outputFile.empty()) {
        // Printed into a PDF file: an A4 page (turned for landscape), as fine as a good printer.
        const bool wide = dialog->landscape;
        dialog->hDC = CreatePdfDCW(dialog->outputFile.c_str(), wide ? 297 : 210, wide ? 210 : 297, 600);
        return dialog->hDC ? TRUE : FALSE;
    }
    if (dialog->Flags & PD_RETURNDC) {
        DEVMODEW dm;
        dm.dmFields = DM_ORIENTATION | DM_COPIES;
        dm.dmOrientation = dialog->landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        dm.dmCopies = static_cast<short>(dialog->nCopies);
        dialog->hDC = CreateDCW(u"WINSPOOL", dialog->printerName.c_str(), nullptr, &dm);
        if (!dialog->hDC) return FALSE;
    }
    return TRUE;
}

HDC CreatePdfDCW(LPCWSTR fileName, double widthMm, double heightMm, int dpi) {
    GdiBackend* backend = CurrentGdiBackend();
    if (!backend) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto surface = backend->CreatePdfSurface(fileName ? fileName : u"", widthMm, heightMm, dpi);
    if (!surface) return nullptr;
    return RegisterDc(std::make_unique<GdiDeviceContext>(GdiDeviceContext::Kind::Printer, std::move(surface)));
}

std::vector<WideString> GetPrinterNames() {
    GdiBackend* backend = CurrentGdiBackend();
    return backend ? backend->PrinterNames() : std::vector<WideString>{};
}

WideString GetDefaultPrinterName() {
    GdiBackend* backend = CurrentGdiBackend();
    return backend ? backend->DefaultPrinterName() : WideString();
}

// ---- TPrinter

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
    if (printing_) Abort();
    FreeDc();
}

void TPrinter::FreeDc() {
    if (canvas_) canvas_->SetHandle(nullptr);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
}

const std::vector<WideString>& TPrinter::Printers() {
    if (!listed_) {
        printers_ = GetPrinterNames();
        listed_ = true;
    }
    return printers_;
}

void TPrinter::SetPrinterIndex(int index) {
    if (printing_) throw EPrinter(u"Printing in progress");
    if (index < -1 || index >= static_cast<int>(Printers().size())) throw EPrinter(u"Printer selected is not valid");
    index_ = index;
    FreeDc();
}

void TPrinter::SetOrientation(TPrinterOrientation orientation) {
    if (printing_) throw EPrinter(u"Printing in progress");
    orientation_ = orientation;
    FreeDc();
}

void TPrinter::SetCopies(int copies) {
    if (printing_) throw EPrinter(u"Printing in progress");
    copies_ = std::max(1, copies);
    FreeDc();
}

void TPrinter::SetFileName(const WideString& fileName) {
    if (printing_) throw EPrinter(u"Printing in progress");
    fileName_ = fileName;
    FreeDc();
}

bool TPrinter::SelectPrinter(const WideString& name) {
    if (name.empty()) {
        SetPrinterIndex(-1);
        return true;
    }
    const auto& names = Printers();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) {
            SetPrinterIndex(static_cast<int>(i));
            return true;
        }
    return false;
}

HDC TPrinter::Handle() {
    if (!dc_ && !fileName_.empty()) {
        const bool landscape = orientation_ == poLandscape;
        dc_ = CreatePdfDCW(fileName_.c_str(), landscape ? 297 : 210, landscape ? 210 : 297, 300);
        if (!dc_) throw EPrinter(u"The file could not be opened for printing");
    }
    if (!dc_) {
        const WideString name = index_ >= 0 ? Printers()[static_cast<size_t>(index_)] : WideString();
        DEVMODEW dm;
        dm.dmFields = DM_ORIENTATION | DM_COPIES;
        dm.dmOrientation = orientation_ == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        dm.dmCopies = static_cast<short>(copies_);
        dc_ = CreateDCW(u"WINSPOOL", name.c_str(), nullptr, &dm);
        if (!dc_) throw EPrinter(u"There is no default printer currently selected");
    }
    return dc_;
}

TCanvas* TPrinter::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    if (!canvas_->HandleAllocated()) canvas_->SetHandle(Handle());
    return canvas_.get();
}

void TPrinter::BeginDoc() {
    if (printing_) throw EPrinter(u"Printing in progress");
    HDC dc = Handle();
    DOCINFOW info;
    info.lpszDocName = Title.c_str();
    if (StartDocW(dc, &info) <= 0 || StartPage(dc) <= 0) throw EPrinter(u"The printer could not start the document");
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
    Canvas()->Refresh();
}

void TPrinter::NewPage() {
    if (!printing_) throw EPrinter(u"Printer is not currently printing");
    Canvas()->Refresh();
    if (::EndPage(dc_) <= 0 || StartPage(dc_) <= 0) throw EPrinter(u"The printer could not start a page");
    ++pageNumber_;
}

void TPrinter::EndDoc() {
    if (!printing_) throw EPrinter(u"Printer is not currently printing");
    Canvas()->Refresh();
    printing_ = false;
    ::EndPage(dc_);
    const int result = ::EndDoc(dc_);
    pageNumber_ = 0;
    if (result <= 0) throw EPrinter(u"The document could not be printed");
}

void TPrinter::Abort() {
    if (!printing_) return;
    if (canvas_) canvas_->Refresh();
    AbortDoc(dc_);
    printing_ = false;
    aborted_ = true;
    pageNumber_ = 0;
}

int TPrinter::PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }
int TPrinter::PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }
int TPrinter::PixelsPerInch() { return GetDeviceCaps(Handle(), LOGPIXELSY); }

namespace {
std::unique_ptr<TPrinter>& ThePrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}
}  // namespace

TPrinter* Printer() {
    if (!ThePrinter()) ThePrinter() = std::make_unique<TPrinter>();
    return ThePrinter().get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer) {
    std::swap(ThePrinter(), printer);
    return printer;
}
