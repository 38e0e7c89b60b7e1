// The list view's answers to its messages (LVM_*), its own notifications (LVN_* reflected as
// CN_NOTIFY) and its header's (HDN_* as WM_NOTIFY).
#include <algorithm>
#include <cstring>

#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/ListView.h"

namespace {

// Copies text into a caller's buffer of max characters (with the terminator); returns the
// characters copied.
int CopyText(const WideString& text, LPWSTR buffer, int max) {
    if (!buffer || buffer == LPSTR_TEXTCALLBACKW || max <= 0) return 0;
    const int n = std::min(static_cast<int>(text.size()), max - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n) * sizeof(char16_t));
    buffer[n] = 0;
    return n;
}

int CopyText(const WideString& text, LPSTR buffer, int max) {
    if (!buffer || buffer == LPSTR_TEXTCALLBACKA || max <= 0) return 0;
    const AnsiString narrow = Utf16ToUtf8(text);
    const int n = std::min(static_cast<int>(narrow.size()), max - 1);
    std::memcpy(buffer, narrow.data(), static_cast<std::size_t>(n));
    buffer[n] = 0;
    return n;
}

WideString TextOf(LPCWSTR text) { return text ? WideString(text) : WideString(); }
WideString TextOf(LPCSTR text) { return text ? Utf8ToUtf16(text) : WideString(); }

template <class Text>
bool IsCallback(Text text) {
    return reinterpret_cast<INT_PTR>(text) == -1;
}

TAlignment AlignmentOf(int fmt) {
    switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return taRightJustify;
    case LVCFMT_CENTER: return taCenter;
    default: return taLeftJustify;
    }
}

int FormatOf(const TListColumn* c) {
    int fmt = c->Alignment() == taRightJustify ? LVCFMT_RIGHT : c->Alignment() == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
    if (c->ImageIndex() >= 0) fmt |= LVCFMT_IMAGE;
    return fmt;
}

}  // namespace

void TCustomListView::DefWndProc(TMessage& m) {
    if (AnswerListMessage(m) || AnswerItemMessage(m) || AnswerColumnMessage(m)) return;
    TWinControl::DefWndProc(m);
}

