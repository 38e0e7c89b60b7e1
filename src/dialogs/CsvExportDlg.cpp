#include "dialogs/CsvExportDlg.h"

#include "controls/unicode/TntStdCtrls.h"

TcsvExportDlg* csvExportDlg = nullptr;

const TMetaClass& TcsvExportDlg::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TcsvExportDlg>("TcsvExportDlg", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TcsvExportDlg>&) {});
    return meta;
}

TcsvExportDlg::TcsvExportDlg(TComponent* owner) : IChangeableLangForm(owner) {}

TcsvExportDlg::~TcsvExportDlg() {
    if (csvExportDlg == this) csvExportDlg = nullptr;
}

CsvExportOptions TcsvExportDlg::Options() const {
    CsvExportOptions options;
    if (const auto* unicode = dynamic_cast<const TRadioButton*>(FindComponent("rbUnicode"))) options.unicode = unicode->Checked();
    if (const auto* body = dynamic_cast<const TCustomCheckBox*>(FindComponent("cbExportBody"))) options.withBody = body->Checked();
    return options;
}
