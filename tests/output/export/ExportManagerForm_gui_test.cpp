// The export manager window from its form file over a stub main window, answered through the
// modal hook: Start checks the folder, reads the controls into the run's record and exports the
// chosen messages or renames the folder's files; the controls follow the mode and the choices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string_view>

#include <QWidget>

#include "controls/styled/RzComboBox.h"
#include "message/MessageEML.h"
#include "output/export/ExportManagerForm.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinString.h"
#include "tests/output/OutputChecks.h"
#include "tests/output/WindowTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    std::string joined;
    for (const std::string& n : names) joined += (joined.empty() ? "" : " ") + n;
    return joined;
}

void SaveScreenshot(TCustomForm* form, const char* suffix) {
    const char* path = std::getenv("QUILLORA_SCREENSHOT");
    if (!path) return;
    Application->ProcessMessages();
    const QString file = QString::fromLocal8Bit(path) + QString::fromLatin1(suffix);
    EXPECT_TRUE(dynamic_cast<QWidget*>(form->Peer())->grab().save(file));
}

class ExportManagerFormTest : public testsupport::OutputWindowTest {
protected:
    void SetUp() override {
        OutputWindowTest::SetUp();
        RegisterExportManagerForm();
        Application->CreateForm(fmBateStamp);
        fmBateStamp->OpenFile = [this](const WideString& path) { opened.push_back(Utf16ToUtf8(path)); };
    }
    void TearDown() override { delete fmBateStamp; }
    TControl* C(const char* name) { return dynamic_cast<TControl*>(fmBateStamp->FindComponent(name)); }
    void Check(const char* name, bool on) {
        if (auto* r = dynamic_cast<TRadioButton*>(C(name))) r->SetChecked(on);
        else dynamic_cast<TCheckBox*>(C(name))->SetChecked(on);
    }
    bool Checked(const char* name) {
        if (auto* r = dynamic_cast<TRadioButton*>(C(name))) return r->Checked();
        return dynamic_cast<TCheckBox*>(C(name))->Checked();
    }
    void Choose(const char* combo, const char* item) {
        auto* box = dynamic_cast<TCustomComboBox*>(C(combo));
        ASSERT_NE(box, nullptr) << combo;
        // The naming choices are the styled combo box of the design.
        if (std::string_view(combo) != "ExportFormatCombo") EXPECT_NE(dynamic_cast<TRzComboBox*>(box), nullptr) << combo;
        box->SetItemIndex(box->Items()->IndexOf(item));
        if (box->OnChange) box->OnChange(box);
    }
    void Message(const std::string& name, const std::string& subject) {
        auto m = std::make_unique<MessageEML>();
        const fs::path file = dir.WriteFile("in/" + name, "From: a@example.com\r\nSubject: " + subject + "\r\n\r\nbody of " + subject + "\r\n");
        EXPECT_TRUE(m->LoadFromFile(Utf8ToUtf16(file.string()), false));
        provider.chosen.push_back(m.get());
        owned.push_back(std::move(m));
    }
    // Shows the window in the mode and runs the steps while it is up; boxes are recorded.
    void WhileShown(bool exportMode, const std::function<void()>& steps) {
        TScopedModalHook hook([&](TModalRequest& r) {
            if (r.What == TModalRequest::MessageBox) {
                boxes.push_back(Utf16ToUtf8(r.Caption) + ": " + Utf16ToUtf8(r.Text));
                return IDOK;
            }
            if (r.What == TModalRequest::ModalForm) {
                steps();
                return static_cast<int>(mrCancel);
            }
            return 0;
        });
        fmBateStamp->Execute(&provider, exportMode, Utf8ToUtf16(dir.path().string()));
    }
    testsupport::TempDir dir;
    testsupport::StubProvider provider;
    std::vector<std::unique_ptr<TMessageAttr>> owned;
    std::vector<std::string> boxes, opened;
};

