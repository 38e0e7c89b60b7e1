// The common controls over Qt (offscreen): the tree's expansion, selection and label editing
// through the real QTreeView, an owner-drawn status panel read back from the screen, the tab
// row's click with the OnChanging veto, and a picture of a form with all of them.
#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QTabBar>
#include <QTreeView>

#include "platform/vcl/CommCtrl.h"
#include "platform/vcl/DateTimePicker.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/PageControl.h"
#include "platform/vcl/StatusBar.h"
#include "platform/vcl/ToolBar.h"
#include "platform/vcl/TreeView.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

QWidget* WidgetOf(TWinControl* control) { return dynamic_cast<QWidget*>(control->Peer()); }

void Click(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton, bool twice = false) {
    const QPointF p(at);
    const QPointF g = target->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, p, g, button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, p, g, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    if (twice) {
        QMouseEvent dbl(QEvent::MouseButtonDblClick, p, p, g, button, button, Qt::NoModifier);
        QApplication::sendEvent(target, &dbl);
    }
}

// A picture list with a few flat coloured symbols.
TImageList* MakeImages(TComponent* owner) {
    auto* images = new TImageList(owner);
    images->SetSize(16, 16);
    const std::uint32_t colours[] = {0xFFE8B84Au, 0xFF3A78C2u, 0xFF4CA35Au, 0xFFC2453Au};
    for (std::uint32_t c : colours) {
        std::vector<std::uint32_t> px(256, 0);
        for (int y = 2; y < 14; ++y)
            for (int x = 1; x < 15; ++x) px[static_cast<std::size_t>(y * 16 + x)] = (y == 2 || y == 13 || x == 1 || x == 14) ? 0xFF505050u : c;
        images->AddPixels(px);
    }
    // The shared link overlay, as the shell's lists carry it.
    const TCustomImageList* system = SystemImageList(0);
    images->Overlay(images->AddPixels(system->Pixels(system->OverlayImage(LINK_OVERLAY))), LINK_OVERLAY);
    return images;
}

class CommonControlsGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
    }
};

