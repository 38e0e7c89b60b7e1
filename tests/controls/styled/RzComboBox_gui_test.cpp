// The styled combo box over the Qt widget set: keys typed into the widget search the list or
// complete the edit (what the widget then shows), refused keys beep, the wheel steps, leaving
// with an unknown text reports it, owner-drawn items get their focus border, colours follow
// the state and Values map items to stored values.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "controls/styled/RzComboBox.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

// Counts refused keys instead of beeping.
class TCountingCombo : public TRzComboBox {
public:
    using TRzComboBox::TRzComboBox;
    int beeps = 0;

protected:
    void InvalidKeyPressed() override { ++beeps; }
};

class RzComboBoxGui : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(10, 10, 300, 200);
    }
    TCountingCombo* Make(TComboBoxStyle style, std::initializer_list<const char*> items) {
        auto* c = new TCountingCombo(form_.get());
        c->SetParent(form_.get());
        c->SetBounds(10, 10, 200, 24);
        c->SetStyle(style);
        for (const char* s : items) c->Items()->Add(s);
        c->Clock = [this] { return now_; };
        c->OnChange = [this](TObject*) { ++changes_; };
        form_->Show();
        Application->ProcessMessages();
        return c;
    }
    static QComboBox* Widget(TWinControl& c) { return dynamic_cast<QWidget*>(c.Peer())->findChild<QComboBox*>(); }
    // Types into the widget as the keyboard would: the line edit of an editable box, else the box.
    static void Type(TWinControl& c, std::u16string_view text) {
        QComboBox* combo = Widget(c);
        QWidget* target = combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
        for (const char16_t ch : text) {
            const int key = ch == u'\b' ? Qt::Key_Backspace : (ch >= u'a' && ch <= u'z') ? Qt::Key_A + (ch - u'a') : 0;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(ch)));
            QApplication::sendEvent(target, &press);
        }
    }
    static void Key(TWinControl& c, int key) {
        QComboBox* combo = Widget(c);
        QWidget* target = combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    }
    std::unique_ptr<TForm> form_;
    std::int64_t now_ = 100'000;
    int changes_ = 0;
};

TEST_F(RzComboBoxGui, TypingInADropDownListSearchesWithinTheDelay) {
    TCountingCombo* c = Make(csDropDownList, {"Amsterdam", "Athens", "Atlanta", "Berlin", "Москва"});
    Type(*c, u"at");
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(Widget(*c)->currentIndex(), 1) << "the widget shows the found item";
    now_ += 1000;
    Type(*c, u"l");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->SearchText(), u"atl");
    EXPECT_EQ(changes_, 3);
    // A pause of the delay starts over with the new character alone.
    now_ += 1500;
    Type(*c, u"b");
    EXPECT_EQ(c->ItemIndex(), 3);
    // A character no item starts with is refused and changes nothing.
    Type(*c, u"q");
    EXPECT_EQ(c->beeps, 1);
    EXPECT_EQ(c->ItemIndex(), 3);
    // Any script searches.
    now_ += 2000;
    Type(*c, u"м");
    EXPECT_EQ(c->ItemIndex(), 4);
    // Backspace on a one-character search goes to the first item and ends the search.
    Type(*c, u"\b");
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_TRUE(c->SearchText().empty());
}

TEST_F(RzComboBoxGui, TypingInTheEditCompletesAndSelectsTheRest) {
    TCountingCombo* c = Make(csDropDown, {"Quarterly report", "Quillora", "Receipts"});
    int matches = 0;
    c->OnMatch = [&](TObject*) { ++matches; };
    c->SetKeepSearchCase(true);
    Type(*c, u"qui");
    QLineEdit* edit = Widget(*c)->lineEdit();
    EXPECT_EQ(edit->text(), QStringLiteral("quillora")) << "the typed letters keep their case";
    EXPECT_EQ(edit->selectionStart(), 3);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("llora"));
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(matches, 2) << "\"q\" matched the first item, \"qu\" kept it, \"qui\" moved on";
    // Backspace shortens the typed prefix and completes again.
    Type(*c, u"\b");
    EXPECT_EQ(edit->text(), QStringLiteral("quarterly report"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("arterly report"));
    // Text no item starts with is typed as is.
    Type(*c, u"z");
    EXPECT_EQ(edit->text(), QStringLiteral("quz"));
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->beeps, 0);
}

TEST_F(RzComboBoxGui, WithoutAllowEditUnknownCharactersAndDeleteAreRefused) {
    TCountingCombo* c = Make(csDropDown, {"Alpha", "Beta"});
    c->SetAllowEdit(false);
    Type(*c, u"a");
    QLineEdit* edit = Widget(*c)->lineEdit();
    ASSERT_EQ(edit->text(), QStringLiteral("Alpha"));
    Type(*c, u"x");
    EXPECT_EQ(c->beeps, 1);
    EXPECT_EQ(edit->text(), QStringLiteral("Alpha"));
    // Delete with only part of the text selected does nothing; with all of it, it clears.
    Key(*c, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), QStringLiteral("Alpha"));
    edit->selectAll();
    Key(*c, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), QString());
}

