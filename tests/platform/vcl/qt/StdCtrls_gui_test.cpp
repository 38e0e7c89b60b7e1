// The standard controls over real Qt widgets, offscreen: typing, clicking and choosing in the
// widgets reach the controls' state and events, owner drawing paints through the control, and
// accelerators reach a label's focus control. With QUILLORA_SCREENSHOT set, a form with one of
// each control is saved there as a PNG.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RangeCtrls.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

QWidget* WidgetOf(TWinControl* control) { return dynamic_cast<QWidget*>(control->Peer()); }

template <class W>
W* Inner(TWinControl* control) {
    QWidget* peer = WidgetOf(control);
    return peer ? peer->findChild<W*>() : nullptr;
}

void Type(QWidget* w, Qt::Key key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

void Click(QWidget* w, QPoint p) {
    const QPointF at(p);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

class StdCtrlsGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        RegisterStdCtrls();
        RegisterExtCtrls();
        RegisterRangeCtrls();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(10, 10, 420, 300);
    }
    template <class C>
    C* Make(int left, int top, TWinControl* parent = nullptr) {
        auto* c = new C(form_.get());
        c->SetParent(parent ? parent : form_.get());
        c->SetLeft(left);
        c->SetTop(top);
        return c;
    }
    std::unique_ptr<TForm> form_;
};

TEST_F(StdCtrlsGuiTest, TypingIntoAnEditFiresOnChangeAndTheTextReadsBack) {
    auto* edit = Make<TEdit>(8, 8);
    std::vector<WideString> seen;
    edit->OnChange = [&](TObject*) { seen.push_back(edit->Text()); };
    form_->Show();
    QLineEdit* line = Inner<QLineEdit>(edit);
    ASSERT_NE(line, nullptr);
    Type(line, Qt::Key_H, QStringLiteral("h"));
    Type(line, Qt::Key_I, QStringLiteral("i"));
    EXPECT_EQ(seen, (std::vector<WideString>{u"h", u"hi"}));
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_TRUE(edit->Modified());

    // The program's text and selection show in the widget; the widget's survive a new window.
    edit->SetText(u"hello world");
    EXPECT_EQ(line->text(), QStringLiteral("hello world"));
    edit->SetSelStart(6);
    edit->SetSelLength(5);
    EXPECT_EQ(line->selectedText(), QStringLiteral("world"));
    edit->SetReadOnly(true);
    EXPECT_TRUE(line->isReadOnly());
    edit->SetPasswordChar(u'*');
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);

    // A memo's lines break at CR LF in the control and at a line feed in the widget.
    auto* memo = Make<TMemo>(8, 40);
    memo->Lines()->Add("abc");
    memo->Lines()->Add("def");
    QPlainTextEdit* plain = Inner<QPlainTextEdit>(memo);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->toPlainText(), QStringLiteral("abc\ndef\n"));
    memo->Perform(EM_SETSEL, 5, 8);
    EXPECT_EQ(plain->textCursor().selectedText(), QStringLiteral("def"));
    memo->Perform(EM_SETSEL, 8, 8);
    memo->SetFocus();
    Type(plain, Qt::Key_Return, QStringLiteral("\r"));
    Type(plain, Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(memo->Text(), u"abc\r\ndef\r\nx\r\n");
    EXPECT_EQ(memo->Lines()->Get(2), "x");
    EXPECT_EQ(memo->CaretPos().y, 2);
}

TEST_F(StdCtrlsGuiTest, ClickingACheckBoxChecksIt) {
    auto* box = Make<TCheckBox>(8, 8);
    box->SetCaption(u"&Wrap lines");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    form_->Show();
    QCheckBox* check = Inner<QCheckBox>(box);
    ASSERT_NE(check, nullptr);
    Click(check, QPoint(6, check->height() / 2));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(check->checkState(), Qt::Checked);
    EXPECT_EQ(clicks, 1);
    box->SetState(cbGrayed);
    EXPECT_EQ(check->checkState(), Qt::PartiallyChecked);
}

