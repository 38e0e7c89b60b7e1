// The list view's messages (LVM_*), notifications (LVN_*), their flags and records, as the
// program sends and handles them.
#pragma once

#include "platform/vcl/Messages.h"

inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
inline constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
inline constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
inline constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
inline constexpr UINT LVM_GETITEMA = LVM_FIRST + 5;
inline constexpr UINT LVM_SETITEMA = LVM_FIRST + 6;
inline constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
inline constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
inline constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
inline constexpr UINT LVM_FINDITEMA = LVM_FIRST + 13;
inline constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
inline constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
inline constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
inline constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
inline constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
inline constexpr UINT LVM_EDITLABELA = LVM_FIRST + 23;
inline constexpr UINT LVM_GETEDITCONTROL = LVM_FIRST + 24;
inline constexpr UINT LVM_GETCOLUMNA = LVM_FIRST + 25;
inline constexpr UINT LVM_SETCOLUMNA = LVM_FIRST + 26;
inline constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
inline constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
inline constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
inline constexpr UINT LVM_GETTEXTCOLOR = LVM_FIRST + 35;
inline constexpr UINT LVM_SETTEXTCOLOR = LVM_FIRST + 36;
inline constexpr UINT LVM_GETTEXTBKCOLOR = LVM_FIRST + 37;
inline constexpr UINT LVM_SETTEXTBKCOLOR = LVM_FIRST + 38;
inline constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
inline constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
inline constexpr UINT LVM_UPDATE = LVM_FIRST + 42;
inline constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
inline constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
inline constexpr UINT LVM_GETITEMTEXTA = LVM_FIRST + 45;
inline constexpr UINT LVM_SETITEMTEXTA = LVM_FIRST + 46;
inline constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;
inline constexpr UINT LVM_SORTITEMS = LVM_FIRST + 48;
inline constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
inline constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
inline constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
inline constexpr UINT LVM_GETSUBITEMRECT = LVM_FIRST + 56;
inline constexpr UINT LVM_SUBITEMHITTEST = LVM_FIRST + 57;
inline constexpr UINT LVM_GETITEMW = LVM_FIRST + 75;
inline constexpr UINT LVM_SETITEMW = LVM_FIRST + 76;
inline constexpr UINT LVM_FINDITEMW = LVM_FIRST + 83;
inline constexpr UINT LVM_GETCOLUMNW = LVM_FIRST + 95;
inline constexpr UINT LVM_SETCOLUMNW = LVM_FIRST + 96;
inline constexpr UINT LVM_GETITEMTEXTW = LVM_FIRST + 115;
inline constexpr UINT LVM_SETITEMTEXTW = LVM_FIRST + 116;
inline constexpr UINT LVM_EDITLABELW = LVM_FIRST + 118;

inline constexpr UINT LVN_ITEMCHANGING = static_cast<UINT>(-100);
inline constexpr UINT LVN_ITEMCHANGED = static_cast<UINT>(-101);
inline constexpr UINT LVN_INSERTITEM = static_cast<UINT>(-102);
inline constexpr UINT LVN_DELETEITEM = static_cast<UINT>(-103);
inline constexpr UINT LVN_DELETEALLITEMS = static_cast<UINT>(-104);
inline constexpr UINT LVN_BEGINLABELEDITA = static_cast<UINT>(-105);
inline constexpr UINT LVN_ENDLABELEDITA = static_cast<UINT>(-106);
inline constexpr UINT LVN_COLUMNCLICK = static_cast<UINT>(-108);
inline constexpr UINT LVN_BEGINDRAG = static_cast<UINT>(-109);
inline constexpr UINT LVN_BEGINRDRAG = static_cast<UINT>(-111);
inline constexpr UINT LVN_ODCACHEHINT = static_cast<UINT>(-113);
inline constexpr UINT LVN_GETDISPINFOA = static_cast<UINT>(-150);
inline constexpr UINT LVN_ODFINDITEMA = static_cast<UINT>(-152);
inline constexpr UINT LVN_GETINFOTIPA = static_cast<UINT>(-157);
inline constexpr UINT LVN_GETINFOTIPW = static_cast<UINT>(-158);
inline constexpr UINT LVN_BEGINLABELEDITW = static_cast<UINT>(-175);
inline constexpr UINT LVN_ENDLABELEDITW = static_cast<UINT>(-176);
inline constexpr UINT LVN_GETDISPINFOW = static_cast<UINT>(-177);
inline constexpr UINT LVN_ODFINDITEMW = static_cast<UINT>(-179);

inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SMALLICON = 0x0002;
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr DWORD LVS_EDITLABELS = 0x0200;
inline constexpr DWORD LVS_OWNERDATA = 0x1000;
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;

inline constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;
inline constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x00000002;
inline constexpr DWORD LVS_EX_CHECKBOXES = 0x00000004;
inline constexpr DWORD LVS_EX_FULLROWSELECT = 0x00000020;
inline constexpr DWORD LVS_EX_INFOTIP = 0x00000400;

