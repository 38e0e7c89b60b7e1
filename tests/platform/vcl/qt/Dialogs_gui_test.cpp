// The common dialogs over Qt, offscreen: printing into a PDF file chosen through the hook, and
// Qt's own file and print dialogs driven as a user would (the choice and the filter come back).
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QTimer>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;

class QtDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
    }
    void TearDown() override { SetPrinter(nullptr); }
};

std::string Head(const std::filesystem::path& p, std::size_t n) {
    std::ifstream in(p, std::ios::binary);
    std::string s(n, '\0');
    in.read(s.data(), static_cast<std::streamsize>(n));
    s.resize(static_cast<std::size_t>(in.gcount()));
    return s;
}

// Answers the dialog of type D once it shows modally, within a deadline: a dialog that never
// shows, or is still open after the answer, fails the test and is rejected, so no test sits in
// a modal loop. Ends when it goes out of scope.
template <class D>
class WhenShown {
public:
    explicit WhenShown(std::function<void(D&)> action, std::chrono::seconds deadline = std::chrono::seconds(60))
        : timer_(new QTimer(qApp)) {
        const auto until = std::chrono::steady_clock::now() + deadline;
        timer_->setInterval(20);
        QObject::connect(timer_, &QTimer::timeout, [this, action, until] {
            D* shown = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<D*>(w); d && d->isVisible()) shown = d;
            if (shown && !answered_) {
                answered_ = true;
                action(*shown);
                return;
            }
            if (std::chrono::steady_clock::now() < until) return;
            timer_->stop();
            if (!answered_) ADD_FAILURE() << "the dialog did not show within the deadline";
            if (shown) {
                ADD_FAILURE() << "the dialog was still open at the deadline; rejected";
                shown->reject();
            }
        });
        timer_->start();
    }
    ~WhenShown() {
        delete timer_.data();
        if (!answered_) ADD_FAILURE() << "the dialog never showed";
    }
    WhenShown(const WhenShown&) = delete;
    WhenShown& operator=(const WhenShown&) = delete;

private:
    QPointer<QTimer> timer_;
    bool answered_ = false;
};

