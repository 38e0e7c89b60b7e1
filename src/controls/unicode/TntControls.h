// Wide text of any control: caption or text, hints and the hint chain, the storage tests of
// the wide properties, the hint preparation the wide controls share, wide canvas text and the
// wide list-control interface.
//
// The class library keeps control text and hints as UTF-16 and its windows are wide, so a
// control's text lives in the control itself: it survives the window being made again, and a
// text-changed notification goes out only on a real change.
#pragma once

#include "controls/unicode/TntControlHelpers.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Graphics.h"

struct THintInfo;

// --- Text -------------------------------------------------------------------------------------

WideString GetWideControlText(const TControl* control);
// Sets the text when it differs; the control then hears CM_TEXTCHANGED once.
void SetWideControlText(TControl* control, const WideString& text);

// --- Hints ------------------------------------------------------------------------------------

WideString WideGetHint(const TControl* control);
void WideSetHint(TControl* control, const WideString& text);
// The hint of the control or of its nearest parent that has one; empty when none does.
WideString WideGetHintOfChain(const TControl* control);
// Before and after the first "|" (the whole hint without one).
WideString WideGetShortHint(const WideString& hint);
WideString WideGetLongHint(const WideString& hint);

// Storage tests of Caption/Text and Hint: not stored while an action supplies them.
bool IsWideCaptionStored(const TControl* control);
bool IsWideHintStored(const TControl* control);

// CM_HINTSHOW of a wide control: a hint shown in the platform's own hint window is shown in
// the layer's, with the short hint of the control's chain; the record marks itself prepared.
void PrepareWideHint(THintInfo& info);
// The same, taking the message.
void PrepareWideHintMessage(TMessage& message);
// The record was prepared by PrepareWideHint.
bool IsWideHintPrepared(const void* data);

// --- Characters of WM_CHAR ---------------------------------------------------------------------

// Key-press handlers take a UTF-16 unit, so no character needs to be parked for 8-bit
// handlers; the pair is kept for code that calls it and only clears the upper half.
void StashWideChar(TMessage& message);
void RestoreWideChar(TMessage& message);

// --- Canvas -----------------------------------------------------------------------------------

// The canvas's own text output (its flags, font and pen position).
void WideCanvasTextOut(TCanvas* canvas, int x, int y, const WideString& text);
TSize WideCanvasTextExtent(TCanvas* canvas, const WideString& text);
int WideCanvasTextWidth(TCanvas* canvas, const WideString& text);
int WideCanvasTextHeight(TCanvas* canvas, const WideString& text);

// --- Wide list controls ------------------------------------------------------------------------

// A list control that takes wide items with their objects (the Unicode list view).
class IWideListControl {
public:
    virtual ~IWideListControl() = default;
    virtual void AddItem(const WideString& item, TObject* object) = 0;
};

// Adds the item to the control through IWideListControl, else through the control's own
// list (a list or combo box); false when the control holds no items.
bool WideListControlAddItem(TControl* control, const WideString& item, TObject* object);

// --- Published wide text ------------------------------------------------------------------

// Publishes the control's text as a wide property (Caption or Text), stored unless an action
// supplies it.
template <class C>
void PublishWideCaption(TClassBuilder<C>& b, const char* name = "Caption") {
    b.Property(name, [](const C& c) { return GetWideControlText(&c); },
               [](C& c, const WideString& v) { SetWideControlText(&c, v); })
        .Stored([](const TObject& o) { return IsWideCaptionStored(&static_cast<const C&>(o)); });
}

template <class C>
void PublishWideHint(TClassBuilder<C>& b) {
    b.Property("Hint", [](const C& c) { return WideGetHint(&c); }, [](C& c, const WideString& v) { WideSetHint(&c, v); })
        .Stored([](const TObject& o) { return IsWideHintStored(&static_cast<const C&>(o)); });
}

class TFiler;
// Declares the older encodings of the wide properties (TntWideProperties.h).
void DefineWideProperties(TFiler* filer, TPersistent* instance);

// The wide link class for a control, and the action's texts into it (TntActnList.h).
TControlActionLinkClass GetWideActionLinkClass(const TControl* control);
void CopyWideActionTexts(TControl* control, const TObject* action, bool checkDefaults);

// What every wide control adds to its platform class: the older encodings of its wide
// properties in form files, hints shown through the layer's hint window, and the wide links
// to its action.
template <class Base>
class TTntWideControl : public Base {
public:
    using Base::Base;
    void DefineProperties(TFiler* filer) override {
        Base::DefineProperties(filer);
        DefineWideProperties(filer, this);
    }

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == CM_HINTSHOW) PrepareWideHintMessage(message);
        Base::WndProc(message);
    }
    TControlActionLinkClass GetActionLinkClass() const override { return GetWideActionLinkClass(this); }
    void ActionChange(TObject* sender, bool checkDefaults) override {
        CopyWideActionTexts(this, sender, checkDefaults);
        Base::ActionChange(sender, checkDefaults);
    }
};