bool TCustomListView::AnswerListMessage(TMessage& m) {
    auto* peer = ListPeer();
    switch (m.Msg) {
    case LVM_GETITEMCOUNT: m.Result = ItemCount(); return true;
    case LVM_SETITEMCOUNT:
        if (ownerData_) items_->SetCount(static_cast<int>(m.WParam));
        m.Result = TRUE;
        return true;
    case LVM_DELETEITEM: {
        const int index = static_cast<int>(m.WParam);
        m.Result = !ownerData_ && index >= 0 && index < ItemCount();
        if (m.Result) items_->Delete(index);
        return true;
    }
    case LVM_DELETEALLITEMS:
        items_->Clear();
        m.Result = TRUE;
        return true;
    case LVM_GETNEXTITEM:
        m.Result = GetNextItemIndex(static_cast<int>(static_cast<INT_PTR>(m.WParam)), static_cast<UINT>(m.LParam));
        return true;
    case LVM_GETSELECTEDCOUNT: m.Result = SelCount(); return true;
    case LVM_GETTOPINDEX: m.Result = peer ? peer->TopIndex() : headlessTop_; return true;
    case LVM_GETCOUNTPERPAGE: m.Result = VisibleRowCount(); return true;
    case LVM_ENSUREVISIBLE:
        MakeItemVisible(static_cast<int>(m.WParam));
        m.Result = TRUE;
        return true;
    case LVM_SCROLL:
        Scroll(static_cast<int>(static_cast<INT_PTR>(m.WParam)), static_cast<int>(m.LParam));
        m.Result = TRUE;
        return true;
    case LVM_REDRAWITEMS:
    case LVM_UPDATE: {
        const int first = static_cast<int>(m.WParam);
        const int last = m.Msg == LVM_UPDATE ? first : static_cast<int>(m.LParam);
        InvalidateOwnerDataCache();
        if (peer) peer->RowsChanged(first, last);
        m.Result = TRUE;
        return true;
    }
    case LVM_GETITEMRECT:
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        const int index = static_cast<int>(m.WParam);
        m.Result = FALSE;
        if (!r || index < 0 || index >= ItemCount()) return true;
        const int sub = m.Msg == LVM_GETSUBITEMRECT ? r->top : 0;
        *r = ItemRect(index, sub, static_cast<TDisplayCode>(std::clamp<int>(r->left, 0, 3)));
        m.Result = TRUE;
        return true;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(m.LParam);
        if (!info) {
            m.Result = -1;
            return true;
        }
        int sub = 0;
        info->iItem = ItemIndexAt(TPoint(info->pt.x, info->pt.y), &sub);
        info->iSubItem = sub;
        info->flags = LVHT_NOWHERE;
        if (info->iItem >= 0) {
            const TRect icon = ItemRect(info->iItem, 0, drIcon);
            info->flags = sub == 0 && info->pt.x < icon.left ? LVHT_ONITEMSTATEICON
                        : sub == 0 && info->pt.x < icon.right ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
        }
        m.Result = info->iItem;
        return true;
    }
    case LVM_GETBKCOLOR: m.Result = bkColor_; return true;
    case LVM_SETBKCOLOR:
        bkColor_ = static_cast<COLORREF>(m.LParam);
        LayoutChanged();
        m.Result = TRUE;
        return true;
    case LVM_GETTEXTBKCOLOR: m.Result = textBkColor_; return true;
    case LVM_SETTEXTBKCOLOR:
        textBkColor_ = static_cast<COLORREF>(m.LParam);
        LayoutChanged();
        m.Result = TRUE;
        return true;
    case LVM_GETTEXTCOLOR: m.Result = textColor_; return true;
    case LVM_SETTEXTCOLOR:
        textColor_ = static_cast<COLORREF>(m.LParam);
        LayoutChanged();
        m.Result = TRUE;
        return true;
    case LVM_GETEXTENDEDLISTVIEWSTYLE: m.Result = extendedStyle_; return true;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD mask = m.WParam ? static_cast<DWORD>(m.WParam) : 0xFFFFFFFF;
        m.Result = extendedStyle_;
        SetExtendedStyle(mask, static_cast<DWORD>(m.LParam));
        return true;
    }
    case LVM_GETIMAGELIST: {
        TCustomImageList* list = m.WParam == LVSIL_NORMAL ? largeImages_ : m.WParam == LVSIL_SMALL ? smallImages_ : stateImages_;
        m.Result = reinterpret_cast<LRESULT>(list);
        return true;
    }
    case LVM_GETHEADER: m.Result = reinterpret_cast<LRESULT>(headerHandle_); return true;
    case LVM_SORTITEMS:
        m.Result = CustomSort(reinterpret_cast<PFNLVCOMPARE>(m.LParam), static_cast<LPARAM>(m.WParam));
        return true;
    case LVM_EDITLABELW:
    case LVM_EDITLABELA: {
        const int index = static_cast<int>(m.WParam);
        m.Result = 0;
        if (index >= 0 && index < ItemCount() && peer && peer->EditLabel(index)) m.Result = reinterpret_cast<LRESULT>(WindowHandle());
        return true;
    }
    case LVM_GETEDITCONTROL:
        // The editor is part of the list view's widget; its window is the list view's own.
        m.Result = editing_ ? reinterpret_cast<LRESULT>(WindowHandle()) : 0;
        return true;
    case CCM_SETUNICODEFORMAT:
        m.Result = unicode_;
        unicode_ = m.WParam != 0;
        return true;
    case CCM_GETUNICODEFORMAT: m.Result = unicode_; return true;
    default: return false;
    }
}

