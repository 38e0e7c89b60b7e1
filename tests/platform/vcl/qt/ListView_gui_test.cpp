// The list view and header control shown by Qt views, offscreen: owner data drawn row by row,
// the user's selection and check boxes as notifications, custom-draw colours on screen, header
// drags as HDN_* notifications, and a screenshot of a report list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QTreeView>

#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/HeaderControl.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class ListViewGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form_ = new TForm(Application);
        form_->SetBounds(10, 10, 420, 260);
        list_ = new TListView(form_);
        list_->SetParent(form_);
        list_->SetBounds(0, 0, 400, 240);
        list_->SetViewStyle(vsReport);
        for (const char16_t* caption : {u"Subject", u"From", u"Size"}) list_->Columns()->Add()->SetCaption(caption);
        list_->Column(0)->SetWidth(180);
        list_->Column(1)->SetWidth(120);
        list_->Column(2)->SetWidth(60);
    }
    void TearDown() override { delete form_; }

    QTreeView* Tree() const {
        auto* peer = dynamic_cast<QWidget*>(list_->Peer());
        return peer ? peer->findChild<QTreeView*>() : nullptr;
    }
    QImage Grab() const {
        Application->ProcessMessages();
        return dynamic_cast<QWidget*>(list_->Peer())->grab().toImage();
    }
    void Show() {
        form_->Show();
        Application->ProcessMessages();
    }

    TForm* form_ = nullptr;
    TListView* list_ = nullptr;
};

TEST_F(ListViewGuiTest, OwnerDataIsAskedOnlyForVisibleRowsAndSurvivesCountChangesWhileScrolled) {
    std::set<int> asked;
    list_->SetOwnerData(true);
    list_->OnData = [&](TObject*, TListItem* item) {
        asked.insert(item->Index());
        item->SetCaption(u"Message " + Utf8ToUtf16(std::to_string(item->Index())));
        item->SubItems()->Add(u"someone@example.org");
        item->SubItems()->Add(u"12 KB");
    };
    list_->Items()->SetCount(100000);
    Show();
    Grab();
    const int page = list_->VisibleRowCount();
    ASSERT_GT(page, 3);
    ASSERT_FALSE(asked.empty());
    EXPECT_LE(asked.size(), static_cast<std::size_t>(page + 3));
    EXPECT_LE(*asked.rbegin(), page + 2);

    asked.clear();
    list_->Items()->Item(70000)->MakeVisible(false);
    list_->Items()->Item(70000)->SetSelected(true);
    Grab();
    ASSERT_NE(list_->TopItem(), nullptr);
    const int top = list_->TopItem()->Index();
    EXPECT_GT(top, 70000 - page - 1);
    EXPECT_LE(asked.size(), static_cast<std::size_t>(page + 4));
    for (int row : asked) EXPECT_NEAR(row, 70000, page + 2);
    const TRect r = list_->Items()->Item(70000)->DisplayRect(drBounds);
    EXPECT_EQ(list_->GetItemAt(r.left + 5, r.top + 2)->Index(), 70000);

    // Growing keeps the place; shrinking below the top row shows the end of the shorter list.
    list_->Items()->SetCount(150000);
    Grab();
    EXPECT_EQ(list_->TopItem()->Index(), top);
    asked.clear();
    list_->Items()->SetCount(10);
    Grab();
    EXPECT_EQ(list_->SelCount(), 0);
    ASSERT_NE(list_->TopItem(), nullptr);
    EXPECT_EQ(list_->TopItem()->Index(), 0);
    for (int row : asked) EXPECT_LT(row, 10);
    list_->Items()->SetCount(0);
    Grab();
    EXPECT_EQ(list_->TopItem(), nullptr);
}

