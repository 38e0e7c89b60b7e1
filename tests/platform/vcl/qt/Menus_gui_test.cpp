// Menus shown by Qt: a form's menu bar (texts with their mnemonics and shortcut texts, the
// client area below it, choices as WM_COMMAND), popup menus run by Qt's own loop, and
// owner-drawn items measured and drawn by their menu item.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/MenusQt.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
    }
};

class MenusGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
    }
    static TMenuItem* Item(TComponent* owner, TMenuItem* parent, const WideString& caption, TShortCut shortCut = scNone) {
        auto* item = new TMenuItem(owner);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        parent->Add(item);
        return item;
    }
    static QStringList Texts(const QList<QAction*>& actions) {
        QStringList texts;
        for (QAction* a : actions) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }
};

TEST_F(MenusGuiTest, TheMenuBarShowsTheItemsAboveTheClientArea) {
    auto* form = new TForm(Application);
    form->SetBounds(50, 50, 320, 200);
    auto* box = new TBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 100, 40);
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(form, menu->Items(), u"&File");
    TMenuItem* open = Item(form, file, u"&Open...", ShortCut('O', scCtrl));
    Item(form, file, u"-");
    TMenuItem* exit = Item(form, file, u"E&xit", ShortCut(VK_DELETE, scCtrl | scShift));
    TMenuItem* view = Item(form, menu->Items(), u"&View");
    TMenuItem* body = Item(form, view, u"Message &Body");
    body->SetRadioItem(true);
    body->SetChecked(true);
    exit->SetEnabled(false);
    int opened = 0;
    open->OnClick = [&](TObject*) { ++opened; };
    form->SetMenu(menu);
    form->Show();

    auto* peer = dynamic_cast<vclqt::PeerWidget*>(form->Peer());
    ASSERT_NE(peer, nullptr);
    auto* bar = peer->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(Texts(bar->actions()), (QStringList{"&File", "&View"}));
    QMenu* fileMenu = bar->actions()[0]->menu();
    ASSERT_NE(fileMenu, nullptr);
    EXPECT_EQ(Texts(fileMenu->actions()), (QStringList{"&Open...\tCtrl+O", "-", "E&xit\tShift+Ctrl+Del"}));
    EXPECT_FALSE(fileMenu->actions()[2]->isEnabled());
    QAction* bodyAction = bar->actions()[1]->menu()->actions()[0];
    EXPECT_TRUE(bodyAction->isChecked());
    ASSERT_NE(bodyAction->actionGroup(), nullptr);  // drawn as a radio item

    // The client area starts below the bar, and the children with it. The form was made with
    // its menu: it keeps the client size it was given.
    const int barHeight = peer->MenuBarHeight();
    EXPECT_GT(barHeight, 10);
    EXPECT_EQ(form->ClientHeight(), 200);
    EXPECT_EQ(form->Height(), 200 + barHeight);
    EXPECT_EQ(peer->height(), 200 + barHeight);
    auto* boxPeer = dynamic_cast<QWidget*>(box->Peer());
    ASSERT_NE(boxPeer, nullptr);
    EXPECT_EQ(boxPeer->geometry(), QRect(10, 10 + barHeight, 100, 40));
    EXPECT_EQ(form->ClientOrigin().y - peer->mapToGlobal(QPoint(0, 0)).y(), barHeight);

    // A choice reaches the form as WM_COMMAND; a change of an item shows at once.
    fileMenu->actions()[0]->trigger();
    Application->ProcessMessages();
    EXPECT_EQ(opened, 1);
    // Changes show in place: an open menu of the bar stays, and rereads its entries when it
    // opens; the bar's own entries change at once.
    QPointer<QMenu> kept = fileMenu;
    open->SetCaption(u"&Load...");
    file->SetCaption(u"&Datei");
    Application->ProcessMessages();
    ASSERT_FALSE(kept.isNull());
    EXPECT_EQ(peer->findChild<QMenuBar*>(), bar);
    EXPECT_EQ(bar->actions()[0]->text(), "&Datei");
    Q_EMIT fileMenu->aboutToShow();
    EXPECT_EQ(fileMenu->actions()[0]->text(), "&Load...\tCtrl+O");
    // A new top-level entry builds the bar afresh.
    Item(form, menu->Items(), u"&Help");
    Application->ProcessMessages();
    QMenuBar* rebuilt = nullptr;
    for (QMenuBar* b : peer->findChildren<QMenuBar*>())
        if (b->actions().size() == 3) rebuilt = b;
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(Texts(rebuilt->actions()), (QStringList{"&Datei", "&View", "&Help"}));
    // Taken from a shown window, the bar gives its height back to the client area.
    form->SetMenu(nullptr);
    EXPECT_EQ(form->ClientHeight(), 200 + barHeight);
    EXPECT_EQ(boxPeer->geometry(), QRect(10, 10, 100, 40));
    form->SetMenu(menu);

    // An optional picture of the form with its bar and the opened menu, for a person to look at.
    if (const char* shot = std::getenv("QUILLORA_MENU_SCREENSHOT")) {
        Application->ProcessMessages();
        QMenuBar* shown = nullptr;
        for (QMenuBar* b : peer->findChildren<QMenuBar*>())
            if (b->isVisible()) shown = b;
        QMenu* drop = shown ? shown->actions()[0]->menu() : fileMenu;
        drop->adjustSize();
        const QPixmap window = peer->grab();
        const QPixmap popup = drop->grab();
        QPixmap all(window.width() + popup.width(), std::max(window.height(), barHeight + popup.height()));
        all.fill(Qt::darkGray);
        QPainter p(&all);
        p.drawPixmap(0, 0, window);
        p.drawPixmap(10, barHeight, popup);
        p.end();
        all.save(QString::fromUtf8(shot));
    }
    delete form;
}

