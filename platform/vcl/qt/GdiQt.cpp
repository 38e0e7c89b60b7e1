// The toolkit backend of the drawing interface: surfaces for bitmaps, the screen, printers
// (QPrinter over the desktop's print system) and PDF files (QPdfWriter), image files through
// the toolkit's readers and writers, the printer list and the printing dialog.
#include "platform/vcl/qt/GdiQt.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GdiDevice.h"
#include "platform/vcl/qt/DeviceContextQt.h"
#include "platform/win/WinError.h"

namespace {

using vclqt::PainterSurface;

QString ToQString(std::u16string_view s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

constexpr DWORD kErrorInvalidPrinterName = 1801;
constexpr DWORD kErrorPrintCancelled = 63;
constexpr DWORD kErrorOpenFailed = 110;

// A document surface: the painter begins with StartDoc and ends with EndDoc.
template <class Device>
class DocumentSurface : public PainterSurface {
public:
    DocumentSurface(std::unique_ptr<Device> device, SIZE size, SIZE dpi)
        : PainterSurface(nullptr, size, dpi), device_(std::move(device)) {}
    ~DocumentSurface() override {
        if (painter_.isActive()) painter_.end();
    }

    int StartDoc(std::u16string_view docName, std::u16string_view output) override {
        if (painter_.isActive()) {
            SetLastError(ERROR_BUSY);
            return SP_ERROR;
        }
        Prepare(ToQString(docName), ToQString(output));
        if (!painter_.begin(device_.get())) {
            SetLastError(kErrorOpenFailed);
            return SP_ERROR;
        }
        SetPainter(&painter_);
        pages_ = 0;
        inPage_ = false;
        ApplyClip(Clip() ? &*Clip() : nullptr);
        return 1;
    }
    int StartPage() override {
        if (!painter_.isActive() || inPage_) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return SP_ERROR;
        }
        if (pages_ > 0 && !NewPage()) {
            SetLastError(ERROR_WRITE_FAULT_GDI);
            return SP_ERROR;
        }
        inPage_ = true;
        return 1;
    }
    int EndPage() override {
        if (!inPage_) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return SP_ERROR;
        }
        inPage_ = false;
        ++pages_;
        return 1;
    }
    int EndDoc() override {
        if (!painter_.isActive()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return SP_ERROR;
        }
        if (inPage_) EndPage();
        const bool ok = painter_.end();
        SetPainter(nullptr);
        if (!ok) {
            SetLastError(ERROR_WRITE_FAULT_GDI);
            return SP_ERROR;
        }
        return 1;
    }
    int AbortDoc() override {
        if (!painter_.isActive()) return SP_ERROR;
        Abort();
        painter_.end();
        SetPainter(nullptr);
        return 1;
    }

protected:
    static constexpr DWORD ERROR_WRITE_FAULT_GDI = 29;
    QPaintDevice* MeasureDevice() const override { return device_.get(); }
    virtual void Prepare(const QString& docName, const QString& output) = 0;
    virtual bool NewPage() = 0;
    virtual void Abort() {}
    Device& device() { return *device_; }

private:
    std::unique_ptr<Device> device_;
    QPainter painter_;
    int pages_ = 0;
    bool inPage_ = false;
};

class PrinterSurface : public DocumentSurface<QPrinter> {
public:
    explicit PrinterSurface(std::unique_ptr<QPrinter> printer)
        : DocumentSurface(std::move(printer), SIZE{}, SIZE{}) {
        QPrinter& p = device();
        const QRect page = p.pageLayout().paintRectPixels(p.resolution());
        SetSize(SIZE{page.width(), page.height()});
    }
    SIZE Resolution() const override {
        const int dpi = const_cast<PrinterSurface*>(this)->device().resolution();
        return SIZE{dpi, dpi};
    }
    int Technology() const override { return DT_RASPRINTER; }
    SIZE PhysicalSize() const override {
        QPrinter& p = const_cast<PrinterSurface*>(this)->device();
        const QRect full = p.pageLayout().fullRectPixels(p.resolution());
        return SIZE{full.width(), full.height()};
    }
    POINT PhysicalOffset() const override {
        QPrinter& p = const_cast<PrinterSurface*>(this)->device();
        const QRect paint = p.pageLayout().paintRectPixels(p.resolution());
        return POINT{paint.left(), paint.top()};
    }

protected:
    void Prepare(const QString& docName, const QString& output) override {
        device().setDocName(docName);
        if (!output.isEmpty()) {
            device().setOutputFormat(QPrinter::PdfFormat);
            device().setOutputFileName(output);
        }
    }
    bool NewPage() override { return device().newPage(); }
    void Abort() override { device().abort(); }
};

