// Components, published-property tables and text form files, without any display.
#include <gtest/gtest.h>

#include "platform/vcl/Collections.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Strings.h"

namespace {

enum TShade { shNone, shLight, shDark };
enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TSet<TSide>;

}  // namespace

QUILLORA_ENUM_TYPEINFO(TShade, "shNone", "shLight", "shDark")
QUILLORA_ENUM_TYPEINFO(TSide, "sdLeft", "sdTop", "sdRight", "sdBottom")

namespace {

const TTypeInfo* ShadeColorType() {
    static const TTypeInfo info{"TShadeColor", TTypeKind::tkInteger, {}, nullptr, {{"scPaper", 0xF0F0F0}, {"scInk", 0x101010}}};
    return &info;
}

// A persistent sub-object written as "Pen.Width = ...".
class TPenLike : public TPersistent {
    QUILLORA_PERSISTENT(TPenLike)
public:
    int Width = 1;
    WideString Name = u"Solid";
};

const TMetaClass& TPenLike::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TPenLike>("TPenLike", nullptr, [](TClassBuilder<TPenLike>& b) {
        b.Field("Width", &TPenLike::Width).Default(1);
        b.Field("Name", &TPenLike::Name).Default(u"Solid");
    });
    return meta;
}

class TColumn : public TCollectionItem {
    QUILLORA_PERSISTENT(TColumn)
public:
    using TCollectionItem::TCollectionItem;
    int Width = 50;
    WideString Caption;
};

const TMetaClass& TColumn::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TColumn>("TColumn", nullptr, [](TClassBuilder<TColumn>& b) {
        b.Field("Caption", &TColumn::Caption);
        b.Field("Width", &TColumn::Width).Default(50);
    });
    return meta;
}

// A container: boxes hold boxes, as panels hold controls.
class TBox : public TComponent {
    QUILLORA_COMPONENT(TBox)
public:
    explicit TBox(TComponent* owner)
        : TComponent(owner), Columns([](TCollection* c) { return std::make_unique<TColumn>(c); }) {
        (void)TColumn::StaticClass();
        (void)TPenLike::StaticClass();
    }
    ~TBox() override {
        for (TBox* c : Children) c->parent_ = nullptr;
        SetParentComponent(nullptr);
    }

    int Width = 0;
    WideString Caption;
    TShade Shade = shNone;
    TSides Sides = {sdLeft, sdTop};
    bool Visible = true;
    double Ratio = 0;
    std::int32_t Color = 0xF0F0F0;
    WideChar Accel = u'&';
    TNotifyEvent OnClick;
    TStringList Lines;
    TCollection Columns;
    TPenLike Pen;
    std::string Blob;      // stored through DefineBinaryProperty
    int LegacySeen = 0;    // an old property, read and dropped
    int LoadedCalls = 0;
    TBox* BuddyAtLoaded = nullptr;
    std::vector<TBox*> Children;

    TBox* Buddy() const { return buddy_; }
    void SetBuddy(TBox* b) {
        if (buddy_) buddy_->RemoveFreeNotification(this);
        buddy_ = b;
        if (b) b->FreeNotification(this);
    }
    TBox* Parent() const { return parent_; }

    bool HasParent() const override { return parent_ != nullptr; }
    TComponent* GetParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* p) override {
        if (parent_) std::erase(parent_->Children, this);
        parent_ = dynamic_cast<TBox*>(p);
        if (parent_) parent_->Children.push_back(this);
    }
    void GetChildren(const TGetChildProc& proc, TComponent* root) const override {
        for (TBox* c : Children) proc(c);
        if (root == this)  // the root also holds its parentless components
            for (int i = 0; i < ComponentCount(); ++i)
                if (!Components(i)->HasParent()) proc(Components(i));
    }
    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCalls;
        BuddyAtLoaded = buddy_;
        loadedWhileReading = ComponentState().Contains(csReading);
    }
    bool loadedWhileReading = false;

    void DefineProperties(TFiler* filer) override {
        filer->DefineBinaryProperty(
            "Blob",
            [this](TStream& s) {
                Blob.resize(static_cast<std::size_t>(s.Size()));
                s.ReadBuffer(Blob.data(), s.Size());
            },
            [this](TStream& s) { s.WriteBuffer(Blob.data(), static_cast<std::int64_t>(Blob.size())); }, !Blob.empty());
        filer->DefineProperty("OldThickness", [this](TReader& r) { LegacySeen = static_cast<int>(r.ReadInteger()); },
                              nullptr, false);
        filer->DefineProperty(
            "Stops",
            [this](TReader& r) {
                r.ReadListBegin();
                while (!r.EndOfList()) Stops.push_back(static_cast<int>(r.ReadInteger()));
                r.ReadListEnd();
            },
            [this](TWriter& w) {
                w.WriteListBegin();
                for (int s : Stops) w.WriteInteger(s);
                w.WriteListEnd();
            },
            !Stops.empty());
    }
    std::vector<int> Stops;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == buddy_) buddy_ = nullptr;
        if (op == TOperation::opRemove && c == this->parent_) parent_ = nullptr;
    }

