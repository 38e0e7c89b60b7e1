// The conversion map and the class registry: merging, priority order, tiers, names.
#include <gtest/gtest.h>

#include "controls/dragdrop/ClipboardFormatNames.h"
#include "controls/dragdrop/DataFormatMap.h"
#include "controls/dragdrop/DragDropComponent.h"
#include "controls/dragdrop/FeedbackFormats.h"
#include "controls/dragdrop/FileFormats.h"
#include "controls/dragdrop/RawFormats.h"
#include "controls/dragdrop/TextFormats.h"
#include "platform/com/ByteStream.h"
#include "platform/vcl/Clipbrd.h"

namespace {

// A data format class of the test's own, so the process-wide map's other entries stay apart.
class TProbeDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    using TCustomDataFormat::TCustomDataFormat;
    void Clear() override {}
    bool HasData() override { return false; }
};
DRAGDROP_DEFINE_CLASS(TDataFormatClass, TProbeDataFormat, TCustomDataFormat)

std::vector<std::pair<std::string_view, int>> EntriesOf(const TDataFormatClass& c) {
    std::vector<std::pair<std::string_view, int>> out;
    for (const TConversionMapEntry& e : TDataFormatMap::Instance().Entries())
        if (e.DataClass == &c) out.emplace_back(e.FormatClass->Name, e.Priority);
    return out;
}

class FormatMapTest : public ::testing::Test {
protected:
    void SetUp() override { DragDropStartup(); }
    void TearDown() override { TDataFormatMap::Instance().DeleteByDataFormat(TProbeDataFormat::StaticClass()); }
};

TEST_F(FormatMapTest, EntriesComeInAscendingPriorityAndATwiceRegisteredPairMerges) {
    const TDataFormatClass& probe = TProbeDataFormat::StaticClass();
    TDataFormatMap& map = TDataFormatMap::Instance();
    map.Add(probe, TUnicodeTextClipboardFormat::StaticClass(), 3, {ccReadFromDataFormat});
    map.Add(probe, TAnsiTextClipboardFormat::StaticClass(), 1, {ccReadFromDataFormat});
    map.Add(probe, TFileClipboardFormat::StaticClass(), 2, {ccReadFromDataFormat});
    // Equal priority goes before the existing entry.
    map.Add(probe, TOEMTextClipboardFormat::StaticClass(), 1, {ccReadFromDataFormat});
    // Registering a pair again merges it and places it anew among its equals.
    map.Add(probe, TAnsiTextClipboardFormat::StaticClass(), 1, {ccWriteToDataFormat});
    using E = std::vector<std::pair<std::string_view, int>>;
    EXPECT_EQ(EntriesOf(probe), (E{{"TAnsiTextClipboardFormat", 1},
                                   {"TOEMTextClipboardFormat", 1},
                                   {"TFileClipboardFormat", 2},
                                   {"TUnicodeTextClipboardFormat", 3}}));
    const TConversionMapEntry* merged = map.FindMap(probe, TAnsiTextClipboardFormat::StaticClass());
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->Capabilities, (TConversionCapabilities{ccReadFromDataFormat, ccWriteToDataFormat}));
}

