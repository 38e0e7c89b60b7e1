#include "platform/vcl/qt/DialogsQt.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

QString ToQString(const WideString& s) { return QString::fromStdU16String(s); }
WideString FromQString(const QString& s) { return s.toStdU16String(); }

// The window a dialog belongs to: the active form, else the main form.
QWidget* OwnerWidget() {
    TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
    if (!form && Application) form = Application->MainForm();
    return form ? dynamic_cast<QWidget*>(form->Peer()) : nullptr;
}

// "Text (*.txt)" entries of QFileDialog, one a filter pair.
QStringList NameFilters(const std::vector<TFileFilter>& filters) {
    QStringList list;
    for (const TFileFilter& f : filters) {
        QStringList masks;
        for (const WideString& m : f.Masks) masks << ToQString(m);
        list << QStringLiteral("%1 (%2)").arg(ToQString(f.Name), masks.join(u' '));
    }
    return list;
}

int RunFileDialog(TModalRequest& request, TOpenDialog& dialog) {
    QFileDialog box(OwnerWidget(), ToQString(dialog.Title()));
    // Qt's own dialog on every desktop: the same behaviour everywhere and under the test hook.
    box.setOption(QFileDialog::DontUseNativeDialog);
    // Replacing is asked after the default extension is added (TOpenDialog::Execute).
    box.setOption(QFileDialog::DontConfirmOverwrite);
    const bool saving = request.What == TModalRequest::SaveDialog;
    box.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (saving)
        box.setFileMode(QFileDialog::AnyFile);
    else
        box.setFileMode(dialog.Options().Contains(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                                      : QFileDialog::ExistingFile);
    if (dialog.Options().Contains(ofForceShowHidden)) box.setFilter(box.filter() | QDir::Hidden);
    const std::vector<TFileFilter> filters = ParseFilter(dialog.Filter());
    const QStringList names = NameFilters(filters);
    if (!names.isEmpty()) {
        box.setNameFilters(names);
        const int index = std::clamp(request.FilterIndex, 1, static_cast<int>(names.size()));
        box.selectNameFilter(names[index - 1]);
    }
    QString dir = ToQString(dialog.InitialDir());
    const QString file = request.Files.empty() ? QString() : ToQString(request.Files.front());
    const QFileInfo info(file);
    if (!file.isEmpty() && info.path() != u"." ) dir = info.path();
    if (dir.isEmpty()) dir = QDir::currentPath();
    box.setDirectory(dir);
    if (!file.isEmpty()) box.selectFile(info.fileName());
    if (!dialog.DefaultExt().empty()) box.setDefaultSuffix(ToQString(dialog.DefaultExt()));
    // The program hears of another filter while the dialog is open.
    TOpenDialog* live = &dialog;
    QObject::connect(&box, &QFileDialog::filterSelected, &box, [live, names](const QString& filter) {
        const auto at = names.indexOf(filter);
        if (at < 0 || at + 1 == live->FilterIndex()) return;
        live->SetFilterIndex(static_cast<int>(at) + 1);
        if (live->OnTypeChange) live->OnTypeChange(live);
    });
    int accepted;
    {
        ForeignLoopScope loop;
        accepted = box.exec();
    }
    if (accepted != QDialog::Accepted) return mrCancel;
    request.Files.clear();
    for (const QString& f : box.selectedFiles()) request.Files.push_back(FromQString(QDir::toNativeSeparators(f)));
    if (const auto at = names.indexOf(box.selectedNameFilter()); at >= 0) request.FilterIndex = static_cast<int>(at) + 1;
    return mrOk;
}

int RunPrintDialog(TModalRequest& request) {
    const QPrinterInfo info = request.PrinterName.empty() ? QPrinterInfo::defaultPrinter()
                                                          : QPrinterInfo::printerInfo(ToQString(request.PrinterName));
    QPrinter printer(info, QPrinter::HighResolution);
    // Without a printer the dialog still offers printing into a PDF file.
    if (info.isNull() || !request.OutputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        QString out = ToQString(request.OutputFile);
        if (out.isEmpty())
            out = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("print.pdf"));
        printer.setOutputFileName(out);
    }
    auto* dialog = dynamic_cast<TPrintDialog*>(request.Dialog);
    printer.setPageOrientation(Printer()->Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog box(&printer, OwnerWidget());
    const bool setup = request.What == TModalRequest::PrinterSetupDialog;
    box.setOption(QAbstractPrintDialog::PrintPageRange, !setup && dialog && dialog->Options().Contains(poPageNums));
    box.setOption(QAbstractPrintDialog::PrintSelection, !setup && dialog && dialog->Options().Contains(poSelection));
    box.setOption(QAbstractPrintDialog::PrintToFile, !(dialog && dialog->Options().Contains(poDisablePrintToFile)));
    if (dialog && !setup) {
        printer.setCopyCount(std::max(1, dialog->Copies()));
        printer.setCollateCopies(dialog->Collate());
        if (dialog->MaxPage() > 0) box.setMinMax(std::max(1, dialog->MinPage()), dialog->MaxPage());
        if (dialog->PrintRange() == prPageNums && dialog->FromPage() > 0) {
            box.setPrintRange(QAbstractPrintDialog::PageRange);
            printer.setFromTo(dialog->FromPage(), std::max(dialog->FromPage(), dialog->ToPage()));
        } else if (dialog->PrintRange() == prSelection) {
            box.setPrintRange(QAbstractPrintDialog::Selection);
        }
    }
    int accepted;
    {
        ForeignLoopScope loop;
        accepted = box.exec();
    }
    if (accepted != QDialog::Accepted) return mrCancel;
    Printer()->SetOrientation(printer.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait);
    if (dialog && !setup) {
        dialog->SetCopies(printer.copyCount());
        dialog->SetCollate(printer.collateCopies());
        switch (box.printRange()) {
        case QAbstractPrintDialog::PageRange:
            dialog->SetPrintRange(prPageNums);
            dialog->SetFromPage(printer.fromPage());
            dialog->SetToPage(printer.toPage());
            break;
        case QAbstractPrintDialog::Selection: dialog->SetPrintRange(prSelection); break;
        default: dialog->SetPrintRange(prAllPages); break;
        }
    }
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        request.OutputFile = FromQString(printer.outputFileName());
        request.PrinterName.clear();
    } else {
        request.OutputFile.clear();
        request.PrinterName = FromQString(printer.printerName());
    }
    return mrOk;
}