bool TCustomListView::AnswerItemMessage(TMessage& m) {
    const int index = static_cast<int>(m.WParam);
    const bool valid = index >= 0 && index < ItemCount();
    switch (m.Msg) {
    case LVM_GETITEMSTATE: m.Result = ItemState(index, static_cast<UINT>(m.LParam)); return true;
    case LVM_SETITEMSTATE: {
        const auto* item = reinterpret_cast<const LVITEMW*>(m.LParam);
        const int target = static_cast<int>(static_cast<INT_PTR>(m.WParam));
        m.Result = item && SetItemState(target, item->state, item->stateMask);
        return true;
    }
    case LVM_GETITEMTEXTW:
    case LVM_GETITEMTEXTA: {
        auto* item = reinterpret_cast<LVITEMW*>(m.LParam);
        m.Result = 0;
        if (!item || !valid) return true;
        const WideString text = CellText(index, item->iSubItem);
        m.Result = m.Msg == LVM_GETITEMTEXTW ? CopyText(text, item->pszText, item->cchTextMax)
                                             : CopyText(text, reinterpret_cast<LVITEMA*>(item)->pszText, item->cchTextMax);
        return true;
    }
    case LVM_SETITEMTEXTW:
    case LVM_SETITEMTEXTA: {
        const auto* item = reinterpret_cast<const LVITEMW*>(m.LParam);
        m.Result = FALSE;
        if (!item || !valid || ownerData_) return true;
        TListItem* target = items_->Item(index);
        const bool callback = m.Msg == LVM_SETITEMTEXTW ? IsCallback(item->pszText)
                                                        : IsCallback(reinterpret_cast<const LVITEMA*>(item)->pszText);
        const WideString text = callback ? WideString()
                              : m.Msg == LVM_SETITEMTEXTW ? TextOf(item->pszText)
                                                          : TextOf(reinterpret_cast<const LVITEMA*>(item)->pszText);
        const int sub = item->iSubItem;
        if (sub < 32) {
            if (callback) target->textCallbacks_ |= 1u << sub;
            else target->textCallbacks_ &= ~(1u << sub);
        }
        if (sub == 0) {
            target->SetCaption(text);
        } else if (sub > 0) {
            while (target->SubItems()->Count() < sub) target->SubItems()->Add(WideString());
            target->SubItems()->Put(sub - 1, text);
        }
        ItemChanged(target);
        m.Result = TRUE;
        return true;
    }
    case LVM_GETITEMW:
    case LVM_GETITEMA: {
        auto* item = reinterpret_cast<LVITEMW*>(m.LParam);
        m.Result = FALSE;
        if (!item || item->iItem < 0 || item->iItem >= ItemCount()) return true;
        const TListItem* source = DisplayItem(item->iItem);
        if (item->mask & LVIF_TEXT) {
            const WideString text = CellText(item->iItem, item->iSubItem);
            if (m.Msg == LVM_GETITEMW) CopyText(text, item->pszText, item->cchTextMax);
            else CopyText(text, reinterpret_cast<LVITEMA*>(item)->pszText, item->cchTextMax);
        }
        if (item->mask & LVIF_IMAGE)
            item->iImage = item->iSubItem == 0 ? source->ImageIndex() : source->SubItemImages(item->iSubItem - 1);
        if (item->mask & LVIF_PARAM) item->lParam = reinterpret_cast<LPARAM>(source->Data());
        if (item->mask & LVIF_STATE) item->state = ItemState(item->iItem, item->stateMask);
        if (item->mask & LVIF_INDENT) item->iIndent = source->Indent();
        m.Result = TRUE;
        return true;
    }
    case LVM_SETITEMW:
    case LVM_SETITEMA: {
        const auto* item = reinterpret_cast<const LVITEMW*>(m.LParam);
        m.Result = FALSE;
        if (!item || item->iItem < 0 || item->iItem >= ItemCount()) return true;
        if (item->mask & LVIF_STATE) SetItemState(item->iItem, item->state, item->stateMask);
        if (!ownerData_) {
            TListItem* target = items_->Item(item->iItem);
            if (item->mask & LVIF_TEXT) {
                TMessage text{m.Msg == LVM_SETITEMW ? LVM_SETITEMTEXTW : LVM_SETITEMTEXTA, static_cast<WPARAM>(item->iItem), m.LParam, 0};
                AnswerItemMessage(text);
            }
            if (item->mask & LVIF_IMAGE) {
                if (item->iSubItem == 0) target->SetImageIndex(item->iImage);
                else if (item->iSubItem - 1 < target->SubItems()->Count()) target->SetSubItemImages(item->iSubItem - 1, item->iImage);
            }
            if (item->mask & LVIF_PARAM) target->SetData(reinterpret_cast<void*>(item->lParam));
            if (item->mask & LVIF_INDENT) target->SetIndent(item->iIndent);
        }
        m.Result = TRUE;
        return true;
    }
    case LVM_FINDITEMW:
    case LVM_FINDITEMA: {
        const auto* info = reinterpret_cast<const LVFINDINFOW*>(m.LParam);
        if (!info) {
            m.Result = -1;
            return true;
        }
        const WideString text = m.Msg == LVM_FINDITEMW ? TextOf(info->psz) : TextOf(reinterpret_cast<const LVFINDINFOA*>(info)->psz);
        const int start = static_cast<int>(static_cast<INT_PTR>(m.WParam));
        if (ownerData_) {
            // The owner answers LVN_ODFINDITEM, as the list view asks its parent.
            NMLVFINDITEMW nm;
            nm.hdr.hwndFrom = WindowHandle();
            nm.hdr.code = LVN_ODFINDITEMW;
            nm.iStart = start + 1;
            nm.lvfi.flags = info->flags;
            nm.lvfi.psz = text.c_str();
            nm.lvfi.lParam = info->lParam;
            m.Result = Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
        } else {
            m.Result = FindItem(info->flags, text, info->lParam, start + 1);
        }
        return true;
    }
    default: return false;
    }
}

