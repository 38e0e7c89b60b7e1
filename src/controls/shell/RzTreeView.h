// The framed tree view: a tree with a frame painted over its border (style, colours, hot
// tracking), colours that follow its state, the frame-controller link, an outline round the
// current node while unfocused, automatic selection on expand and collapse, a settable item
// height, wheel scrolling and text import and export of its nodes.
#pragma once

#include <memory>

#include "controls/styled/RzFrameController.h"
#include "platform/vcl/Strings.h"
#include "platform/vcl/TreeView.h"

class TRzCustomTreeView : public TCustomTreeView {
    QUILLORA_COMPONENT(TRzCustomTreeView)
public:
    explicit TRzCustomTreeView(TComponent* owner);
    ~TRzCustomTreeView() override;

    virtual void LoadFromStrings(const TStrings& strings);
    virtual void SaveToStrings(TStrings& strings) const;
    // The node menus and the outline act on this: the right-clicked node while a right click
    // selects, else the selection.
    TTreeNode* CurrentNode() const;

    bool AutoSelect() const { return autoSelect_; }
    virtual void SetAutoSelect(bool v);
    virtual void SetAutoExpandFramed(bool v);
    TColor DisabledColor() const { return disabledColor_; }
    virtual void SetDisabledColor(TColor v);
    TColor FocusColor() const { return focusColor_; }
    virtual void SetFocusColor(TColor v);
    TColor FrameColor() const { return frameColor_; }
    virtual void SetFrameColor(TColor v) { ChangeFrame(frameColor_, v); }
    TRzFrameController* FrameController() const { return frameController_; }
    virtual void SetFrameController(TRzFrameController* v) { LinkFrameController(*this, frameController_, v); }
    TRzFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
    void SetFrameControllerNotifications(TRzFrameControllerNotifications v) { notifications_ = v; }
    TColor FrameHotColor() const { return frameHotColor_; }
    virtual void SetFrameHotColor(TColor v) { ChangeFrame(frameHotColor_, v); }
    bool FrameHotTrack() const { return frameHotTrack_; }
    virtual void SetFrameHotTrack(bool v);
    TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
    virtual void SetFrameHotStyle(TFrameStyle v) { ChangeFrame(frameHotStyle_, v); }
    TSides FrameSides() const { return frameSides_; }
    virtual void SetFrameSides(TSides v) { ChangeFrame(frameSides_, v); }
    TFrameStyle FrameStyle() const { return frameStyle_; }
    virtual void SetFrameStyle(TFrameStyle v) { ChangeFrame(frameStyle_, v); }
    bool FrameVisible() const { return frameVisible_; }
    virtual void SetFrameVisible(bool v);
    TFramingPreference FramingPreference() const { return framingPreference_; }
    virtual void SetFramingPreference(TFramingPreference v);
    int FramedItemHeight() const { return itemHeight_; }
    virtual void SetFramedItemHeight(int v);
    WideChar PathDelimiter() const { return pathDelimiter_; }
    void SetPathDelimiter(WideChar v) { pathDelimiter_ = v; }
    TPen* SelectionPen() const { return selectionPen_.get(); }
    virtual void SetSelectionPen(const TPen* v) { selectionPen_->Assign(v); }
    virtual bool UseThemes() const;

    // Paints the frame on a canvas over the whole window (0, 0, Width, Height), as the
    // non-client paint does: nothing while the frame is hidden or the theme draws it.
    void PaintFrame(TCanvas& canvas) const { PaintFrame(canvas, Width(), Height()); }
    // The same frame for a box of another size (a host that holds the tree inside its frame).
    void PaintFrame(TCanvas& canvas, int width, int height) const;
    // Outlines the current node's text with SelectionPen while another control has the focus.
    void PaintSelectionOutline(TCanvas& canvas) const;
    bool FrameHot() const { return frameHotTrack_ && (Focused() || overControl_); }

protected:
    virtual void UpdateItemHeight();
    virtual void UpdateColors();
    virtual void UpdateFrame(bool viaMouse, bool active);
    virtual void RepaintFrame();
    void CreateWnd() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    void DefineProperties(TFiler* filer) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Expand(TTreeNode* node) override;
    bool CanCollapse(TTreeNode* node) override;
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    template <class T>
    void ChangeFrame(T& field, const T& value) {
        if (field == value) return;
        field = value;
        RepaintFrame();
    }
    void ColorChanged();
    void MouseWheelScroll(int delta);

