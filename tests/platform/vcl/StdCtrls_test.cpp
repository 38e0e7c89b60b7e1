// The standard and extra controls over the headless widget set: the edit's messages on text of
// several lines, a memo's lines, check and radio buttons, group boxes, default and cancel
// buttons closing a modal form, splitters, items with objects, range controls, and a form file
// holding one of each.
#include <gtest/gtest.h>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RangeCtrls.h"

namespace {

class StdCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        RegisterStdCtrls();
        RegisterExtCtrls();
        RegisterRangeCtrls();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
    }
    template <class C>
    C* Make(TWinControl* parent = nullptr) {
        auto* c = new C(form_.get());
        c->SetParent(parent ? parent : form_.get());
        return c;
    }
    std::unique_ptr<TForm> form_;
};

WideString GetLine(TControl& edit, int line, int size) {
    WideString buffer(static_cast<std::size_t>(std::max(size, 1)), u'\0');
    buffer[0] = static_cast<char16_t>(size);
    const auto n = edit.Perform(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

TEST_F(StdCtrlsTest, EditMessagesWorkOnLinesBrokenByCrLf) {
    auto* memo = Make<TMemo>();
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->SetText(u"first\r\nsecond line\r\n\r\nlast");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(memo->Perform(EM_GETLINECOUNT, 0, 0), 4);
    struct Case {
        int line, index, length;
        const char16_t* text;
    };
    for (const Case& c : {Case{0, 0, 5, u"first"}, Case{1, 7, 11, u"second line"}, Case{2, 20, 0, u""}, Case{3, 22, 4, u"last"}}) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(memo->Perform(EM_LINEINDEX, static_cast<WPARAM>(c.line), 0), c.index);
        EXPECT_EQ(memo->Perform(EM_LINELENGTH, static_cast<WPARAM>(c.index), 0), c.length);
        EXPECT_EQ(memo->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(c.index), 0), c.line);
        EXPECT_EQ(GetLine(*memo, c.line, 100), WideString(c.text));
    }
    EXPECT_EQ(memo->Perform(EM_LINEINDEX, 4, 0), -1);
    EXPECT_EQ(GetLine(*memo, 1, 6), u"second");  // the buffer's size bounds the copy
    EXPECT_EQ(GetLine(*memo, 9, 100), u"");

    // Select a word and replace it; the caret follows the new text, the line table too.
    memo->Perform(EM_SETSEL, 7, 13);
    EXPECT_EQ(memo->SelText(), u"second");
    memo->Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"2nd"));
    EXPECT_EQ(memo->Text(), u"first\r\n2nd line\r\n\r\nlast");
    EXPECT_EQ(memo->SelStart(), 10);
    EXPECT_EQ(memo->SelLength(), 0);
    EXPECT_EQ(memo->Perform(EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 7);  // the caret's line
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(memo->Modified());

    // -1 as the end selects to the end; -1 as the start drops the selection.
    memo->Perform(EM_SETSEL, 17, -1);
    EXPECT_EQ(memo->SelText(), u"\r\nlast");
    EXPECT_EQ(memo->Perform(EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 0);
    memo->Perform(EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(memo->SelLength(), 0);
    memo->Perform(EM_SETSEL, 500, 900);
    EXPECT_EQ(memo->SelStart(), static_cast<int>(memo->Text().size()));
}

TEST_F(StdCtrlsTest, SingleLineEditOptionsByMessage) {
    class TProbeEdit : public TEdit {
    public:
        using TEdit::TEdit;
        DWORD Style() {
            TCreateParams p;
            CreateParams(p);
            return p.Style;
        }
    };
    auto* edit = new TProbeEdit(form_.get());
    edit->SetParent(form_.get());
    edit->Perform(EM_SETPASSWORDCHAR, u'*', 0);
    EXPECT_EQ(edit->PasswordChar(), u'*');
    EXPECT_EQ(edit->Perform(EM_GETPASSWORDCHAR, 0, 0), u'*');
    edit->Perform(EM_SETREADONLY, 1, 0);
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_TRUE(edit->Style() & ES_READONLY);
    EXPECT_TRUE(edit->Style() & ES_PASSWORD);
    edit->SetText(u"a\r\nb");  // one line, whatever it holds
    EXPECT_EQ(edit->Perform(EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(edit->Perform(EM_LINELENGTH, 0, 0), 4);

    // A memo shows no password characters.
    auto* memo = Make<TMemo>();
    memo->Perform(EM_SETPASSWORDCHAR, u'*', 0);
    EXPECT_EQ(memo->PasswordChar(), 0);

    // MaxLength limits typing, not the program's text.
    edit->SetMaxLength(3);
    edit->SetText(u"abcd");
    EXPECT_EQ(edit->Text(), u"abcd");
    EXPECT_EQ(edit->Perform(EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(StdCtrlsTest, MemoLinesEditTheText) {
    auto* memo = Make<TMemo>();
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("one");
    lines->Add("three");
    EXPECT_EQ(memo->Text(), u"one\r\nthree\r\n");
    EXPECT_EQ(lines->Count(), 2);  // the final break makes no line
    lines->Insert(1, "two");
    lines->Put(0, "uno");
    EXPECT_EQ(memo->Text(), u"uno\r\ntwo\r\nthree\r\n");
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), u"uno\r\ntwo\r\n");
    EXPECT_EQ(lines->Get(1), "two");

    // A text without a final break gets one before the next line.
    memo->SetText(u"a");
    lines->Add("b");
    EXPECT_EQ(memo->Text(), u"a\r\nb");
    lines->Delete(1);
    EXPECT_EQ(memo->Text(), u"a\r\n");
    lines->SetText("x\ny");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_THROW(lines->Get(5), EStringListError);
    lines->Clear();
    EXPECT_EQ(memo->Text(), u"");
}

TEST_F(StdCtrlsTest, RadioButtonsOfOneParentAreExclusive) {
    auto* panel = Make<TPanel>();
    auto* other = Make<TPanel>();
    auto* a = Make<TRadioButton>(panel);
    auto* b = Make<TRadioButton>(panel);
    auto* c = Make<TRadioButton>(panel);
    auto* elsewhere = Make<TRadioButton>(other);
    std::vector<TObject*> clicks;
    for (TRadioButton* r : {a, b, c, elsewhere}) r->OnClick = [&](TObject* s) { clicks.push_back(s); };
    elsewhere->SetChecked(true);
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(c->Checked());
    EXPECT_TRUE(elsewhere->Checked());  // another parent, another group
    EXPECT_EQ(clicks, (std::vector<TObject*>{elsewhere, a, b}));
    EXPECT_TRUE(b->TabStop());
    EXPECT_FALSE(a->TabStop());

    // The widget's click checks; BM_SETCHECK checks without a click.
    c->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    EXPECT_TRUE(c->Checked());
    EXPECT_FALSE(b->Checked());
    a->Perform(BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(clicks.back(), c);
    EXPECT_EQ(c->Perform(BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
}

TEST_F(StdCtrlsTest, CheckBoxStatesAndClicks) {
    auto* box = Make<TCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->Toggle();
    EXPECT_TRUE(box->Checked());
    box->Toggle();
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        box->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);  // a click on the widget
        states.push_back(box->State());
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(clicks, 5);
    box->SetChecked(false);  // no change, no click
    EXPECT_EQ(clicks, 5);
    box->Perform(BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(box->Perform(BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_INDETERMINATE));
    EXPECT_EQ(clicks, 5);
}

TEST_F(StdCtrlsTest, DisabledGroupBoxDisablesWhatItHolds) {
    auto* group = Make<TGroupBox>();
    group->SetCaption(u"&Options");
    auto* edit = Make<TEdit>(group);
    form_->Show();
    EXPECT_TRUE(edit->CanFocus());
    group->SetEnabled(false);
    EXPECT_FALSE(edit->CanFocus());
    EXPECT_TRUE(edit->Enabled());  // its own state is kept
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'o', 0), 0);
    group->SetEnabled(true);
    // Alt + the caption's accelerator focuses the first control inside.
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'O', 0), 1);
    EXPECT_EQ(form_->ActiveControl(), edit);
    // Children align inside the frame, below the caption.
    TRect inner = group->ClientRect();
    edit->SetAlign(alClient);
    EXPECT_GT(edit->Top(), 0);
    EXPECT_LT(edit->Height(), inner.Height());
}

TEST_F(StdCtrlsTest, LabelAcceleratorFocusesItsControl) {
    EXPECT_EQ(GetHotkey(u"Save && &quit"), u'q');
    EXPECT_EQ(GetHotkey(u"a&&b"), 0);
    auto* first = Make<TEdit>();
    auto* target = Make<TEdit>();
    auto* label = Make<TLabel>();
    label->SetCaption(u"&Name:");
    label->SetFocusControl(target);
    form_->Show();
    first->SetFocus();
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'N', 0), 1);
    EXPECT_EQ(form_->ActiveControl(), target);
    label->SetShowAccelChar(false);
    first->SetFocus();
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'n', 0), 0);
    // A freed focus control is forgotten.
    delete target;
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdCtrlsTest, DefaultAndCancelButtonsCloseAModalForm) {
    auto* panel = Make<TPanel>();  // the buttons sit inside a container
    auto* edit = Make<TEdit>();
    auto* ok = Make<TButton>(panel);
    auto* cancel = Make<TButton>(panel);
    auto* other = Make<TButton>(panel);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    other->SetModalResult(mrRetry);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    struct Case {
        TWinControl* focus;
        WORD key;
        TModalResult expected;
    };
    for (const Case& c : {Case{edit, VK_RETURN, mrOk}, Case{edit, VK_ESCAPE, mrCancel}, Case{other, VK_RETURN, mrRetry},
                          Case{other, VK_ESCAPE, mrCancel}}) {
        SCOPED_TRACE(c.key);
        TScopedModalHook hook([&](TModalRequest& r) {
            EXPECT_EQ(r.Form, form_.get());
            c.focus->SetFocus();
            c.focus->Perform(WM_KEYDOWN, c.key, 0);
            return 0;  // the buttons answer
        });
        EXPECT_EQ(form_->ShowModal(), c.expected);
        form_->Hide();
    }
    EXPECT_EQ(okClicks, 1);
    // A disabled default button does not answer.
    ok->SetEnabled(false);
    edit->Show();
    form_->Show();
    edit->SetFocus();
    form_->SetModalResult(mrNone);
    edit->Perform(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form_->ModalResult(), mrNone);
}