bool TCustomListView::AnswerColumnMessage(TMessage& m) {
    const int index = static_cast<int>(m.WParam);
    const bool valid = index >= 0 && index < columns_->Count();
    switch (m.Msg) {
    case LVM_GETCOLUMNWIDTH: m.Result = valid ? columns_->Items(index)->Width() : 0; return true;
    case LVM_SETCOLUMNWIDTH:
        m.Result = valid;
        if (valid) columns_->Items(index)->SetWidth(static_cast<int>(static_cast<short>(LOWORD(static_cast<DWORD>(m.LParam)))));
        return true;
    case LVM_GETCOLUMNW:
    case LVM_GETCOLUMNA: {
        auto* col = reinterpret_cast<LVCOLUMNW*>(m.LParam);
        m.Result = FALSE;
        if (!col || !valid) return true;
        const TListColumn* c = columns_->Items(index);
        if (col->mask & LVCF_FMT) col->fmt = FormatOf(c);
        if (col->mask & LVCF_WIDTH) col->cx = c->Width();
        if (col->mask & LVCF_TEXT) {
            if (m.Msg == LVM_GETCOLUMNW) CopyText(c->Caption(), col->pszText, col->cchTextMax);
            else CopyText(c->Caption(), reinterpret_cast<LVCOLUMNA*>(col)->pszText, col->cchTextMax);
        }
        if (col->mask & LVCF_SUBITEM) col->iSubItem = index;
        if (col->mask & LVCF_IMAGE) col->iImage = c->ImageIndex();
        m.Result = TRUE;
        return true;
    }
    case LVM_SETCOLUMNW:
    case LVM_SETCOLUMNA: {
        const auto* col = reinterpret_cast<const LVCOLUMNW*>(m.LParam);
        m.Result = FALSE;
        if (!col || !valid) return true;
        TListColumn* c = columns_->Items(index);
        if (col->mask & LVCF_TEXT)
            c->SetCaption(m.Msg == LVM_SETCOLUMNW ? TextOf(col->pszText) : TextOf(reinterpret_cast<const LVCOLUMNA*>(col)->pszText));
        if (col->mask & LVCF_FMT) c->SetAlignment(AlignmentOf(col->fmt));
        if (col->mask & LVCF_WIDTH) c->SetWidth(col->cx);
        if (col->mask & LVCF_IMAGE) c->SetImageIndex(col->iImage);
        m.Result = TRUE;
        return true;
    }
    default: return false;
    }
}

// ---- notifications

void TCustomListView::CNNotify(TWMNotify& m) {
    if (m.NMHdr) m.Result = Notify(*m.NMHdr);
}