    bool autoSelect_ = false;
    TColor disabledColor_ = clBtnFace;
    TColor focusColor_ = clWindow;
    TColor normalColor_ = clWindow;
    TColor frameColor_ = clBtnShadow;
    TColor frameHotColor_ = clBtnShadow;
    TRzFrameController* frameController_ = nullptr;
    TRzFrameControllerNotifications notifications_ = fccAll;
    bool frameHotTrack_ = false;
    TFrameStyle frameHotStyle_ = fsFlatBold;
    TSides frameSides_ = sdAllSides;
    TFrameStyle frameStyle_ = fsFlat;
    bool frameVisible_ = false;
    TFramingPreference framingPreference_ = fpXPThemes;
    int itemHeight_ = 0;
    WideChar pathDelimiter_ = u'\\';
    std::unique_ptr<TPen> selectionPen_;
    bool overControl_ = false;
    bool updatingColor_ = false;
    bool recreating_ = false;
    TTreeNode* rightClickNode_ = nullptr;
};

class TRzTreeView : public TRzCustomTreeView {
    QUILLORA_COMPONENT(TRzTreeView)
public:
    using TRzCustomTreeView::TRzCustomTreeView;
};

namespace rz_tree_detail {

// Written unless the linked controller supplies the setting.
template <TRzFrameControllerProperty P>
bool NotFromController(const TObject& o) {
    const auto& t = static_cast<const TRzCustomTreeView&>(o);
    return !(t.FrameController() && t.FrameControllerNotifications().Contains(P));
}

}  // namespace rz_tree_detail

// The framed tree view's published properties, for each class that publishes them.
template <class Builder>
void PublishFramedTreeView(Builder& b) {
    using C = TRzCustomTreeView;
    b.Property("AutoSelect", &C::AutoSelect, &C::SetAutoSelect).Default(false);
    b.Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor).Default(clBtnFace)
        .Type(ColorTypeInfo()).Stored(rz_tree_detail::NotFromController<fcpDisabledColor>);
    b.Property("FocusColor", &C::FocusColor, &C::SetFocusColor).Default(clWindow).Type(ColorTypeInfo())
        .Stored([](const TObject& o) {
            const auto& t = static_cast<const C&>(o);
            return rz_tree_detail::NotFromController<fcpFocusColor>(o) && ColorToRGB(t.FocusColor()) != ColorToRGB(t.Color());
        });
    b.Property("FrameColor", &C::FrameColor, &C::SetFrameColor).Default(clBtnShadow).Type(ColorTypeInfo())
        .Stored(rz_tree_detail::NotFromController<fcpFrameColor>);
    b.Property("FrameController", &C::FrameController, &C::SetFrameController);
    b.Property("FrameControllerNotifications", &C::FrameControllerNotifications,
               &C::SetFrameControllerNotifications).Default(fccAll);
    b.Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor).Default(clBtnShadow)
        .Type(ColorTypeInfo()).Stored(rz_tree_detail::NotFromController<fcpFrameHotColor>);
    b.Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack).Default(false)
        .Stored(rz_tree_detail::NotFromController<fcpFrameHotTrack>);
    b.Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle).Default(fsFlatBold)
        .Stored(rz_tree_detail::NotFromController<fcpFrameHotStyle>);
    b.Property("FrameSides", &C::FrameSides, &C::SetFrameSides).Default(sdAllSides)
        .Stored(rz_tree_detail::NotFromController<fcpFrameSides>);
    b.Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle).Default(fsFlat)
        .Stored(rz_tree_detail::NotFromController<fcpFrameStyle>);
    b.Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible).Default(false)
        .Stored(rz_tree_detail::NotFromController<fcpFrameVisible>);
    b.Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference).Default(fpXPThemes)
        .Stored(rz_tree_detail::NotFromController<fcpFramingPreference>);
    b.Property("ItemHeight", &C::FramedItemHeight, &C::SetFramedItemHeight).Default(0);
}