TEST_F(StdCtrlsTest, SplitterSizesItsNeighbourWithinMinimumSizes) {
    form_->SetClientWidth(400);
    auto* left = Make<TPanel>();
    left->SetAlign(alLeft);
    left->SetWidth(100);
    auto* splitter = Make<TSplitter>();
    splitter->SetLeft(100);
    splitter->SetAlign(alLeft);
    splitter->SetMinSize(50);
    auto* right = Make<TPanel>();
    right->SetAlign(alRight);
    right->SetWidth(60);
    auto* body = Make<TPanel>();
    body->SetAlign(alClient);
    ASSERT_EQ(splitter->Left(), 100);
    ASSERT_EQ(splitter->FindSizedControl(), left);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };

    // Drags in the form's coordinates; the splitter gets them as its parent's graphic child.
    auto drag = [&](int fromX, int toX) {
        form_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 10));
        form_->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 10));
        form_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(toX, 10));
    };
    drag(101, 151);
    EXPECT_EQ(left->Width(), 150);
    EXPECT_EQ(splitter->Left(), 150);
    EXPECT_EQ(body->Left(), 153);
    EXPECT_EQ(body->Width(), 400 - 153 - 60);
    EXPECT_EQ(moved, 1);
    drag(151, 0);
    EXPECT_EQ(left->Width(), 50);  // MinSize
    drag(51, 399);
    EXPECT_EQ(left->Width(), 400 - 60 - 3 - 50);  // the rest keeps MinSize
    EXPECT_EQ(body->Width(), 50);
    EXPECT_EQ(moved, 3);

    // A splitter aligned to the bottom sizes the control below it, from the other side.
    auto* bottom = Make<TPanel>();
    bottom->SetAlign(alBottom);
    bottom->SetHeight(80);
    auto* hsplit = Make<TSplitter>();
    hsplit->SetAlign(alNone);
    hsplit->SetBounds(0, 200, 400, 3);  // above the panel: it stacks on top of it
    hsplit->SetAlign(alBottom);
    ASSERT_EQ(hsplit->FindSizedControl(), bottom);
    const int y = hsplit->Top() + 1;
    form_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, y));
    form_->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, y - 20));
    form_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(200, y - 20));
    EXPECT_EQ(bottom->Height(), 100);
    EXPECT_EQ(hsplit->Cursor(), crVSplit);
}