LRESULT TCustomListView::Notify(NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW:
    case LVN_GETDISPINFOA: {
        // Owner data: the row's values from OnData; other lists leave callback texts to the
        // handlers before this one.
        if (!ownerData_) return 0;
        auto& nm = reinterpret_cast<NMLVDISPINFOW&>(header);
        const TListItem* item = DisplayItem(nm.item.iItem);
        if (!item) return 0;
        const int sub = nm.item.iSubItem;
        if (nm.item.mask & LVIF_TEXT) {
            const WideString text = sub == 0 ? item->Caption()
                                  : sub - 1 < item->SubItems()->Count() ? item->SubItems()->Get(sub - 1) : WideString();
            if (header.code == LVN_GETDISPINFOW) CopyText(text, nm.item.pszText, nm.item.cchTextMax);
            else CopyText(text, reinterpret_cast<NMLVDISPINFOA&>(header).item.pszText, nm.item.cchTextMax);
        }
        if (nm.item.mask & LVIF_IMAGE) nm.item.iImage = sub == 0 ? item->ImageIndex() : item->SubItemImages(sub - 1);
        if (nm.item.mask & LVIF_STATE) nm.item.state = ItemState(nm.item.iItem, nm.item.stateMask);
        if (nm.item.mask & LVIF_PARAM) nm.item.lParam = reinterpret_cast<LPARAM>(item->Data());
        return 0;
    }
    case LVN_ODFINDITEMW:
    case LVN_ODFINDITEMA: {
        auto& nm = reinterpret_cast<NMLVFINDITEMW&>(header);
        const WideString text = header.code == LVN_ODFINDITEMW ? TextOf(nm.lvfi.psz)
                                                               : TextOf(reinterpret_cast<NMLVFINDITEMA&>(header).lvfi.psz);
        const bool saved = ownerData_;
        return saved ? FindItem(nm.lvfi.flags, text, nm.lvfi.lParam, nm.iStart) : -1;
    }
    case LVN_ITEMCHANGING: {
        const auto& nm = reinterpret_cast<const NMLISTVIEW&>(header);
        if (nm.iItem < 0 || !(nm.uChanged & LVIF_STATE) || !OnChanging) return 0;
        bool allow = true;
        OnChanging(this, DisplayItem(nm.iItem), ctState, allow);
        return allow ? 0 : 1;
    }
    case LVN_ITEMCHANGED: NotifyItemChanged(reinterpret_cast<const NMLISTVIEW&>(header)); return 0;
    case LVN_COLUMNCLICK: {
        const auto& nm = reinterpret_cast<const NMLISTVIEW&>(header);
        if (columnClick_ && OnColumnClick && nm.iSubItem >= 0 && nm.iSubItem < columns_->Count())
            OnColumnClick(this, columns_->Items(nm.iSubItem));
        return 0;
    }
    case LVN_BEGINLABELEDITW:
    case LVN_BEGINLABELEDITA: {
        const auto& nm = reinterpret_cast<const NMLVDISPINFOW&>(header);
        bool allow = !readOnly_;
        if (allow && OnEditing) OnEditing(this, DisplayItem(nm.item.iItem), allow);
        editing_ = allow;
        return allow ? 0 : 1;
    }
    case LVN_ENDLABELEDITW:
    case LVN_ENDLABELEDITA: {
        auto& nm = reinterpret_cast<NMLVDISPINFOW&>(header);
        editing_ = false;
        const bool cancelled = header.code == LVN_ENDLABELEDITW ? !nm.item.pszText
                                                                : !reinterpret_cast<NMLVDISPINFOA&>(header).item.pszText;
        if (cancelled) return 0;
        WideString text = header.code == LVN_ENDLABELEDITW ? TextOf(nm.item.pszText)
                                                           : TextOf(reinterpret_cast<NMLVDISPINFOA&>(header).item.pszText);
        TListItem* item = DisplayItem(nm.item.iItem);
        if (!item) return 0;
        if (OnEdited) OnEdited(this, item, text);
        if (!ownerData_) item->SetCaption(text);
        return 1;
    }
    case LVN_GETINFOTIPW:
    case LVN_GETINFOTIPA: {
        auto& nm = reinterpret_cast<NMLVGETINFOTIPW&>(header);
        TListItem* item = DisplayItem(nm.iItem);
        if (!item || !OnInfoTip) return 0;
        WideString tip;
        OnInfoTip(this, item, tip);
        if (header.code == LVN_GETINFOTIPW) CopyText(tip, nm.pszText, nm.cchTextMax);
        else CopyText(tip, reinterpret_cast<NMLVGETINFOTIPA&>(header).pszText, nm.cchTextMax);
        return 0;
    }
    default: return 0;
    }
}

// A change the widget made (the user) or SetItemState made: the state is applied (again, which
// changes nothing for the latter) and the events fire.
void TCustomListView::NotifyItemChanged(const NMLISTVIEW& nm) {
    if (!(nm.uChanged & LVIF_STATE)) return;
    const UINT changed = nm.uNewState ^ nm.uOldState;
    UINT mask = changed;
    if (nm.iItem < 0) mask = changed | (nm.uNewState & (LVIS_SELECTED | LVIS_FOCUSED)) | LVIS_SELECTED;
    ApplyState(nm.iItem, nm.uNewState, mask & (LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK));
    if (nm.iItem < 0) {
        if (OnSelectItem && (mask & LVIS_SELECTED)) OnSelectItem(this, nullptr, (nm.uNewState & LVIS_SELECTED) != 0);
        if (OnChange) OnChange(this, nullptr, ctState);
        return;
    }
    if (ownerData_ && (changed & LVIS_STATEIMAGEMASK)) InvalidateOwnerDataCache();
    TListItem* item = DisplayItem(nm.iItem);
    if (OnChange) OnChange(this, item, ctState);
    if ((changed & LVIS_STATEIMAGEMASK) && OnItemChecked) OnItemChecked(this, DisplayItem(nm.iItem));
    if ((changed & LVIS_SELECTED) && OnSelectItem) OnSelectItem(this, DisplayItem(nm.iItem), (nm.uNewState & LVIS_SELECTED) != 0);
}

