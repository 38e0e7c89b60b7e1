// The Unicode controls over Qt, offscreen: wide text as the widgets show it (a list view's rows,
// a tree's nodes, an edit, a rich edit), a centred status panel, and an owner-data list of
// 100,000 rows that asks only for the rows it shows.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>
#include <QTreeView>

#include "controls/unicode/TntActnList.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntMenus.h"
#include "controls/unicode/TntRichEdit.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntStdCtrls.h"
#include "controls/unicode/TntTreeView.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class TntGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form_ = new TForm(Application);
        form_->SetBounds(10, 10, 520, 400);
    }
    void TearDown() override { delete form_; }
    void Show() {
        form_->Show();
        Application->ProcessMessages();
    }
    static QWidget* WidgetOf(TWinControl* control) { return dynamic_cast<QWidget*>(control->Peer()); }
    TForm* form_ = nullptr;
};

TEST_F(TntGuiTest, WidgetsShowWideTextAfterANewWindow) {
    auto* edit = new TTntEdit(form_);
    edit->SetParent(form_);
    edit->SetText(u"\u0416\u0438\u0440 \u03A9 \U0001F600");
    auto* list = new TTntListView(form_);
    list->SetParent(form_);
    list->SetBounds(0, 40, 300, 150);
    list->SetViewStyle(vsReport);
    list->SetCheckboxes(true);
    list->GetColumns()->Add()->SetCaption(u"\u0422\u0435\u043C\u0430");
    list->GetColumns()->Add()->SetCaption(u"\u65E5\u4ED8");
    TTntListItem* item = list->GetItems()->Add();
    item->SetCaption(u"\u041F\u0440\u0438\u0432\u0435\u0442");
    item->SubItems()->Add(u"\u4E00\u6708");
    Show();
    list->SetGridLines(true);
    list->RecreateWnd();
    edit->RecreateWnd();
    Show();
    auto* line = WidgetOf(edit)->findChild<QLineEdit*>();
    if (!line) line = dynamic_cast<QLineEdit*>(WidgetOf(edit));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString::fromUtf16(u"\u0416\u0438\u0440 \u03A9 \U0001F600"));
    auto* tree = WidgetOf(list)->findChild<QTreeView*>();
    ASSERT_NE(tree, nullptr);
    QAbstractItemModel* model = tree->model();
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), QString::fromUtf16(u"\u041F\u0440\u0438\u0432\u0435\u0442"));
    EXPECT_EQ(model->data(model->index(0, 1)).toString(), QString::fromUtf16(u"\u4E00\u6708"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QString::fromUtf16(u"\u65E5\u4ED8"));
}

TEST_F(TntGuiTest, OwnerDataAsksForTheRowsShown) {
    auto* list = new TTntListView(form_);
    list->SetParent(form_);
    list->SetBounds(0, 0, 400, 300);
    list->SetViewStyle(vsReport);
    list->SetOwnerData(true);
    list->GetColumns()->Add()->SetWidth(200);
    int asked = 0;
    list->OnData = [&](TObject*, TListItem* i) {
        ++asked;
        static_cast<TTntListItem*>(i)->SetCaption(u"\u0421\u0442\u0440\u043E\u043A\u0430");
    };
    list->Items()->SetCount(100000);
    Show();
    WidgetOf(list)->grab();
    EXPECT_GT(asked, 0);
    EXPECT_LT(asked, 200);
}

TEST_F(TntGuiTest, CentredPanelIsDrawnInTheMiddle) {
    auto* bar = new TTntStatusBar(form_);
    bar->SetParent(form_);
    bar->SetSizeGrip(false);
    TTntStatusPanel* panel = bar->GetPanels()->Add();
    panel->SetWidth(300);
    panel->SetBevel(pbNone);
    panel->SetText(u"\t\u0416\u0416\u0416\u0416");
    bar->GetPanels()->Add();
    Show();
    const QImage shot = WidgetOf(bar)->grab().toImage();
    const TRect r = bar->PanelRect(0);
    const QColor back = shot.pixelColor(r.left + 1, r.top + 1);
    int first = -1, last = -1;
    for (int x = r.left; x < r.right; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            if (shot.pixelColor(x, y) != back) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    ASSERT_GE(first, 0) << "no text drawn";
    EXPECT_NEAR((first + last) / 2, (r.left + r.right) / 2, 3);
}

TEST_F(TntGuiTest, TreeAndRichEditShowWideText) {
    auto* tree = new TTntTreeView(form_);
    tree->SetParent(form_);
    tree->SetBounds(0, 0, 200, 150);
    TTntTreeNode* root = tree->GetItems()->Add(nullptr, u"\u041F\u0430\u043F\u043A\u0430");
    tree->GetItems()->AddChild(root, u"\u03B1\u03B2\u03B3");
    auto* rich = new TTntRichEdit(form_);
    rich->SetParent(form_);
    rich->SetBounds(0, 160, 300, 100);
    rich->SetText(u"{\\rtf1\\ansi {\\b \u0416}\\u1046?\\par \u65E5}");
    Show();
    auto* view = WidgetOf(tree)->findChild<QTreeView*>();
    if (!view) view = dynamic_cast<QTreeView*>(WidgetOf(tree));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model()->data(view->model()->index(0, 0)).toString(),
              QString::fromUtf16(u"\u041F\u0430\u043F\u043A\u0430"));
    auto* text = WidgetOf(rich)->findChild<QTextEdit*>();
    if (!text) text = dynamic_cast<QTextEdit*>(WidgetOf(rich));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QString::fromUtf16(u"\u0416\u0416\n\u65E5"));
}

TEST_F(TntGuiTest, MenuShowsWideCaptionsAndShortcutsOfItsAction) {
    auto* action = new TTntAction(form_);
    action->SetCaption(u"&\u041F\u0435\u0447\u0430\u0442\u044C \U0001F5A8");
    action->SetShortCut(ShortCut('P', scCtrl));
    action->OnExecute = [](TObject*) {};
    auto* menu = new TTntMainMenu(form_);
    auto* file = new TTntMenuItem(form_);
    file->SetCaption(u"&\u0424\u0430\u0439\u043B");
    menu->Items()->Add(file);
    auto* print = new TTntMenuItem(form_);
    print->SetAction(action);
    file->Add(print);
    form_->SetMenu(menu);
    Show();
    QMenuBar* bar = WidgetOf(form_)->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->actions()[0]->text(), QString::fromUtf16(u"&\u0424\u0430\u0439\u043B"));
    QMenu* drop = bar->actions()[0]->menu();
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->actions()[0]->text(), QString::fromUtf16(u"&\u041F\u0435\u0447\u0430\u0442\u044C \U0001F5A8\tCtrl+P"));
}

}  // namespace