private:
    TBox* buddy_ = nullptr;
    TBox* parent_ = nullptr;
};

const TMetaClass& TBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TBox>("TBox", &TComponent::StaticClass(), [](TClassBuilder<TBox>& b) {
        b.Field("Width", &TBox::Width).Default(0);
        b.Field("Caption", &TBox::Caption);
        b.Field("Shade", &TBox::Shade).Default(shNone);
        b.Field("Sides", &TBox::Sides).Default(TSides{sdLeft, sdTop});
        b.Field("Visible", &TBox::Visible).Default(true);
        b.Field("Ratio", &TBox::Ratio);
        b.Field("Color", &TBox::Color).Default(0xF0F0F0).Type(ShadeColorType());
        b.Field("Accel", &TBox::Accel).Default(u'&');
        b.Property("Buddy", &TBox::Buddy, &TBox::SetBuddy);
        b.ReadOnly("Lines", [](const TBox& x) { return const_cast<TStringList*>(&x.Lines); });
        b.ReadOnly("Columns", [](const TBox& x) { return const_cast<TCollection*>(&x.Columns); });
        b.ReadOnly("Pen", [](const TBox& x) { return const_cast<TPenLike*>(&x.Pen); });
        b.Event("OnClick", &TBox::OnClick);
    });
    return meta;
}

class TTestForm : public TBox {
    QUILLORA_COMPONENT(TTestForm)
public:
    using TBox::TBox;
    void OkClick(TObject* sender) { clicked.push_back(sender); }
    std::vector<TObject*> clicked;
};

const TMetaClass& TTestForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTestForm>("TTestForm", &TBox::StaticClass(), [](TClassBuilder<TTestForm>& b) {
        b.Method("OkClick", &TTestForm::OkClick);
    });
    return meta;
}

class TDerivedForm : public TTestForm {
    QUILLORA_COMPONENT(TDerivedForm)
public:
    using TTestForm::TTestForm;
};

const TMetaClass& TDerivedForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TDerivedForm>("TDerivedForm", &TTestForm::StaticClass());
    return meta;
}

class FormFilesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterClasses({&TBox::StaticClass(), &TTestForm::StaticClass(), &TDerivedForm::StaticClass()}); }
};

const char* const kForm = R"(object Form1: TTestForm
  Width = 640
  Caption = 'Main '#$0424'orm'
  object Outer: TBox
    Width = 300
    Shade = shDark
    Sides = [sdLeft, sdBottom]
    Buddy = Label1
    Color = scInk
    object Inner: TBox
      Caption = 'It''s '#13#10 +
        'two lines'
      Visible = False
      Ratio = 1.5
      Lines.Strings = (
        'first'
        'zweite Zeile '#228)
      Pen.Width = 3
      OnClick = OkClick
    end
  end
  object Label1: TBox
    Caption = 'caf'#233
    Accel = 'x'
    Columns = <
      item
        Caption = 'From'
        Width = 120
      end
      item
        Caption = 'Subject'
      end>
    OldThickness = 7
    Stops = (
      1
      2
      3)
    Blob = {
      00FF10}
  end
end
)";

