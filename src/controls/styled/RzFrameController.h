// One set of frame and colour settings shared by the framed controls of a form. Controls link
// themselves through their FrameController property; the controller writes each setting into the
// control's published property of the same name, filtered by the control's
// FrameControllerNotifications. A control that implements IRzCustomFraming reads the settings
// itself instead.
#pragma once

#include <vector>

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzRegIniFile.h"
#include "controls/styled/StyledTypes.h"
#include "platform/vcl/Controls.h"


enum TRzFrameControllerProperty {
    fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpParentColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
    fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference, fcpAll
};
QUILLORA_ENUM_TYPEINFO(TRzFrameControllerProperty, "fcpColor", "fcpFocusColor", "fcpDisabledColor",
                       "fcpReadOnlyColor", "fcpReadOnlyColorOnFocus", "fcpParentColor", "fcpFlatButtonColor",
                       "fcpFlatButtons", "fcpFrameColor", "fcpFrameHotColor", "fcpFrameHotTrack", "fcpFrameHotStyle",
                       "fcpFrameSides", "fcpFrameStyle", "fcpFrameVisible", "fcpFramingPreference", "fcpAll")
using TRzFrameControllerNotifications = TSet<TRzFrameControllerProperty>;
// Every setting (fcpColor .. fcpFramingPreference): a control's default.
inline constexpr TRzFrameControllerNotifications fccAll = TRzFrameControllerNotifications::FromBits(0xFFFF);

// Controls that take the controller's settings themselves.
class IRzCustomFraming {
public:
    virtual ~IRzCustomFraming() = default;
    virtual void CustomFramingChanged() = 0;
};

// The three retired frame properties old form data may hold: "FrameFlat", "FrameFocusStyle" and
// "FrameFlatStyle". Each framed class maps them onto its own fields through these callbacks.
void DefineRetiredFrameProperties(TFiler& filer, const std::function<void(bool)>& frameFlat,
                                  const std::function<void(TFrameStyle)>& frameFocusStyle);

class TRzFrameController : public TComponent {
    QUILLORA_COMPONENT(TRzFrameController)
public:
    explicit TRzFrameController(TComponent* owner);
    ~TRzFrameController() override;

    void AddControl(TControl* control);
    void RemoveControl(TControl* control);
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    virtual void UpdateControl(TControl* control, TRzFrameControllerProperty code);
    virtual void UpdateControls(TRzFrameControllerProperty code);
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    void Assign(const TPersistent* source) override;

    TColor Color() const { return color_; }
    virtual void SetColor(TColor v);
    bool ParentColor() const { return parentColor_; }
    virtual void SetParentColor(bool v);
    TColor FlatButtonColor() const { return flatButtonColor_; }
    virtual void SetFlatButtonColor(TColor v) { Change(flatButtonColor_, v, fcpFlatButtonColor); }
    bool FlatButtons() const { return flatButtons_; }
    virtual void SetFlatButtons(bool v) { Change(flatButtons_, v, fcpFlatButtons); }
    TColor DisabledColor() const { return disabledColor_; }
    virtual void SetDisabledColor(TColor v) { Change(disabledColor_, v, fcpDisabledColor); }
    TColor ReadOnlyColor() const { return readOnlyColor_; }
    virtual void SetReadOnlyColor(TColor v) { Change(readOnlyColor_, v, fcpReadOnlyColor); }
    bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
    virtual void SetReadOnlyColorOnFocus(bool v) { Change(readOnlyColorOnFocus_, v, fcpReadOnlyColorOnFocus); }
    TColor FocusColor() const { return focusColor_; }
    virtual void SetFocusColor(TColor v) { Change(focusColor_, v, fcpFocusColor); }
    TColor FrameColor() const { return frameColor_; }
    virtual void SetFrameColor(TColor v) { Change(frameColor_, v, fcpFrameColor); }
    TColor FrameHotColor() const { return frameHotColor_; }
    virtual void SetFrameHotColor(TColor v) { Change(frameHotColor_, v, fcpFrameHotColor); }
    bool FrameHotTrack() const { return frameHotTrack_; }
    virtual void SetFrameHotTrack(bool v);
    TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
    virtual void SetFrameHotStyle(TFrameStyle v) { Change(frameHotStyle_, v, fcpFrameHotStyle); }
    TSides FrameSides() const { return frameSides_; }
    virtual void SetFrameSides(TSides v) { Change(frameSides_, v, fcpFrameSides); }
    TFrameStyle FrameStyle() const { return frameStyle_; }
    virtual void SetFrameStyle(TFrameStyle v) { Change(frameStyle_, v, fcpFrameStyle); }
    bool FrameVisible() const { return frameVisible_; }
    virtual void SetFrameVisible(bool v) { Change(frameVisible_, v, fcpFrameVisible); }
    TFramingPreference FramingPreference() const { return framingPreference_; }
    virtual void SetFramingPreference(TFramingPreference v) { Change(framingPreference_, v, fcpFramingPreference); }
    TRzRegIniFile* RegIniFile() const { return regIniFile_; }
    virtual void SetRegIniFile(TRzRegIniFile* v);

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void DefineProperties(TFiler* filer) override;

private:
    template <class T>
    void Change(T& field, const T& value, TRzFrameControllerProperty code) {
        if (field == value) return;
        field = value;
        UpdateControls(code);
    }
    void Push(TControl& control, TRzFrameControllerProperty code) const;

    TColor color_ = clWindow;
    bool parentColor_ = false;
    TColor flatButtonColor_ = clBtnFace;
    bool flatButtons_ = true;
    TColor disabledColor_ = clBtnFace;
    TColor readOnlyColor_ = clInfoBk;
    bool readOnlyColorOnFocus_ = false;
    TColor focusColor_ = clWindow;
    TColor frameColor_ = clBtnShadow;
    TColor frameHotColor_ = clBtnShadow;
    bool frameHotTrack_ = false;
    TFrameStyle frameHotStyle_ = fsFlatBold;
    TSides frameSides_ = sdAllSides;
    TFrameStyle frameStyle_ = fsFlat;
    bool frameVisible_ = false;
    TFramingPreference framingPreference_ = fpXPThemes;
    TRzRegIniFile* regIniFile_ = nullptr;
    int updateCount_ = 0;
    std::vector<TControl*> controls_;
};

// The notification set a control publishes, else every setting.
TRzFrameControllerNotifications FrameControllerNotificationsOf(const TControl& control);

// The link from a framed control to its controller: unregisters from the old one, registers
// with the new one and asks for free notification; Clear is for the controller's removal.
void LinkFrameController(TControl& control, TRzFrameController*& field, TRzFrameController* value);