int RunFontDialog(TFontDialog& dialog) {
    bool ok = false;
    QFont chosen;
    {
        ForeignLoopScope loop;
        chosen = QFontDialog::getFont(&ok, QtFontOf(dialog.Font()->LogFont()), OwnerWidget(), QString(),
                                      QFontDialog::DontUseNativeDialog);
    }
    if (!ok) return mrCancel;
    TFont* font = dialog.Font();
    font->SetName(FromQString(chosen.family()));
    if (chosen.pointSize() > 0) font->SetSize(chosen.pointSize());
    TFontStyles style;
    if (chosen.bold()) style << fsBold;
    if (chosen.italic()) style << fsItalic;
    if (chosen.underline()) style << fsUnderline;
    if (chosen.strikeOut()) style << fsStrikeOut;
    font->SetStyle(style);
    return mrOk;
}

int RunInputQuery(TModalRequest& request) {
    QInputDialog box(OwnerWidget());
    box.setWindowTitle(ToQString(request.Caption));
    box.setLabelText(ToQString(request.Text));
    box.setTextValue(ToQString(request.Value));
    int accepted;
    {
        ForeignLoopScope loop;
        accepted = box.exec();
    }
    if (accepted != QDialog::Accepted) return mrCancel;
    request.Value = FromQString(box.textValue());
    return mrOk;
}

int RunFolderDialog(TModalRequest& request) {
    const QString start = request.Files.empty() ? QString() : ToQString(request.Files.front());
    QString chosen;
    {
        ForeignLoopScope loop;
        chosen = QFileDialog::getExistingDirectory(OwnerWidget(), ToQString(request.Caption), start,
                                                   QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    }
    if (chosen.isEmpty()) return mrCancel;
    request.Files = {FromQString(QDir::toNativeSeparators(chosen))};
    return mrOk;
}

int RunDialog(TModalRequest& request) {
    switch (request.What) {
    case TModalRequest::OpenDialog:
    case TModalRequest::SaveDialog:
        if (auto* d = dynamic_cast<TOpenDialog*>(request.Dialog)) return RunFileDialog(request, *d);
        return 0;
    case TModalRequest::PrintDialog:
    case TModalRequest::PrinterSetupDialog: return RunPrintDialog(request);
    case TModalRequest::FontDialog:
        if (auto* d = dynamic_cast<TFontDialog*>(request.Dialog)) return RunFontDialog(*d);
        return 0;
    case TModalRequest::InputQuery: return RunInputQuery(request);
    case TModalRequest::FolderDialog: return RunFolderDialog(request);
    case TModalRequest::MessageBox:
    case TModalRequest::ModalForm:
    case TModalRequest::PopupMenu: break;
    }
    return 0;
}

}  // namespace

void InstallQtDialogs() { SetDialogRunner(RunDialog); }

}  // namespace vclqt