inline constexpr UINT LVIF_TEXT = 0x0001;
inline constexpr UINT LVIF_IMAGE = 0x0002;
inline constexpr UINT LVIF_PARAM = 0x0004;
inline constexpr UINT LVIF_STATE = 0x0008;
inline constexpr UINT LVIF_INDENT = 0x0010;
inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;
inline constexpr UINT LVIS_CUT = 0x0004;
inline constexpr UINT LVIS_DROPHILITED = 0x0008;
inline constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(int i) { return static_cast<UINT>(i) << 12; }

inline constexpr UINT LVNI_ALL = 0x0000;
inline constexpr UINT LVNI_FOCUSED = 0x0001;
inline constexpr UINT LVNI_SELECTED = 0x0002;
inline constexpr UINT LVNI_CUT = 0x0004;
inline constexpr UINT LVNI_DROPHILITED = 0x0008;
inline constexpr UINT LVNI_ABOVE = 0x0100;
inline constexpr UINT LVNI_BELOW = 0x0200;
inline constexpr UINT LVNI_TOLEFT = 0x0400;
inline constexpr UINT LVNI_TORIGHT = 0x0800;

inline constexpr UINT LVFI_PARAM = 0x0001;
inline constexpr UINT LVFI_STRING = 0x0002;
inline constexpr UINT LVFI_PARTIAL = 0x0008;
inline constexpr UINT LVFI_WRAP = 0x0020;
inline constexpr UINT LVFI_NEARESTXY = 0x0040;

inline constexpr UINT LVCF_FMT = 0x0001;
inline constexpr UINT LVCF_WIDTH = 0x0002;
inline constexpr UINT LVCF_TEXT = 0x0004;
inline constexpr UINT LVCF_SUBITEM = 0x0008;
inline constexpr UINT LVCF_IMAGE = 0x0010;
inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;
inline constexpr int LVCFMT_IMAGE = 0x0800;

inline constexpr int LVIR_BOUNDS = 0;
inline constexpr int LVIR_ICON = 1;
inline constexpr int LVIR_LABEL = 2;
inline constexpr int LVIR_SELECTBOUNDS = 3;

inline constexpr UINT LVHT_NOWHERE = 0x0001;
inline constexpr UINT LVHT_ONITEMICON = 0x0002;
inline constexpr UINT LVHT_ONITEMLABEL = 0x0004;
inline constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
inline constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;

inline constexpr WPARAM LVSIL_NORMAL = 0;
inline constexpr WPARAM LVSIL_SMALL = 1;
inline constexpr WPARAM LVSIL_STATE = 2;


// The text pointer that asks the owner for the text (LVN_GETDISPINFO).
inline const LPWSTR LPSTR_TEXTCALLBACKW = reinterpret_cast<LPWSTR>(static_cast<INT_PTR>(-1));
inline const LPSTR LPSTR_TEXTCALLBACKA = reinterpret_cast<LPSTR>(static_cast<INT_PTR>(-1));

template <class Text>
struct LVITEMT {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    Text pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
};
using LVITEMW = LVITEMT<LPWSTR>;
using LVITEMA = LVITEMT<LPSTR>;

template <class Text>
struct LVCOLUMNT {
    UINT mask = 0;
    int fmt = 0;
    int cx = 0;
    Text pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
    int iImage = 0;
    int iOrder = 0;
};
using LVCOLUMNW = LVCOLUMNT<LPWSTR>;
using LVCOLUMNA = LVCOLUMNT<LPSTR>;

template <class Text>
struct LVFINDINFOT {
    UINT flags = 0;
    Text psz = nullptr;
    LPARAM lParam = 0;
    POINT pt;
    UINT vkDirection = 0;
};
using LVFINDINFOW = LVFINDINFOT<LPCWSTR>;
using LVFINDINFOA = LVFINDINFOT<LPCSTR>;

struct LVHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
};

template <class Text>
struct NMLVDISPINFOT {
    NMHDR hdr;
    LVITEMT<Text> item;
};
using NMLVDISPINFOW = NMLVDISPINFOT<LPWSTR>;
using NMLVDISPINFOA = NMLVDISPINFOT<LPSTR>;

template <class Text>
struct NMLVFINDITEMT {
    NMHDR hdr;
    int iStart = 0;
    LVFINDINFOT<const std::remove_pointer_t<Text>*> lvfi;
};
using NMLVFINDITEMW = NMLVFINDITEMT<LPWSTR>;
using NMLVFINDITEMA = NMLVFINDITEMT<LPSTR>;

template <class Text>
struct NMLVGETINFOTIPT {
    NMHDR hdr;
    DWORD dwFlags = 0;
    Text pszText = nullptr;
    int cchTextMax = 0;
    int iItem = 0;
    int iSubItem = 0;
    LPARAM lParam = 0;
};
using NMLVGETINFOTIPW = NMLVGETINFOTIPT<LPWSTR>;
using NMLVGETINFOTIPA = NMLVGETINFOTIPT<LPSTR>;

// LVM_SORTITEMS: compares the lParam of two items.
using PFNLVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