TEST_F(StdCtrlsGuiTest, ChoosingAComboItemChangesTheControl) {
    auto* combo = Make<TComboBox>(8, 8);
    combo->SetStyle(csDropDownList);
    for (const char* s : {"Text", "HTML", "Rich text"}) combo->Items()->Add(s);
    combo->SetItemIndex(0);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    form_->Show();
    QComboBox* widget = Inner<QComboBox>(combo);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->count(), 3);
    EXPECT_EQ(widget->currentText(), QStringLiteral("Text"));
    Type(widget, Qt::Key_Down, QString());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), u"HTML");
    EXPECT_EQ(changes, 1);
    combo->SetItemIndex(2);  // the program's choice: no OnChange
    EXPECT_EQ(widget->currentIndex(), 2);
    EXPECT_EQ(changes, 1);
    combo->Items()->Delete(0);
    EXPECT_EQ(widget->count(), 2);
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(StdCtrlsGuiTest, EditableComboAndDropDownEvents) {
    auto* combo = Make<TComboBox>(8, 8);
    combo->Items()->AddObject("alpha", nullptr);
    std::vector<WideString> texts;
    int drops = 0, closes = 0;
    combo->OnChange = [&](TObject*) { texts.push_back(combo->Text()); };
    combo->OnDropDown = [&](TObject*) { ++drops; };
    combo->OnCloseUp = [&](TObject*) { ++closes; };
    form_->Show();
    QComboBox* widget = Inner<QComboBox>(combo);
    ASSERT_NE(widget->lineEdit(), nullptr);
    combo->SetFocus();
    Type(widget->lineEdit(), Qt::Key_Z, QStringLiteral("z"));
    EXPECT_EQ(texts, std::vector<WideString>{u"z"});
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->DroppedDown());
    combo->SetDroppedDown(false);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(closes, 1);
}

TEST_F(StdCtrlsGuiTest, SliderActionsBecomeScrollMessages) {
    auto* bar = Make<TScrollBar>(8, 8);
    bar->SetLargeChange(10);
    auto* track = Make<TTrackBar>(8, 40);
    std::vector<TScrollCode> codes;
    bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
    int trackChanges = 0;
    track->OnChange = [&](TObject*) { ++trackChanges; };
    form_->Show();
    auto* qbar = Inner<QScrollBar>(bar);
    ASSERT_NE(qbar, nullptr);
    qbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    qbar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->Position(), 11);
    EXPECT_EQ(qbar->value(), 11);
    EXPECT_EQ(codes, (std::vector<TScrollCode>{scLineDown, scPageDown}));
    auto* qslider = Inner<QSlider>(track);
    ASSERT_NE(qslider, nullptr);
    EXPECT_EQ(qslider->maximum(), 10);
    qslider->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(track->Position(), 10);
    EXPECT_EQ(trackChanges, 1);
}

TEST_F(StdCtrlsGuiTest, OwnerDrawnListBoxItemsArePaintedByTheControl) {
    auto* list = Make<TListBox>(8, 8);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    for (const char* s : {"one", "two", "three"}) list->Items()->Add(s);
    std::vector<int> drawn;
    list->OnDrawItem = [&](TWinControl*, int index, TRect rect, TOwnerDrawState) {
        drawn.push_back(index);
        EXPECT_EQ(rect.Height(), 20);
        list->Canvas()->FillRect(rect);
        list->Canvas()->TextOut(rect.left + 2, rect.top + 2, Utf8ToUtf16(list->Items()->Get(index)));
    };
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    form_->Show();
    QListWidget* widget = Inner<QListWidget>(list);
    ASSERT_NE(widget, nullptr);
    (void)WidgetOf(list)->grab();
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list->ItemRect(1).top, list->ItemRect(0).bottom);
    Click(widget->viewport(), QPoint(10, 30));  // the second item
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemAtPos(TPoint(10, list->ItemRect(2).top + 3), true), 2);
}

TEST_F(StdCtrlsGuiTest, AcceleratorsReachTheLabelsFocusControl) {
    auto* first = Make<TEdit>(100, 8);
    auto* label = Make<TLabel>(8, 40);
    label->SetCaption(u"&Name:");
    auto* target = Make<TEdit>(100, 40);
    label->SetFocusControl(target);
    form_->Show();
    first->SetFocus();
    Application->ProcessMessages();
    Type(Inner<QLineEdit>(first), Qt::Key_N, QStringLiteral("n"), Qt::AltModifier);
    Application->ProcessMessages();
    EXPECT_EQ(form_->ActiveControl(), target);
    EXPECT_TRUE(Inner<QLineEdit>(target)->hasFocus());
    EXPECT_EQ(Inner<QLineEdit>(first)->text(), QString());  // the letter went nowhere

    // A label sizes itself to its text.
    const int narrow = label->Width();
    label->SetCaption(u"A much longer caption");
    EXPECT_GT(label->Width(), narrow);
}