TEST_F(FormFilesTest, ReadsNestedObjectsPropertiesReferencesAndEvents) {
    TTestForm form(nullptr);
    ReadComponentText(kForm, &form);

    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Width, 640);
    EXPECT_EQ(form.Caption, u"Main \u0424orm");
    ASSERT_EQ(form.ComponentCount(), 3);
    auto* outer = dynamic_cast<TBox*>(form.FindComponent("OUTER"));
    auto* inner = dynamic_cast<TBox*>(form.FindComponent("Inner"));
    auto* label = dynamic_cast<TBox*>(form.FindComponent("Label1"));
    ASSERT_TRUE(outer && inner && label);
    EXPECT_EQ(inner->Owner(), &form);
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(outer->Parent(), &form);
    EXPECT_EQ(outer->Shade, shDark);
    EXPECT_EQ(outer->Sides, (TSides{sdLeft, sdBottom}));
    EXPECT_EQ(outer->Color, 0x101010);
    // A reference to a component read later in the file is resolved before Loaded.
    EXPECT_EQ(outer->Buddy(), label);
    EXPECT_EQ(outer->BuddyAtLoaded, label);
    EXPECT_EQ(inner->Caption, u"It's \r\ntwo lines");
    EXPECT_FALSE(inner->Visible);
    EXPECT_DOUBLE_EQ(inner->Ratio, 1.5);
    ASSERT_EQ(inner->Lines.Count(), 2);
    EXPECT_EQ(inner->Lines[1], "zweite Zeile \xC3\xA4");
    EXPECT_EQ(inner->Pen.Width, 3);
    EXPECT_EQ(label->Caption, u"caf\u00E9");
    EXPECT_EQ(label->Accel, u'x');
    ASSERT_EQ(label->Columns.Count(), 2);
    EXPECT_EQ(static_cast<TColumn*>(label->Columns.Items(0))->Width, 120);
    EXPECT_EQ(static_cast<TColumn*>(label->Columns.Items(1))->Width, 50);
    EXPECT_EQ(static_cast<TColumn*>(label->Columns.Items(1))->Caption, u"Subject");
    EXPECT_EQ(label->LegacySeen, 7);
    EXPECT_EQ(label->Stops, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(label->Blob, std::string("\x00\xFF\x10", 3));

    // The event is bound to the form's published method.
    ASSERT_TRUE(inner->OnClick);
    inner->OnClick(inner);
    EXPECT_EQ(form.clicked, std::vector<TObject*>{inner});

    for (TBox* b : {static_cast<TBox*>(&form), outer, inner, label}) {
        EXPECT_EQ(b->LoadedCalls, 1) << b->Name();
        EXPECT_FALSE(b->loadedWhileReading);
        EXPECT_FALSE(b->ComponentState().Contains(csLoading));
    }
}

TEST_F(FormFilesTest, WritesOnlyNonDefaultValuesAndRoundTrips) {
    TTestForm form(nullptr);
    ReadComponentText(kForm, &form);
    const std::string written = ComponentToText(&form);

    // Retired values are not written back; the rest comes out as read, defaults left out.
    const char* const expected = R"(object Form1: TTestForm
  Width = 640
  Caption = 'Main '#1060'orm'
  object Outer: TBox
    Width = 300
    Shade = shDark
    Sides = [sdLeft, sdBottom]
    Color = scInk
    Buddy = Label1
    object Inner: TBox
      Caption = 'It''s '#13#10'two lines'
      Visible = False
      Ratio = 1.5
      Lines.Strings = (
        'first'
        'zweite Zeile '#228)
      Pen.Width = 3
      OnClick = OkClick
    end
  end
  object Label1: TBox
    Caption = 'caf'#233
    Accel = 'x'
    Columns = <
      item
        Caption = 'From'
        Width = 120
      end
      item
        Caption = 'Subject'
      end>
    Blob = {
      00FF10}
    Stops = (
      1
      2
      3)
  end
end
)";
    EXPECT_EQ(written, expected);

    TTestForm again(nullptr);
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);
}

