// Printing: the document functions of a printer context, the printing dialog, a PDF device
// with the same document functions, and TPrinter, the class library's printer with a canvas.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Graphics.h"

int StartDocW(HDC dc, const DOCINFOW* info);
int StartPage(HDC dc);
int EndPage(HDC dc);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);

// Shows the printing dialog (or answers it through the hook). PD_RETURNDEFAULT fills in the
// default printer without asking; PD_RETURNDC puts a context of the chosen printer in hDC.
// FALSE when cancelled or when there is no printer.
BOOL PrintDlgW(PRINTDLGW* dialog);
// Tests and headless runs answer the dialog here instead of showing it; an empty hook shows it.
using PrintDialogHook = std::function<bool(PRINTDLGW& dialog)>;
void SetPrintDialogHook(PrintDialogHook hook);

// A context whose document is a PDF file of pages widthMm x heightMm at dpi pixels per inch;
// StartDocW ... EndDoc write it like a printer's.
HDC CreatePdfDCW(LPCWSTR fileName, double widthMm, double heightMm, int dpi);

// The printers of the desktop's print system, and the default one (empty when none).
std::vector<WideString> GetPrinterNames();
WideString GetDefaultPrinterName();

QUILLORA_EXCEPTION_CLASS(EPrinter, Exception);

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;
    std::string_view ClassName() const override { return "TPrinter"; }

    const std::vector<WideString>& Printers();
    // -1 is the default printer.
    int PrinterIndex() const { return index_; }
    void SetPrinterIndex(int index);
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation);
    int Copies() const { return copies_; }
    void SetCopies(int copies);
    // A PDF file to print into instead of a printer (empty: the printer); A4 pages at 300
    // pixels per inch.
    const WideString& FileName() const { return fileName_; }
    void SetFileName(const WideString& fileName);
    // Selects a printer by its desktop name (empty: the default); false when there is none such.
    bool SelectPrinter(const WideString& name);
    WideString Title;

    // Raises EPrinter "There is no default printer currently selected" (or the reason) when
    // no printer context can be made, "Printing in progress" when already printing.
    void BeginDoc();
    void EndDoc();
    void Abort();
    void NewPage();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return pageNumber_; }
    // The printable area in device pixels, and the resolution.
    int PageWidth();
    int PageHeight();
    int PixelsPerInch();
    HDC Handle();
    TCanvas* Canvas();

private:
    void FreeDc();
    std::vector<WideString> printers_;
    bool listed_ = false;
    int index_ = -1;
    TPrinterOrientation orientation_ = poPortrait;
    int copies_ = 1;
    WideString fileName_;
    HDC dc_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    bool printing_ = false, aborted_ = false;
    int pageNumber_ = 0;
};

// The program's printer.
TPrinter* Printer();
// Replaces the program's printer; returns the previous one (ownership moves both ways).
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);