TEST_F(StdCtrlsGuiTest, EnterInAnEditClicksTheDefaultButtonOnce) {
    auto* edit = Make<TEdit>(8, 8);
    auto* ok = Make<TButton>(8, 40);
    ok->SetCaption(u"OK");
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    form_->Show();
    edit->SetFocus();
    Type(Inner<QLineEdit>(edit), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Inner<QPushButton>(ok)->isDefault());
    Click(Inner<QPushButton>(ok), QPoint(10, 10));
    EXPECT_EQ(clicks, 2);
}

TEST_F(StdCtrlsGuiTest, ContainersPassTheirStateToTheirWidgets) {
    // A disabled group box disables the widgets inside it.
    auto* group = Make<TGroupBox>(8, 8);
    group->SetCaption(u"Options");
    auto* edit = Make<TEdit>(8, 24, group);
    // A radio group's buttons are real radio buttons; a click checks the item.
    auto* colours = Make<TRadioGroup>(200, 8);
    colours->Items()->SetCommaText("Light,Dark");
    int clicks = 0;
    colours->OnClick = [&](TObject*) { ++clicks; };
    // A scroll box shows a bar for a child beyond its bottom.
    auto* box = Make<TScrollBox>(8, 150);
    box->SetBounds(8, 150, 150, 80);
    auto* far = Make<TButton>(8, 200, box);
    form_->Show();
    group->SetEnabled(false);
    EXPECT_FALSE(Inner<QLineEdit>(edit)->isEnabled());
    group->SetEnabled(true);
    EXPECT_TRUE(Inner<QLineEdit>(edit)->isEnabled());

    QRadioButton* dark = Inner<QRadioButton>(colours->Buttons(1));
    ASSERT_NE(dark, nullptr);
    Click(dark, QPoint(6, dark->height() / 2));
    EXPECT_EQ(colours->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);

    (void)WidgetOf(form_.get())->grab();
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : WidgetOf(box)->findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical) bar = b;
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisibleTo(WidgetOf(box)));
    bar->setValue(40);  // as a drag of the thumb
    EXPECT_EQ(box->ScrollPos().y, 40);
    EXPECT_EQ(far->Top(), 160);
}

TEST_F(StdCtrlsGuiTest, ImagePlacesItsPicture) {
    auto* image = Make<TImage>(0, 0);
    image->SetBounds(0, 0, 100, 50);
    TBitmap bitmap(40, 20);
    image->Picture()->SetGraphic(&bitmap);
    struct Case {
        bool stretch, center, proportional;
        TRect expected;
    };
    for (const Case& c : {Case{false, false, false, TRect(0, 0, 40, 20)}, Case{false, true, false, TRect(30, 15, 70, 35)},
                          Case{true, false, false, TRect(0, 0, 100, 50)}, Case{true, false, true, TRect(0, 0, 100, 50)},
                          Case{true, true, true, TRect(0, 0, 100, 50)}}) {
        image->SetStretch(c.stretch);
        image->SetCenter(c.center);
        image->SetProportional(c.proportional);
        const TRect r = image->DestRect();
        EXPECT_TRUE(r.left == c.expected.left && r.top == c.expected.top && r.right == c.expected.right &&
                    r.bottom == c.expected.bottom)
            << c.stretch << c.center << c.proportional << " " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    // Proportional alone only shrinks a picture too big for the control.
    TBitmap big(200, 50);
    image->Picture()->SetGraphic(&big);
    image->SetStretch(false);
    image->SetCenter(true);
    const TRect r = image->DestRect();
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 25);
    EXPECT_EQ(r.top, 12);
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 200);

    // A word-wrapped label grows downwards to fit its text.
    auto* label = Make<TLabel>(0, 60);
    label->SetWordWrap(true);
    label->SetAutoSize(false);
    label->SetWidth(80);
    label->SetAutoSize(true);
    const int oneLine = label->Height();
    label->SetCaption(u"several words that cannot fit on one short line");
    EXPECT_LE(label->Width(), 80);
    EXPECT_GT(label->Height(), oneLine);
}