TEST_F(RzComboBoxGui, WheelStepsAndStopsAtTheEnds) {
    TCountingCombo* c = Make(csDropDownList, {"one", "two", "three"});
    const auto wheel = [&](int delta) { c->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0); };
    c->SetItemIndex(0);
    wheel(120);
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(changes_, 0) << "up on the first item fires nothing";
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(changes_, 2);
    wheel(-120);
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(changes_, 2) << "down on the last item fires nothing";
    c->SetReadOnly(true);
    wheel(120);
    EXPECT_EQ(c->ItemIndex(), 2);
}

TEST_F(RzComboBoxGui, ReadOnlySwallowsKeysAndLeavingWithAnUnknownTextIsReported) {
    TCountingCombo* list = Make(csDropDownList, {"one", "two"});
    list->SetItemIndex(0);
    list->SetReadOnly(true);
    Type(*list, u"t");
    Key(*list, Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 0);

    TCountingCombo* edit = Make(csDropDown, {"Alpha"});
    int notInList = 0;
    edit->OnNotInList = [&](TObject*) { ++notInList; };
    for (const char16_t* text : {u"alpha", u"", u"Gamma"}) {
        edit->SetTextQuietly(text);
        edit->Perform(CM_ENTER, 0, 0);
        edit->Perform(CM_EXIT, 0, 0);
    }
    EXPECT_EQ(notInList, 1) << "only a text that names no item, whatever its case";
}

TEST_F(RzComboBoxGui, ColoursFollowFocusReadOnlyAndEnabled) {
    TCountingCombo* c = Make(csDropDown, {});
    c->SetFocusColor(clYellow);
    c->SetReadOnlyColor(clInfoBk);
    c->SetDisabledColor(clGray);
    c->Perform(CM_ENTER, 0, 0);
    EXPECT_EQ(c->Color(), clYellow);
    c->SetReadOnly(true);
    EXPECT_EQ(c->Color(), clYellow) << "focused: the focus colour unless ReadOnlyColorOnFocus";
    c->SetReadOnlyColorOnFocus(true);
    EXPECT_EQ(c->Color(), clInfoBk);
    c->Perform(CM_EXIT, 0, 0);
    EXPECT_EQ(c->Color(), clInfoBk);
    c->SetReadOnly(false);
    EXPECT_EQ(c->Color(), clWindow);
    c->SetEnabled(false);
    EXPECT_EQ(c->Color(), clGray);
    c->SetEnabled(true);
    // A colour set from outside becomes the one at rest.
    c->SetColor(clAqua);
    c->Perform(CM_ENTER, 0, 0);
    c->Perform(CM_EXIT, 0, 0);
    EXPECT_EQ(c->Color(), clAqua);
}

TEST_F(RzComboBoxGui, OwnerDrawnItemsGetTheHighlightAndADottedBorder) {
    TCountingCombo* c = Make(csOwnerDrawFixed, {"one", "two"});
    TBitmap bitmap(60, 16);
    const auto draw = [&](int index, UINT state) {
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(TRect(0, 0, 60, 16));
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_COMBOBOX;
        dis.itemID = static_cast<UINT>(index);
        dis.itemState = state;
        dis.hDC = bitmap.Canvas()->Handle();
        dis.rcItem = RECT{0, 0, 60, 16};
        c->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    };
    TOwnerDrawState seen;
    c->OnDrawItem = [&](TWinControl* control, int, TRect r, TOwnerDrawState state) {
        seen = state;
        static_cast<TCountingCombo*>(control)->Canvas()->FillRect(r);
    };
    draw(1, ODS_SELECTED | ODS_COMBOBOXEDIT);
    EXPECT_TRUE(seen.Contains(odComboBoxEdit));
    const TColor highlight = ColorToRGB(clHighlight);
    EXPECT_EQ(bitmap.Canvas()->Pixel(30, 8), highlight);
    // The border is dotted: neighbours on the edge differ.
    EXPECT_NE(bitmap.Canvas()->Pixel(10, 0), bitmap.Canvas()->Pixel(11, 0));
    c->SetShowFocusBorder(false);
    draw(1, ODS_SELECTED);
    EXPECT_EQ(bitmap.Canvas()->Pixel(10, 0), highlight);
    EXPECT_EQ(bitmap.Canvas()->Pixel(11, 0), highlight);
}

TEST_F(RzComboBoxGui, ValuesMapItemsWithTheTextAsFallback) {
    TCountingCombo* c = Make(csDropDownList, {"One", "Two", "Three"});
    c->Values()->Add("1");
    c->Values()->Add("");
    EXPECT_EQ(c->GetItemValue(0), u"1");
    EXPECT_EQ(c->GetItemValue(1), u"Two");
    EXPECT_EQ(c->GetItemValue(2), u"Three");
    EXPECT_EQ(c->GetItemValue(5), u"");
    c->SetComboValue(u"Three");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->GetComboValue(), u"Three");
    c->SetComboValue(u"missing");
    EXPECT_EQ(c->ItemIndex(), -1);
    Type(*c, u"o");
    EXPECT_EQ(c->Value(), u"1") << "a choice by the user sets the value";
}

}  // namespace
