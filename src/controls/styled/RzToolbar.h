// The toolbar: a framed panel that lays its child controls out in rows (or columns), wrapping
// where they do not fit, keeps their order in a list stored with the form, sizes itself to its
// rows, styles its border by its alignment, hands its button settings to its tool buttons, and,
// when wrapping is off and controls do not fit, shows an overflow button that drops the hidden
// tool buttons down in a popup toolbar.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/styled/RzPanel.h"
#include "controls/styled/RzRegIniFile.h"
#include "controls/styled/RzStatusBar.h"
#include "controls/styled/RzToolButton.h"

enum TRzToolbarTextOptions { ttoNoTextLabels, ttoShowTextLabels, ttoSelectiveTextOnRight, ttoCustom };
QUILLORA_ENUM_TYPEINFO(TRzToolbarTextOptions, "ttoNoTextLabels", "ttoShowTextLabels", "ttoSelectiveTextOnRight", "ttoCustom")

class TReader;
class TRzToolbar;
class TRzToolbarPopupButton;
class TWriter;

// One entry of the toolbar's order: a control and its name (the name alone while reading).
class TRzToolbarControl : public TObject {
public:
    TRzToolbarControl(TControl* control, std::string name) : Control(control), Name(std::move(name)) {}
    std::string_view ClassName() const override { return "TRzToolbarControl"; }
    virtual void CopyElements(const TRzToolbarControl&) {}
    TControl* Control;
    std::string Name;
};

// The order of the toolbar's controls.
class TRzToolbarControlList {
public:
    explicit TRzToolbarControlList(TRzToolbar& toolbar) : toolbar_(toolbar) {}
    virtual ~TRzToolbarControlList() = default;
    TRzToolbarControlList(const TRzToolbarControlList&) = delete;
    TRzToolbarControlList& operator=(const TRzToolbarControlList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    TRzToolbarControl& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    // -1 when absent; names compare without regard to case.
    int PositionOfControl(const TControl* control) const;
    int PositionOfName(std::string_view name) const;
    // The existing position, else the new one at the end.
    int Include(TControl* control);
    int IncludeName(const std::string& name);
    // The former position, -1 when absent.
    int Exclude(const TControl* control);
    int ExcludeName(std::string_view name);
    void Clear() { items_.clear(); }

    // "ToolbarControls": the names in order, read before the controls are known.
    void ReadOrder(TReader& reader);
    void WriteOrder(TWriter& writer) const;
    // After loading: the names read become the owner's controls on the toolbar, in order;
    // children the stored order does not name follow in child order.
    void ResolveOrder(const TComponent* owner);

protected:
    virtual std::unique_ptr<TRzToolbarControl> NewItem(TControl* control, std::string name);

private:
    TRzToolbar& toolbar_;
    std::vector<std::unique_ptr<TRzToolbarControl>> items_;
    std::vector<std::string> readNames_;
};

// Captions of a toolbar-customisation dialog; kept and stored, written once one was set.
class TRzCustomizeCaptions : public TPersistent {
    QUILLORA_PERSISTENT(TRzCustomizeCaptions)
public:
    static constexpr int kCount = 9;
    TRzCustomizeCaptions();
    // Index 1 Title .. 9 SelectiveTextOnRight.
    const WideString& Caption(int index) const { return captions_.at(static_cast<std::size_t>(index - 1)); }
    void SetCaption(int index, const WideString& text);
    bool Stored() const { return stored_; }
    void Assign(const TPersistent* source) override;

private:
    std::array<WideString, kCount> captions_;
    bool stored_ = false;
};

class TRzToolbar : public TRzCustomPanel {
    QUILLORA_COMPONENT(TRzToolbar)
    QUILLORA_MESSAGES()
public:
    explicit TRzToolbar(TComponent* owner);
    ~TRzToolbar() override;

    bool AutoResize() const { return autoResize_; }
    virtual void SetAutoResize(bool v);
    bool AutoStyle() const { return autoStyle_; }
    void SetAutoStyle(bool v) { autoStyle_ = v; }
    TBitmap* Background() const { return background_.get(); }
    virtual void SetBackground(TBitmap* v);
    TCustomImageList* Images() const { return images_; }
    virtual void SetImages(TCustomImageList* list);
    int Margin() const { return margin_; }
    virtual void SetMargin(int v) { StoreAndPosition(margin_, v); }
    int TopMargin() const { return topMargin_; }
    virtual void SetTopMargin(int v) { StoreAndPosition(topMargin_, v); }
    TOrientation Orientation() const { return orientation_; }
    virtual void SetOrientation(TOrientation v);
    int RowHeight() const { return rowHeight_; }
    virtual void SetRowHeight(int v) { StoreAndPosition(rowHeight_, v); }
    bool WrapControls() const { return wrapControls_; }
    virtual void SetWrapControls(bool v) { StoreAndPosition(wrapControls_, v); }
    bool ShowButtonCaptions() const { return showButtonCaptions_; }
    virtual void SetShowButtonCaptions(bool v);
    TButtonLayout ButtonLayout() const { return buttonLayout_; }
    virtual void SetButtonLayout(TButtonLayout v);
    int ButtonWidth() const { return buttonWidth_; }
    virtual void SetButtonWidth(int v);
    int ButtonHeight() const { return buttonHeight_; }
    virtual void SetButtonHeight(int v);
    bool ShowDivider() const { return showDivider_; }
    virtual void SetShowDivider(bool v);
    TRzToolbarTextOptions TextOptions() const { return textOptions_; }
    virtual void SetTextOptions(TRzToolbarTextOptions v);
    TRzCustomizeCaptions* CustomizeCaptions() const { return customizeCaptions_.get(); }
    virtual void SetCustomizeCaptions(TRzCustomizeCaptions* v) { customizeCaptions_->Assign(v); }
    TRzRegIniFile* RegIniFile() const { return regIniFile_; }
    virtual void SetRegIniFile(TRzRegIniFile* v);
    // With AutoStyle the border follows the alignment; with AutoResize the size does.
    void SetAlign(TAlign v);
    // An explicit border is the user's own style: AutoStyle stops.
    void SetBorderInner(TFrameStyleEx v);
    void SetBorderOuter(TFrameStyleEx v);
    void SetBorderSides(TSides v);
    void SetVisualStyle(TRzVisualStyle v);
    void SetGradientColorStyle(TRzGradientColorStyle v);

