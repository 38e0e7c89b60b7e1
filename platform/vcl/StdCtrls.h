// Standard controls: labels (TCustomLabel), edits and memos (TCustomEdit, TCustomMemo), push
// buttons, check boxes and radio buttons (TButton, TCustomCheckBox, TRadioButton), group boxes
// (TCustomGroupBox), combo boxes and list boxes with items that carry objects
// (TCustomComboBox, TCustomListBox) and scroll bars (TScrollBar). Each keeps its state and
// answers its window messages ("EDIT", "BUTTON", "COMBOBOX", "LISTBOX", "SCROLLBAR") without a
// toolkit; a widget set shows it through the peer interfaces declared here.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/Strings.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
                           odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

QUILLORA_ENUM_TYPEINFO(TTextLayout, "tlTop", "tlCenter", "tlBottom")
QUILLORA_ENUM_TYPEINFO(TEllipsisPosition, "epNone", "epPathEllipsis", "epEndEllipsis", "epWordEllipsis")
QUILLORA_ENUM_TYPEINFO(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")
QUILLORA_ENUM_TYPEINFO(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")
QUILLORA_ENUM_TYPEINFO(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable")
QUILLORA_ENUM_TYPEINFO(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable")
QUILLORA_ENUM_TYPEINFO(TScrollBarKind, "sbHorizontal", "sbVertical")

using TDrawItemEvent = std::function<void(TWinControl* control, int index, TRect rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;
using TScrollEvent = std::function<void(TObject* sender, TScrollCode scrollCode, int& scrollPos)>;

// ---- peer interfaces: what a widget set's peer shows for these controls

// How an edit or memo looks and takes input. Positions are code units of the control's text,
// where a line break (CR LF) counts two.
struct TEditOptions {
    bool MultiLine = false;
    bool ReadOnly = false;
    WideChar PasswordChar = 0;
    int MaxLength = 0;  // 0: no limit
    TAlignment Alignment = taLeftJustify;
    TEditCharCase CharCase = ecNormal;
    bool WordWrap = true;
    TScrollStyle ScrollBars = ssNone;
    bool WantTabs = false;
    bool HideSelection = true;
};
class TEditPeer {
public:
    virtual ~TEditPeer() = default;
    virtual void SetOptions(const TEditOptions& options) = 0;
    virtual void SetSelection(int start, int length) = 0;
    virtual void Selection(int& start, int& length) const = 0;
    // A button at the end of a single-line edit; a click is reported as EN_DROPBUTTON.
    virtual void SetDropButton(bool) {}
};

// A push button, check box, radio button: the check state (BST_*) and the default frame.
class TButtonPeer {
public:
    virtual ~TButtonPeer() = default;
    virtual void SetCheck(int state) = 0;
    virtual void SetDefault(bool isDefault) = 0;
    virtual void SetWordWrap(bool) {}
};

// The items of a combo box or list box.
class TListItemsPeer {
public:
    virtual ~TListItemsPeer() = default;
    virtual void InsertItem(int index, const WideString& text) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void SetItemText(int index, const WideString& text) = 0;
    virtual void ClearItems() = 0;
    virtual void SetItemIndex(int index) = 0;
    virtual int ItemIndex() const = 0;
};

class TComboBoxPeer : public TListItemsPeer {
public:
    virtual void SetDropDownCount(int count) = 0;
    virtual void SetMaxLength(int length) = 0;
    virtual void SetDroppedDown(bool dropped) = 0;
    virtual bool DroppedDown() const = 0;
    // The edit field's selection (editable styles); start and length in UTF-16 units.
    virtual void SetEditSelection(int /*start*/, int /*length*/) {}
    virtual void EditSelection(int& start, int& length) const { start = length = 0; }
    virtual void SetEditReadOnly(bool) {}
    virtual void SetCueText(const WideString&) {}
    virtual void SetDroppedWidth(int) {}
    virtual void SetItemHeight(int) {}
    virtual int TopIndex() const { return 0; }
    virtual void SetTopIndex(int) {}
    // Asks for a CN_PAINTOVER after each paint.
    virtual void SetPaintOver(bool) {}
};

class TListBoxPeer : public TListItemsPeer {
public:
    // extended: Shift and Ctrl extend the selection; otherwise each click toggles an item.
    virtual void SetMultiSelect(bool multi, bool extended) = 0;
    virtual void SetSelected(int index, bool selected) = 0;
    virtual bool Selected(int index) const = 0;
    virtual int TopIndex() const = 0;
    virtual void SetTopIndex(int index) = 0;
    // Owner draw: the control paints each item (CN_DRAWITEM) at the height it gives.
    virtual void SetOwnerDraw(bool ownerDraw, bool variable, int itemHeight) = 0;
    virtual TRect ItemRect(int index) const = 0;
};

// Scroll bars, track bars, progress bars and up-down buttons: a position in a range.
struct TRangeOptions {
    int Min = 0;
    int Max = 100;
    int Position = 0;
    int SmallChange = 1;
    int LargeChange = 1;
    int PageSize = 0;
    bool Vertical = false;
    int Frequency = 0;  // track bars: ticks every n positions; 0 none
};
class TRangePeer {
public:
    virtual ~TRangePeer() = default;
    virtual void SetRange(const TRangeOptions& options) = 0;
    // Where the user moved the thumb to (the full position a scroll message's word may cut).
    virtual int TrackPosition() const = 0;
};

// ---- owner-drawn items

// CN_MEASUREITEM hands an owner-drawn list or combo box a MEASUREITEMSTRUCT (Messages.h).

// ---- labels

class TCustomLabel : public TGraphicControl {
    QUILLORA_COMPONENT(TCustomLabel)
    QUILLORA_MESSAGES()
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);
    TEllipsisPosition EllipsisPosition() const { return ellipsis_; }
    void SetEllipsisPosition(TEllipsisPosition v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

    // Draws the caption into rect with DrawText flags (DT_CALCRECT measures into rect).
    virtual void DoDrawText(TRect& rect, UINT flags);
    // Sizes the label to its text (AutoSize), keeping the edge its alignment holds; labels
    // with borders or margins size themselves.
    virtual void AdjustBounds();

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMTextChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMDialogChar(TMessage& m);

private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
    TEllipsisPosition ellipsis_ = epNone;
    bool transparent_ = false;
};

class TLabel : public TCustomLabel {
    QUILLORA_COMPONENT(TLabel)
public:
    using TCustomLabel::TCustomLabel;
};

// The accelerator of a caption: the character after a single '&' ("&&" is a literal '&'),
// or 0. IsAccel compares it with a typed character without regard to case.
WideChar GetHotkey(const WideString& caption);
bool IsAccel(WORD charCode, const WideString& caption);

// ---- edits and memos

class TCustomEdit : public TWinControl {
    QUILLORA_COMPONENT(TCustomEdit)
    QUILLORA_MESSAGES()
public:
    explicit TCustomEdit(TComponent* owner);

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    WideString SelText() const;
    void SetSelText(const WideString& text);
    void SelectAll();
    void ClearSelection() { SetSelText(WideString()); }
    void Clear() { SetText(WideString()); }
    WideChar PasswordChar() const { return options_.PasswordChar; }
    void SetPasswordChar(WideChar c);
    bool ReadOnly() const { return options_.ReadOnly; }
    void SetReadOnly(bool v);
    int MaxLength() const { return options_.MaxLength; }
    void SetMaxLength(int v);
    TEditCharCase CharCase() const { return options_.CharCase; }
    void SetCharCase(TEditCharCase v);
    TAlignment Alignment() const { return options_.Alignment; }
    void SetAlignment(TAlignment v);
    bool HideSelection() const { return options_.HideSelection; }
    void SetHideSelection(bool v);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void KeyPress(WideChar& key) override;
    void DoEnter() override;
    virtual void Change();
    void PushOptions();
    // Takes the text and selection the widget holds.
    void SyncFromPeer();
    // Replaces the text without a change notification of the widget's.
    void ReplaceText(const WideString& text, int selStart, int selLength, bool userEdit);

    void WMSetText(TMessage& m);
    void WMGetDlgCode(TMessage& m);
    void CNCommand(TMessage& m);
    void EMGetSel(TMessage& m);
    void EMSetSel(TMessage& m);
    void EMReplaceSel(TMessage& m);
    void EMGetLineCount(TMessage& m);
    void EMLineIndex(TMessage& m);
    void EMLineLength(TMessage& m);
    void EMLineFromChar(TMessage& m);
    void EMGetLine(TMessage& m);
    void EMSetPasswordChar(TMessage& m);
    void EMGetPasswordChar(TMessage& m);
    void EMSetReadOnly(TMessage& m);
    void EMLimitText(TMessage& m);
    void EMGetLimitText(TMessage& m);
    void EMGetModify(TMessage& m);
    void EMSetModify(TMessage& m);
    void WMClear(TMessage& m);

    TEditOptions options_;

private:
    int selStart_ = 0;
    int selLength_ = 0;
    bool autoSelect_ = true;
    bool modified_ = false;
    bool settingText_ = false;
    TFormBorderStyle borderStyle_ = bsSingle;
};

class TEdit : public TCustomEdit {
    QUILLORA_COMPONENT(TEdit)
public:
    using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// A memo's lines: reading and editing them edits the memo's text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}
    std::string_view ClassName() const override { return "TMemoStrings"; }
    AnsiString Get(int index) const override;
    int GetCount() const override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const AnsiString& text) override;
    void Put(int index, const AnsiString& text) override;
    void SetText(const AnsiString& text) override;

private:
    TCustomMemo& memo_;
};

class TCustomMemo : public TCustomEdit {
    QUILLORA_COMPONENT(TCustomMemo)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* lines);
    bool WordWrap() const { return options_.WordWrap; }
    void SetWordWrap(bool v);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    bool WantTabs() const { return options_.WantTabs; }
    void SetWantTabs(bool v);
    TScrollStyle ScrollBars() const { return options_.ScrollBars; }
    void SetScrollBars(TScrollStyle v);
    // The caret's line and column.
    TPoint CaretPos() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void KeyPress(WideChar& key) override;
    void WMGetDlgCodeMemo(TMessage& m);
    QUILLORA_MESSAGES()

private:
    std::unique_ptr<TMemoStrings> lines_;
    bool wantReturns_ = true;
};

class TMemo : public TCustomMemo {
    QUILLORA_COMPONENT(TMemo)
public:
    using TCustomMemo::TCustomMemo;
};

// ---- buttons

// The base of push buttons, check boxes and radio buttons.
class TButtonControl : public TWinControl {
    QUILLORA_COMPONENT(TButtonControl)
    QUILLORA_MESSAGES()
public:
    explicit TButtonControl(TComponent* owner);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CNCommand(TMessage& m);
    // BN_CLICKED from the widget (a mouse click, Space).
    virtual void ButtonClicked() { Click(); }
    // A check box or radio button shows the action's checked state too (ButtonActions.cpp).
    void ActionChange(TObject* sender, bool checkDefaults) override;
    TControlActionLinkClass GetActionLinkClass() const override;
    void PushCheck(int state);
    // Sets the checked state of a check box or radio button without a click (an action's
    // change reaching the button must not run the action again).
    void SetCheckedQuietly(bool checked);
    bool clicksDisabled_ = false;

private:
    friend class TButtonActionLink;

private:
    bool wordWrap_ = false;
};

// A button's link: a check box or radio button follows the action's checked state.
class TButtonActionLink : public TWinControlActionLink {
public:
    explicit TButtonActionLink(TButtonControl* client) : TWinControlActionLink(client) {}
    bool IsCheckedLinked() const override;
    void SetChecked(bool value) override;
};

class TButton : public TButtonControl {
    QUILLORA_COMPONENT(TButton)
    QUILLORA_MESSAGES()
public:
    explicit TButton(TComponent* owner);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    // Sets the form's ModalResult (closing a modal form), then OnClick.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void BMClick(TMessage& m);

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

class TCustomCheckBox : public TButtonControl {
    QUILLORA_COMPONENT(TCustomCheckBox)
    QUILLORA_MESSAGES()
public:
    explicit TCustomCheckBox(TComponent* owner);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A new state fires OnClick, as a click does.
    void SetState(TCheckBoxState state);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    // The next state: unchecked, checked, then grayed when allowed.
    virtual void Toggle();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void ButtonClicked() override;
    void CMDialogChar(TMessage& m);
    void BMGetCheck(TMessage& m);
    void BMSetCheck(TMessage& m);

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    QUILLORA_COMPONENT(TCheckBox)
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// Checking a radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
    QUILLORA_COMPONENT(TRadioButton)
    QUILLORA_MESSAGES()
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void ButtonClicked() override;
    void CMDialogChar(TMessage& m);
    void BMGetCheck(TMessage& m);
    void BMSetCheck(TMessage& m);

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

// A captioned frame around other controls; disabling it disables what it holds.
class TCustomGroupBox : public TCustomControl {
    QUILLORA_COMPONENT(TCustomGroupBox)
    QUILLORA_MESSAGES()
public:
    explicit TCustomGroupBox(TComponent* owner);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;
    void CMDialogChar(TMessage& m);
    void CMTextChanged(TMessage& m);

private:
    bool ctl3D_ = true;
};

class TGroupBox : public TCustomGroupBox {
    QUILLORA_COMPONENT(TGroupBox)
public:
    using TCustomGroupBox::TCustomGroupBox;
};

// ---- combo boxes and list boxes

class TCustomListControl;

// The items of a combo or list box: text with an object each; edits reach the widget.
class TListControlItems : public TStrings {
public:
    explicit TListControlItems(TCustomListControl& owner) : owner_(owner) {}
    std::string_view ClassName() const override { return "TListControlItems"; }
    AnsiString Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const AnsiString& text) override;
    void InsertObject(int index, const AnsiString& text, TObject* object) override;
    int Add(const AnsiString& text) override { return AddObject(text, nullptr); }
    int AddObject(const AnsiString& text, TObject* object) override;
    void Put(int index, const AnsiString& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    // Sorts the items (a sorted control keeps them so).
    void Sort();

private:
    struct Item {
        AnsiString text;
        TObject* object = nullptr;
    };
    void Check(int index, int limit) const;
    std::vector<Item> items_;
    TCustomListControl& owner_;
};

// What combo boxes and list boxes share: items, the item index, sorting, owner drawing.
class TCustomListControl : public TWinControl {
    QUILLORA_COMPONENT(TCustomListControl)
    QUILLORA_MESSAGES()
public:
    explicit TCustomListControl(TComponent* owner);
    ~TCustomListControl() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* items);
    virtual int ItemIndex() const;
    virtual void SetItemIndex(int index);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v);
    TCanvas* Canvas() const { return canvas_.get(); }
    void AddItem(const AnsiString& item, TObject* object) { items_->AddObject(item, object); }
    void Clear() { items_->Clear(); }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    friend class TListControlItems;
    // The items changed: the control keeps its index in range and tells the widget.
    virtual void ItemInserted(int index, const AnsiString& text);
    virtual void ItemDeleted(int index);
    virtual void ItemChanged(int index, const AnsiString& text);
    virtual void ItemsCleared();
    // An item holding an object is about to go (deleted or cleared).
    virtual void ItemDeleting(int /*index*/, TObject* /*object*/) {}
    virtual bool IsOwnerDraw() const { return false; }
    void CreateWnd() override;
    // Pushes the items to a fresh widget.
    virtual void PushItems();
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    void CNDrawItem(TMessage& m);
    void CNMeasureItem(TMessage& m);
    TListItemsPeer* ItemsPeer() const { return dynamic_cast<TListItemsPeer*>(Peer()); }

    int itemIndex_ = -1;

private:
    std::unique_ptr<TListControlItems> items_;
    TCanvasPtr canvas_;
    bool sorted_ = false;
    int itemHeight_ = 16;
};

class TCustomComboBox : public TCustomListControl {
    QUILLORA_COMPONENT(TCustomComboBox)
    QUILLORA_MESSAGES()
public:
    explicit TCustomComboBox(TComponent* owner);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    // Selects the item whose text is the new text; editable styles keep any text.
    void SelectItemOfText();
    // The edit field's caret and selection (editable styles), in UTF-16 units.
    void GetEditSelection(int& start, int& length) const;
    void SetEditSelection(int start, int length);

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    bool IsOwnerDraw() const override { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void PushItems() override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    void WMSetText(TMessage& m);
    void WMGetDlgCode(TMessage& m);
    void CNCommand(TMessage& m);
    void CBGetCount(TMessage& m);
    void CBGetCurSel(TMessage& m);
    void CBSetCurSel(TMessage& m);
    void CBShowDropDown(TMessage& m);
    void CBGetDroppedState(TMessage& m);

private:
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    bool droppedDown_ = false;
    int editSelStart_ = 0, editSelLength_ = 0;  // without a widget
};

class TComboBox : public TCustomComboBox {
    QUILLORA_COMPONENT(TComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};

class TCustomListBox : public TCustomListControl {
    QUILLORA_COMPONENT(TCustomListBox)
    QUILLORA_MESSAGES()
public:
    explicit TCustomListBox(TComponent* owner);

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle v);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool v);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    int TopIndex() const;
    void SetTopIndex(int index);
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    // The item at a client point (-1 outside the items when existing is true).
    int ItemAtPos(TPoint pos, bool existing) const;
    TRect ItemRect(int index) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    bool IsOwnerDraw() const override { return style_ != lbStandard; }
    void ItemInserted(int index, const AnsiString& text) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void PushItems() override;
    void CNCommand(TMessage& m);
    void LBGetCount(TMessage& m);
    void LBGetCurSel(TMessage& m);
    void LBSetCurSel(TMessage& m);
    void LBGetSel(TMessage& m);
    void LBSetSel(TMessage& m);
    void LBGetTopIndex(TMessage& m);
    void LBSetTopIndex(TMessage& m);

private:
    TListBoxPeer* BoxPeer() const { return dynamic_cast<TListBoxPeer*>(Peer()); }
    TListBoxStyle style_ = lbStandard;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    std::vector<bool> selected_;
    int topIndex_ = 0;
};

class TListBox : public TCustomListBox {
    QUILLORA_COMPONENT(TListBox)
public:
    using TCustomListBox::TCustomListBox;
};

// ---- scroll bars

class TScrollBar : public TWinControl {
    QUILLORA_COMPONENT(TScrollBar)
    QUILLORA_MESSAGES()
public:
    explicit TScrollBar(TComponent* owner);
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind v);
    int Min() const { return range_.Min; }
    void SetMin(int v) { SetParams(range_.Position, v, range_.Max); }
    int Max() const { return range_.Max; }
    void SetMax(int v) { SetParams(range_.Position, range_.Min, v); }
    int Position() const { return range_.Position; }
    void SetPosition(int v) { SetParams(v, range_.Min, range_.Max); }
    int SmallChange() const { return range_.SmallChange; }
    void SetSmallChange(int v);
    int LargeChange() const { return range_.LargeChange; }
    void SetLargeChange(int v);
    int PageSize() const { return range_.PageSize; }
    void SetPageSize(int v);
    // Min above Max raises EInvalidOperation; the position is kept in the range.
    void SetParams(int position, int min, int max);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Scroll(TScrollCode code, int& pos);
    void CNScroll(TMessage& m);

private:
    void Push();
    TScrollBarKind kind_ = sbHorizontal;
    TRangeOptions range_;
};

// Registers the standard controls for form files.
void RegisterStdCtrls();