TEST_F(FormatMapTest, ClipboardFormatsByTier) {
    const TDataFormatClass& probe = TProbeDataFormat::StaticClass();
    TDataFormatMap& map = TDataFormatMap::Instance();
    // The source tier lists what the data format is read into or what travels back (ddWrite);
    // the target tier what it is written from or what travels to it (ddRead).
    map.Add(probe, TAnsiTextClipboardFormat::StaticClass(), 0, {ccReadFromDataFormat});
    map.Add(probe, TPreferredDropEffectClipboardFormat::StaticClass(), 1, {ccWriteToDataFormat});
    map.Add(probe, TPerformedDropEffectClipboardFormat::StaticClass(), 2, {ccReadFromDataFormat});
    TClipboardFormats source, target;
    map.GetClipboardFormats(probe, source, ddtSource);
    map.GetClipboardFormats(probe, target, ddtTarget);
    ASSERT_EQ(source.Count(), 2);
    EXPECT_EQ(source[0]->ClassName(), "TAnsiTextClipboardFormat");
    EXPECT_EQ(source[1]->ClassName(), "TPerformedDropEffectClipboardFormat");
    ASSERT_EQ(target.Count(), 2);
    // Without the read capability the entry keeps priority 0, before the text's.
    EXPECT_EQ(target[0]->ClassName(), "TPreferredDropEffectClipboardFormat");
    EXPECT_EQ(target[1]->ClassName(), "TAnsiTextClipboardFormat");

    map.DeleteByClipboardFormat(TCustomDWORDClipboardFormat::StaticClass());
    EXPECT_FALSE(map.CanMap(TFeedbackDataFormat::StaticClass(), TPerformedDropEffectClipboardFormat::StaticClass()));
    TCustomDataFormat::RegisterDataFormat(TFeedbackDataFormat::StaticClass());  // put the feedback entries back
    EXPECT_TRUE(map.CanMap(TFeedbackDataFormat::StaticClass(), TPerformedDropEffectClipboardFormat::StaticClass()));
}

TEST_F(FormatMapTest, FileDataFormatConvertsInTheDocumentedOrder) {
    TClipboardFormats list;
    TDataFormatMap::Instance().GetClipboardFormats(TFileDataFormat::StaticClass(), list, ddtSource);
    std::vector<std::string_view> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list[i]->ClassName());
    EXPECT_EQ(names, (std::vector<std::string_view>{"TFileClipboardFormat", "TPIDLClipboardFormat",
                                                    "TAnsiFilenameClipboardFormat", "TUnicodeFilenameClipboardFormat"}));
    EXPECT_NE(TDataFormatClasses::Instance().Find("tfiledataformat"), nullptr);
    EXPECT_EQ(TDataFormatClasses::Instance().Find("TNoSuchFormat"), nullptr);
}

TEST_F(FormatMapTest, MissingFormatsRaiseWithTheirMessages) {
    TClipboardFormats list;
    try {
        list.GetFormat(CLIPFORMAT(99));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Clipboard format 99 does not exist in TCustomDataFormat's list of copatible formats");
    }
    EXPECT_THROW(TRawClipboardFormat(), Exception);
}

TEST(ClipboardFormatNames, StandardAndRegistered) {
    EXPECT_EQ(GetClipboardFormatNameStr(1), "CF_TEXT");
    EXPECT_EQ(GetClipboardFormatNameStr(15), "CF_HDROP");
    EXPECT_EQ(GetClipboardFormatNameStr(18), "CF_MAX_XP");
    EXPECT_EQ(GetClipboardFormatNameStr(142), "CF_DSPENHMETAFILE");
    EXPECT_EQ(GetClipboardFormatNameStr(RegisterClipboardFormatA("Shell IDList Array")), "Shell IDList Array");
    EXPECT_EQ(GetClipboardFormatNameStr(0x7777), "");
}

TEST(RawClipboardFormat, HandsOutItsStreamAgainFromTheStart) {
    FORMATETC f{static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Raw probe")), nullptr, DVASPECT_CONTENT, -1,
                TYMED_ISTREAM};
    TRawClipboardFormat raw(f);
    STGMEDIUM in;
    in.tymed = TYMED_ISTREAM;
    in.pstm = MakeComObject<ByteStream>(std::vector<std::uint8_t>{'a', 'b', 'c'}).Detach();
    ASSERT_TRUE(raw.CopyFromMedium(in));
    ReleaseStgMedium(&in);
    for (int round = 0; round < 2; ++round) {
        STGMEDIUM out;
        ASSERT_TRUE(raw.SetDataToMedium(f, out));
        char buffer[4] = {};
        ULONG got = 0;
        ASSERT_EQ(out.pstm->Read(buffer, 3, &got), S_OK);
        EXPECT_EQ(std::string(buffer, got), "abc");
        ReleaseStgMedium(&out);
    }
    EXPECT_EQ(raw.AsString(), "abc");
}

}  // namespace
