#include "controls/unicode/TntControls.h"

#include "controls/unicode/TntHintWindow.h"
#include "platform/vcl/ActnList.h"
#include "controls/unicode/TntSystem.h"
#include "platform/vcl/HintWindow.h"
#include "platform/vcl/StdCtrls.h"

WideString GetWideControlText(const TControl* control) { return control ? control->Text() : WideString(); }

void SetWideControlText(TControl* control, const WideString& text) {
    if (control) control->SetText(text);
}

WideString WideGetHint(const TControl* control) { return control ? control->Hint() : WideString(); }

void WideSetHint(TControl* control, const WideString& text) {
    if (control) control->SetHint(text);
}

WideString WideGetHintOfChain(const TControl* control) {
    for (; control; control = control->Parent())
        if (!WideGetHint(control).empty()) return WideGetHint(control);
    return {};
}

WideString WideGetShortHint(const WideString& hint) { return GetShortHint(hint); }

WideString WideGetLongHint(const WideString& hint) { return GetLongHint(hint); }

void PrepareWideHint(THintInfo& info) {
    const TMetaClass* windowClass = info.HintWindowClass;
    const TMetaClass& wide = TTntCustomHintWindow::StaticClass();
    if (windowClass != &THintWindow::StaticClass() && !(windowClass && windowClass->InheritsFrom(&wide))) return;
    info.HintWindowClass = &wide;
    info.HintData = &info;
    info.HintStr = WideGetShortHint(WideGetHintOfChain(info.HintControl));
}

void PrepareWideHintMessage(TMessage& message) {
    if (auto* info = reinterpret_cast<THintInfo*>(message.LParam)) PrepareWideHint(*info);
}

bool IsWideHintPrepared(const void* data) {
    const auto* info = static_cast<const THintInfo*>(data);
    return info && info->HintData == info && info->HintWindowClass &&
           info->HintWindowClass->InheritsFrom(&TTntCustomHintWindow::StaticClass());
}

void StashWideChar(TMessage& message) { message.WParam &= 0xFFFF; }

void RestoreWideChar(TMessage& message) { message.WParam &= 0xFFFF; }

void WideCanvasTextOut(TCanvas* canvas, int x, int y, const WideString& text) {
    if (canvas) canvas->TextOut(x, y, text);
}

TSize WideCanvasTextExtent(TCanvas* canvas, const WideString& text) {
    if (!canvas || text.empty()) return TSize{0, 0};
    return canvas->TextExtent(text);
}

int WideCanvasTextWidth(TCanvas* canvas, const WideString& text) { return WideCanvasTextExtent(canvas, text).cx; }

int WideCanvasTextHeight(TCanvas* canvas, const WideString& text) { return WideCanvasTextExtent(canvas, text).cy; }

bool WideListControlAddItem(TControl* control, const WideString& item, TObject* object) {
    if (auto* wide = dynamic_cast<IWideListControl*>(control)) {
        wide->AddItem(item, object);
        return true;
    }
    if (auto* list = dynamic_cast<TCustomListControl*>(control)) {
        list->AddItem(WideStringToUTF8(item), object);
        return true;
    }
    return false;
}

bool IsWideCaptionStored(const TControl* control) {
    return !(control && control->ActionLink() && control->ActionLink()->IsCaptionLinked());
}

bool IsWideHintStored(const TControl* control) {
    return !(control && control->ActionLink() && control->ActionLink()->IsHintLinked());
}
