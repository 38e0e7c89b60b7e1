// The common dialogs over the headless widget set, answered by the modal hook: filter strings,
// the default extension, the filter index read back, replacing and missing files, multi-select,
// message dialogs, the input query and the folder browser.
#include <gtest/gtest.h>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Filer.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;

WideString W(const std::filesystem::path& p) { return Utf8ToUtf16(p.string()); }

TEST(DialogsTest, FilterStringsParseIntoNamesAndMasks) {
    struct Case {
        const char16_t* filter;
        std::vector<std::pair<WideString, std::vector<WideString>>> expected;
    };
    const Case cases[] = {
        {u"Text|*.txt|All|*.*", {{u"Text", {u"*.txt"}}, {u"All", {u"*.*"}}}},
        {u"Messages (*.msg;*.eml)|*.msg;*.eml", {{u"Messages (*.msg;*.eml)", {u"*.msg", u"*.eml"}}}},
        {u"Mail| *.msg ; *.eml ;", {{u"Mail", {u"*.msg", u"*.eml"}}}},
        {u"Text|*.txt|Dangling", {{u"Text", {u"*.txt"}}, {u"Dangling", {u"*"}}}},
        {u"Empty||Text|*.txt", {{u"Empty", {u"*"}}, {u"Text", {u"*.txt"}}}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        const auto got = ParseFilter(c.filter);
        ASSERT_EQ(got.size(), c.expected.size()) << Utf16ToUtf8(c.filter);
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Name, c.expected[i].first) << Utf16ToUtf8(c.filter);
            EXPECT_EQ(got[i].Masks, c.expected[i].second) << Utf16ToUtf8(c.filter);
        }
    }
}

TEST(DialogsTest, SaveDialogAddsDefaultExtAndReadsBackTheFilterIndex) {
    TempDir dir;
    TSaveDialog dialog(nullptr);
    dialog.SetFilter(u"Text|*.txt|Messages|*.msg;*.eml|All|*.*");
    dialog.SetDefaultExt(u".txt");
    dialog.SetFilterIndex(1);
    int typeChanges = 0;
    dialog.OnTypeChange = [&](TObject*) { ++typeChanges; };
    TModalRequest seen;
    TScopedModalHook hook([&](TModalRequest& r) {
        seen = r;
        r.Files = {W(dir / "report"), W(dir / "ignored")};
        r.FilterIndex = 3;
        return mrOk;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(seen.What, TModalRequest::SaveDialog);
    EXPECT_EQ(seen.Dialog, &dialog);
    EXPECT_EQ(seen.FilterIndex, 1);
    EXPECT_EQ(dialog.FileName(), W(dir / "report.txt"));
    EXPECT_EQ(dialog.Files()->Count(), 1);  // no multi-select
    EXPECT_EQ(dialog.FilterIndex(), 3);
    EXPECT_EQ(typeChanges, 1);
    // A name with its own extension keeps it; an index beyond the filters is not taken.
    TScopedModalHook again([&](TModalRequest& r) {
        r.Files = {W(dir / "notes.md")};
        r.FilterIndex = 9;
        return mrOk;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), W(dir / "notes.md"));
    EXPECT_EQ(dialog.FilterIndex(), 3);
}

TEST(DialogsTest, OverwritePromptAsksAgainUntilAnsweredYes) {
    TempDir dir;
    const auto existing = dir.WriteFile("old.txt", "x");
    TSaveDialog dialog(nullptr);
    dialog.SetDefaultExt(u"txt");
    dialog.SetOptions(dialog.Options() + TOpenOptions{ofOverwritePrompt});
    int asked = 0, boxes = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) {
            ++boxes;
            EXPECT_EQ(r.Flags & MB_TYPEMASK, MB_YESNO);
            return boxes == 1 ? IDNO : IDYES;
        }
        ++asked;
        r.Files = {W(dir / "old")};  // the default extension makes it the existing file
        return mrOk;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(boxes, 2);
    EXPECT_EQ(dialog.FileName(), W(existing));
}

TEST(DialogsTest, OpenDialogRefusesMissingFilesAndTakesSeveral) {
    TempDir dir;
    const auto a = dir.WriteFile("a.msg", "a");
    const auto b = dir.WriteFile("b.eml", "b");
    TOpenDialog dialog(nullptr);
    dialog.SetOptions({ofFileMustExist, ofAllowMultiSelect});
    int round = 0;
    WideString warning;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) {
            warning = r.Text;
            return IDOK;
        }
        ++round;
        r.Files = round == 1 ? std::vector<WideString>{W(dir / "gone.msg")} : std::vector<WideString>{W(a), W(b)};
        return mrOk;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(round, 2);
    EXPECT_NE(warning.find(u"File not found"), WideString::npos);
    ASSERT_EQ(dialog.Files()->Count(), 2);
    EXPECT_EQ(dialog.Files()->Get(1), b.string());
    EXPECT_EQ(dialog.FileName(), W(a));

    TScopedModalHook cancel([](TModalRequest&) { return mrCancel; });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), W(a));
}

