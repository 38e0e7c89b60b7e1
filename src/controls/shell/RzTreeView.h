// The framed tree view: a tree with a frame painted over its border (style, colours, hot
// tracking), colours that follow its state, the frame-controller link, an outline round the
// current node while unfocused, automatic selection on expand and collapse, a settable item
// height, wheel scrolling and text import and export of its nodes.
#pragma once

#include <memory>

#include "controls/shell/RzViewFrame.h"
#include "controls/styled/RzFrameController.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Strings.h"
#include "platform/vcl/TreeView.h"

// What a node's context menu shows and where: the handler may move the point (client
// coordinates) or change or clear the menu.
using TRzTvOnNodeContextMenuEvent =
    std::function<void(TObject* sender, TTreeNode* node, TPoint& pos, TPopupMenu*& menu)>;

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
    TColor DisabledColor() const { return frame_.disabledColor; }
    virtual void SetDisabledColor(TColor v);
    TColor FocusColor() const { return frame_.focusColor; }
    virtual void SetFocusColor(TColor v);
    TColor FrameColor() const { return frame_.frameColor; }
    virtual void SetFrameColor(TColor v) { ChangeFrame(frame_.frameColor, v); }
    TRzFrameController* FrameController() const { return frame_.controller; }
    virtual void SetFrameController(TRzFrameController* v) { LinkFrameController(*this, frame_.controller, v); }
    TRzFrameControllerNotifications FrameControllerNotifications() const { return frame_.notifications; }
    void SetFrameControllerNotifications(TRzFrameControllerNotifications v) { frame_.notifications = v; }
    TColor FrameHotColor() const { return frame_.frameHotColor; }
    virtual void SetFrameHotColor(TColor v) { ChangeFrame(frame_.frameHotColor, v); }
    bool FrameHotTrack() const { return frame_.hotTrack; }
    virtual void SetFrameHotTrack(bool v);
    TFrameStyle FrameHotStyle() const { return frame_.hotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle v) { ChangeFrame(frame_.hotStyle, v); }
    TSides FrameSides() const { return frame_.sides; }
    virtual void SetFrameSides(TSides v) { ChangeFrame(frame_.sides, v); }
    TFrameStyle FrameStyle() const { return frame_.style; }
    virtual void SetFrameStyle(TFrameStyle v) { ChangeFrame(frame_.style, v); }
    bool FrameVisible() const { return frame_.visible; }
    virtual void SetFrameVisible(bool v);
    TFramingPreference FramingPreference() const { return frame_.framingPreference; }
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
    bool FrameHot() const { return frame_.Hot(Focused()); }

    // Shows the node's menu (PopupMenu unless OnNodeContextMenu changes it) at a client point.
    void NodeContextMenu(TTreeNode* node, TPoint pos);

    TRzTvOnNodeContextMenuEvent OnNodeContextMenu;

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
    void RightClicked();
    void KeyboardMenu();
    bool ContextMenuRequest(const TMessage& m);
    void RightButtonUp(TMessage& m);
    void DisplayInfo(TMessage& m);

    bool autoSelect_ = false;
    TRzViewFrame frame_;
    int itemHeight_ = 0;
    WideChar pathDelimiter_ = u'\\';
    std::unique_ptr<TPen> selectionPen_;
    bool recreating_ = false;
    bool menuHandled_ = false;  // from a shown node menu to the next right button up
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
    b.Property("SelectionPen", &C::SelectionPen, &C::SetSelectionPen);
}
