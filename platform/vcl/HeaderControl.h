// THeaderControl: a row of sections (text, width limits, alignment, owner drawing) the user
// resizes by their dividers and clicks. The header messages and notifications (HDM_*, HDN_*)
// are declared here; the list view's column header answers and sends the same ones.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/vcl/Collections.h"
#include "platform/vcl/Controls.h"

class TCustomImageList;

// ---- messages, notifications and records
inline constexpr UINT HDM_FIRST = 0x1200;
inline constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
inline constexpr UINT HDM_GETITEMA = HDM_FIRST + 3;
inline constexpr UINT HDM_SETITEMA = HDM_FIRST + 4;
inline constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
inline constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
inline constexpr UINT HDM_GETITEMW = HDM_FIRST + 11;
inline constexpr UINT HDM_SETITEMW = HDM_FIRST + 12;

inline constexpr UINT HDN_ITEMCHANGINGA = static_cast<UINT>(-300);
inline constexpr UINT HDN_ITEMCHANGEDA = static_cast<UINT>(-301);
inline constexpr UINT HDN_ITEMCLICKA = static_cast<UINT>(-302);
inline constexpr UINT HDN_DIVIDERDBLCLICKA = static_cast<UINT>(-305);
inline constexpr UINT HDN_BEGINTRACKA = static_cast<UINT>(-306);
inline constexpr UINT HDN_ENDTRACKA = static_cast<UINT>(-307);
inline constexpr UINT HDN_TRACKA = static_cast<UINT>(-308);
inline constexpr UINT HDN_ITEMCHANGINGW = static_cast<UINT>(-320);
inline constexpr UINT HDN_ITEMCHANGEDW = static_cast<UINT>(-321);
inline constexpr UINT HDN_ITEMCLICKW = static_cast<UINT>(-322);
inline constexpr UINT HDN_DIVIDERDBLCLICKW = static_cast<UINT>(-325);
inline constexpr UINT HDN_BEGINTRACKW = static_cast<UINT>(-326);
inline constexpr UINT HDN_ENDTRACKW = static_cast<UINT>(-327);
inline constexpr UINT HDN_TRACKW = static_cast<UINT>(-328);
// The 8-bit code of a wide header notification (the same notification, 20 lower).
constexpr UINT HeaderAnsiCode(UINT wideCode) { return wideCode + 20; }

inline constexpr UINT HDI_WIDTH = 0x0001;
inline constexpr UINT HDI_TEXT = 0x0002;
inline constexpr UINT HDI_FORMAT = 0x0004;
inline constexpr UINT HDI_LPARAM = 0x0008;
inline constexpr UINT HDI_IMAGE = 0x0020;
inline constexpr int HDF_LEFT = 0x0000;
inline constexpr int HDF_RIGHT = 0x0001;
inline constexpr int HDF_CENTER = 0x0002;
inline constexpr int HDF_JUSTIFYMASK = 0x0003;
inline constexpr int HDF_IMAGE = 0x0800;
inline constexpr int HDF_STRING = 0x4000;
inline constexpr int HDF_OWNERDRAW = 0x8000;
inline constexpr UINT ODT_HEADER = 100;  // DRAWITEMSTRUCT.CtlType of a header section

inline constexpr UINT HHT_NOWHERE = 0x0001;
inline constexpr UINT HHT_ONHEADER = 0x0002;
inline constexpr UINT HHT_ONDIVIDER = 0x0004;
inline constexpr UINT HHT_ABOVE = 0x0100;
inline constexpr UINT HHT_BELOW = 0x0200;
inline constexpr UINT HHT_TORIGHT = 0x0400;
inline constexpr UINT HHT_TOLEFT = 0x0800;

template <class Text>
struct HDITEMT {
    UINT mask = 0;
    int cxy = 0;
    Text pszText = nullptr;
    HBITMAP hbm = nullptr;
    int cchTextMax = 0;
    int fmt = 0;
    LPARAM lParam = 0;
    int iImage = 0;
    int iOrder = 0;
};
using HDITEMW = HDITEMT<LPWSTR>;
using HDITEMA = HDITEMT<LPSTR>;

// The record of every HDN_* notification; pitem is an HDITEMW or, for the 8-bit codes, HDITEMA.
struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    void* pitem = nullptr;
};

struct HDHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
};