TEST_F(StdCtrlsTest, ItemsCarryObjectsAndKeepTheIndex) {
    TObject a, b, c;
    auto* combo = Make<TComboBox>();
    combo->Items()->AddObject("beta", &b);
    combo->Items()->AddObject("alpha", &a);
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), u"alpha");
    combo->Items()->InsertObject(0, "gamma", &c);
    EXPECT_EQ(combo->ItemIndex(), 2);  // the selected item moved down
    EXPECT_EQ(combo->Items()->GetObject(combo->ItemIndex()), &a);
    EXPECT_EQ(combo->Items()->IndexOfObject(&b), 1);
    combo->Items()->Delete(2);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), u"");

    // A drop-down list's text names one of its items; an editable one keeps any text.
    int changes = 0, drops = 0, closes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->OnDropDown = [&](TObject*) { ++drops; };
    combo->OnCloseUp = [&](TObject*) { ++closes; };
    combo->SetText(u"free text");
    EXPECT_EQ(combo->Text(), u"free text");
    combo->SetStyle(csDropDownList);
    combo->SetText(u"beta");
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetText(u"nothing");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), u"");
    combo->SetDroppedDown(true);
    combo->SetDroppedDown(false);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(changes, 0);  // programs' changes fire no OnChange
    EXPECT_EQ(combo->Perform(CB_GETCOUNT, 0, 0), 2);

    // Sorted lists insert in order; Selected follows MultiSelect.
    auto* list = Make<TListBox>();
    list->SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig"}) list->Items()->AddObject(s, &a);
    EXPECT_EQ(list->Items()->CommaText(), "Apple,fig,pear");
    list->SetItemIndex(1);
    EXPECT_TRUE(list->Selected(1));
    EXPECT_EQ(list->SelCount(), -1);
    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelCount(), 2);
    list->Items()->Delete(0);
    EXPECT_FALSE(list->Selected(0));
    EXPECT_TRUE(list->Selected(1));
    EXPECT_THROW(list->Selected(7), EStringListError);
    EXPECT_EQ(list->Perform(LB_GETSEL, 1, 0), 1);
}