TEST_F(ExportManagerFormTest, ExportChecksTheFolderThenExportsTheChosenMessages) {
    auto* formats = dynamic_cast<TComboBox*>(C("ExportFormatCombo"));
    ASSERT_GE(formats->Items()->Count(), 3);
    EXPECT_EQ(formats->Items()->Get(0), "TXT");
    EXPECT_EQ(formats->Text(), u"PDF") << "PDF is chosen at first, wherever the converter lists it";
    Message("a.eml", "First");
    Message("b.eml", "Second");
    const fs::path out = dir / "out";
    fs::create_directories(out);
    WhileShown(true, [&] {
        EXPECT_EQ(C("edPath")->Text(), Utf8ToUtf16(dir.path().string())) << "starts in the main window's folder";
        EXPECT_TRUE(C("cbSameName")->Visible());
        EXPECT_FALSE(C("edFailedPath")->Enabled());
        SaveScreenshot(fmBateStamp, "");
        C("edPath")->SetText(u"");
        fmBateStamp->StartBtnClick(nullptr);
        C("edPath")->SetText(Utf8ToUtf16((dir / "missing").string()));
        fmBateStamp->StartBtnClick(nullptr);
        EXPECT_EQ(boxes, (std::vector<std::string>(2, "Select folder: Select folder, please")));
        EXPECT_TRUE(fs::is_empty(out));

        boxes.clear();
        C("edPath")->SetText(Utf8ToUtf16(out.string()));
        Choose("ExportFormatCombo", "TXT");
        Check("cbInsertFileName", true);
        fmBateStamp->StartBtnClick(nullptr);
        EXPECT_TRUE(C("StartBtn")->Enabled()) << "the controls come back after the run";
    });
    EXPECT_EQ(Names(out), "a.TXT b.TXT");
    EXPECT_EQ(boxes, std::vector<std::string>{"Completed: All files exported successfully"});
    EXPECT_TRUE(opened.empty()) << "no report without failures";
    const ExportOpts& opts = fmBateStamp->Options();
    EXPECT_TRUE(opts.sameName);
    EXPECT_TRUE(opts.insertFileName);
    EXPECT_EQ(opts.formatIndex, 0);
    EXPECT_TRUE(opts.failedFolder.empty()) << "copying failures is off, whatever the folder edit shows";
    EXPECT_EQ(opts.messages, nullptr) << "the run's list does not outlive the run";
}

// The window's picture export takes the run's road: the saved picture shows the message.
TEST_F(ExportManagerFormTest, PictureExportShowsTheHeaderAndTheBody) {
    const outputchecks::Kind& table = outputchecks::kMessages[2];
    auto m = std::make_unique<MessageEML>();
    ASSERT_TRUE(m->LoadFromFile(Utf8ToUtf16(dir.WriteFile("in/table.eml", table.text()).string()), false));
    provider.chosen.push_back(m.get());
    owned.push_back(std::move(m));
    const fs::path out = dir / "out";
    fs::create_directories(out);
    WhileShown(true, [&] {
        C("edPath")->SetText(Utf8ToUtf16(out.string()));
        Choose("ExportFormatCombo", "PNG");
        fmBateStamp->StartBtnClick(nullptr);
    });
    EXPECT_EQ(boxes, std::vector<std::string>{"Completed: All files exported successfully"});
    ASSERT_EQ(fs::path(Names(out)).extension(), ".PNG") << Names(out);
    outputchecks::ExpectReadablePicture(out / Names(out), table);
}

TEST_F(ExportManagerFormTest, AFailedMessageGoesIntoTheReportInTheChosenFolderWhichOpens) {
    Message("gone.eml", "Gone");
    Message("kept.eml", "Kept");
    fs::remove(dir / "in/gone.eml");
    const fs::path out = dir / "out", failed = dir / "failed";
    fs::create_directories(out);
    WhileShown(true, [&] {
        C("edPath")->SetText(Utf8ToUtf16(out.string()));
        Choose("ExportFormatCombo", "TXT");
        Check("cbCopyFailed", true);
        C("edFailedPath")->SetText(Utf8ToUtf16(failed.string()));
        fmBateStamp->StartBtnClick(nullptr);
    });
    EXPECT_EQ(Names(out), "kept.TXT");
    EXPECT_EQ(boxes, std::vector<std::string>{"Completed: Some files were not exported"});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(fs::path(opened[0]), failed / "ExportLog.txt");
    EXPECT_TRUE(fs::exists(failed / "ExportLog.txt"));
}

TEST_F(ExportManagerFormTest, FileNamingRenamesTheFolderAndExportModeRestoresTheMessageNames) {
    const fs::path folder = dir / "files";
    for (const char* name : {"a.txt", "b.doc", "c"}) dir.WriteFile("files/" + std::string(name), "x");
    WhileShown(false, [&] {
        for (const char* name : {"cbSameName", "cbCustomScheme", "cbExtractAttachment", "ExportFormatCombo", "cbCopyFailed"})
            EXPECT_FALSE(C(name)->Visible()) << name;
        EXPECT_TRUE(Checked("cbCustomScheme"));
        EXPECT_TRUE(C("WP")->Enabled());
        EXPECT_TRUE(C("edNumber")->Enabled());
        EXPECT_FALSE(C("cbLetter")->Enabled());
        SaveScreenshot(fmBateStamp, ".naming.png");
        C("edPath")->SetText(Utf8ToUtf16(folder.string()));
        C("WP")->SetText(u"R");
        C("edNumber")->SetText(u"7");
        fmBateStamp->StartBtnClick(nullptr);
    });
    EXPECT_EQ(Names(folder), "R7.txt R8.doc R9");
    EXPECT_EQ(boxes, std::vector<std::string>{"Completed: All files renamed successfully"});

    WhileShown(true, [&] {
        EXPECT_TRUE(Checked("cbSameName"));
        EXPECT_FALSE(C("WP")->Enabled());
    });
}