TEST_F(FormFilesTest, BinaryDefinedPropertyRoundTripsEveryByte) {
    TTestForm form(nullptr);
    auto* box = new TBox(&form);
    box->SetName("Data");
    box->SetParentComponent(&form);
    for (int i = 0; i < 300; ++i) box->Blob += static_cast<char>(i * 7);
    const std::string text = ComponentToText(&form);
    TTestForm copy(nullptr);
    ReadComponentText(text, &copy);
    auto* read = dynamic_cast<TBox*>(copy.FindComponent("Data"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Blob, box->Blob);
}

TEST_F(FormFilesTest, FaultsAreReportedWithTheirPlace) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n  Nope = 1\nend\n", "Error reading F.Nope: Property Nope does not exist"},
        {"object F: TTestForm\n  Shade = shPurple\nend\n", "Error reading F.Shade: Invalid property value"},
        {"object F: TTestForm\n  Width = 'wide'\nend\n", "Error reading F.Width: Invalid property value"},
        {"object F: TTestForm\n  OnClick = Missing\nend\n", "Error reading F.OnClick: Method Missing not found in TTestForm"},
        {"object F: TTestForm\n  Buddy = Nobody\nend\n", "Error reading F.Buddy: Component Nobody not found"},
        {"object F: TTestForm\n  object B: TNoSuchClass\n  end\nend\n", "Class TNoSuchClass not found"},
        {"object F: TTestForm\n  object B: TBox\n  end\n  object b: TBox\n  end\nend\n",
         "Error reading F: A component named b already exists"},
        {"object F: TTestForm\n  Stops = 5\nend\n", "Error reading F.Stops: Invalid property value"},
        {"object F: TTestForm\n  Width = 1\n  Caption = 'open\nend\n", "Line 3: unterminated string"},
        {"object F: TTestForm\n  Width = )\nend\n", "Line 2: value expected"},
        {"object F: TTestForm\n  Width = 1\n", "Line 3: 'end' expected"},
        {"object F: TDerivedForm\nend\n", "Error reading F: the file holds a TDerivedForm, not a TTestForm"},
    };
    for (const Case& c : cases) {
        TTestForm form(nullptr);
        try {
            ReadComponentText(c.text, &form);
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.AnsiMessage(), c.message) << c.text;
        }
        // Whatever was read stays owned by the form and leaves the loading state.
        for (int i = 0; i < form.ComponentCount(); ++i)
            EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csReading));
    }
}

TEST_F(FormFilesTest, ReaderErrorHandlerCanSkipUnknownProperties) {
    TTestForm form(nullptr);
    TReader reader("object F: TTestForm\n  Retired = 3\n  Width = 9\nend\n");
    std::vector<AnsiString> skipped;
    reader.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
        skipped.push_back(message);
        handled = true;
    };
    reader.ReadRootComponent(&form);
    EXPECT_EQ(form.Width, 9);
    EXPECT_EQ(skipped, std::vector<AnsiString>{"Property Retired does not exist"});
}

TEST_F(FormFilesTest, InheritedFormsReadTheirAncestorsFilesFirst) {
    RegisterFormResource("TTestForm", "object TestForm: TTestForm\n  Width = 100\n  object Panel: TBox\n    Width = 10\n  end\nend\n");
    RegisterFormResource("TDERIVEDFORM",
                         "inherited TestForm: TDerivedForm\n  Caption = 'Derived'\n"
                         "  inherited Panel: TBox\n    Width = 20\n  end\n"
                         "  object Extra: TBox\n  end\nend\n");
    TDerivedForm form(nullptr);
    ASSERT_TRUE(InitInheritedComponent(&form, TBox::StaticClass()));
    EXPECT_EQ(form.Width, 100);
    EXPECT_EQ(form.Caption, u"Derived");
    ASSERT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(dynamic_cast<TBox*>(form.FindComponent("Panel"))->Width, 20);

    // Written against an ancestor instance, only the differences remain.
    TTestForm ancestor(nullptr);
    ASSERT_TRUE(InitInheritedComponent(&ancestor, TBox::StaticClass()));
    EXPECT_EQ(ComponentToText(&form, &ancestor),
              "inherited TestForm: TDerivedForm\n  Caption = 'Derived'\n"
              "  inherited Panel: TBox\n    Width = 20\n  end\n"
              "  object Extra: TBox\n  end\nend\n");

    EXPECT_FALSE(InitInheritedComponent(&ancestor, TTestForm::StaticClass()));
    EXPECT_THROW(ReadComponentRes("TNOFORM", &ancestor), EResNotFound);
}