TEST_F(CommonControlsGuiTest, TreeExpandsOnDemandSelectsAndEditsThroughTheWidget) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 300, 240);
    auto* tree = new TTreeView(form);
    tree->SetParent(form);
    tree->SetAlign(alClient);
    TTreeNode* mail = tree->Items()->Add(nullptr, u"Mail");
    mail->SetHasChildren(true);
    TTreeNode* notes = tree->Items()->Add(nullptr, u"Notes");
    bool refuse = true;
    tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& allow) {
        allow = !refuse;
        if (allow && node->Count() == 0) {
            tree->Items()->AddChild(node, u"Inbox");
            tree->Items()->AddChild(node, u"Sent");
        }
    };
    std::vector<TTreeNode*> changes;
    tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
    form->Show();
    Application->ProcessMessages();

    auto* view = WidgetOf(tree)->findChild<QTreeView*>();
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* model = view->model();
    const QModelIndex mailIndex = model->index(0, 0, {});
    EXPECT_TRUE(model->hasChildren(mailIndex));
    EXPECT_EQ(model->rowCount(mailIndex), 0);

    // A click on the expand button asks OnExpanding; the veto keeps the node closed.
    const QRect row = view->visualRect(mailIndex);
    const QPoint button(row.left() - view->indentation() / 2, row.center().y());
    Click(view->viewport(), button);
    EXPECT_FALSE(view->isExpanded(mailIndex));
    EXPECT_FALSE(mail->Expanded());
    refuse = false;
    Click(view->viewport(), button);
    EXPECT_TRUE(mail->Expanded());
    EXPECT_TRUE(view->isExpanded(mailIndex));
    EXPECT_EQ(model->rowCount(mailIndex), 2);

    // Clicking a row selects its node through OnChanging / OnChange.
    const QModelIndex sentIndex = model->index(1, 0, mailIndex);
    changes.clear();
    Click(view->viewport(), view->visualRect(sentIndex).center());
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), u"Sent");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], tree->Selected());
    // OnChanging may refuse a click; the widget's current row goes back.
    tree->OnChanging = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
    Click(view->viewport(), view->visualRect(mailIndex).center());
    EXPECT_EQ(tree->Selected()->Text(), u"Sent");
    EXPECT_EQ(view->currentIndex(), sentIndex);
    tree->OnChanging = nullptr;

    // Geometry: the text rectangle of a node finds the node again.
    const TRect text = notes->DisplayRect(true);
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_LT(text.Width(), 80);
    EXPECT_EQ(tree->GetNodeAt(text.left + 2, text.top + text.Height() / 2), notes);
    EXPECT_EQ(tree->GetNodeAt(text.left + 2, 230), nullptr);

    // Label editing: the editor opens after OnEditing, its window takes WM_SETTEXT, and the
    // typed text reaches OnEdited and the node.
    WideString edited;
    tree->OnEdited = [&](TObject*, TTreeNode*, WideString& s) { edited = s; };
    ASSERT_TRUE(notes->EditText());
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Notes"));
    HWND edit = reinterpret_cast<HWND>(tree->Perform(TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Journal"));
    notes->EndEdit(false);
    EXPECT_EQ(edited, u"Journal");
    EXPECT_EQ(notes->Text(), u"Journal");
    EXPECT_EQ(model->data(model->index(1, 0, {})).toString(), QStringLiteral("Journal"));
    EXPECT_FALSE(tree->IsEditing());

    // Sorting moves rows in the widget and keeps the expanded node expanded.
    tree->OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, int, int& c) { c = -WideCompareText(a->Text(), b->Text()); };
    tree->AlphaSort(true);
    EXPECT_EQ(model->data(model->index(0, 0, {})).toString(), QStringLiteral("Mail"));
    EXPECT_EQ(model->data(model->index(0, 0, model->index(0, 0, {}))).toString(), QStringLiteral("Sent"));
    EXPECT_TRUE(view->isExpanded(model->index(0, 0, {})));

    // A new window shows the same expanded nodes and selection.
    tree->RecreateWnd();
    Application->ProcessMessages();
    view = WidgetOf(tree)->findChild<QTreeView*>();
    ASSERT_NE(view, nullptr);
    model = view->model();
    EXPECT_TRUE(view->isExpanded(model->index(0, 0, {})));
    EXPECT_EQ(model->data(view->currentIndex()).toString(), QStringLiteral("Sent"));
    delete form;
}

TEST_F(CommonControlsGuiTest, TreeNotificationsKeysDragsAndTips) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 140, 200);
    auto* tree = new TTreeView(form);
    tree->SetParent(form);
    tree->SetAlign(alClient);
    TTreeNode* lazy = tree->Items()->Add(nullptr, u"Lazy");
    lazy->SetHasChildren(true);
    TTreeNode* longer = tree->Items()->Add(nullptr, u"A folder with a name far too long to fit");
    std::vector<UINT> codes;
    auto saved = tree->WindowProc;
    tree->WindowProc = [&](TMessage& m) {
        if (m.Msg == CN_NOTIFY || m.Msg == WM_NOTIFY) codes.push_back(reinterpret_cast<NMHDR*>(m.LParam)->code);
        saved(m);
    };
    bool allow = false;
    tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& a) {
        a = allow;
        if (a) tree->Items()->AddChild(node, u"child");
    };
    form->Show();
    Application->ProcessMessages();
    auto* view = WidgetOf(tree)->findChild<QTreeView*>();
    ASSERT_NE(view, nullptr);
    tree->SetSelected(lazy);

    // The Right key expands through OnExpanding.
    auto key = [&](Qt::Key k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(view, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
        QApplication::sendEvent(view, &release);
    };
    key(Qt::Key_Right);
    EXPECT_FALSE(lazy->Expanded());
    allow = true;
    key(Qt::Key_Right);
    EXPECT_TRUE(lazy->Expanded());
    EXPECT_TRUE(view->isExpanded(view->model()->index(0, 0, {})));

    // Clicks are reported; a right click leaves the selection alone.
    codes.clear();
    const QRect longRow = view->visualRect(view->model()->index(1, 0, {}));
    Click(view->viewport(), longRow.center(), Qt::RightButton);
    EXPECT_NE(std::find(codes.begin(), codes.end(), NM_RCLICK), codes.end());
    EXPECT_EQ(tree->Selected(), lazy);

    // Dragging a node starts TVN_BEGINDRAG, unless drag and drop is off.
    auto drag = [&] {
        codes.clear();
        const QPointF from(longRow.center()), to(longRow.center() + QPoint(30, 0));
        QMouseEvent press(QEvent::MouseButtonPress, from, from, view->viewport()->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &press);
        QMouseEvent move(QEvent::MouseMove, to, to, view->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, to, view->viewport()->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &release);
        return std::find(codes.begin(), codes.end(), TVN_BEGINDRAGW) != codes.end();
    };
    EXPECT_TRUE(drag());
    tree->SetDragAllowed(false);
    EXPECT_FALSE(drag());

    // The tooltip asks TTN_NEEDTEXT for the node under the mouse; none when tips are off.
    const QPoint over = view->viewport()->mapTo(WidgetOf(tree), longRow.center());
    EXPECT_EQ(tree->TooltipText(TPoint(over.x(), over.y())), longer->Text());
    EXPECT_NE(std::find(codes.begin(), codes.end(), TTN_NEEDTEXTW), codes.end());
    tree->SetToolTips(false);
    EXPECT_TRUE(tree->TooltipText(TPoint(over.x(), over.y())).empty());
    tree->WindowProc = saved;
    delete form;
}