const char* const kShowcase = R"(object Showcase: TForm
  Left = 0
  Top = 0
  Width = 520
  Height = 400
  Caption = 'Controls'
  object NameLabel: TLabel
    Left = 12
    Top = 18
    Caption = '&Name:'
    FocusControl = NameEdit
  end
  object NameEdit: TEdit
    Left = 84
    Top = 12
    Width = 160
    Height = 28
    TabOrder = 0
    Text = 'Ann Example'
  end
  object Kind: TComboBox
    Left = 84
    Top = 48
    Width = 160
    Height = 28
    Style = csDropDownList
    Items.Strings = (
      'Plain text'
      'HTML')
    ItemIndex = 1
    TabOrder = 1
  end
  object KindLabel: TLabel
    Left = 12
    Top = 54
    Caption = '&Format:'
    FocusControl = Kind
  end
  object Notes: TMemo
    Left = 12
    Top = 88
    Width = 232
    Height = 88
    Lines.Strings = (
      'A memo with'
      'three lines'
      'of text')
    ScrollBars = ssVertical
    TabOrder = 2
  end
  object Options: TGroupBox
    Left = 260
    Top = 8
    Width = 240
    Height = 96
    Caption = 'Options'
    TabOrder = 3
    object Wrap: TCheckBox
      Left = 12
      Top = 26
      Width = 200
      Height = 22
      Caption = '&Wrap long lines'
      State = cbChecked
      TabOrder = 0
    end
    object Plain: TRadioButton
      Left = 12
      Top = 50
      Width = 100
      Height = 22
      Caption = 'Plain'
      Checked = True
      TabOrder = 1
    end
    object Rich: TRadioButton
      Left = 112
      Top = 50
      Width = 100
      Height = 22
      Caption = 'Rich'
      TabOrder = 2
    end
  end
  object Colours: TRadioGroup
    Left = 260
    Top = 112
    Width = 240
    Height = 64
    Caption = 'Colours'
    Columns = 2
    Items.Strings = (
      'Light'
      'Dark')
    ItemIndex = 0
    TabOrder = 4
  end
  object Files: TListBox
    Left = 12
    Top = 186
    Width = 232
    Height = 84
    Items.Strings = (
      'inbox.pst'
      'letter.msg'
      'note.eml')
    TabOrder = 5
  end
  object Size: TTrackBar
    Left = 260
    Top = 186
    Width = 240
    Height = 40
    Position = 4
    TabOrder = 6
  end
  object Progress: TProgressBar
    Left = 260
    Top = 234
    Width = 150
    Height = 20
    Position = 60
  end
  object CountEdit: TEdit
    Left = 420
    Top = 230
    Width = 60
    Height = 28
    TabOrder = 7
  end
  object Count: TUpDown
    Left = 480
    Top = 230
    Width = 20
    Height = 28
    Associate = CountEdit
    Position = 3
  end
  object Scroll: TScrollBar
    Left = 260
    Top = 266
    Width = 240
    Height = 16
    Max = 50
    Position = 10
    TabOrder = 8
  end
  object Line: TBevel
    Left = 12
    Top = 306
    Width = 488
    Height = 2
    Shape = bsTopLine
  end
  object Buttons: TPanel
    Left = 0
    Top = 318
    Width = 520
    Height = 44
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 9
    object OkButton: TButton
      Left = 330
      Top = 8
      Width = 84
      Height = 30
      Caption = 'OK'
      Default = True
      ModalResult = 1
      TabOrder = 0
    end
    object CancelButton: TButton
      Left = 422
      Top = 8
      Width = 84
      Height = 30
      Caption = 'Cancel'
      Cancel = True
      ModalResult = 2
      TabOrder = 1
    end
  end
end
)";

TEST_F(StdCtrlsGuiTest, AFormWithEveryControlShows) {
    TForm form(nullptr);
    ReadComponentText(kShowcase, &form);
    form.SetBorderStyle(bsDialog);
    form.Show();
    Application->ProcessMessages();
    QWidget* peer = WidgetOf(&form);
    ASSERT_NE(peer, nullptr);
    const QImage shot = peer->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_EQ(Inner<QProgressBar>(dynamic_cast<TWinControl*>(form.FindComponent("Progress")))->value(), 60);
    EXPECT_EQ(dynamic_cast<TEdit*>(form.FindComponent("CountEdit"))->Text(), u"3");
    if (const char* path = std::getenv("QUILLORA_SCREENSHOT")) {
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(path), "PNG"));
    }
}

}  // namespace
