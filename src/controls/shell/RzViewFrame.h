// What the framed tree and list views share: their frame settings, the colour each state of the
// view shows, and the frame painted over the window's border.
#pragma once

#include "controls/styled/RzFrameController.h"
#include "platform/vcl/Controls.h"

class TFiler;

struct TRzViewFrame {
    TColor disabledColor = clBtnFace;
    TColor focusColor = clWindow;
    TColor normalColor = clWindow;  // shown when neither disabled nor focused
    TColor frameColor = clBtnShadow;
    TColor frameHotColor = clBtnShadow;
    TRzFrameController* controller = nullptr;
    TRzFrameControllerNotifications notifications = fccAll;
    bool hotTrack = false;
    TFrameStyle hotStyle = fsFlatBold;
    TSides sides = sdAllSides;
    TFrameStyle style = fsFlat;
    bool visible = false;
    TFramingPreference framingPreference = fpXPThemes;
    bool overControl = false;   // the pointer is over the view
    bool updatingColor = false; // the state switch is setting Color

    bool UseThemes() const;
    bool Hot(bool focused) const { return hotTrack && (focused || overControl); }
    bool Painted() const { return visible && !UseThemes(); }
    TColor StateColor(bool enabled, bool focused) const;
    // Color changed: unless the state switch set it, it is the new normal colour, and the focus
    // colour follows when it equalled the old one.
    void ColorChanged(TColor color);
    // Sets the view's Color to its state's colour, marked as the state switch's own.
    void ApplyStateColor(TControl& view, bool enabled, bool focused);
    // The frame over (0, 0, width, height), hot when tracking and focused or pointed at.
    void Paint(TCanvas& canvas, int width, int height, TColor color, bool focused) const;
    // The non-client paint: the frame on the window's whole-window device context.
    void PaintNonClient(TWinControl& view, bool focused) const;
    // WM_NCCALCSIZE: a painted frame keeps a client-edge wide border round the client area.
    void ReserveBorder(TMessage& m) const;
    // Reads "FrameFlat", "FrameFocusStyle" and "FrameFlatStyle" of old form data.
    void DefineRetired(TFiler& filer);
};
