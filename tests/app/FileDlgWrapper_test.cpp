// The open and save wrappers through the modal hook: what the dialog is given, what the
// wrapper keeps between calls, and the name it returns.
#include <gtest/gtest.h>

#include "app/FileDlgWrapper.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

// What the dialog was asked with, and the answer to give.
struct Seen {
    WideString fileName, filter, defaultExt;
    TOpenOptions options;
    TModalRequest::Kind kind = TModalRequest::MessageBox;
};

TScopedModalHook Answer(Seen& seen, const WideString& choice) {
    return TScopedModalHook([&seen, choice](TModalRequest& r) {
        auto* dialog = dynamic_cast<TOpenDialog*>(r.Dialog);
        if (!dialog) return 0;
        seen = {dialog->FileName(), dialog->Filter(), dialog->DefaultExt(), dialog->Options(), r.What};
        if (choice.empty()) return mrCancel;
        r.Files = {choice};
        return mrOk;
    });
}

}  // namespace

TEST(FileDlgWrapper, DefaultExtensionAsTheDialogTakesIt) {
    const struct {
        const char16_t* given;
        const char16_t* ext;
    } cases[] = {{u"csv", u"csv"}, {u".csv", u"csv"}, {u"*.csv", u"csv"}, {u"*.*", u""}, {u"", u""}, {u"*", u""}};
    for (const auto& c : cases) EXPECT_EQ(FileDlgWrapper::DialogExtension(c.given), c.ext) << Utf16ToUtf8(c.given);
}

TEST(FileDlgWrapper, SaveKeepsEmptyArgumentsAndAddsTheExtension) {
    testsupport::TempDir dir;
    SaveDlgWrapper save(u"list.csv", u"CSV files|*.csv", u"*.csv");
    Seen seen;
    const WideString chosen = Utf8ToUtf16((dir / "export").string());
    {
        auto hook = Answer(seen, chosen);
        ASSERT_TRUE(save.Exec(u"", u"", u""));
    }
    EXPECT_EQ(seen.kind, TModalRequest::SaveDialog);
    EXPECT_EQ(seen.fileName, u"list.csv");
    EXPECT_EQ(seen.filter, u"CSV files|*.csv");
    EXPECT_EQ(seen.defaultExt, u"csv");
    EXPECT_TRUE(seen.options.Contains(ofOverwritePrompt));
    EXPECT_EQ(save.GetFileName(), chosen + u".csv");

    // New values replace the stored ones and stay for the next call; a cancel empties the name.
    {
        auto hook = Answer(seen, u"");
        EXPECT_FALSE(save.Exec(u"body.txt", u"Text|*.txt", u""));
    }
    EXPECT_EQ(seen.fileName, u"body.txt");
    EXPECT_EQ(seen.filter, u"Text|*.txt");
    EXPECT_EQ(seen.defaultExt, u"csv");
    EXPECT_EQ(save.GetFileName(), u"");
    EXPECT_EQ(save.InitialName(), u"body.txt");
}

TEST(FileDlgWrapper, OpenWantsAnExistingFile) {
    testsupport::TempDir dir;
    const WideString existing = Utf8ToUtf16(dir.WriteFile("a.msg", "x").string());
    OpenDlgWrapper open(u"", u"Outlook messages|*.msg|All files|*.*", u"msg");
    Seen seen;
    {
        auto hook = Answer(seen, existing);
        ASSERT_TRUE(open.Exec(u"", u"", u""));
    }
    EXPECT_EQ(seen.kind, TModalRequest::OpenDialog);
    EXPECT_TRUE(seen.options.Contains(ofFileMustExist));
    EXPECT_TRUE(seen.options.Contains(ofHideReadOnly));
    EXPECT_EQ(open.GetFileName(), existing);
}