TEST_F(StdCtrlsTest, VariableItemHeightsComeFromTheControl) {
    auto* list = Make<TListBox>();
    list->SetStyle(lbOwnerDrawVariable);
    list->OnMeasureItem = [](TWinControl*, int index, int& height) { height = 20 + index; };
    MEASUREITEMSTRUCT mis;
    mis.itemID = 3;
    list->Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(mis.itemHeight, 23u);
}

TEST_F(StdCtrlsTest, RangeControlsKeepTheirPositionsInRange) {
    auto* progress = Make<TProgressBar>();
    progress->SetStep(30);
    for (int i = 0; i < 3; ++i) progress->StepIt();
    EXPECT_EQ(progress->Position(), 90);
    progress->StepIt();  // past Max: starts again
    EXPECT_EQ(progress->Position(), 19);
    progress->SetPosition(500);
    EXPECT_EQ(progress->Position(), 100);

    auto* edit = Make<TEdit>();
    auto* updown = Make<TUpDown>();
    updown->SetMax(5000);
    updown->SetAssociate(edit);
    updown->SetPosition(1234);
    EXPECT_EQ(edit->Text(), u"1,234");
    updown->SetIncrement(10);
    updown->SetPosition(4995);
    updown->Perform(CN_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    EXPECT_EQ(updown->Position(), 5000);
    updown->SetWrap(true);
    updown->ClickButton(btNext);
    EXPECT_EQ(updown->Position(), 0);
    EXPECT_EQ(updown->Left(), edit->Left() + edit->Width());

    auto* bar = Make<TScrollBar>();
    bar->SetLargeChange(25);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->OnScroll = [](TObject*, TScrollCode code, int& pos) {
        if (code == scBottom) pos = 90;  // a handler may move the thumb elsewhere
    };
    bar->Perform(CN_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    bar->Perform(CN_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(bar->Position(), 26);
    bar->Perform(CN_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(bar->Position(), 90);
    EXPECT_EQ(changes, 3);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}

TEST_F(StdCtrlsTest, RadioGroupAndScrollBox) {
    auto* group = Make<TRadioGroup>();
    group->SetBounds(0, 0, 200, 100);
    group->Items()->SetCommaText("Red,Green,Blue,Cyan");
    group->SetColumns(2);
    group->SetItemIndex(2);
    EXPECT_TRUE(group->Buttons(2)->Checked());
    EXPECT_EQ(group->Buttons(2)->Caption(), u"Blue");
    EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(0)->Left());  // second column
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    group->Buttons(0)->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(clicks, 1);
    group->SetItemIndex(1);
    EXPECT_EQ(clicks, 1);  // only the user's click

    auto* box = Make<TScrollBox>();
    box->SetBounds(0, 0, 200, 100);
    auto* far = Make<TButton>(box);
    far->SetBounds(10, 300, 75, 25);
    EXPECT_EQ(box->Range().cy, 325);
    bool handled = false;
    box->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& h) { handled = h; };
    box->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(box->ScrollPos().y, 48);
    EXPECT_EQ(far->Top(), 300 - 48);
    box->ScrollInView(far);
    EXPECT_EQ(far->Top() + far->Height(), box->ClientHeight());
    box->ScrollTo(0, 0);
    EXPECT_EQ(far->Top(), 300);
}

const char* const kEveryControl = R"(object Every: TForm
  Left = 0
  Top = 0
  Width = 500
  Height = 400
  Caption = 'Every control'
  object NameLabel: TLabel
    Left = 8
    Top = 8
    Width = 40
    Height = 17
    Caption = '&Name'
    FocusControl = NameEdit
  end
  object NameEdit: TEdit
    Left = 60
    Top = 8
    Width = 121
    Height = 25
    MaxLength = 20
    TabOrder = 0
    Text = 'Ann'
    TabStop = True
  end
  object Notes: TMemo
    Left = 8
    Top = 40
    Width = 185
    Height = 89
    Lines.Strings = (
      'one'
      'two')
    ScrollBars = ssVertical
    TabOrder = 1
    TabStop = True
  end
  object Options: TGroupBox
    Left = 200
    Top = 8
    Width = 185
    Height = 105
    Caption = 'Options'
    TabOrder = 2
    object Wrap: TCheckBox
      Left = 8
      Top = 24
      Width = 97
      Height = 17
      Caption = 'Wrap'
      State = cbChecked
      TabOrder = 0
      TabStop = True
    end
    object Plain: TRadioButton
      Left = 8
      Top = 48
      Width = 113
      Height = 17
      Caption = 'Plain'
      Checked = True
      TabOrder = 1
      TabStop = True
    end
  end
  object Kind: TComboBox
    Left = 8
    Top = 140
    Width = 145
    Height = 25
    Style = csDropDownList
    Items.Strings = (
      'Text'
      'HTML')
    ItemIndex = 1
    TabOrder = 3
    TabStop = True
  end
  object Files: TListBox
    Left = 160
    Top = 140
    Width = 121
    Height = 97
    Items.Strings = (
      'a.eml'
      'b.msg')
    MultiSelect = True
    TabOrder = 4
    TabStop = True
  end
  object Colours: TRadioGroup
    Left = 290
    Top = 140
    Width = 185
    Height = 105
    Caption = 'Colours'
    TabOrder = 5
    Columns = 2
    Items.Strings = (
      'Red'
      'Blue')
    ItemIndex = 1
  end
  object Bar: TScrollBar
    Left = 8
    Top = 250
    Width = 121
    Height = 17
    TabOrder = 6
    TabStop = True
    Max = 50
    Position = 5
  end
  object Bottom: TPanel
    Left = 0
    Top = 330
    Width = 484
    Height = 31
    Align = alBottom
    Caption = 'Status'
    TabOrder = 7
    BevelOuter = bvLowered
    object OkButton: TButton
      Left = 400
      Top = 3
      Width = 75
      Height = 25
      Caption = 'OK'
      TabOrder = 0
      TabStop = True
      Default = True
      ModalResult = 1
    end
  end
  object Line: TBevel
    Left = 8
    Top = 275
    Width = 300
    Height = 2
    Shape = bsTopLine
  end
  object Split: TSplitter
    Left = 0
    Top = 0
    Width = 3
    Height = 330
  end
  object Box: TScrollBox
    Left = 300
    Top = 250
    Width = 100
    Height = 60
    TabOrder = 8
  end
  object Picture: TImage
    Left = 410
    Top = 250
    Width = 32
    Height = 32
    Stretch = True
  end
  object Progress: TProgressBar
    Left = 8
    Top = 285
    Width = 150
    Height = 17
    TabOrder = 9
    Position = 40
  end
  object Spin: TUpDown
    Left = 160
    Top = 285
    Width = 17
    Height = 25
    TabOrder = 10
    Associate = NameEdit
    Max = 10
    Position = 3
  end
  object Slider: TTrackBar
    Left = 190
    Top = 285
    Width = 100
    Height = 45
    TabOrder = 11
    TabStop = True
    Position = 4
  end
end
)";

TEST_F(StdCtrlsTest, FormFileWithEveryControlRoundTrips) {
    TForm form(nullptr);
    ReadComponentText(kEveryControl, &form);
    auto* notes = dynamic_cast<TMemo*>(form.FindComponent("Notes"));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->Text(), u"one\r\ntwo\r\n");
    EXPECT_EQ(dynamic_cast<TLabel*>(form.FindComponent("NameLabel"))->FocusControl(), form.FindComponent("NameEdit"));
    EXPECT_EQ(dynamic_cast<TComboBox*>(form.FindComponent("Kind"))->Text(), u"HTML");
    EXPECT_TRUE(dynamic_cast<TCheckBox*>(form.FindComponent("Wrap"))->Checked());
    auto* colours = dynamic_cast<TRadioGroup*>(form.FindComponent("Colours"));
    EXPECT_TRUE(colours->Buttons(1)->Checked());
    EXPECT_EQ(dynamic_cast<TButton*>(form.FindComponent("OkButton"))->ModalResult(), mrOk);
    const std::string written = ComponentToText(&form);
    TForm again(nullptr);
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);
    for (const char* name : {"Notes", "Kind", "Files", "Colours", "Bar", "Spin", "Slider", "Progress", "Split", "Line", "Box", "Picture"})
        EXPECT_NE(written.find(std::string("object ") + name + ":"), std::string::npos) << name;
}

}  // namespace