TEST_F(CommonControlsGuiTest, TreeMultiSelectTakesCtrlAndShiftClicksAndShowsMoves) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 200, 200);
    auto* tree = new TTreeView(form);
    tree->SetParent(form);
    tree->SetAlign(alClient);
    tree->SetRowSelect(true);
    tree->SetMultiSelect(true);
    tree->SetMultiSelectStyle(msControlSelect | msShiftSelect);
    TTreeNode* nodes[4];
    for (int i = 0; i < 4; ++i) nodes[i] = tree->Items()->Add(nullptr, WideString(1, static_cast<char16_t>(u'a' + i)));
    int changes = 0;
    tree->OnChange = [&](TObject*, TTreeNode*) { ++changes; };
    form->Show();
    Application->ProcessMessages();
    auto* view = WidgetOf(tree)->findChild<QTreeView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
    const auto click = [&](int row, Qt::KeyboardModifiers mods) {
        const QPointF p(view->visualRect(view->model()->index(row, 0, {})).center());
        const QPointF g = view->viewport()->mapToGlobal(p);
        QMouseEvent press(QEvent::MouseButtonPress, p, p, g, Qt::LeftButton, Qt::LeftButton, mods);
        QApplication::sendEvent(view->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, p, g, Qt::LeftButton, Qt::NoButton, mods);
        QApplication::sendEvent(view->viewport(), &release);
    };
    const auto shown = [&] {
        std::vector<int> rows;
        for (const QModelIndex& i : view->selectionModel()->selectedIndexes()) rows.push_back(i.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    };

    changes = 0;
    click(2, Qt::NoModifier);
    click(0, Qt::ControlModifier);
    EXPECT_EQ(tree->SelectionCount(), 2u);
    EXPECT_EQ(tree->Selections(0), nodes[2]);
    EXPECT_EQ(tree->Selections(1), nodes[0]);
    EXPECT_EQ(tree->Selected(), nodes[0]);
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(shown(), (std::vector<int>{0, 2}));
    EXPECT_GE(view->visualRect(view->model()->index(0, 0, {})).right(), view->viewport()->width() - 1);  // RowSelect
    click(1, Qt::ShiftModifier);  // from the anchor a
    EXPECT_EQ(tree->SelectionCount(), 2u);
    EXPECT_EQ(shown(), (std::vector<int>{0, 1}));
    // A plain click on one of several selected rows leaves it alone at release.
    click(0, Qt::NoModifier);
    EXPECT_EQ(tree->SelectionCount(), 1u);
    EXPECT_EQ(shown(), (std::vector<int>{0}));
    EXPECT_EQ(changes, 4);

    // A moved node keeps its place in the selection and shows at its new row.
    tree->Select(std::vector<TTreeNode*>{nodes[0], nodes[3]});
    nodes[3]->MoveTo(nodes[0], naInsert);
    EXPECT_EQ(view->model()->index(0, 0, {}).data().toString(), QString("d"));
    EXPECT_EQ(shown(), (std::vector<int>{0, 1}));
    EXPECT_EQ(view->currentIndex().row(), 0);
    nodes[1]->MoveTo(nodes[3], naAddChild);
    EXPECT_EQ(view->model()->rowCount(view->model()->index(0, 0, {})), 1);
    EXPECT_EQ(tree->SelectionCount(), 2u);

    tree->SetMultiSelect(false);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(tree->SelectionCount(), 1u);
    delete form;
}