class PdfSurface : public DocumentSurface<QPdfWriter> {
public:
    PdfSurface(std::unique_ptr<QPdfWriter> writer, SIZE size, int dpi)
        : DocumentSurface(std::move(writer), size, SIZE{dpi, dpi}) {}
    int Technology() const override { return DT_RASPRINTER; }

protected:
    void Prepare(const QString& docName, const QString&) override {
        if (!docName.isEmpty()) device().setTitle(docName);
    }
    bool NewPage() override { return device().newPage(); }
};

// Contexts over painters remember their painter for PainterOfDC.
class PainterContext : public GdiDeviceContext {
public:
    PainterContext(std::unique_ptr<GdiSurface> surface, QPainter* painter)
        : GdiDeviceContext(Kind::Painter, std::move(surface)), painter(painter) {}
    QPainter* painter;
};

class QtGdiBackend : public GdiBackend {
public:
    std::unique_ptr<GdiSurface> CreateBitmapSurface(GdiBitmap& bitmap) override {
        return std::make_unique<vclqt::BitmapSurface>(bitmap);
    }
    std::unique_ptr<GdiSurface> CreateScreenSurface() override { return std::make_unique<vclqt::ScreenSurface>(); }

    std::unique_ptr<GdiSurface> CreatePrinterSurface(std::u16string_view name, bool landscape, int copies) override {
        QPrinterInfo info = name.empty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(ToQString(name));
        if (info.isNull()) {
            SetLastError(kErrorInvalidPrinterName);
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer->setCopyCount(copies);
        return std::make_unique<PrinterSurface>(std::move(printer));
    }

    std::unique_ptr<GdiSurface> CreatePdfSurface(std::u16string_view fileName, double widthMm, double heightMm,
                                                 int dpi) override {
        if (fileName.empty() || widthMm <= 0 || heightMm <= 0 || dpi <= 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        auto writer = std::make_unique<QPdfWriter>(ToQString(fileName));
        writer->setResolution(dpi);
        writer->setPageLayout(QPageLayout(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter),
                                          QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer->setCreator(QStringLiteral("Quillora"));
        const SIZE size{static_cast<LONG>(std::lround(widthMm / 25.4 * dpi)),
                        static_cast<LONG>(std::lround(heightMm / 25.4 * dpi))};
        return std::make_unique<PdfSurface>(std::move(writer), size, dpi);
    }

    bool DecodeImage(const void* data, size_t size, GdiImage& out, std::string* format) override {
        QByteArray bytes(static_cast<const char*>(data), static_cast<qsizetype>(size));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        const std::string found = reader.format().toLower().toStdString();
        // A hostile header must not make us allocate gigabytes.
        const QSize declared = reader.size();
        if (declared.isValid() && static_cast<long long>(declared.width()) * declared.height() > (1LL << 28))
            return false;
        const QImage image = reader.read();
        if (image.isNull()) return false;
        if (format) *format = found;
        out = vclqt::GdiFromImage(image);
        return true;
    }

    bool EncodeImage(const GdiImage& image, std::string_view format, int quality,
                     std::vector<std::uint8_t>& out) override {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, QByteArray(format.data(), static_cast<qsizetype>(format.size())));
        if (quality >= 0) writer.setQuality(quality);
        if (!writer.write(vclqt::ImageFromGdi(image))) return false;
        out.assign(bytes.begin(), bytes.end());
        return true;
    }

    std::vector<WideString> PrinterNames() override {
        std::vector<WideString> names;
        for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdU16String());
        return names;
    }

    WideString DefaultPrinterName() override { return QPrinterInfo::defaultPrinterName().toStdU16String(); }

    bool PrintDialog(PRINTDLGW& dialog) override {
        QPrinterInfo info = dialog.printerName.empty() ? QPrinterInfo::defaultPrinter()
                                                       : QPrinterInfo::printerInfo(ToQString(dialog.printerName));
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setCopyCount(dialog.nCopies);
        printer.setPageOrientation(dialog.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        QPrintDialog box(&printer);
        box.setMinMax(dialog.nMinPage, dialog.nMaxPage);
        if (dialog.Flags & PD_PAGENUMS) {
            box.setPrintRange(QAbstractPrintDialog::PageRange);
            printer.setFromTo(dialog.nFromPage, dialog.nToPage);
        }
        box.setOption(QAbstractPrintDialog::PrintSelection, !(dialog.Flags & PD_NOSELECTION));
        box.setOption(QAbstractPrintDialog::PrintPageRange, !(dialog.Flags & PD_NOPAGENUMS));
        box.setOption(QAbstractPrintDialog::PrintToFile, !(dialog.Flags & (PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE)));
        if (box.exec() != QDialog::Accepted) {
            SetLastError(kErrorPrintCancelled);
            return false;
        }
        dialog.printerName = printer.printerName().toStdU16String();
        dialog.outputFile.clear();
        dialog.Flags &= ~PD_PRINTTOFILE;
        if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
            dialog.outputFile = printer.outputFileName().toStdU16String();
            dialog.Flags |= PD_PRINTTOFILE;
        }
        dialog.nCopies = static_cast<WORD>(printer.copyCount());
        dialog.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
        dialog.Flags &= ~(PD_PAGENUMS | PD_SELECTION);
        if (box.printRange() == QAbstractPrintDialog::PageRange) {
            dialog.Flags |= PD_PAGENUMS;
            dialog.nFromPage = static_cast<WORD>(printer.fromPage());
            dialog.nToPage = static_cast<WORD>(printer.toPage());
        } else if (box.printRange() == QAbstractPrintDialog::Selection) {
            dialog.Flags |= PD_SELECTION;
        }
        return true;
    }
};

}  // namespace

