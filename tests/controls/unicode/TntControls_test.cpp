// The layer's wide properties in form files, the helper registry, wide control text and hints,
// and the layer's form and application, without a display.
#include <gtest/gtest.h>

#include "controls/unicode/TntForms.h"
#include "controls/unicode/TntHintWindow.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "controls/unicode/TntWideProperties.h"
#include "platform/vcl/Filer.h"

namespace {

// A control with a wide property of each kind, read from form files.
class TWideBox : public TCustomControl {
    QUILLORA_COMPONENT(TWideBox)
public:
    explicit TWideBox(TComponent* owner) : TCustomControl(owner), lines_(std::make_unique<TTntStringList>()) {}
    WideChar Mark() const { return mark_; }
    void SetMark(WideChar c) { mark_ = c; }
    TTntStringList* Lines() const { return lines_.get(); }
    void DefineProperties(TFiler* filer) override {
        TCustomControl::DefineProperties(filer);
        DefineWideProperties(filer, this);
    }
    int textChanges = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_TEXTCHANGED) ++textChanges;
        TCustomControl::WndProc(m);
    }

private:
    WideChar mark_ = 0;
    std::unique_ptr<TTntStringList> lines_;
};

const TMetaClass& TWideBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TWideBox>("TWideBox", &TCustomControl::StaticClass(), [](TClassBuilder<TWideBox>& b) {
        PublishWideCaption(b);
        b.Property("Mark", &TWideBox::Mark, &TWideBox::SetMark).Default(WideChar{0});
        b.ReadOnly("Lines", [](const TWideBox& w) { return static_cast<TTntStrings*>(w.Lines()); });
    });
    return meta;
}

class TntControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        RegisterClass(TWideBox::StaticClass());
    }
    // Reads one box from a form-file body (properties only).
    std::unique_ptr<TWideBox> Read(const std::string& body) {
        auto box = std::make_unique<TWideBox>(nullptr);
        ReadComponentText("object Box: TWideBox\n" + body + "end\n", box.get());
        return box;
    }
};

TEST_F(TntControlsTest, LegacyWidePropertiesAreReadAndDropped) {
    // "WideStringsW" after a non-empty "Strings" is dropped; "WideStrings" always replaces.
    auto box = Read("  Caption = 'Plain'\n  CaptionW = 'Other'\n  Caption_UTF7 = 'x'\n"
                    "  Lines.Strings = ('a' 'b')\n  Lines.WideStringsW = ('w')\n");
    EXPECT_EQ(box->Caption(), u"Plain");
    EXPECT_EQ(box->Lines()->Text(), u"a\r\nb\r\n");
    box = Read("  Lines.Strings = ('a')\n  Lines.WideStrings = (#$0416 'z')\n");
    EXPECT_EQ(box->Lines()->Text(), u"\u0416\r\nz\r\n");
    box = Read("  Lines.WideStringsW = ('\xD0\x96')\n");
    EXPECT_EQ(box->Lines()->Count(), 1);
    // The character property's W form is always taken; a longer value is refused.
    box = Read("  MarkW = '*'\n");
    EXPECT_EQ(box->Mark(), u'*');
    EXPECT_THROW(Read("  MarkW = 'ab'\n"), Exception);
    EXPECT_THROW(Read("  MarkW = ''\n"), Exception);
    EXPECT_THROW(Read("  MarkW = 5\n"), Exception);
}

TEST_F(TntControlsTest, LegacyStringsApplyWhenAsked) {
    ReadLegacyWideProperties = true;
    auto box = Read("  Caption = 'Plain'\n  CaptionW = '\xD0\x96'\n  Lines.Strings = ('a')\n  Lines.WideStringsW = ('w')\n");
    ReadLegacyWideProperties = false;
    EXPECT_EQ(box->Caption(), u"\u0416");
    EXPECT_EQ(box->Lines()->Text(), u"w\r\n");
}

TEST_F(TntControlsTest, HelperGoesWithItsControl) {
    auto box = std::make_unique<TWideBox>(nullptr);
    EXPECT_EQ(FindWideControlHelper(box.get()), nullptr);
    TWideControlHelper* helper = FindWideControlHelper(box.get(), true);
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(FindWideControlHelper(box.get(), true), helper);
    const int count = WideControlHelpers().Count();
    TControl* const gone = box.get();
    box.reset();
    EXPECT_EQ(WideControlHelpers().Count(), count - 1);
    int index = 0;
    EXPECT_FALSE(WideControlHelpers().Find(gone, index));
    EXPECT_THROW(TWideComponentHelper(nullptr), ETntInternalError);
}