// ---- layout shared by the header control and the list view's header
// Sections side by side from -offset; a divider answers a few pixels either side of its line.
class THeaderLayout {
public:
    static constexpr int DividerSlop = 4;
    THeaderLayout(std::vector<int> widths, int height, int offset = 0)
        : widths_(std::move(widths)), height_(height), offset_(offset) {}
    int Count() const { return static_cast<int>(widths_.size()); }
    TRect ItemRect(int index) const;
    // HDM_HITTEST: fills flags and iItem of info from its point; returns the item or -1.
    int HitTest(HDHITTESTINFO& info) const;

private:
    std::vector<int> widths_;
    int height_;
    int offset_;
};

// What a header answers: HDM_GETITEMCOUNT, HDM_HITTEST, HDM_GETITEMRECT; true when answered.
bool AnswerHeaderMessage(const THeaderLayout& layout, TMessage& m);

// Sends an HDN_* notification (given by its wide code) to target as message (WM_NOTIFY from a
// list view's header, CN_NOTIFY to a header control), in the 8-bit form when unicode is false.
// Returns the handler's result (non-zero vetoes a BEGINTRACK, TRACK or ITEMCHANGING).
LRESULT SendHeaderNotify(TControl& target, UINT message, HWND from, bool unicode, UINT wideCode, int item, int width,
                         int button = 0);
// The width a notification's item carries, when it carries one.
std::optional<int> NotifiedWidth(const NMHEADER& header);
// The wide code of a header notification of either form, or the code itself.
UINT WideHeaderCode(UINT code);

// ---- the control
enum THeaderSectionStyle { hsText, hsOwnerDraw };
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };
QUILLORA_ENUM_TYPEINFO(THeaderSectionStyle, "hsText", "hsOwnerDraw")

class THeaderControl;

class THeaderSection : public TCollectionItem {
    QUILLORA_PERSISTENT(THeaderSection)
public:
    explicit THeaderSection(TCollection* collection) : TCollectionItem(collection) {}
    const WideString& Text() const { return text_; }
    void SetText(const WideString& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int v);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    THeaderSectionStyle Style() const { return style_; }
    void SetStyle(THeaderSectionStyle s);
    bool AllowClick() const { return allowClick_; }
    void SetAllowClick(bool v) { allowClick_ = v; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    // The section's left and right edges in the header.
    int Left() const;
    int Right() const { return Left() + width_; }
    // The width within MinWidth and MaxWidth (0: no limit).
    int Clamped(int width) const;
    AnsiString DisplayName() const override;

private:
    WideString text_;
    int width_ = 50, minWidth_ = 0, maxWidth_ = 10000;
    TAlignment alignment_ = taLeftJustify;
    THeaderSectionStyle style_ = hsText;
    bool allowClick_ = true;
    int imageIndex_ = -1;
};

class THeaderSections : public TCollection {
    QUILLORA_PERSISTENT(THeaderSections)
public:
    explicit THeaderSections(THeaderControl* header);
    THeaderSection* Items(int index) const { return static_cast<THeaderSection*>(TCollection::Items(index)); }
    THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }

protected:
    void Update(TCollectionItem* item) override;

private:
    THeaderControl* header_;
};

// What the header's widget must show, pushed by the control.
class THeaderControlPeer {
public:
    virtual ~THeaderControlPeer() = default;
    virtual void SectionsChanged() = 0;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* control, THeaderSection* section)>;
using TSectionTrackEvent =
    std::function<void(THeaderControl* control, THeaderSection* section, int& width, TSectionTrackState state)>;
using TDrawSectionEvent =
    std::function<void(THeaderControl* control, THeaderSection* section, const TRect& rect, bool pressed)>;

class THeaderControl : public TWinControl {
    QUILLORA_COMPONENT(THeaderControl)
    QUILLORA_MESSAGES()
public:
    explicit THeaderControl(TComponent* owner);
    ~THeaderControl() override;

    THeaderSections* Sections() const { return sections_.get(); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    TCanvas* Canvas() const { return canvas_.get(); }
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool v) { hotTrack_ = v; }
    THeaderLayout Layout() const;

    // Paints an owner-drawn section on dc (the widget calls it).
    void DrawSection(HDC dc, int index, const TRect& rect, bool pressed);

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    TSectionTrackEvent OnSectionTrack;
    TSectionNotifyEvent OnDividerDblClick;
    TDrawSectionEvent OnDrawSection;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* component, TOperation operation) override;
    void DefWndProc(TMessage& message) override;
    void CNNotify(TWMNotify& m);
    friend class THeaderSections;
    void SectionsChanged();

private:
    std::unique_ptr<THeaderSections> sections_;
    TCustomImageList* images_ = nullptr;
    TCanvasPtr canvas_;
    bool hotTrack_ = false;
    bool unicode_ = true;
};