    TRzToolbarControlList& ToolbarControls() const { return *controls_; }
    // The overflow button, null until first needed.
    TRzToolbarPopupButton* OverflowButton() const { return overflowButton_; }
    bool OverflowShown() const;
    // The listed tool buttons that do not fit (the overflow popup lists them).
    std::vector<TRzToolButton*> HiddenToolButtons() const;

    virtual int GetRowHeight(int row) const;
    virtual void PositionControls();
    virtual void SetButtonSizes(int width, int height, bool showCaptions);
    virtual void ApplyAutoStyle(TAlign alignment);
    // A child's size or visibility changed.
    void ControlChanged();
    void DefineProperties(TFiler* filer) override;
    void SetParent(TWinControl* parent) override;

    TNotifyEvent OnVisibleChanged;

protected:
    virtual std::unique_ptr<TRzToolbarControlList> CreateControlList();
    virtual void PositionControl(int index, int row, int& position);
    virtual void CheckAutoResize(bool& flag) const;
    void Paint() override;
    // The toolbar shows no caption.
    void PaintCaptionText(TRect) override {}
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void ChangeScale(int m, int d) override;
    void PlaceOverflowButton();

    void CMControlListChange(TMessage& m);
    void CMVisibleChanged(TMessage& m);

private:
    friend class TRzToolbarPopupButton;
    template <class T>
    void StoreAndPosition(T& field, const T& value) {
        if (field == value) return;
        field = value;
        PositionControls();
    }
    void NotifyControls(UINT message);
    void PositionHorizontal();
    void PositionVertical();
    void ShowOverflow(bool show);

    std::unique_ptr<TRzToolbarControlList> controls_;
    bool showDivider_ = true;
    int rowHeight_ = 25;
    bool autoResize_ = true;
    bool autoStyle_ = true;
    std::unique_ptr<TBitmap> background_;
    int margin_ = 4, topMargin_ = 2;
    TOrientation orientation_ = orHorizontal;
    bool wrapControls_ = true;
    bool showButtonCaptions_ = false;
    TButtonLayout buttonLayout_ = blGlyphLeft;
    int buttonWidth_ = 25, buttonHeight_ = 25;
    TCustomImageList* images_ = nullptr;
    TRzToolbarTextOptions textOptions_ = ttoNoTextLabels;
    bool updatingTextOptions_ = false;
    std::unique_ptr<TRzCustomizeCaptions> customizeCaptions_;
    TRzRegIniFile* regIniFile_ = nullptr;
    TRzToolbarPopupButton* overflowButton_ = nullptr;  // a child, owned as a component
    bool overflowShown_ = false;
    bool positioning_ = false;
};

// The button at the right edge of a toolbar whose controls do not fit.
class TRzToolbarPopupButton : public TCustomControl {
    QUILLORA_COMPONENT(TRzToolbarPopupButton)
    QUILLORA_MESSAGES()
public:
    TRzToolbarPopupButton(TComponent* owner, TRzToolbar& toolbar);
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor v) { frameColor_ = v; }
    bool IsDown() const { return down_; }
    // Shows the hidden tool buttons in a popup toolbar; a chosen one is clicked afterwards.
    virtual void ShowOverflowPopup();
    // The popup button chosen last (it records the toolbar button it stands for).
    void ChooseButton(TRzToolButton* button) { chosen_ = button; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WMEraseBkgnd(TMessage& m);

private:
    TRzToolbar& toolbar_;
    TColor frameColor_ = clBtnShadow;
    bool pressed_ = false, down_ = false;
    TRzToolButton* chosen_ = nullptr;
};

// A button of the overflow popup standing for a tool button of the toolbar.
class TRzPopupToolButton : public TRzToolButton {
    QUILLORA_COMPONENT(TRzPopupToolButton)
public:
    TRzPopupToolButton(TComponent* owner, TRzToolbarPopupButton& overflow);
    // From a tool button: records it and copies how it looks and behaves.
    void Assign(const TPersistent* source) override;
    TRzToolButton* MappedButton() const { return mapped_; }
    void Click() override;

private:
    TRzToolbarPopupButton& overflow_;
    TRzToolButton* mapped_ = nullptr;
};

void RegisterStyledToolbars();