TEST_F(CommonControlsGuiTest, OwnerDrawnStatusPanelIsPaintedByOnDrawPanel) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 400, 120);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->Panels()->Add()->SetWidth(120);
    bar->Panels()->Items(0)->SetText(u"Ready");
    TStatusPanel* progress = bar->Panels()->Add();
    progress->SetWidth(100);
    progress->SetStyle(psOwnerDraw);
    bar->Panels()->Add();
    TRect drawnRect;
    TStatusPanel* drawnPanel = nullptr;
    bar->OnDrawPanel = [&](TCustomStatusBar* sb, TStatusPanel* panel, const TRect& rect) {
        drawnPanel = panel;
        drawnRect = rect;
        sb->Canvas()->Brush()->SetColor(clRed);
        TRect half = rect;
        half.right = rect.left + rect.Width() / 2;
        sb->Canvas()->FillRect(half);
    };
    form->Show();
    Application->ProcessMessages();

    const QImage shot = WidgetOf(bar)->grab().toImage();
    EXPECT_EQ(drawnPanel, progress);
    EXPECT_EQ(drawnRect, bar->PanelRect(1));
    const QPoint red(drawnRect.left + 3, drawnRect.top + drawnRect.Height() / 2);
    const QPoint plain(drawnRect.right - 3, drawnRect.top + drawnRect.Height() / 2);
    EXPECT_EQ(shot.pixelColor(red), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(plain), QColor(Qt::red));
    delete form;
}

TEST_F(CommonControlsGuiTest, ClickingATabAsksOnChanging) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 320, 220);
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetAlign(alClient);
    TTabSheet* sheets[2];
    for (int i = 0; i < 2; ++i) {
        sheets[i] = new TTabSheet(form);
        sheets[i]->SetPageControl(pages);
        sheets[i]->SetCaption(i == 0 ? u"&Message" : u"Details");
    }
    bool allow = false;
    int changes = 0;
    pages->OnChanging = [&](TObject*, bool& a) { a = allow; };
    pages->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    Application->ProcessMessages();

    auto* tabs = WidgetOf(pages)->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Details"));
    // The pages fill what the row of tabs leaves.
    EXPECT_GE(sheets[0]->Top(), tabs->height());

    Click(tabs, tabs->tabRect(1).center());
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(tabs->currentIndex(), 0);
    allow = true;
    Click(tabs, tabs->tabRect(1).center());
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(WidgetOf(sheets[1])->isVisible());
    EXPECT_FALSE(WidgetOf(sheets[0])->isVisible());
    EXPECT_EQ(sheets[1]->BoundsRect(), pages->DisplayRect());
    EXPECT_EQ(changes, 1);

    // The caption's accelerator turns back to the first page, asking OnChanging as well.
    QShortcutEvent accel(QKeySequence(Qt::ALT | Qt::Key_M), 0);
    QApplication::sendEvent(tabs, &accel);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(changes, 2);
    delete form;
}