TEST_F(ExportManagerFormTest, ALetterSchemeRenameSetsTheLetterBackToAAndBrowseStartsAtTheField) {
    const fs::path folder = dir / "files";
    for (const char* name : {"a.txt", "b.doc", "c"}) dir.WriteFile("files/" + std::string(name), "x");
    std::vector<std::string> browsedFrom;
    fmBateStamp->BrowseFolder = [&](WideString& f) {
        browsedFrom.push_back(Utf16ToUtf8(f));
        f = Utf8ToUtf16(folder.string());
        return true;
    };
    std::string letterAfter;
    WhileShown(false, [&] {
        // Browse opens the folder dialog where the destination points now.
        C("edPath")->SetText(Utf8ToUtf16((dir / "elsewhere").string()));
        fmBateStamp->RzBitBtn2Click(nullptr);
        EXPECT_EQ(Utf16ToUtf8(C("edPath")->Text()), folder.string());
        Check("rbNumberRange", true);
        Choose("cbLetter", "C");
        Choose("cbNumberRange", "0");
        C("WP")->SetText(u"P");
        fmBateStamp->StartBtnClick(nullptr);
        letterAfter = Utf16ToUtf8(C("cbLetter")->Text());
    });
    EXPECT_EQ(browsedFrom, std::vector<std::string>{(dir / "elsewhere").string()});
    EXPECT_EQ(Names(folder), "PC0.txt PC1.doc PC2");
    EXPECT_EQ(letterAfter, "A");
}

TEST_F(ExportManagerFormTest, ControlsFollowTheChoices) {
    WhileShown(true, [&] {
        Check("cbCustomScheme", true);
        EXPECT_TRUE(C("edNumber")->Enabled());
        EXPECT_FALSE(C("cbNumberRange")->Enabled());
        // Letter prefix: the digits and the letter instead of the start number; no letter, no increment.
        Check("rbNumberRange", true);
        EXPECT_FALSE(C("edNumber")->Enabled());
        EXPECT_TRUE(C("cbNumberRange")->Enabled());
        EXPECT_TRUE(C("cbLetter")->Enabled());
        EXPECT_FALSE(C("cbIncreaseLetter")->Enabled());
        Choose("cbLetter", "C");
        EXPECT_TRUE(C("cbIncreaseLetter")->Enabled());
        Check("cbIncreaseLetter", true);
        Choose("cbLetter", "NONE");
        EXPECT_FALSE(C("cbIncreaseLetter")->Enabled());
        EXPECT_FALSE(Checked("cbIncreaseLetter"));
        // Per-message folders only with attachments; the failed folder only when copying.
        Check("cbExtractAttachment", true);
        EXPECT_TRUE(C("cbExportFolders")->Enabled());
        Check("cbExportFolders", true);
        Check("cbExtractAttachment", false);
        EXPECT_FALSE(C("cbExportFolders")->Enabled());
        EXPECT_FALSE(Checked("cbExportFolders"));
        Check("cbCopyFailed", true);
        EXPECT_TRUE(C("edFailedPath")->Enabled());
        // The start number takes digits and backspace only.
        for (const auto& [key, kept] : {std::pair{u'5', true}, {u'\b', true}, {u'a', false}, {u'-', false}}) {
            WideChar k = key;
            fmBateStamp->edNumberKeyPress(nullptr, k);
            EXPECT_EQ(k != 0, kept) << static_cast<int>(key);
        }
        Choose("cbLetter", "D");
        Choose("cbNumberRange", "00");
        C("WP")->SetText(u"DOC");
        ExportOpts opts;
        fmBateStamp->ReadExportOptions(opts);
        EXPECT_FALSE(opts.sameName);
        EXPECT_FALSE(opts.useFileNumbering);
        EXPECT_EQ(opts.letter, u'D');
        EXPECT_EQ(opts.maxNumber, 99);
        EXPECT_EQ(opts.prefix, u"DOC");
        EXPECT_EQ(opts.progressForm != nullptr, true);
        // Cancel stops a run and closes the window.
        fmBateStamp->CancelBtnClick(nullptr);
    });
    EXPECT_TRUE(fmBateStamp->Options().stopRequested);
}

}  // namespace