TEST(DialogsTest, OnCanCloseCanRefuseAChoice) {
    TOpenDialog dialog(nullptr);
    int round = 0;
    dialog.OnCanClose = [&](TObject*, bool& canClose) { canClose = round > 1; };
    TScopedModalHook hook([&](TModalRequest& r) {
        ++round;
        r.Files = {u"/tmp/x.txt"};
        return mrOk;
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(round, 2);
}

TEST(DialogsTest, NoDialogWithoutHookOrDisplay) {
    TOpenDialog dialog(nullptr);
    EXPECT_FALSE(dialog.Execute());
    WideString value = u"kept";
    EXPECT_FALSE(InputQuery(u"Name", u"Enter", value));
    EXPECT_EQ(value, u"kept");
}

TEST(DialogsTest, MessageDialogFlagsAndCaptions) {
    struct Case {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        UINT flags;
        const char16_t* caption;
    };
    const Case cases[] = {
        {mtInformation, {mbOK}, MB_OK | MB_ICONINFORMATION, u"Information"},
        {mtError, {mbOK}, MB_OK | MB_ICONERROR, u"Error"},
        {mtWarning, mbOKCancel, MB_OKCANCEL | MB_ICONWARNING, u"Warning"},
        {mtConfirmation, mbYesNo, MB_YESNO | MB_ICONQUESTION, u"Confirm"},
        {mtConfirmation, mbYesNoCancel, MB_YESNOCANCEL | MB_ICONQUESTION, u"Confirm"},
        {mtWarning, mbAbortRetryIgnore, MB_ABORTRETRYIGNORE | MB_ICONWARNING, u"Warning"},
        {mtError, {mbRetry, mbCancel}, MB_RETRYCANCEL | MB_ICONERROR, u"Error"},
        {mtConfirmation, {mbYes, mbNo, mbYesToAll, mbCancel}, MB_YESNOCANCEL | MB_ICONQUESTION, u"Confirm"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageDlgFlags(c.type, c.buttons), c.flags) << Utf16ToUtf8(c.caption);
        EXPECT_EQ(MessageDlgCaption(c.type), c.caption);
    }
    Application->SetTitle(u"Quillora");
    TModalRequest seen;
    TScopedModalHook hook([&](TModalRequest& r) {
        seen = r;
        return IDNO;
    });
    EXPECT_EQ(MessageDlg(u"Delete?", mtConfirmation, mbYesNo, 0), mrNo);
    EXPECT_EQ(seen.Caption, u"Confirm");
    ShowMessage(u"Done");
    EXPECT_EQ(seen.Caption, u"Quillora");
    EXPECT_EQ(seen.Flags, MB_OK);
}

TEST(DialogsTest, InputQueryAndFolderAnsweredByTheHook) {
    TScopedModalHook hook([](TModalRequest& r) {
        if (r.What == TModalRequest::InputQuery) {
            EXPECT_EQ(r.Text, u"Folder name:");
            EXPECT_EQ(r.Value, u"start");
            r.Value = u"typed";
            return mrOk;
        }
        EXPECT_EQ(r.What, TModalRequest::FolderDialog);
        EXPECT_EQ(r.Files, std::vector<WideString>{u"/root/start"});
        r.Files = {u"/chosen"};
        return mrOk;
    });
    WideString value = u"start";
    EXPECT_TRUE(InputQuery(u"New", u"Folder name:", value));
    EXPECT_EQ(value, u"typed");
    EXPECT_EQ(InputBox(u"New", u"Folder name:", u"start"), u"typed");
    WideString folder;
    EXPECT_TRUE(SelectDirectory(u"Export to", u"/root/start", folder));
    EXPECT_EQ(folder, u"/chosen");
}

TEST(DialogsTest, FontDialogTakesTheAnswerOrKeepsTheFont) {
    TFontDialog dialog(nullptr);
    dialog.Font()->SetName(u"Arial");
    TScopedModalHook hook([](TModalRequest& r) {
        auto* d = dynamic_cast<TFontDialog*>(r.Dialog);
        EXPECT_EQ(r.What, TModalRequest::FontDialog);
        d->Font()->SetName(u"Courier New");
        d->Font()->SetSize(12);
        return r.Caption.empty() ? mrOk : mrCancel;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Name(), u"Courier New");
    EXPECT_EQ(dialog.Font()->Size(), 12);
    TScopedModalHook cancel([](TModalRequest& r) {
        dynamic_cast<TFontDialog*>(r.Dialog)->Font()->SetName(u"Changed");
        return mrCancel;
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Name(), u"Courier New");
}

TEST(DialogsTest, DialogsReadFromAFormFile) {
    RegisterClasses({&TOpenDialog::StaticClass(), &TSaveDialog::StaticClass(), &TPrintDialog::StaticClass()});
    TComponent owner(nullptr);
    auto* save = new TSaveDialog(&owner);
    ReadComponentText("object SaveDialog1: TSaveDialog\n"
                      "  DefaultExt = 'msg'\n"
                      "  Filter = 'Messages (*.msg)|*.msg|All files|*.*'\n"
                      "  FilterIndex = 2\n"
                      "  Options = [ofOverwritePrompt, ofHideReadOnly, ofPathMustExist]\n"
                      "  Title = 'Save message as'\n"
                      "end\n",
                      save);
    EXPECT_EQ(save->DefaultExt(), u"msg");
    EXPECT_EQ(ParseFilter(save->Filter()).size(), 2u);
    EXPECT_EQ(save->FilterIndex(), 2);
    EXPECT_EQ(save->Options(), (TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofPathMustExist}));
    EXPECT_EQ(save->Title(), u"Save message as");
}

}  // namespace