// The header's notifications reach the list view as its parent; widths keep their columns' limits.
void TCustomListView::WMNotify(TWMNotify& m) {
    auto* nm = reinterpret_cast<NMHEADER*>(m.NMHdr);
    if (!nm || nm->hdr.hwndFrom != headerHandle_) {
        InheritedMessage(TWinControl::ClassMessages(), m.Message);
        return;
    }
    ColumnTrack(*nm, WideHeaderCode(nm->hdr.code));
}

void TCustomListView::ColumnTrack(const NMHEADER& header, UINT code) {
    if (header.iItem < 0 || header.iItem >= columns_->Count()) return;
    TListColumn* column = columns_->Items(header.iItem);
    switch (code) {
    case HDN_ITEMCLICKW: {
        NMLISTVIEW nm;
        nm.hdr.hwndFrom = WindowHandle();
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = header.iItem;
        Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
        break;
    }
    case HDN_TRACKW:
    case HDN_ENDTRACKW:
    case HDN_ITEMCHANGEDW:
    case HDN_ITEMCHANGINGW:
        if (const std::optional<int> width = NotifiedWidth(header)) {
            const int clamped = column->Clamped(*width);
            static_cast<HDITEMW*>(header.pitem)->cxy = clamped;
            if (code != HDN_ITEMCHANGINGW && clamped != column->width_) {
                column->width_ = clamped;
                if (code != HDN_TRACKW) LayoutChanged();
            }
        }
        break;
    default: break;
    }
}

void TCustomListView::HeaderMessage(TMessage& m) {
    if (AnswerHeaderMessage(HeaderLayout(), m)) return;
    if (m.Msg == HDM_GETITEMW || m.Msg == HDM_GETITEMA) {
        auto* item = reinterpret_cast<HDITEMW*>(m.LParam);
        const int index = static_cast<int>(m.WParam);
        m.Result = FALSE;
        if (!item || index < 0 || index >= columns_->Count()) return;
        if (item->mask & HDI_WIDTH) item->cxy = columns_->Items(index)->Width();
        if (item->mask & HDI_TEXT) {
            if (m.Msg == HDM_GETITEMW) CopyText(columns_->Items(index)->Caption(), item->pszText, item->cchTextMax);
            else CopyText(columns_->Items(index)->Caption(), reinterpret_cast<HDITEMA*>(item)->pszText, item->cchTextMax);
        }
        if (item->mask & HDI_FORMAT) {
            const TListColumn* c = columns_->Items(index);
            item->fmt = FormatOf(c) | (c->ownerDrawnHeader_ ? HDF_OWNERDRAW : HDF_STRING);
        }
        m.Result = TRUE;
        return;
    }
    // Of a section's format only owner drawing is the header's own; the rest follows the column.
    if (m.Msg == HDM_SETITEMW || m.Msg == HDM_SETITEMA) {
        const auto* item = reinterpret_cast<const HDITEMW*>(m.LParam);
        const int index = static_cast<int>(m.WParam);
        m.Result = FALSE;
        if (!item || index < 0 || index >= columns_->Count()) return;
        if (item->mask & HDI_FORMAT) {
            TListColumn* c = columns_->Items(index);
            const bool ownerDrawn = (item->fmt & HDF_OWNERDRAW) != 0;
            if (c->ownerDrawnHeader_ != ownerDrawn) {
                c->ownerDrawnHeader_ = ownerDrawn;
                if (auto* peer = ListPeer()) peer->HeaderChanged();
            }
        }
        m.Result = TRUE;
    }
}

bool TCustomListView::HeaderOwnerDrawn(int column) const {
    return column >= 0 && column < columns_->Count() && columns_->Items(column)->ownerDrawnHeader_;
}
