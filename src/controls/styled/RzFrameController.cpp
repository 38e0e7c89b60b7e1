#include "controls/styled/RzFrameController.h"

#include <algorithm>

#include "platform/vcl/Filer.h"

namespace {

// The published property each setting is written into, by setting.
constexpr const char* kPropertyNames[] = {
    "Color", "FocusColor", "DisabledColor", "ReadOnlyColor", "ReadOnlyColorOnFocus", "ParentColor",
    "FlatButtonColor", "FlatButtons", "FrameColor", "FrameHotColor", "FrameHotTrack", "FrameHotStyle",
    "FrameSides", "FrameStyle", "FrameVisible", "FramingPreference"};

// Everything at once: ParentColor leads so that Color sticks on controls that take both.
constexpr TRzFrameControllerProperty kAllOrder[] = {
    fcpParentColor, fcpColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
    fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference};

}  // namespace

void DefineRetiredFrameProperties(TFiler& filer, const std::function<void(bool)>& frameFlat,
                                  const std::function<void(TFrameStyle)>& frameFocusStyle) {
    filer.DefineProperty("FrameFlat", [frameFlat](TReader& r) { frameFlat(r.ReadBoolean()); }, nullptr, false);
    filer.DefineProperty(
        "FrameFocusStyle",
        [frameFocusStyle](TReader& r) {
            // Only a published frame style is taken; anything else is dropped.
            const int v = TypeInfoOf<TFrameStyleEx>()->EnumValue(r.ReadIdent());
            if (v >= fsNone && v <= fsFlatBold) frameFocusStyle(static_cast<TFrameStyle>(v));
        },
        nullptr, false);
    filer.DefineProperty("FrameFlatStyle", [](TReader& r) { (void)r.ReadIdent(); }, nullptr, false);
}

TRzFrameControllerNotifications FrameControllerNotificationsOf(const TControl& control) {
    if (!IsPublishedProp(control, "FrameControllerNotifications")) return fccAll;
    const TPropValue value = GetPropValue(control, "FrameControllerNotifications");
    const auto* bits = std::get_if<std::int64_t>(&value);
    return bits ? TRzFrameControllerNotifications::FromBits(static_cast<std::uint64_t>(*bits) & 0xFFFF) : fccAll;
}

void LinkFrameController(TControl& control, TRzFrameController*& field, TRzFrameController* value) {
    if (field == value) return;
    if (field) {
        field->RemoveControl(&control);
        field->RemoveFreeNotification(&control);
    }
    field = value;
    if (field) {
        field->AddControl(&control);
        field->FreeNotification(&control);
    }
}

TRzFrameController::TRzFrameController(TComponent* owner) : TComponent(owner) {}

TRzFrameController::~TRzFrameController() { controls_.clear(); }

