// Window messages: the numbers of the system's messages and of the class library's own
// notifications (CM_*) and reflections (CN_*), the TMessage record with its typed views, and
// the per-class tables that Dispatch finds message handlers in by number.
#pragma once

#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/Types.h"

// ---- system messages
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_CANCELMODE = 0x001F;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;
inline constexpr UINT WM_DELETEITEM = 0x002D;
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_GETFONT = 0x0031;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_NOTIFYFORMAT = 0x0055;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_GETDLGCODE = 0x0087;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_INITMENUPOPUP = 0x0117;
inline constexpr UINT WM_MENUSELECT = 0x011F;
inline constexpr UINT WM_MENUCHAR = 0x0120;
inline constexpr UINT WM_MOUSEFIRST = 0x0200;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_MOUSELAST = 0x020A;
inline constexpr UINT WM_PARENTNOTIFY = 0x0210;
inline constexpr UINT WM_ENTERMENULOOP = 0x0211;
inline constexpr UINT WM_EXITMENULOOP = 0x0212;
inline constexpr UINT WM_DROPFILES = 0x0233;
inline constexpr UINT WM_IME_CHAR = 0x0286;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_CUT = 0x0300;
inline constexpr UINT WM_COPY = 0x0301;
inline constexpr UINT WM_PASTE = 0x0302;
inline constexpr UINT WM_CLEAR = 0x0303;
inline constexpr UINT WM_PRINTCLIENT = 0x0318;
inline constexpr UINT WM_THEMECHANGED = 0x031A;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// WM_SIZE kinds.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// Mouse-message key state.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;
inline constexpr int WHEEL_DELTA = 120;

// WM_GETDLGCODE answers.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// WM_ACTIVATE kinds.
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;
inline constexpr WPARAM WA_CLICKACTIVE = 2;

// ---- the class library's notifications
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 4;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_HITTEST = CM_BASE + 10;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr UINT CM_ENTER = CM_BASE + 26;
inline constexpr UINT CM_EXIT = CM_BASE + 27;
inline constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
inline constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr UINT CM_WININICHANGE = CM_BASE + 37;
inline constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
inline constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
inline constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
inline constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
inline constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr UINT CM_GETDATALINK = CM_BASE + 45;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr UINT CM_DRAG = CM_BASE + 47;
inline constexpr UINT CM_HINTSHOW = CM_BASE + 48;
inline constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
inline constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr UINT CM_INVALIDATE = CM_BASE + 52;
inline constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
inline constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr UINT CM_CHANGED = CM_BASE + 55;
inline constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
inline constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
inline constexpr UINT CM_FLOAT = CM_BASE + 58;
inline constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
inline constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
inline constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
inline constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
inline constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
inline constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
inline constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
inline constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
inline constexpr UINT CM_INVALIDATEDOCKHOST = CM_BASE + 70;
inline constexpr UINT CM_SETACTIVECONTROL = CM_BASE + 71;
inline constexpr UINT CM_POPUPHWNDDESTROY = CM_BASE + 72;
inline constexpr UINT CM_CREATEPOPUP = CM_BASE + 73;
inline constexpr UINT CM_DESTROYHANDLE = CM_BASE + 74;
inline constexpr UINT CM_MOUSEACTIVATE = CM_BASE + 75;
inline constexpr UINT CM_CONTROLLISTCHANGING = CM_BASE + 76;
inline constexpr UINT CM_BUFFEREDPRINTCLIENT = CM_BASE + 77;
inline constexpr UINT CM_UNTHEMECONTROL = CM_BASE + 78;

