#include "platform/vcl/qt/MenusQt.h"

#include <QActionGroup>
#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidgetAction>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WinUser.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

QString ToQString(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// A QAction's data holds its command; this property the handle of its sub-menu.
constexpr const char* kSubMenuProperty = "quilloraSubMenu";
// Set on a menu that hands typed characters to its owner.
constexpr const char* kMenuCharProperty = "quilloraMenuChar";

void ApplyState(QAction* action, const TMenuItemRecord& item) {
    action->setEnabled(!(item.State & MFS_GRAYED));
    if (item.State & MFS_CHECKED || item.Type & MFT_RADIOCHECK) {
        action->setCheckable(true);
        action->setChecked(item.State & MFS_CHECKED);
    }
}

// The bar's entries take the menu's new texts and states in place when its entries are still
// the same kind; false when they are not (the bar is then built afresh). A menu of the bar
// that is open stays open: only its entries change, when it next opens.
bool UpdateBar(QMenuBar* bar, HMENU handle) {
    const std::vector<TMenuItemRecord> items = MenuItemRecords(handle);
    const QList<QAction*> actions = bar->actions();
    if (static_cast<std::size_t>(actions.size()) != items.size()) return false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* a = actions[static_cast<qsizetype>(i)];
        const TMenuItemRecord& item = items[i];
        if (a->isSeparator() != ((item.Type & MFT_SEPARATOR) != 0) ||
            a->property(kSubMenuProperty).value<quintptr>() != reinterpret_cast<quintptr>(item.SubMenu) ||
            (!item.SubMenu && a->data() != QVariant(item.Id)))
            return false;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* a = actions[static_cast<qsizetype>(i)];
        if (a->isSeparator()) continue;
        a->setText(ToQString(items[i].Text));
        ApplyState(a, items[i]);
    }
    return true;
}

// An owner-drawn item: the owner measures it (WM_MEASUREITEM) and draws it (WM_DRAWITEM) on a
// context over the widget's painter.
class OwnerDrawnItem : public QWidget {
public:
    OwnerDrawnItem(const TMenuItemRecord& item, HMENU menu, HWND owner, QWidgetAction* action)
        : item_(item), menu_(menu), owner_(owner), action_(action) {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
        MEASUREITEMSTRUCT mi;
        mi.CtlType = ODT_MENU;
        mi.itemID = item.Id;
        mi.itemData = item.Data;
        mi.itemHeight = 19;
        SendMessageW(owner_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
        size_ = QSize(static_cast<int>(mi.itemWidth), static_cast<int>(mi.itemHeight));
        setEnabled(!(item.State & MFS_GRAYED));
    }

    QSize sizeHint() const override { return size_; }
    QSize minimumSizeHint() const override { return size_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        HDC dc = CreatePainterDC(painter);
        if (!dc) return;
        DRAWITEMSTRUCT di;
        di.CtlType = ODT_MENU;
        di.itemID = item_.Id;
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = (selected_ ? ODS_SELECTED : 0) | ((item_.State & MFS_GRAYED) ? ODS_GRAYED | ODS_DISABLED : 0) |
                       ((item_.State & MFS_CHECKED) ? ODS_CHECKED : 0) | ((item_.State & MFS_DEFAULT) ? ODS_DEFAULT : 0);
        di.hwndItem = reinterpret_cast<HWND>(menu_);
        di.hDC = dc;
        di.rcItem = RECT{0, 0, width(), height()};
        di.itemData = item_.Data;
        SendMessageW(owner_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
        DeleteDC(dc);
    }
    void enterEvent(QEnterEvent*) override {
        selected_ = true;
        SendMessageW(owner_, WM_MENUSELECT, MAKEWPARAM(static_cast<int>(item_.Id), static_cast<int>(item_.Type | item_.State)),
                     reinterpret_cast<LPARAM>(menu_));
        update();
    }
    void leaveEvent(QEvent*) override {
        selected_ = false;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || !isEnabled()) return;
        // A chosen item closes the whole menu, as a plain item does.
        QPointer<QWidgetAction> action = action_;
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* m = qobject_cast<QMenu*>(w)) m->close();
        if (action) action->trigger();
    }

private:
    TMenuItemRecord item_;
    HMENU menu_;
    HWND owner_;
    QWidgetAction* action_;
    QSize size_;
    bool selected_ = false;
};