void TRzFrameController::AddControl(TControl* control) {
    if (!control || std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
    controls_.push_back(control);
    UpdateControl(control, fcpAll);
}

void TRzFrameController::RemoveControl(TControl* control) {
    std::erase(controls_, control);
}

void TRzFrameController::EndUpdate() {
    if (--updateCount_ > 0) return;
    updateCount_ = 0;
    UpdateControls(fcpAll);
}

void TRzFrameController::UpdateControls(TRzFrameControllerProperty code) {
    if (updateCount_ > 0) return;
    // A push may make a control unlink itself: walk a copy.
    const std::vector<TControl*> controls = controls_;
    for (TControl* c : controls) UpdateControl(c, code);
}

void TRzFrameController::UpdateControl(TControl* control, TRzFrameControllerProperty code) {
    if (!control) return;
    if (auto* custom = dynamic_cast<IRzCustomFraming*>(control)) {
        custom->CustomFramingChanged();
        return;
    }
    const TRzFrameControllerNotifications wanted = FrameControllerNotificationsOf(*control);
    if (code != fcpAll) {
        if (wanted.Contains(code)) Push(*control, code);
        return;
    }
    for (TRzFrameControllerProperty p : kAllOrder) {
        if (p == fcpColor && parentColor_) continue;
        if (wanted.Contains(p)) Push(*control, p);
    }
}

void TRzFrameController::Push(TControl& control, TRzFrameControllerProperty code) const {
    const char* name = kPropertyNames[code];
    if (!IsPublishedProp(control, name)) return;
    if (code == fcpFrameSides) {
        SetPropText(control, name, GetPropText(*this, name));
        return;
    }
    SetPropValue(control, name, GetPropValue(*this, name));
}

void TRzFrameController::SetColor(TColor v) {
    if (color_ == v) return;
    if (color_ == focusColor_) focusColor_ = v;
    color_ = v;
    parentColor_ = false;
    UpdateControls(fcpColor);
}

void TRzFrameController::SetParentColor(bool v) {
    if (parentColor_ == v) return;
    parentColor_ = v;
    UpdateControls(fcpParentColor);
    if (!v) UpdateControls(fcpColor);
}

void TRzFrameController::SetFrameHotTrack(bool v) {
    if (frameHotTrack_ == v) return;
    frameHotTrack_ = v;
    if (v) {
        SetFrameVisible(true);
        if (!ComponentState().Contains(csLoading)) frameSides_ = sdAllSides;
    }
    UpdateControls(fcpFrameHotTrack);
}

void TRzFrameController::SetRegIniFile(TRzRegIniFile* v) {
    if (regIniFile_ == v) return;
    if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
    regIniFile_ = v;
    if (v) v->FreeNotification(this);
}

void TRzFrameController::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TRzFrameController*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    BeginUpdate();
    color_ = other->color_;
    disabledColor_ = other->disabledColor_;
    readOnlyColor_ = other->readOnlyColor_;
    readOnlyColorOnFocus_ = other->readOnlyColorOnFocus_;
    flatButtonColor_ = other->flatButtonColor_;
    flatButtons_ = other->flatButtons_;
    focusColor_ = other->focusColor_;
    frameColor_ = other->frameColor_;
    frameHotColor_ = other->frameHotColor_;
    frameHotStyle_ = other->frameHotStyle_;
    frameHotTrack_ = other->frameHotTrack_;
    frameSides_ = other->frameSides_;
    frameStyle_ = other->frameStyle_;
    frameVisible_ = other->frameVisible_;
    framingPreference_ = other->framingPreference_;
    parentColor_ = other->parentColor_;
    EndUpdate();
}

void TRzFrameController::Loaded() {
    TComponent::Loaded();
    UpdateControls(fcpAll);
}

void TRzFrameController::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == regIniFile_) regIniFile_ = nullptr;
    if (auto* control = dynamic_cast<TControl*>(component)) RemoveControl(control);
}

void TRzFrameController::DefineProperties(TFiler* filer) {
    TComponent::DefineProperties(filer);
    DefineRetiredFrameProperties(
        *filer,
        [this](bool flat) {
            frameHotTrack_ = flat;
            if (flat) {
                frameStyle_ = fsStatus;
                frameHotStyle_ = fsLowered;
            }
        },
        [this](TFrameStyle s) { frameHotStyle_ = s; });
}

const TMetaClass& TRzFrameController::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzFrameController>(
        "TRzFrameController", &TComponent::StaticClass(), [](TClassBuilder<TRzFrameController>& b) {
            using C = TRzFrameController;
            b.Property("Color", &C::Color, &C::SetColor).Default(clWindow).Type(ColorTypeInfo())
                .Stored([](const TObject& o) { return !static_cast<const C&>(o).ParentColor(); });
            b.Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor).Default(clBtnFace).Type(ColorTypeInfo());
            b.Property("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor).Default(clBtnFace)
                .Type(ColorTypeInfo());
            b.Property("FlatButtons", &C::FlatButtons, &C::SetFlatButtons).Default(true);
            b.Property("FocusColor", &C::FocusColor, &C::SetFocusColor).Default(clWindow).Type(ColorTypeInfo());
            b.Property("FrameColor", &C::FrameColor, &C::SetFrameColor).Default(clBtnShadow).Type(ColorTypeInfo());
            b.Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor).Default(clBtnShadow)
                .Type(ColorTypeInfo());
            b.Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack).Default(false);
            b.Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle).Default(fsFlatBold);
            b.Property("FrameSides", &C::FrameSides, &C::SetFrameSides).Default(sdAllSides);
            b.Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle).Default(fsFlat);
            b.Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible).Default(false);
            b.Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference).Default(fpXPThemes);
            b.Property("ParentColor", &C::ParentColor, &C::SetParentColor).Default(false);
            b.Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor).Default(clInfoBk).Type(ColorTypeInfo());
            b.Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus).Default(false);
            b.Property("RegIniFile", &C::RegIniFile, &C::SetRegIniFile);
        });
    return meta;
}