// ---- reflected notifications: the parent hands a child's notification back to the child
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_CHARTOITEM = CN_BASE + 0x002F;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// ---- virtual keys beyond those of ShortCuts.h
inline constexpr WORD VK_LBUTTON = 0x01;
inline constexpr WORD VK_RBUTTON = 0x02;
inline constexpr WORD VK_CANCEL = 0x03;
inline constexpr WORD VK_MBUTTON = 0x04;
inline constexpr WORD VK_CLEAR = 0x0C;
inline constexpr WORD VK_SHIFT = 0x10;
inline constexpr WORD VK_CONTROL = 0x11;
inline constexpr WORD VK_MENU = 0x12;
inline constexpr WORD VK_PAUSE = 0x13;
inline constexpr WORD VK_CAPITAL = 0x14;
inline constexpr WORD VK_SNAPSHOT = 0x2C;
inline constexpr WORD VK_HELP = 0x2F;
inline constexpr WORD VK_LWIN = 0x5B;
inline constexpr WORD VK_RWIN = 0x5C;
inline constexpr WORD VK_APPS = 0x5D;
inline constexpr WORD VK_SEPARATOR = 0x6C;
inline constexpr WORD VK_F2 = 0x71;
inline constexpr WORD VK_F10 = 0x79;
inline constexpr WORD VK_NUMLOCK = 0x90;
inline constexpr WORD VK_SCROLL = 0x91;
inline constexpr WORD VK_OEM_1 = 0xBA;
inline constexpr WORD VK_OEM_PLUS = 0xBB;
inline constexpr WORD VK_OEM_COMMA = 0xBC;
inline constexpr WORD VK_OEM_MINUS = 0xBD;
inline constexpr WORD VK_OEM_PERIOD = 0xBE;
inline constexpr WORD VK_OEM_2 = 0xBF;
inline constexpr WORD VK_OEM_3 = 0xC0;
inline constexpr WORD VK_OEM_4 = 0xDB;
inline constexpr WORD VK_OEM_5 = 0xDC;
inline constexpr WORD VK_OEM_6 = 0xDD;
inline constexpr WORD VK_OEM_7 = 0xDE;

inline constexpr short GET_X_LPARAM(LPARAM l) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(l))); }
inline constexpr short GET_Y_LPARAM(LPARAM l) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(l))); }
inline constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<LONG>(MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi))));
}
inline constexpr WPARAM MAKEWPARAM(int lo, int hi) { return MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi)); }
inline constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<short>(HIWORD(w)); }

// A message as a window procedure takes it.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    WORD WParamLo() const { return LOWORD(WParam); }
    WORD WParamHi() const { return HIWORD(WParam); }
    WORD LParamLo() const { return LOWORD(static_cast<DWORD_PTR>(LParam)); }
    WORD LParamHi() const { return HIWORD(static_cast<DWORD_PTR>(LParam)); }
};

// Typed views of a message: built over the TMessage they read; Result writes through.
struct TMessageView {
    explicit TMessageView(TMessage& m) : Message(m), Msg(m.Msg), Result(m.Result) {}
    TMessage& Message;
    UINT Msg;
    LRESULT& Result;
};

struct TWMMouse : TMessageView {
    explicit TWMMouse(TMessage& m)
        : TMessageView(m), Keys(static_cast<UINT>(m.WParam)), XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
    UINT Keys;
    short XPos;
    short YPos;
    TPoint Pos() const { return {XPos, YPos}; }
};

struct TWMMouseWheel : TMessageView {
    explicit TWMMouseWheel(TMessage& m)
        : TMessageView(m), Keys(LOWORD(m.WParam)), WheelDelta(GET_WHEEL_DELTA_WPARAM(m.WParam)),
          XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
    UINT Keys;
    short WheelDelta;
    short XPos;  // screen coordinates
    short YPos;
};

// WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYS*, CM_DIALOGKEY, CM_DIALOGCHAR, CN_KEYDOWN, CN_CHAR.
// CharCode is the virtual key, or the UTF-16 code unit of a character message.
struct TWMKey : TMessageView {
    explicit TWMKey(TMessage& m) : TMessageView(m), CharCode(static_cast<WORD>(m.WParam)), KeyData(static_cast<LONG>(m.LParam)) {}
    WORD CharCode;
    LONG KeyData;
};
using TWMChar = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;

struct TWMSize : TMessageView {
    explicit TWMSize(TMessage& m)
        : TMessageView(m), SizeType(static_cast<UINT>(m.WParam)), Width(static_cast<short>(m.LParamLo())),
          Height(static_cast<short>(m.LParamHi())) {}
    UINT SizeType;
    short Width;
    short Height;
};

struct TWMTimer : TMessageView {
    explicit TWMTimer(TMessage& m) : TMessageView(m), TimerID(m.WParam), TimerProc(m.LParam) {}
    UINT_PTR TimerID;
    LPARAM TimerProc;
};