// A typed character no item's mnemonic takes goes to the owner as WM_MENUCHAR, which may pick
// an item (owner-drawn items show no mnemonic Qt could know).
class MenuCharFilter : public QObject {
public:
    MenuCharFilter(QMenu* menu, HMENU handle, HWND owner) : QObject(menu), menu_(menu), handle_(handle), owner_(owner) {
        menu->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->text().size() != 1 || !key->text()[0].isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        const QChar typed = key->text()[0].toUpper();
        for (const TMenuItemRecord& item : MenuItemRecords(handle_))
            if (!(item.Type & MFT_OWNERDRAW) && QChar(GetHotkey(item.Text)).toUpper() == typed) return false;  // Qt's own mnemonic
        const LRESULT answer = SendMessageW(owner_, WM_MENUCHAR, MAKEWPARAM(key->text()[0].unicode(), MF_POPUP),
                                            reinterpret_cast<LPARAM>(handle_));
        const QList<QAction*> actions = menu_->actions();
        const qsizetype index = LOWORD(static_cast<DWORD_PTR>(answer));
        switch (HIWORD(static_cast<DWORD_PTR>(answer))) {
        case MNC_CLOSE: menu_->close(); return true;
        case MNC_SELECT:
            if (index < actions.size()) menu_->setActiveAction(actions[index]);
            return true;
        case MNC_EXECUTE:
            if (index < actions.size()) {
                QPointer<QAction> chosen = actions[index];
                menu_->setActiveAction(chosen);
                for (QWidget* w = menu_; w; w = w->parentWidget())
                    if (auto* m = qobject_cast<QMenu*>(w)) m->close();
                if (chosen) chosen->trigger();
            }
            return true;
        default: return false;
        }
    }

private:
    QMenu* menu_;
    HMENU handle_;
    HWND owner_;
};

// WM_MENUSELECT with no menu: the menu closed.
void SendMenuClosed(HWND owner) { SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }

QIcon IconOf(HBITMAP bitmap) {
    if (!bitmap) return {};
    const QImage image = QImageFromBitmap(bitmap);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

// One item into a menu or bar; radio items of one run share an exclusive group so Qt draws
// them as radio items (the check state stays the menu's: the group never changes it).
void AddItem(QWidget* container, const TMenuItemRecord& item, HMENU handle, HWND owner, QActionGroup*& radios,
             const std::function<void(QAction*)>& add) {
    if (item.Type & MFT_SEPARATOR) {
        auto* sep = new QAction(container);
        sep->setSeparator(true);
        add(sep);
        radios = nullptr;
        return;
    }
    QAction* action = nullptr;
    if (item.SubMenu) {
        auto* sub = new QMenu(ToQString(item.Text), container);
        const HMENU subHandle = item.SubMenu;
        QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, subHandle, owner, handle] {
            int position = 0;
            for (const TMenuItemRecord& r : MenuItemRecords(handle)) {
                if (r.SubMenu == subHandle) break;
                ++position;
            }
            SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(subHandle), MAKELPARAM(position, 0));
            // The closed sub-menus and radio groups of the last filling go with its actions.
            for (QObject* child : sub->children())
                if (qobject_cast<QMenu*>(child) || qobject_cast<QActionGroup*>(child)) child->deleteLater();
            sub->clear();
            FillMenu(sub, subHandle, owner);
        });
        FillMenu(sub, subHandle, owner);
        if (qobject_cast<QMenuBar*>(container))
            QObject::connect(sub, &QMenu::aboutToHide, sub, [owner] { SendMenuClosed(owner); });
        action = sub->menuAction();
    } else if ((item.Type & MFT_OWNERDRAW) && qobject_cast<QMenu*>(container)) {
        auto* wa = new QWidgetAction(container);
        wa->setDefaultWidget(new OwnerDrawnItem(item, handle, owner, wa));
        action = wa;
    } else {
        action = new QAction(ToQString(item.Text), container);
    }
    action->setData(item.SubMenu ? QVariant() : QVariant(item.Id));
    action->setProperty(kSubMenuProperty, QVariant::fromValue(reinterpret_cast<quintptr>(item.SubMenu)));
    ApplyState(action, item);
    action->setIcon(IconOf(item.Bitmap));
    if (item.State & MFS_DEFAULT) {
        QFont f = action->font();
        f.setBold(true);
        action->setFont(f);
    }
    if (item.Type & MFT_RADIOCHECK) {
        if (!radios) {
            radios = new QActionGroup(container);
            radios->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
        }
        radios->addAction(action);
        action->setActionGroup(radios);
    } else {
        radios = nullptr;
    }
    const UINT flags = (item.Type | item.State | (item.SubMenu ? MF_POPUP : 0)) & 0xFFFF;
    QObject::connect(action, &QAction::hovered, container, [owner, handle, item, flags, container, action] {
        WPARAM which = item.Id;
        if (item.SubMenu) {
            const QList<QAction*> list = container->actions();
            which = static_cast<WPARAM>(std::max<qsizetype>(0, list.indexOf(action)));
        }
        SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<int>(which), static_cast<int>(flags)), reinterpret_cast<LPARAM>(handle));
    });
    add(action);
}

}  // namespace