// Types a name into a file dialog's name field as a person would. QFileDialog::selectFile leaves
// the field alone once it has the focus, and the dialog's activation may come first on a busy
// machine: accept() then finds no name and the dialog stays open.
void TypeFileName(QFileDialog& box, const QString& name) {
    auto* edit = box.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

TEST_F(QtDialogsTest, PrintDialogAnsweredByTheHookPrintsIntoAPdfFile) {
    TempDir dir;
    const auto pdf = dir / "out.pdf";
    TPrintDialog dialog(nullptr);
    TScopedModalHook hook([&](TModalRequest& r) {
        EXPECT_EQ(r.What, TModalRequest::PrintDialog);
        r.OutputFile = Utf8ToUtf16(pdf.string());
        return mrOk;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(dialog.PrintToFile());
    TPrinter* printer = Printer();
    printer->Title = u"Test";
    printer->BeginDoc();
    printer->Canvas()->TextOut(100, 100, u"First page");
    printer->NewPage();
    printer->Canvas()->TextOut(100, 100, u"Second page");
    printer->EndDoc();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(Head(pdf, 5), "%PDF-");
}

TEST_F(QtDialogsTest, QtFileDialogGivesTheNameWithDefaultExtAndTheFilter) {
    TempDir dir;
    TSaveDialog dialog(nullptr);
    dialog.SetFilter(u"Text|*.txt|Messages|*.msg;*.eml");
    dialog.SetFilterIndex(1);
    dialog.SetDefaultExt(u"msg");
    dialog.SetInitialDir(Utf8ToUtf16(dir.path().string()));
    WhenShown<QFileDialog> answer([](QFileDialog& box) {
        EXPECT_EQ(box.nameFilters().size(), 2);
        EXPECT_EQ(box.selectedNameFilter(), QStringLiteral("Text (*.txt)"));
        box.selectNameFilter(box.nameFilters()[1]);
        TypeFileName(box, QStringLiteral("mail"));
        static_cast<QDialog&>(box).accept();
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.FileName(), Utf8ToUtf16((dir / "mail.msg").string()));
}

TEST_F(QtDialogsTest, QtPrintDialogOffersAPdfFileWithoutAPrinter) {
    if (!GetDefaultPrinterName().empty()) GTEST_SKIP() << "a printer is configured; this checks the case without one";
    TempDir dir;
    const auto pdf = dir / "printed.pdf";
    Printer()->SetFileName(Utf8ToUtf16(pdf.string()));
    TPrintDialog dialog(nullptr);
    WhenShown<QPrintDialog> answer([](QPrintDialog& box) { static_cast<QDialog&>(box).accept(); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(Printer()->FileName(), Utf8ToUtf16(pdf.string()));
    Printer()->BeginDoc();
    Printer()->Canvas()->TextOut(10, 10, u"x");
    Printer()->EndDoc();
    EXPECT_EQ(Head(pdf, 5), "%PDF-");
}

TEST_F(QtDialogsTest, MessageBoxesShowTheButtonsAndIconsOfTheirFlags) {
    struct Case {
        UINT flags;
        QMessageBox::Icon icon;
        std::vector<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton press;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, QMessageBox::NoIcon, {QMessageBox::Ok}, QMessageBox::Ok, IDOK},
        {MB_OK | MB_ICONINFORMATION, QMessageBox::Information, {QMessageBox::Ok}, QMessageBox::Ok, IDOK},
        {MB_OK | MB_ICONERROR, QMessageBox::Critical, {QMessageBox::Ok}, QMessageBox::Ok, IDOK},
        {MB_OK | MB_ICONWARNING, QMessageBox::Warning, {QMessageBox::Ok}, QMessageBox::Ok, IDOK},
        {MB_OKCANCEL, QMessageBox::NoIcon, {QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No, IDNO},
        {MB_YESNOCANCEL, QMessageBox::NoIcon, {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Yes, IDYES},
    };
    for (const Case& c : cases) {
        WhenShown<QMessageBox> answer([&c](QMessageBox& box) {
            EXPECT_EQ(box.icon(), c.icon) << c.flags;
            EXPECT_EQ(box.buttons().size(), static_cast<qsizetype>(c.buttons.size())) << c.flags;
            for (auto b : c.buttons) EXPECT_NE(box.button(b), nullptr) << c.flags;
            box.button(c.press)->click();
        });
        EXPECT_EQ(MessageBoxW(nullptr, u"Text", u"Caption", c.flags), c.answer) << c.flags;
    }
}

TEST_F(QtDialogsTest, QtInputAndFolderDialogs) {
    {
        WhenShown<QInputDialog> answer([](QInputDialog& box) {
            EXPECT_EQ(box.labelText(), QStringLiteral("Name:"));
            EXPECT_EQ(box.textValue(), QStringLiteral("old"));
            box.setTextValue(QStringLiteral("new"));
            box.accept();
        });
        EXPECT_EQ(InputBox(u"Rename", u"Name:", u"old"), u"new");
    }

    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    WhenShown<QFileDialog> answer([&](QFileDialog& box) {
        EXPECT_EQ(box.fileMode(), QFileDialog::Directory);
        EXPECT_EQ(box.directory().absolutePath(), QString::fromStdString(dir.path().string()));
        box.setDirectory(QString::fromStdString((dir / "sub").string()));
        static_cast<QDialog&>(box).accept();
    });
    WideString folder = Utf8ToUtf16(dir.path().string());
    ASSERT_TRUE(SelectDirectory(u"Export to", {}, folder));
    EXPECT_EQ(folder, Utf8ToUtf16((dir / "sub").string()));
}

}  // namespace