TEST_F(ListViewGuiTest, UserSelectionAndCheckBoxesComeBackAsNotifications) {
    list_->SetCheckboxes(true);
    list_->SetMultiSelect(true);
    list_->SetRowSelect(true);
    for (int i = 0; i < 5; ++i) list_->Items()->Add()->SetCaption(u"row " + Utf8ToUtf16(std::to_string(i)));
    Show();
    std::vector<std::pair<int, bool>> selects;
    list_->OnSelectItem = [&](TObject*, TListItem* item, bool on) { selects.emplace_back(item->Index(), on); };
    QTreeView* tree = Tree();
    ASSERT_NE(tree, nullptr);
    const QRect row2 = tree->visualRect(tree->model()->index(2, 1));
    // The mouse events carry client coordinates that GetItemAt understands.
    int mouseRow = -1, doubleClicks = 0;
    list_->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        if (TListItem* item = list_->GetItemAt(x, y)) mouseRow = item->Index();
    };
    list_->OnDblClick = [&](TObject*) { ++doubleClicks; };
    const QPoint p = row2.center();
    const QPoint g = tree->viewport()->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &release);
    QMouseEvent twice(QEvent::MouseButtonDblClick, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &twice);
    QApplication::sendEvent(tree->viewport(), &release);
    EXPECT_EQ(mouseRow, 2);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(list_->ItemIndex(), 2);
    EXPECT_EQ(list_->ItemFocused()->Index(), 2);
    EXPECT_EQ(selects, (std::vector<std::pair<int, bool>>{{2, true}}));
    // The control's own selection shows in the view.
    list_->Items()->Item(4)->SetSelected(true);
    EXPECT_TRUE(tree->selectionModel()->isRowSelected(4, {}));
    EXPECT_TRUE(tree->selectionModel()->isRowSelected(2, {}));

    // Keys reach the control first; the view moves the focus with the arrows.
    std::vector<WORD> keys;
    list_->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    list_->SetFocus();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(tree, &down);
    EXPECT_EQ(keys, std::vector<WORD>{VK_DOWN});
    EXPECT_EQ(list_->ItemFocused()->Index(), 3);

    // Ticking a box: the handler may refuse.
    list_->OnChanging = [](TObject*, TListItem* item, TItemChange, bool& allow) { allow = item->Index() != 3; };
    for (int row : {1, 3}) tree->model()->setData(tree->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(list_->Items()->Item(1)->Checked());
    EXPECT_FALSE(list_->Items()->Item(3)->Checked());
    EXPECT_EQ(tree->model()->data(tree->model()->index(3, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(ListViewGuiTest, CustomDrawColoursReachTheScreen) {
    for (int i = 0; i < 4; ++i) {
        TListItem* item = list_->Items()->Add();
        item->SetCaption(u"  ");
        item->SubItems()->Add(u"  ");
    }
    list_->OnCustomDrawItem = [](TCustomListView* sender, TListItem* item, TCustomDrawState, bool&) {
        if (item->Index() == 1) sender->Canvas()->Brush()->SetColor(clRed);
    };
    list_->OnCustomDrawSubItem = [](TCustomListView* sender, TListItem* item, int sub, TCustomDrawState, bool&) {
        if (item->Index() == 2 && sub == 1) sender->Canvas()->Brush()->SetColor(clLime);
    };
    list_->Perform(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(RGB(0, 0, 128)));
    Show();
    const QImage shot = Grab();
    auto pixel = [&](int row, int sub) {
        const TRect r = list_->ItemRect(row, sub, drBounds);
        return shot.pixelColor(r.left + 40, (r.top + r.bottom) / 2);
    };
    EXPECT_EQ(pixel(1, 0), QColor(255, 0, 0));
    EXPECT_EQ(pixel(2, 1), QColor(0, 255, 0));
    EXPECT_EQ(pixel(3, 0), QColor(0, 0, 128));  // LVM_SETBKCOLOR
}

TEST_F(ListViewGuiTest, DraggingAHeaderDividerSendsTrackNotifications) {
    list_->Column(1)->SetMaxWidth(150);
    Show();
    std::vector<UINT> codes;
    std::vector<int> widths;
    auto inherited = list_->WindowProc;
    list_->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_NOTIFY) {
            const auto* nm = reinterpret_cast<const NMHEADER*>(m.LParam);
            codes.push_back(nm->hdr.code);
            if (const std::optional<int> w = NotifiedWidth(*nm)) widths.push_back(*w);
        }
        inherited(m);
    };
    QHeaderView* header = Tree()->header();
    QWidget* target = header->viewport();
    const int y = header->height() / 2;
    auto send = [&](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPoint p(x, y);
        QMouseEvent e(type, p, target->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    };
    const int divider = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    send(QEvent::MouseButtonPress, divider, Qt::LeftButton);
    send(QEvent::MouseMove, divider + 10, Qt::LeftButton);
    send(QEvent::MouseMove, divider + 60, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, divider + 60, Qt::NoButton);
    list_->WindowProc = inherited;
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), HDN_BEGINTRACKW);
    EXPECT_EQ(codes[1], HDN_TRACKW);
    EXPECT_EQ(codes.back(), HDN_ENDTRACKW);
    EXPECT_EQ(list_->Column(1)->Width(), 150);  // held at MaxWidth
    EXPECT_EQ(header->sectionSize(1), 150);

    // The 8-bit codes when the owner asks for them.
    list_->Perform(CCM_SETUNICODEFORMAT, FALSE, 0);
    codes.clear();
    list_->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_NOTIFY) codes.push_back(reinterpret_cast<const NMHDR*>(m.LParam)->code);
        inherited(m);
    };
    int clicked = -1;
    list_->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c->Index(); };
    const int middle = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
    send(QEvent::MouseButtonPress, middle, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, middle, Qt::NoButton);
    list_->WindowProc = inherited;
    EXPECT_EQ(clicked, 2);
    EXPECT_NE(std::find(codes.begin(), codes.end(), HDN_ITEMCLICKA), codes.end());
}