void FillMenu(QMenu* menu, HMENU handle, HWND owner) {
    QActionGroup* radios = nullptr;
    bool ownerDrawn = false;
    for (const TMenuItemRecord& item : MenuItemRecords(handle)) {
        AddItem(menu, item, handle, owner, radios, [menu](QAction* a) { menu->addAction(a); });
        ownerDrawn = ownerDrawn || (item.Type & MFT_OWNERDRAW);
    }
    if (ownerDrawn && !menu->property(kMenuCharProperty).toBool()) {
        new MenuCharFilter(menu, handle, owner);
        menu->setProperty(kMenuCharProperty, true);
    }
}

void FillMenuBar(QMenuBar* bar, HMENU handle, HWND owner) {
    QActionGroup* radios = nullptr;
    for (const TMenuItemRecord& item : MenuItemRecords(handle))
        AddItem(bar, item, handle, owner, radios, [bar](QAction* a) { bar->addAction(a); });
}

std::vector<TShownMenuItem> ShownMenuItems() {
    std::vector<TShownMenuItem> out;
    const auto add = [&out](QWidget* container, const QRect& inContainer, QAction* a) {
        if (a->isSeparator() || !a->isVisible() || inContainer.isEmpty()) return;
        const QPoint at = container->mapToGlobal(inContainer.topLeft());
        TShownMenuItem item;
        item.Id = a->data().isValid() ? a->data().toUInt() : 0;
        item.SubMenu = reinterpret_cast<HMENU>(a->property(kSubMenuProperty).value<quintptr>());
        item.Text = a->text().remove(QLatin1Char('&')).toStdU16String();
        item.Bounds = TRect(at.x(), at.y(), at.x() + inContainer.width(), at.y() + inContainer.height());
        item.Enabled = a->isEnabled();
        out.push_back(std::move(item));
    };
    for (QWidget* w : QApplication::allWidgets()) {
        if (!w->isVisible()) continue;
        if (auto* bar = qobject_cast<QMenuBar*>(w))
            for (QAction* a : bar->actions()) add(bar, bar->actionGeometry(a), a);
        else if (auto* menu = qobject_cast<QMenu*>(w))
            for (QAction* a : menu->actions()) add(menu, menu->actionGeometry(a), a);
    }
    return out;
}

UINT ExecPopupMenu(HMENU handle, UINT flags, TPoint at, HWND owner) {
    QMenu menu;
    FillMenu(&menu, handle, owner);
    UINT chosen = 0;
    QObject::connect(&menu, &QMenu::triggered, &menu, [&chosen](QAction* a) {
        if (a->data().isValid()) chosen = a->data().toUInt();
    });
    QPoint p(at.x, at.y);
    const QSize size = menu.sizeHint();
    if (flags & TPM_RIGHTALIGN) p.rx() -= size.width();
    else if (flags & TPM_CENTERALIGN) p.rx() -= size.width() / 2;
    if (flags & TPM_BOTTOMALIGN) p.ry() -= size.height();
    else if (flags & TPM_VCENTERALIGN) p.ry() -= size.height() / 2;
    {
        ForeignLoopScope loop;
        menu.exec(p);
    }
    SendMenuClosed(owner);
    return chosen;
}

// The menu bar of a top-level window, above its client area.
void PeerWidget::SetMenuBar(HMENU menu) {
    if (!topLevel_) return;
    const int oldTop = clientTop_;
    // The children keep their client positions below the bar.
    const auto placeChildren = [this, oldTop] {
        if (clientTop_ != oldTop)
            for (QObject* child : children())
                if (auto* peer = dynamic_cast<PeerWidget*>(child)) peer->SetBounds(peer->control_.BoundsRect());
        update();
    };
    if (!menu) {
        if (menuBar_) menuBar_->deleteLater();
        menuBar_ = nullptr;
        clientTop_ = 0;
        placeChildren();
        return;
    }
    auto* current = qobject_cast<QMenuBar*>(menuBar_);
    if (current && current->property(kSubMenuProperty).value<quintptr>() == reinterpret_cast<quintptr>(menu) &&
        UpdateBar(current, menu))
        return;
    // A bar rebuilt from inside one of its own menus' signals must outlive that signal.
    if (menuBar_) menuBar_->deleteLater();
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    bar->setProperty(kSubMenuProperty, QVariant::fromValue(reinterpret_cast<quintptr>(menu)));
    const HWND owner = control_.WindowHandle();
    FillMenuBar(bar, menu, owner);
    QObject::connect(bar, &QMenuBar::triggered, bar, [owner](QAction* a) {
        if (a->data().isValid()) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(a->data().toUInt() & 0xFFFF), 0), 0);
    });
    menuBar_ = bar;
    clientTop_ = bar->sizeHint().height();
    bar->setGeometry(0, 0, width(), clientTop_);
    bar->show();
    bar->raise();
    placeChildren();
}

}  // namespace vclqt