TEST_F(CommonControlsGuiTest, DatePickerEditsReachTheControl) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 240, 80);
    auto* picker = new TDateTimePicker(form);
    picker->SetParent(form);
    picker->SetBounds(8, 8, 200, 24);
    TDateTime first = 0, start = 0;
    ASSERT_TRUE(TryEncodeDate(2024, 1, 1, first));
    ASSERT_TRUE(TryEncodeDate(2024, 6, 15, start));
    picker->SetMinDate(first);
    picker->SetDateTime(start);
    picker->SetShowCheckbox(true);
    int changes = 0;
    picker->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    Application->ProcessMessages();

    auto* edit = WidgetOf(picker)->findChild<QDateTimeEdit*>();
    auto* check = WidgetOf(picker)->findChild<QCheckBox*>();
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(edit->date(), QDate(2024, 6, 15));
    EXPECT_EQ(edit->minimumDate(), QDate(2024, 1, 1));
    EXPECT_TRUE(check->isVisible());

    edit->setDate(QDate(2024, 7, 1));
    EXPECT_EQ(changes, 1);
    WORD y = 0, m = 0, d = 0;
    DecodeDate(picker->Date(), y, m, d);
    EXPECT_EQ(m, 7);
    check->setChecked(false);
    EXPECT_FALSE(picker->Checked());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(changes, 2);
    delete form;
}

TEST_F(CommonControlsGuiTest, AFormWithEveryCommonControlLooksTidy) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 560, 360);
    form->SetCaption(u"Common controls");
    TImageList* images = MakeImages(form);

    auto* tools = new TToolBar(form);
    tools->SetParent(form);
    tools->SetFlat(true);
    tools->SetImages(images);
    tools->SetShowCaptions(true);
    const char16_t* captions[] = {u"Open", u"Print", u"", u"Bold", u"Italic", u"", u"Export"};
    const TToolButtonStyle styles[] = {tbsButton, tbsButton, tbsSeparator, tbsCheck, tbsCheck, tbsDivider, tbsDropDown};
    for (int i = 0; i < 7; ++i) {
        auto* b = new TToolButton(form);
        b->SetParent(tools);
        b->SetStyle(styles[i]);
        b->SetCaption(captions[i]);
        b->SetImageIndex(i % 4);
        b->SetGrouped(styles[i] == tbsCheck);
        if (i == 3) b->SetDown(true);
    }

    auto* status = new TStatusBar(form);
    status->SetParent(form);
    status->Panels()->Add()->SetWidth(160);
    status->Panels()->Items(0)->SetText(u"12 messages");
    TStatusPanel* bar = status->Panels()->Add();
    bar->SetWidth(140);
    bar->SetStyle(psOwnerDraw);
    status->Panels()->Add()->SetText(u"Ready");
    status->OnDrawPanel = [](TCustomStatusBar* sb, TStatusPanel*, const TRect& rect) {
        TRect done = rect;
        done.Inflate(-2, -2);
        done.right = done.left + done.Width() * 3 / 5;
        sb->Canvas()->Brush()->SetColor(clHighlight);
        sb->Canvas()->FillRect(done);
    };

    auto* tree = new TTreeView(form);
    tree->SetParent(form);
    tree->SetAlign(alLeft);
    tree->SetWidth(180);
    tree->SetImages(images);
    TTreeNode* root = tree->Items()->Add(nullptr, u"Personal Folders");
    root->SetImageIndex(0);
    for (const char16_t* name : {u"Inbox", u"Sent Items", u"Deleted Items", u"Drafts"}) {
        TTreeNode* n = tree->Items()->AddChild(root, name);
        n->SetImageIndex(1);
        n->SetSelectedIndex(2);
    }
    root->Item(0)->SetOverlayIndex(LINK_OVERLAY);
    root->Item(2)->SetCut(true);
    tree->Items()->Add(nullptr, u"Archive")->SetHasChildren(true);
    root->Expand(false);
    tree->SetSelected(root->Item(1));
    tree->SetHideSelection(false);

    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetAlign(alClient);
    for (const char16_t* caption : {u"Message", u"Details", u"Attachments"}) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
    }
    auto* when = new TDateTimePicker(form);
    when->SetParent(pages->Pages(0));
    when->SetBounds(12, 12, 160, 24);
    when->SetShowCheckbox(true);
    form->Show();
    Application->ProcessMessages();

    const QImage shot = WidgetOf(form)->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // A picture for a person to look at, when asked for.
    if (const char* dir = std::getenv("QUILLORA_SCREENSHOT_DIR")) {
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/common_controls.png")));
    }
    // The check button that is down has the lighter face; the tool bar holds the captions.
    EXPECT_GE(tools->Height(), 16 + 8 + 10);
    EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());
    delete form;
}

}  // namespace