void InstallQtGdi() {
    static QtGdiBackend backend;
    if (CurrentGdiBackend() != &backend) SetGdiBackend(&backend);
}

namespace {

bool IsPrintDevice(const QPaintDevice* device) {
    return dynamic_cast<const QPagedPaintDevice*>(device) != nullptr;
}

}  // namespace

namespace {

GdiRegion RegionOf(const QRegion& region) {
    GdiRegion out;
    for (const QRect& r : region) out = out.Combine(GdiRegion(RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1}), RGN_OR);
    return out;
}

}  // namespace

HDC CreatePainterDC(QPainter& painter) {
    InstallQtGdi();
    if (!painter.isActive()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    QPaintDevice* device = painter.device();
    const int dpi = IsPrintDevice(device) ? device->logicalDpiX() : 96;
    const QRect bounds = painter.window();
    auto surface = std::make_unique<PainterSurface>(&painter, SIZE{bounds.width(), bounds.height()}, SIZE{dpi, dpi});
    auto context = std::make_unique<PainterContext>(std::move(surface), &painter);
    if (painter.hasClipping()) context->baseClip = RegionOf(painter.clipRegion());
    return RegisterDc(std::move(context));
}

HDC CreateImageDC(QImage& image) {
    InstallQtGdi();
    if (image.isNull()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto surface = std::make_unique<vclqt::ImageSurface>(image);
    QPainter* painter = surface->Painter();
    return RegisterDc(std::make_unique<PainterContext>(std::move(surface), painter));
}

HDC CreateImageDC(std::shared_ptr<QImage> image, const QRegion& visible, std::function<void()> released) {
    InstallQtGdi();
    if (!image || image->isNull()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto surface = std::make_unique<vclqt::ImageSurface>(*image);
    QPainter* painter = surface->Painter();
    auto context = std::make_unique<PainterContext>(std::move(surface), painter);
    context->baseClip = RegionOf(visible);
    context->ApplyClip();
    // The surface (and its painter) goes before this, so the image outlives its painting.
    context->onDelete = [image, released = std::move(released)] {
        if (released) released();
    };
    return RegisterDc(std::move(context));
}

QPainter* PainterOfDC(HDC dc) {
    auto* d = DcFromHandle(dc);
    if (!d) return nullptr;
    auto* s = dynamic_cast<PainterSurface*>(d->Surface());
    if (!s || !s->Painter() || !s->Painter()->isActive()) return nullptr;
    return s->Painter();
}

SIZE ResolutionOfDC(HDC dc) {
    auto* d = DcFromHandle(dc);
    if (!d || !d->Surface()) return SIZE{96, 96};
    return d->Surface()->Resolution();
}

QFont QtFontOf(const LOGFONTW& font, int dpi) {
    LOGFONTW lf = font;
    if (lf.lfHeight == 0) lf.lfHeight = -12;
    lf.lfHeight = static_cast<LONG>(std::lround(lf.lfHeight * dpi / 96.0));
    const WideString family = SubstituteFontFamily(lf.lfFaceName, lf.lfPitchAndFamily);
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), u'\0');
    std::u16string_view(family).substr(0, LF_FACESIZE - 1).copy(lf.lfFaceName, LF_FACESIZE - 1);
    return vclqt::FontFromLog(lf);
}

HBITMAP CreateBitmapFromQImage(const QImage& image) {
    if (image.isNull()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return vclqt::BitmapFromImage(image);
}

QImage QImageFromBitmap(HBITMAP bitmap) {
    auto* b = GdiObjectAs<GdiBitmap>(bitmap);
    return b ? vclqt::ImageFromBitmap(*b) : QImage();
}