TEST_F(TntControlsTest, WideTextSurvivesTheWindowAndChangesOnce) {
    TForm form(nullptr);
    auto* box = new TWideBox(&form);
    box->SetParent(&form);
    SetWideControlText(box, u"\u0416\u0437\U0001F600");
    box->HandleNeeded();
    EXPECT_EQ(GetWideControlText(box), u"\u0416\u0437\U0001F600");
    box->RecreateWnd();
    box->HandleNeeded();
    EXPECT_EQ(GetWideControlText(box), u"\u0416\u0437\U0001F600");
    box->textChanges = 0;
    SetWideControlText(box, u"\u03A9");
    SetWideControlText(box, u"\u03A9");
    EXPECT_EQ(box->textChanges, 1);
}

TEST_F(TntControlsTest, HintChainAndItsParts) {
    TForm form(nullptr);
    auto* box = new TWideBox(&form);
    box->SetParent(&form);
    WideSetHint(&form, u"a|b");
    EXPECT_EQ(WideGetShortHint(WideGetHintOfChain(box)), u"a");
    EXPECT_EQ(WideGetLongHint(WideGetHintOfChain(box)), u"b");
    EXPECT_EQ(WideGetLongHint(u"plain"), u"plain");

    // The layer's hint window takes a prepared record; the text is the record's as the
    // application's hint event left it.
    THintInfo info;
    info.HintControl = box;
    info.HintWindowClass = HintWindowClass;
    PrepareWideHint(info);
    EXPECT_EQ(info.HintStr, u"a");
    EXPECT_EQ(info.HintWindowClass, &TTntCustomHintWindow::StaticClass());
    EXPECT_TRUE(IsWideHintPrepared(&info));
    info.HintStr = u"changed";
    EXPECT_EQ(WideHintText(info), u"changed");
}

TEST_F(TntControlsTest, HotKeysOfCaptions) {
    EXPECT_TRUE(IsWideCharAccel(u'\u0436', u"&\u0416\u0443\u043A"));
    EXPECT_TRUE(IsWideCharAccel('F', u"&file"));
    EXPECT_FALSE(IsWideCharAccel('x', u"&file"));
    EXPECT_FALSE(IsWideCharAccel('f', u"file"));
}

// --- forms ------------------------------------------------------------------------------------

class TWithResource : public TTntForm {
    QUILLORA_COMPONENT(TWithResource)
public:
    using TTntForm::TTntForm;
};
const TMetaClass& TWithResource::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TWithResource>("TWithResource", &TTntForm::StaticClass());
    return meta;
}

class TWithoutResource : public TTntForm {
    QUILLORA_COMPONENT(TWithoutResource)
public:
    using TTntForm::TTntForm;
};
const TMetaClass& TWithoutResource::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TWithoutResource>("TWithoutResource", &TTntForm::StaticClass());
    return meta;
}

TEST_F(TntControlsTest, FormsReadTheirFilesBelowTTntForm) {
    RegisterFormResource("TWithResource", "object WithResource: TWithResource\n  Caption = #$0424\nend\n");
    TWithResource with(nullptr);
    with.InitForm();
    EXPECT_EQ(with.GetCaption(), u"\u0424");
    with.SetCaption(u"\u0424\u043E\u0440\u043C\u0430");
    EXPECT_EQ(with.Caption(), u"\u0424\u043E\u0440\u043C\u0430");

    TTntForm plain(nullptr);
    EXPECT_NO_THROW(plain.InitForm());
    TWithoutResource without(nullptr);
    try {
        without.InitForm();
        ADD_FAILURE() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.AnsiMessage(), "Resource TWithoutResource not found");
    }
}

TEST_F(TntControlsTest, EveryWideClassIsKnownToFormFiles) {
    RegisterTntClasses();
    for (const char* name : {"TTntForm", "TTntEdit", "TTntMemo", "TTntLabel", "TTntButton", "TTntCheckBox",
                             "TTntRadioButton", "TTntGroupBox", "TTntListView", "TTntTreeView", "TTntRichEdit",
                             "TTntStatusBar", "TTntPageControl", "TTntTabSheet", "TTntMenuItem", "TTntPopupMenu",
                             "TTntMainMenu", "TTntActionList", "TTntAction", "TTntHintAction"})
        EXPECT_NE(GetClass(name), nullptr) << name;
}

TEST_F(TntControlsTest, ApplicationTitleAndHint) {
    TntApplication()->SetTitle(u"\u65E5\u672C \U0001F600");
    EXPECT_EQ(TntApplication()->GetTitle(), u"\u65E5\u672C \U0001F600");
    EXPECT_EQ(Application->Title(), u"\u65E5\u672C \U0001F600");
    TntApplication()->SetHint(u"\u0416");
    EXPECT_EQ(Application->Hint(), u"\u0416");
}

}  // namespace