TEST_F(ListViewGuiTest, LabelEditingAndOtherViewStyles) {
    for (int i = 0; i < 30; ++i) list_->Items()->Add()->SetCaption(u"file " + Utf8ToUtf16(std::to_string(i)));
    Show();
    int editing = 0;
    WideString edited;
    list_->OnEditing = [&](TObject*, TListItem* item, bool& allow) {
        ++editing;
        allow = item->Index() != 0;
    };
    list_->OnEdited = [&](TObject*, TListItem*, WideString& text) {
        edited = text;
        text += u".txt";  // the handler may change the text
    };
    EXPECT_FALSE(list_->Items()->Item(0)->EditCaption());
    ASSERT_TRUE(list_->Items()->Item(3)->EditCaption());
    EXPECT_EQ(editing, 2);
    EXPECT_TRUE(list_->IsEditing());
    auto* editor = dynamic_cast<QWidget*>(list_->Peer())->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("notes"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    Application->ProcessMessages();
    EXPECT_EQ(edited, u"notes");
    EXPECT_EQ(list_->Items()->Item(3)->Caption(), u"notes.txt");
    EXPECT_FALSE(list_->IsEditing());

    // The same items in the list and icon views: hit tests and rectangles follow.
    for (TViewStyle style : {vsList, vsSmallIcon, vsIcon}) {
        list_->SetViewStyle(style);
        Grab();
        const TRect r = list_->Items()->Item(4)->DisplayRect(drBounds);
        ASSERT_GT(r.Width(), 0) << style;
        EXPECT_EQ(list_->GetItemAt(r.left + r.Width() / 2, r.top + r.Height() / 2), list_->Items()->Item(4)) << style;
    }
}

TEST_F(ListViewGuiTest, HeaderControlDrawsOwnerDrawnSectionsAndReportsDrags) {
    auto* header = new THeaderControl(form_);
    header->SetParent(form_);
    header->SetAlign(alNone);
    header->SetBounds(0, 0, 300, 22);
    for (int w : {120, 100}) header->Sections()->Add()->SetWidth(w);
    header->Sections()->Items(0)->SetText(u"Name");
    header->Sections()->Items(1)->SetStyle(hsOwnerDraw);
    header->Sections()->Items(1)->SetMaxWidth(140);
    header->OnDrawSection = [](THeaderControl* h, THeaderSection*, const TRect& r, bool) {
        h->Canvas()->Brush()->SetColor(clRed);
        h->Canvas()->FillRect(r);
    };
    std::vector<TSectionTrackState> states;
    header->OnSectionTrack = [&](THeaderControl*, THeaderSection*, int&, TSectionTrackState s) { states.push_back(s); };
    Show();
    auto* peer = dynamic_cast<QWidget*>(header->Peer());
    ASSERT_NE(peer, nullptr);
    Application->ProcessMessages();
    const QImage shot = peer->grab().toImage();
    EXPECT_EQ(shot.pixelColor(170, 11), QColor(255, 0, 0));
    EXPECT_NE(shot.pixelColor(60, 11), QColor(255, 0, 0));

    auto* view = peer->findChild<QHeaderView*>();
    ASSERT_NE(view, nullptr);
    auto send = [&](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPoint p(x, 11);
        QMouseEvent e(type, p, view->viewport()->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    };
    send(QEvent::MouseButtonPress, 219, Qt::LeftButton);
    send(QEvent::MouseMove, 240, Qt::LeftButton);
    send(QEvent::MouseMove, 290, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 290, Qt::NoButton);
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(states.front(), tsTrackBegin);
    EXPECT_EQ(states.back(), tsTrackEnd);
    EXPECT_EQ(header->Sections()->Items(1)->Width(), 140);
    EXPECT_EQ(view->sectionSize(1), 140);
}

TEST_F(ListViewGuiTest, ReportScreenshot) {
    TCustomImageList images(nullptr);
    images.SetSize(16, 16);
    for (TColor c : {TColor(clNavy), TColor(clGreen)}) {
        TBitmap bitmap;
        bitmap.SetSize(16, 16);
        bitmap.Canvas()->Brush()->SetColor(clFuchsia);
        bitmap.Canvas()->FillRect(TRect(0, 0, 16, 16));
        bitmap.Canvas()->Brush()->SetColor(c);
        bitmap.Canvas()->Ellipse(2, 2, 14, 14);
        images.AddMasked(&bitmap, clFuchsia);
    }
    list_->SetSmallImages(&images);
    list_->SetCheckboxes(true);
    list_->SetRowSelect(true);
    list_->SetGridLines(true);
    list_->SetHideSelection(false);
    list_->Column(2)->SetAlignment(taRightJustify);
    const char16_t* subjects[] = {u"Quarterly report", u"Re: lunch on Friday?", u"Invoice 2291", u"Holiday photos", u"Build failed"};
    const char16_t* senders[] = {u"Ann Reed", u"Bo Lind", u"Accounts", u"Cara", u"CI"};
    for (int i = 0; i < 5; ++i) {
        TListItem* item = list_->Items()->Add();
        item->SetCaption(subjects[i]);
        item->SetImageIndex(i % 2);
        item->SubItems()->Add(senders[i]);
        item->SubItems()->Add(Utf8ToUtf16(std::to_string(4 + i * 7)) + u" KB");
    }
    list_->Items()->Item(1)->SetChecked(true);
    list_->Items()->Item(2)->SetSelected(true);
    Show();
    const QImage shot = Grab();
    EXPECT_TRUE(shot.save(QStringLiteral("/tmp/quillora-listview-report.png")));
    list_->SetSmallImages(nullptr);
}

}  // namespace
