// Drag sources played against scripted targets: the results of copy, move and cancel, the
// formats a file source offers, and data handed back by the target.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/dragdrop/DropFileComponents.h"
#include "controls/dragdrop/DropTextComponents.h"
#include "controls/dragdrop/FeedbackFormats.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/OleDragDrop.h"
#include "platform/win/WinString.h"

namespace {

std::vector<std::string> Offered(IDataObject* data, DWORD direction = DATADIR_GET) {
    std::vector<std::string> names;
    ComPtr<IEnumFORMATETC> e;
    if (data->EnumFormatEtc(direction, e.put()) != S_OK) return names;
    FORMATETC f;
    ULONG got = 0;
    while (e->Next(1, &f, &got) == S_OK && got == 1) {
        const WideString name = ClipboardFormatName(f.cfFormat);
        names.push_back(name.empty() ? std::to_string(f.cfFormat) : Utf16ToUtf8(name));
    }
    return names;
}

HRESULT SetDword(IDataObject* data, const char* format, DWORD value) {
    FORMATETC f{static_cast<CLIPFORMAT>(RegisterClipboardFormatA(format)), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m;
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = GlobalAlloc(GHND, 4);
    std::memcpy(GlobalLock(m.hGlobal), &value, 4);
    GlobalUnlock(m.hGlobal);
    return data->SetData(&f, &m, TRUE);
}

TEST(DropSource, ScriptedTargetsDecideTheResult) {
    struct Case {
        const char* what;
        TDragTypes dragTypes;
        TScriptedDropTarget target;
        TDragResult result;
        bool optimized;
    };
    const Case cases[] = {
        {"copy", {dtCopy}, {DROPEFFECT_COPY}, drDropCopy, false},
        {"escape", {dtCopy}, {DROPEFFECT_COPY, true}, drCancel, false},
        {"target only moves", {dtCopy}, {DROPEFFECT_MOVE}, drCancel, false},
        {"move", {dtCopy, dtMove}, {DROPEFFECT_MOVE}, drDropMove, true},
        // The target performed the move itself and says so: the source must not delete.
        {"optimized move", {dtCopy, dtMove}, {DROPEFFECT_MOVE, false, DROPEFFECT_MOVE}, drDropMove, false},
        {"copy reported, move performed", {dtCopy, dtMove}, {DROPEFFECT_COPY, false, DROPEFFECT_MOVE}, drDropMove, true},
    };
    for (const Case& c : cases) {
        TDropFileSource source(nullptr);
        source.DragTypes = c.dragTypes;
        source.Files().Add(Utf16ToUtf8(u"/tmp/\u4E00 message.msg"));
        TScopedDragDropDriver driver(c.target);
        int afterDrops = 0;
        bool optimized = false;
        source.OnAfterDrop = [&](TObject*, TDragResult, bool o) {
            ++afterDrops;
            optimized = o;
        };
        EXPECT_EQ(source.Execute(), c.result) << c.what;
        EXPECT_EQ(afterDrops, 1) << c.what;
        EXPECT_EQ(optimized, c.optimized) << c.what;
        if (c.result != drCancel) {
            EXPECT_EQ(*c.target.DroppedFiles, (std::vector<WideString>{u"/tmp/\u4E00 message.msg"})) << c.what;
        }
        EXPECT_FALSE(source.DragInProgress());
    }
}

TEST(DropSource, WithoutADriverTheDragFailsHonestly) {
    TScopedDragDropDriver none(nullptr);
    TDropFileSource source(nullptr);
    source.Files().Add("/tmp/a");
    EXPECT_EQ(source.Execute(), drUnknown);
}

TEST(DropSource, ExecuteInsideAfterDropRaises) {
    TScopedDragDropDriver driver(TScriptedDropTarget{});
    TDropFileSource source(nullptr);
    source.Files().Add("/tmp/a");
    std::string message;
    source.OnAfterDrop = [&](TObject*, TDragResult, bool) {
        try {
            source.Execute();
        } catch (const Exception& e) {
            message = e.AnsiMessage();
        }
    };
    source.Execute();
    EXPECT_EQ(message, "A drag and drop operation is already in progress");
}

TEST(DropSource, FileSourceOffersItsFormatsInOrderEachOnce) {
    TDropFileSource source(nullptr);
    EXPECT_TRUE(Offered(source.DataObject()).empty());  // no files, no formats
    source.Files().Add("/tmp/one.eml");
    EXPECT_EQ(Offered(source.DataObject()),
              (std::vector<std::string>{"15", "Shell IDList Array", "FileName", "FileNameW"}));
    source.SetPreferredDropEffect(DROPEFFECT_COPY);
    source.MappedNames().Add("renamed.eml");
    EXPECT_EQ(Offered(source.DataObject()),
              // Conversions of equal priority list the later registered first.
              (std::vector<std::string>{"InShellDragLoop", "Preferred DropEffect", "15", "Shell IDList Array",
                                        "FileName", "FileNameW", "FileNameMap", "FileNameMapW"}));
    // Formats the target writes back.
    const std::vector<std::string> set = Offered(source.DataObject(), DATADIR_SET);
    EXPECT_NE(std::find(set.begin(), set.end(), "Performed DropEffect"), set.end());
}

TEST(DropSource, DataHandedBackIsKeptAndPasteIsReported) {
    TDropFileSource source(nullptr);
    source.Files().Add("/tmp/a");
    IDataObject* data = source.DataObject();

    // Unknown data is kept raw and reads back.
    ASSERT_EQ(SetDword(data, "Some Target Private", 0xAABBCCDD), S_OK);
    FORMATETC f{static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Some Target Private")), nullptr, DVASPECT_CONTENT,
                -1, TYMED_HGLOBAL};
    STGMEDIUM m;
    ASSERT_EQ(data->GetData(&f, &m), S_OK);
    DWORD value = 0;
    std::memcpy(&value, GlobalLock(m.hGlobal), 4);
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    EXPECT_EQ(value, 0xAABBCCDDu);

    TDragResult pasted = drUnknown;
    source.OnPaste = [&](TObject*, TDragResult action, bool) { pasted = action; };
    ASSERT_EQ(SetDword(data, "Paste Succeeded", DROPEFFECT_COPY), S_OK);
    EXPECT_EQ(pasted, drDropCopy);
}

TEST(DropSource, NoExceptionCrossesTheDataObjectAndItOutlivesTheComponent) {
    ComPtr<IDataObject> held;
    {
        TDropTextSource source(nullptr);
        source.SetUnicodeText(u"text");
        source.OnGetData = [](TObject*, const FORMATETC&, STGMEDIUM&, bool&) { throw Exception("handler failed"); };
        held = ComPtr<IDataObject>(source.DataObject());
        FORMATETC f{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM m;
        EXPECT_EQ(held->GetData(&f, &m), E_UNEXPECTED);
        source.OnGetData = nullptr;
        ASSERT_EQ(held->GetData(&f, &m), S_OK);
        EXPECT_EQ(ClipboardText(std::string(static_cast<const char*>(GlobalLock(m.hGlobal)), GlobalSize(m.hGlobal))),
                  u"text");
        GlobalUnlock(m.hGlobal);
        ReleaseStgMedium(&m);
        // Converted on request from the wide text.
        FORMATETC ansi{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        EXPECT_EQ(held->QueryGetData(&ansi), S_OK);
    }
    FORMATETC f{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(held->QueryGetData(&f), E_UNEXPECTED);
}

}  // namespace