TEST(Components, OwnershipNamesAndFreeNotification) {
    auto owner = std::make_unique<TBox>(nullptr);
    auto* a = new TBox(owner.get());
    auto* b = new TBox(owner.get());
    a->SetName("Alpha");
    EXPECT_THROW(b->SetName("ALPHA"), EComponentError);
    EXPECT_THROW(b->SetName("9lives"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    b->SetName("Beta");
    EXPECT_EQ(owner->FindComponent("beta"), b);
    EXPECT_EQ(b->ComponentIndex(), 1);

    // A buddy outside the owner: its destruction clears the reference.
    auto outside = std::make_unique<TBox>(nullptr);
    a->SetBuddy(outside.get());
    outside.reset();
    EXPECT_EQ(a->Buddy(), nullptr);

    // A component destroyed by itself leaves its owner's list.
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->FindComponent("Alpha"), nullptr);

    // Moving to another owner checks the name there.
    auto other = std::make_unique<TBox>(nullptr);
    auto* clash = new TBox(other.get());
    clash->SetName("Beta");
    EXPECT_THROW(other->InsertComponent(b), EComponentError);
}

TEST(TypInfo, PropertiesByNameAndClassReferences) {
    RegisterClass(TTestForm::StaticClass());
    TTestForm form(nullptr);
    EXPECT_EQ(ClassOf(&form), &TTestForm::StaticClass());
    EXPECT_TRUE(form.InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(TBox::StaticClass().InheritsFrom(&TTestForm::StaticClass()));
    EXPECT_EQ(&FindClass("ttestform"), &TTestForm::StaticClass());
    try {
        FindClass("TGhost");
        ADD_FAILURE();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.AnsiMessage(), "Class TGhost not found");
    }
    // A sub-object's class is found by its C++ type.
    EXPECT_EQ(ClassOf(&form.Pen), &TPenLike::StaticClass());

    SetPropText(form, "shade", "shLight");
    EXPECT_EQ(form.Shade, shLight);
    SetPropText(form, "Sides", "[sdRight, sdTop]");
    EXPECT_EQ(GetPropText(form, "Sides"), "[sdTop,sdRight]");
    SetPropText(form, "Color", "scPaper");
    EXPECT_EQ(GetPropText(form, "Color"), "scPaper");
    SetPropText(form, "Width", "$20");
    EXPECT_EQ(form.Width, 32);
    EXPECT_THROW(SetPropText(form, "Width", "12abc"), EPropertyConvertError);
    EXPECT_THROW(SetPropText(form, "Nothing", "1"), EPropertyError);
    EXPECT_THROW(SetPropValue(form, "Lines", static_cast<TObject*>(nullptr)), EPropertyError);
    // Setting an object property checks the object's class.
    EXPECT_THROW(SetPropValue(form, "Buddy", static_cast<TObject*>(&form.Pen)), EPropertyConvertError);

    // Properties come parent first, in declaration order.
    const auto props = TTestForm::StaticClass().Properties();
    ASSERT_GE(props.size(), 3u);
    EXPECT_EQ(props[0]->Name, "Name");
    EXPECT_EQ(props[1]->Name, "Tag");
    EXPECT_EQ(props[2]->Name, "Width");
}

TEST(FormText, ValuesOfEveryKindSurviveParseAndPrint) {
    const char* const text =
        "object X: TThing [2]\n"
        "  A = -12\n  B = $7FFFFFFFFF\n  C = 2.5e3\n  D = 1.25s\n"
        "  E = 'wide '#8364\n  F = nil\n  G = True\n  H = []\n"
        "  I = (\n    1\n    'two'\n    (\n      3))\n"
        "  J = <>\n  K = {}\n  L = Other.Component\n"
        "  M = 'UTF-8 caf\xC3\xA9'\n"
        "end\n";
    const TFormObject obj = ParseFormText(text);
    ASSERT_EQ(obj.Properties.size(), 13u);
    EXPECT_EQ(obj.Position, 2);
    EXPECT_EQ(obj.Properties[1].Value.Type, vaInt64);
    EXPECT_EQ(obj.Properties[1].Value.Integer, 0x7FFFFFFFFFll);
    EXPECT_EQ(obj.Properties[3].Value.Type, vaSingle);
    EXPECT_EQ(obj.Properties[4].Value.Type, vaWString);
    EXPECT_EQ(obj.Properties[11].Value.Ident, "Other.Component");
    EXPECT_EQ(obj.Properties[12].Value.Type, vaUTF8String);
    EXPECT_EQ(obj.Properties[12].Value.Text, u"UTF-8 caf\u00E9");
    const TFormObject again = ParseFormText(FormTextOf(obj));
    EXPECT_EQ(FormTextOf(again), FormTextOf(obj));
    EXPECT_EQ(again.Properties[2].Value.Float, 2500.0);
    EXPECT_EQ(again.Properties[8].Value.List[2].List[0].Integer, 3);
}

TEST(FormText, LongTextIsSplitAndJoinedAgain) {
    TFormObject obj;
    obj.Name = "X";
    obj.ClassName = "TThing";
    WideString longText;
    for (int i = 0; i < 300; ++i) longText += static_cast<char16_t>(i % 5 == 0 ? 0x263A : 'a' + i % 26);
    obj.Properties.push_back({"T", TFormValue::OfText(longText)});
    const std::string text = FormTextOf(obj);
    EXPECT_NE(text.find(" +\n"), std::string::npos);
    EXPECT_EQ(ParseFormText(text).Properties[0].Value.Text, longText);
}

}  // namespace