TEST_F(MenusGuiTest, PopupMenusRunInQtsLoopAndReportTheChoice) {
    auto* form = new TForm(Application);
    form->SetBounds(50, 50, 200, 100);
    form->Show();
    auto* menu = new TPopupMenu(form);
    Item(form, menu->Items(), u"&First");
    TMenuItem* second = Item(form, menu->Items(), u"&Second");
    TMenuItem* sub = Item(form, menu->Items(), u"Sub");
    Item(form, sub, u"Inner");
    int clicks = 0;
    second->OnClick = [&](TObject*) { ++clicks; };

    // A timer picks the second entry of the menu Qt shows, as a user would.
    QString seen;
    QTimer::singleShot(50, [&] {
        auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!shown) return;
        seen = Texts(shown->actions()).join('|');
        shown->actions()[1]->trigger();
        shown->close();
    });
    QTimer::singleShot(3000, [] {
        if (QWidget* w = QApplication::activePopupWidget()) w->close();  // never hang
    });
    menu->Popup(60, 60);
    EXPECT_EQ(seen, "&First|&Second|Sub");
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 1);

    // The same through TrackPopupMenu with TPM_RETURNCMD.
    HMENU handle = CreatePopupMenu();
    AppendMenuW(handle, MF_STRING, 41, u"Forty-one");
    AppendMenuW(handle, MF_STRING, 42, u"Forty-two");
    QTimer::singleShot(50, [] {
        if (auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown->actions()[1]->trigger();
            shown->close();
        }
    });
    EXPECT_EQ(TrackPopupMenu(handle, TPM_RETURNCMD, 70, 70, 0, form->Handle(), nullptr), 42);
    DestroyMenu(handle);
    delete form;
}

TEST_F(MenusGuiTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheirItem) {
    auto* form = new TForm(Application);
    auto* menu = new TPopupMenu(form);
    Item(form, menu->Items(), u"Plain");
    TMenuItem* drawn = Item(form, menu->Items(), u"&Drawn", ShortCut('D', scCtrl));
    int measuredWidth = 0;
    drawn->OnMeasureItem = [&](TObject* sender, TCanvas* canvas, int& width, int& height) {
        EXPECT_EQ(sender, drawn);
        EXPECT_NE(canvas, nullptr);
        measuredWidth = width;  // what the item measured itself
        width = 150;
        height = 30;
    };
    std::vector<bool> selections;
    drawn->OnDrawItem = [&](TObject*, TCanvas* canvas, TRect rect, bool selected) {
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(rect);
        selections.push_back(selected);
    };
    menu->Items()->Remove(drawn);  // added again now that it has drawing events
    menu->Items()->Add(drawn);

    QMenu shown;
    vclqt::FillMenu(&shown, menu->Handle(), PopupList->Window());
    ASSERT_EQ(shown.actions().size(), 2);
    EXPECT_GT(measuredWidth, 40);
    shown.adjustSize();
    const QImage picture = shown.grab().toImage();
    ASSERT_FALSE(selections.empty());
    EXPECT_FALSE(selections.back());
    const QRect itemRect = shown.actionGeometry(shown.actions()[1]);
    EXPECT_EQ(itemRect.height(), 30);
    const QColor inside = picture.pixelColor(itemRect.center() * picture.devicePixelRatio());
    EXPECT_EQ(inside, QColor(Qt::red));
    const QColor plain = picture.pixelColor(shown.actionGeometry(shown.actions()[0]).center() * picture.devicePixelRatio());
    EXPECT_NE(plain, QColor(Qt::red));

    // Typing the owner-drawn item's hot key picks it through WM_MENUCHAR.
    UINT chosen = 0;
    QObject::connect(&shown, &QMenu::triggered, [&](QAction* a) { chosen = a->data().toUInt(); });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, "d");
    QApplication::sendEvent(&shown, &press);
    EXPECT_EQ(chosen, drawn->Command());
    delete form;
}

TEST_F(MenusGuiTest, ItemsShowTheMenusImagesAndTheirHintsOnHighlight) {
    auto* form = new TForm(Application);
    auto* images = new TCustomImageList(form);
    images->SetSize(16, 16);
    TBitmap picture;
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clBlue);
    picture.Canvas()->FillRect(TRect(0, 0, 16, 16));
    images->Add(&picture, nullptr);
    auto* menu = new TPopupMenu(form);
    menu->SetImages(images);
    TMenuItem* with = Item(form, menu->Items(), u"With");
    Item(form, menu->Items(), u"Without");
    with->SetImageIndex(0);
    with->SetHint(u"Short|The long hint");

    QMenu shown;
    vclqt::FillMenu(&shown, menu->Handle(), PopupList->Window());
    ASSERT_EQ(shown.actions().size(), 2);
    ASSERT_FALSE(shown.actions()[0]->icon().isNull());
    const QImage icon = shown.actions()[0]->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(icon.pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_TRUE(shown.actions()[1]->icon().isNull());

    // Highlighting an item makes its long hint the application's.
    shown.actions()[0]->hover();
    EXPECT_EQ(Application->Hint(), u"The long hint");
    shown.actions()[1]->hover();
    EXPECT_EQ(Application->Hint(), u"");
    shown.actions()[0]->hover();
    SendMessageW(PopupList->Window(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // closed
    EXPECT_EQ(Application->Hint(), u"");
    delete form;
}

}  // namespace