// WM_PAINT: wParam may carry the context to paint on (the class library's convention).
struct TWMPaint : TMessageView {
    explicit TWMPaint(TMessage& m) : TMessageView(m), DC(reinterpret_cast<HDC>(m.WParam)) {}
    HDC DC;
};
using TWMEraseBkgnd = TWMPaint;

struct TWMFocus : TMessageView {
    explicit TWMFocus(TMessage& m) : TMessageView(m), FocusedWnd(reinterpret_cast<HWND>(m.WParam)) {}
    HWND FocusedWnd;  // the window losing (WM_SETFOCUS) or getting (WM_KILLFOCUS) the focus
};
using TWMSetFocus = TWMFocus;
using TWMKillFocus = TWMFocus;

struct HDROP__;
using HDROP = HDROP__*;

struct TWMDropFiles : TMessageView {
    explicit TWMDropFiles(TMessage& m) : TMessageView(m), Drop(reinterpret_cast<HDROP>(m.WParam)) {}
    HDROP Drop;
};

struct TWMSetText : TMessageView {
    explicit TWMSetText(TMessage& m) : TMessageView(m), Text(reinterpret_cast<LPCWSTR>(m.LParam)) {}
    LPCWSTR Text;
};

struct TWMGetText : TMessageView {
    explicit TWMGetText(TMessage& m)
        : TMessageView(m), TextMax(static_cast<int>(m.WParam)), Text(reinterpret_cast<LPWSTR>(m.LParam)) {}
    int TextMax;
    LPWSTR Text;
};

struct TWMCommand : TMessageView {
    explicit TWMCommand(TMessage& m)
        : TMessageView(m), ItemID(m.WParamLo()), NotifyCode(m.WParamHi()), Ctl(reinterpret_cast<HWND>(m.LParam)) {}
    WORD ItemID;
    WORD NotifyCode;
    HWND Ctl;
};

struct TWMContextMenu : TMessageView {
    explicit TWMContextMenu(TMessage& m)
        : TMessageView(m), hWnd(reinterpret_cast<HWND>(m.WParam)), XPos(GET_X_LPARAM(m.LParam)), YPos(GET_Y_LPARAM(m.LParam)) {}
    HWND hWnd;
    short XPos;  // screen coordinates; -1, -1 when the keyboard asked
    short YPos;
};

struct TWMActivate : TMessageView {
    explicit TWMActivate(TMessage& m)
        : TMessageView(m), Active(m.WParamLo()), Minimized(m.WParamHi() != 0), ActiveWindow(reinterpret_cast<HWND>(m.LParam)) {}
    WORD Active;
    bool Minimized;
    HWND ActiveWindow;
};

// ---- dispatch tables
class TMessageTable {
public:
    using Handler = void (*)(TObject& self, TMessage& message);
    struct Entry {
        UINT Msg;
        Handler Call;
    };

    // Tables are class-wide statics that windows still read while other statics go at exit,
    // so a table is trivially destructible and its entries are kept for the whole process.
    TMessageTable(const TMessageTable* parent, std::initializer_list<Entry> entries)
        : parent_(parent), entries_(new std::vector<Entry>(entries)) {}

    const TMessageTable* Parent() const { return parent_; }
    // The handler of this class or the nearest parent class, null when none handles msg.
    Handler Find(UINT msg) const {
        for (const TMessageTable* t = this; t; t = t->parent_)
            for (const Entry& e : *t->entries_)
                if (e.Msg == msg) return e.Call;
        return nullptr;
    }

private:
    const TMessageTable* parent_;
    const std::vector<Entry>* entries_;
};

namespace messages_detail {
template <class M>
struct HandlerTraits;
template <class C, class R>
struct HandlerTraits<void (C::*)(R&)> {
    using Class = C;
    using Record = R;
};
}  // namespace messages_detail

// Calls a message method, handing it the message or a typed view of it.
template <auto Method>
void MessageThunk(TObject& self, TMessage& message) {
    using Traits = messages_detail::HandlerTraits<decltype(Method)>;
    auto& object = static_cast<typename Traits::Class&>(self);
    if constexpr (std::is_same_v<typename Traits::Record, TMessage>) {
        (object.*Method)(message);
    } else {
        typename Traits::Record record(message);
        (object.*Method)(record);
    }
}

