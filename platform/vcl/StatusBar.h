// The status bar: TStatusPanel/TStatusPanels (text, width, alignment, bevel, owner-drawn
// panels) and TCustomStatusBar/TStatusBar with a simple-text mode and a size grip. The control
// paints itself on its canvas; an owner-drawn panel is painted by OnDrawPanel through the
// reflected CN_DRAWITEM, as on the original platform.
#pragma once

#include <memory>

#include "platform/vcl/Collections.h"
#include "platform/vcl/Controls.h"

// ---- messages of "msctls_statusbar32"
inline constexpr UINT SB_SETTEXTA = WM_USER + 1;  // 0x401
inline constexpr UINT SB_GETTEXTA = WM_USER + 2;
inline constexpr UINT SB_GETTEXTLENGTHA = WM_USER + 3;
inline constexpr UINT SB_SETPARTS = WM_USER + 4;
inline constexpr UINT SB_GETPARTS = WM_USER + 6;
inline constexpr UINT SB_SIMPLE = WM_USER + 9;
inline constexpr UINT SB_GETRECT = WM_USER + 10;
inline constexpr UINT SB_SETTEXTW = WM_USER + 11;  // 0x40B
inline constexpr UINT SB_GETTEXTLENGTHW = WM_USER + 12;
inline constexpr UINT SB_GETTEXTW = WM_USER + 13;
inline constexpr UINT SB_ISSIMPLE = WM_USER + 14;
inline constexpr WPARAM SBT_NOBORDERS = 0x100, SBT_POPOUT = 0x200, SBT_RTLREADING = 0x400, SBT_OWNERDRAW = 0x1000;
inline constexpr WPARAM SB_SIMPLEID = 0xFF;

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
QUILLORA_ENUM_TYPEINFO(TStatusPanelStyle, "psText", "psOwnerDraw")
QUILLORA_ENUM_TYPEINFO(TStatusPanelBevel, "pbNone", "pbLowered", "pbRaised")

class TCustomStatusBar;

class TStatusPanel : public TCollectionItem {
    QUILLORA_PERSISTENT(TStatusPanel)
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

    const WideString& Text() const { return text_; }
    void SetText(const WideString& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle style);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel bevel);
    AnsiString DisplayName() const override;
    void Assign(const TPersistent* source) override;

private:
    WideString text_;
    int width_ = 50;
    TStatusPanelStyle style_ = psText;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
};

class TStatusPanels : public TCollection {
public:
    explicit TStatusPanels(TCustomStatusBar* owner);
    // Panels of a subclass of TStatusPanel.
    TStatusPanels(TCustomStatusBar* owner, ItemFactory factory);
    std::string_view ClassName() const override { return "TStatusPanels"; }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomStatusBar* bar_;
};

using TDrawPanelEvent = std::function<void(TCustomStatusBar* statusBar, TStatusPanel* panel, const TRect& rect)>;

class TCustomStatusBar : public TWinControl {
    QUILLORA_COMPONENT(TCustomStatusBar)
    QUILLORA_MESSAGES()
public:
    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const WideString& SimpleText() const { return simpleText_; }
    void SetSimpleText(const WideString& text);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);
    TCanvas* Canvas() const { return canvas_.get(); }
    // The panel's rectangle inside its bevel, in client coordinates (the simple panel: -1 or
    // SB_SIMPLEID).
    TRect PanelRect(int index) const;
    void InvalidatePanel(int index);

    TDrawPanelEvent OnDrawPanel;

protected:
    // Panels of another class in place of the bar's (empty: call it before any is added).
    void SetPanelsCollection(std::unique_ptr<TStatusPanels> panels);
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
    void WndProc(TMessage& message) override;
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);
    void CNDrawItem(TMessage& m);

private:
    friend class TStatusPanels;
    void PanelsChanged();
    void PaintPanel(HDC dc, int index, TStatusPanel* panel, const WideString& text, TAlignment alignment, TStatusPanelBevel bevel);
    TRect GripRect() const;

    std::unique_ptr<TStatusPanels> panels_;
    TCanvasPtr canvas_;
    bool simplePanel_ = false;
    WideString simpleText_;
    bool sizeGrip_ = true;
};

class TStatusBar : public TCustomStatusBar {
    QUILLORA_COMPONENT(TStatusBar)
public:
    using TCustomStatusBar::TCustomStatusBar;
};
