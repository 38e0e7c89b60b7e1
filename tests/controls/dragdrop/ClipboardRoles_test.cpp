// Sources on the clipboard and targets pasting from it, and data formats added to empty
// components by name.
#include <gtest/gtest.h>

#include "controls/dragdrop/DataFormatAdapter.h"
#include "controls/dragdrop/DropFileComponents.h"
#include "controls/dragdrop/DropTextComponents.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/OleClipboard.h"

namespace {

TEST(ClipboardRoles, CopiedFilesPasteWithTheirEffect) {
    TDropFileTarget target(nullptr);
    {
        TDropFileSource source(nullptr);
        source.Files().Add("/tmp/a.msg");
        source.Files().Add("/tmp/b.eml");
        ASSERT_TRUE(source.CutToClipboard());
        EXPECT_EQ(OleIsCurrentClipboard(source.DataObject()), S_OK);
        // A change after the copy does not reach the clipboard.
        source.Files().Add("/tmp/c.eml");
    }
    EXPECT_TRUE(target.CanPasteFromClipboard());
    std::vector<std::string> pasted;
    target.OnDrop = [&](TObject*, TShiftState, TPoint, DWORD&) {
        for (int i = 0; i < target.Files().Count(); ++i) pasted.push_back(target.Files()[i]);
    };
    // The cut's preferred effect; the clipboard takes no answer back.
    EXPECT_EQ(target.PasteFromClipboard(), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(pasted, (std::vector<std::string>{"/tmp/a.msg", "/tmp/b.eml"}));

    TDropTextSource text(nullptr);
    text.SetText("x");
    ASSERT_TRUE(text.CopyToClipboard());
    text.EmptyClipboard();
    EXPECT_FALSE(target.CanPasteFromClipboard());
    EXPECT_EQ(Clipboard()->FormatCount(), 0);
}

TEST(DataFormatAdapter, AddsAFormatByNameAndRefusesUnknownNames) {
    TDropEmptySource source(nullptr);
    TDataFormatAdapter adapter(nullptr);
    adapter.SetDragDropComponent(&source);
    try {
        adapter.SetDataFormatName("TNoSuchDataFormat");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.AnsiMessage(), "The TNoSuchDataFormat data format has not been registered by any of the used units");
    }
    EXPECT_FALSE(adapter.Enabled());
    adapter.SetDataFormatName("ttextdataformat");
    ASSERT_TRUE(adapter.Enabled());
    auto& text = dynamic_cast<TTextDataFormat&>(*adapter.DataFormat());
    text.SetText("adapted");
    FORMATETC f{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(source.DataObject()->QueryGetData(&f), S_OK);
    adapter.SetEnabled(false);
    EXPECT_EQ(source.DataObject()->QueryGetData(&f), DV_E_FORMATETC);
}

TEST(DataFormatAdapter, OutlivesItsComponent) {
    TDataFormatAdapter adapter(nullptr);
    {
        TDropEmptyTarget target(nullptr);
        adapter.SetDataFormatName("TFileDataFormat");
        adapter.SetDragDropComponent(&target);
        ASSERT_TRUE(adapter.Enabled());
    }
    EXPECT_EQ(adapter.DragDropComponent(), nullptr);
    EXPECT_FALSE(adapter.Enabled());
}

}  // namespace