// An entry of a message table: MESSAGE_HANDLER(WM_SIZE, TMyControl::WMSize).
#define MESSAGE_HANDLER(msg, method) TMessageTable::Entry{(msg), &MessageThunk<&method>}

// In the body of a class with message methods: its table (defined in its .cpp) and the
// virtual that Dispatch reads.
#define QUILLORA_MESSAGES()                                                          \
public:                                                                              \
    static const TMessageTable& ClassMessages();                                     \
    const TMessageTable& MessageTable() const override { return ClassMessages(); }   \
                                                                                     \
private:

// ---- common controls: the notification header every WM_NOTIFY / CN_NOTIFY carries, the codes
// all of them share, and the Unicode-format switch of their notifications.
struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};
inline constexpr UINT NM_OUTOFMEMORY = static_cast<UINT>(-1);
inline constexpr UINT NM_CLICK = static_cast<UINT>(-2);
inline constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
inline constexpr UINT NM_RETURN = static_cast<UINT>(-4);
inline constexpr UINT NM_RCLICK = static_cast<UINT>(-5);
inline constexpr UINT NM_RDBLCLK = static_cast<UINT>(-6);
inline constexpr UINT NM_SETFOCUS = static_cast<UINT>(-7);
inline constexpr UINT NM_KILLFOCUS = static_cast<UINT>(-8);
inline constexpr UINT NM_CUSTOMDRAW = static_cast<UINT>(-12);
inline constexpr UINT CCM_FIRST = 0x2000;
inline constexpr UINT CCM_SETUNICODEFORMAT = CCM_FIRST + 5;
inline constexpr UINT CCM_GETUNICODEFORMAT = CCM_FIRST + 6;
inline constexpr LPARAM NFR_ANSI = 1;
inline constexpr LPARAM NFR_UNICODE = 2;

// WM_NOTIFY / CN_NOTIFY: lParam points to the record that starts with NMHDR.
struct TWMNotify : TMessageView {
    explicit TWMNotify(TMessage& m)
        : TMessageView(m), IDCtrl(static_cast<int>(m.WParam)), NMHdr(reinterpret_cast<NMHDR*>(m.LParam)) {}
    int IDCtrl;
    NMHDR* NMHdr;
};

// WM_DRAWITEM / CN_DRAWITEM
inline constexpr UINT ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5;
inline constexpr UINT ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4;
inline constexpr UINT ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8, ODS_FOCUS = 0x10;
struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem{};
    DWORD_PTR itemData = 0;
};

// WM_MEASUREITEM / CN_MEASUREITEM
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    DWORD_PTR itemData = 0;
};

// Tooltips ask their owner for text.
inline constexpr UINT TTN_FIRST = 0u - 520u;
inline constexpr UINT TTN_NEEDTEXTA = TTN_FIRST - 0;
inline constexpr UINT TTN_NEEDTEXTW = TTN_FIRST - 10;
inline constexpr UINT TTF_IDISHWND = 0x1;
struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText = nullptr;
    WCHAR szText[80] = {};
    void* hinst = nullptr;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};

// The common-controls library version a program may ask for (DllGetVersion's record).
struct DLLVERSIONINFO {
    DWORD cbSize = sizeof(DLLVERSIONINFO);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformID = 0;
};

// ---- standard controls: scroll codes of WM_HSCROLL / WM_VSCROLL (low word of wParam)
inline constexpr WORD SB_LINEUP = 0;
inline constexpr WORD SB_LINELEFT = 0;
inline constexpr WORD SB_LINEDOWN = 1;
inline constexpr WORD SB_LINERIGHT = 1;
inline constexpr WORD SB_PAGEUP = 2;
inline constexpr WORD SB_PAGELEFT = 2;
inline constexpr WORD SB_PAGEDOWN = 3;
inline constexpr WORD SB_PAGERIGHT = 3;
inline constexpr WORD SB_THUMBPOSITION = 4;
inline constexpr WORD SB_THUMBTRACK = 5;
inline constexpr WORD SB_TOP = 6;
inline constexpr WORD SB_LEFT = 6;
inline constexpr WORD SB_BOTTOM = 7;
inline constexpr WORD SB_RIGHT = 7;
inline constexpr WORD SB_ENDSCROLL = 8;
