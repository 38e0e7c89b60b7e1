#include "Gallery.h"

#include <cstdio>

#include <QImage>
#include <QWidget>

#include "controls/shell/RzListView.h"
#include "controls/shell/RzTreeView.h"
#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzLabel.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListItems.h"
#include "platform/win/WinString.h"

namespace {

constexpr int kWidth = 860;

void Label(TCanvas& c, int x, int y, const char* text) {
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetColor(clBtnText);
    c.TextOut(x, y, Utf8ToUtf16(text));
    c.Brush()->SetStyle(bsSolid);
}

// The helpers' pictures, one row a family.
class TGalleryBoard : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        TCanvas& c = *Canvas();
        c.Brush()->SetColor(clBtnFace);
        c.FillRect(ClientRect());
        FrameStyles(c, 8);
        Glyphs(c, 92);
        Gradients(c, 156);
        Progress(c, 250);
    }

private:
    static void FrameStyles(TCanvas& c, int y) {
        Label(c, 8, y, "Frame styles");
        for (int s = fsNone; s <= fsFlatRounded; ++s) {
            const int x = 8 + s * 70;
            const TRect r(x, y + 20, x + 60, y + 60);
            c.Brush()->SetColor(clWindow);
            c.FillRect(r);
            if (s == fsFlatRounded) PaintRoundedFlatBorder(c, r, clBtnShadow, sdAllSides);
            else PaintFrameBorder(c, r, static_cast<TFrameStyle>(s));
            Label(c, x, y + 62, TypeInfoOf<TFrameStyleEx>()->EnumNames[s].c_str() + 2);
        }
    }

    static void Glyphs(TCanvas& c, int y) {
        Label(c, 8, y, "Glyphs");
        y += 20;
        PaintDropDownButton(c, TRect(8, y, 25, y + 21), false, true, false);
        PaintDropDownButton(c, TRect(30, y, 47, y + 21), false, true, true);
        for (int d = 0; d < 4; ++d) PaintArrowButton(c, TRect(56 + d * 22, y, 73 + d * 22, y + 17), false, true, false, d);
        PaintCloseButton(c, TRect(150, y, 166, y + 14), false, true, false);
        PaintCloseButton(c, TRect(172, y, 181, y + 9), false, true, false);
        TGlyphColors k;
        const TRzGlyphCheckState states[] = {gcsUnchecked, gcsChecked, gcsGrayed};
        for (int i = 0; i < 3; ++i) PaintCheckBoxGlyph(c, TRect(200 + i * 20, y, 213 + i * 20, y + 13), states[i], k, false, dsNormal);
        PaintCheckBoxGlyph(c, TRect(260, y, 273, y + 13), gcsChecked, k, false, dsDisabled);
        for (int i = 0; i < 2; ++i)
            PaintRadioButtonGlyph(c, TRect(290 + i * 20, y, 303 + i * 20, y + 13), i == 1, k, clFuchsia, false, clBtnFace,
                                  false, dsNormal);
        PaintRadioButtonGlyph(c, TRect(330, y, 343, y + 13), true, k, clFuchsia, false, clBtnFace, false, dsHot);
        c.Brush()->SetColor(clWindow);
        c.FillRect(TRect(360, y, 420, y + 20));
        PaintFocusBorder(c, TRect(362, y + 2, 418, y + 18));
        PaintBoxCornerMarks(c, TRect(430, y, 490, y + 20), clHighlight, 4);
    }

    static void Gradients(TCanvas& c, int y) {
        Label(c, 8, y, "Gradients");
        for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
            const int x = 8 + d * 84;
            PaintGradient(c, TRect(x, y + 20, x + 76, y + 70), static_cast<TGradientDirection>(d), 1, clNavy, clWhite);
            Label(c, x, y + 72, TypeInfoOf<TGradientDirection>()->EnumNames[d].c_str() + 2);
        }
    }

    static void Progress(TCanvas& c, int y) {
        Label(c, 8, y, "Progress bars: 0, 50 and 100 percent; figures, segments, gradient");
        const int percents[] = {0, 50, 100};
        for (int i = 0; i < 3; ++i) {
            const int x = 8 + i * 280;
            TRect r(x, y + 20, x + 260, y + 38);
            c.Brush()->SetColor(clWindow);
            c.FillRect(r);
            const TRect filled = ProgressFilledRect(r, false, percents[i]);
            c.Brush()->SetColor(clHighlight);
            c.FillRect(filled);
            PaintProgressPercentText(c, r, false, false, true, percents[i], clWindow, clHighlight);
            PaintProgressBarThemed(c, TRect(x, y + 44, x + 260, y + 62), false, false, false, percents[i], 20, clWindow,
                                   clHighlight);
            PaintGradientProgress(c, TRect(x, y + 68, x + 260, y + 86), false, false, true, percents[i], gdVerticalEnd,
                                  clWindow, clBtnFace, clNavy, clSkyBlue());
        }
        PaintProgressBarThemed(c, TRect(8, y + 92, 26, y + 152), true, false, false, 40, 8, clWindow, clGreen);
        PaintGradientProgress(c, TRect(34, y + 92, 52, y + 152), true, false, false, 70, gdHorizontalEnd, clWindow,
                              clBtnFace, clMaroon, clRed);
    }
    static TColor clSkyBlue() { return static_cast<TColor>(0xF0CAA6); }
};

template <class View>
View* FramedView(TForm& form, const TRect& bounds) {
    auto* view = new View(&form);
    view->SetFramingPreference(fpCustomFraming);
    view->SetFrameVisible(true);
    view->SetParent(&form);
    view->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    return view;
}

TRzLabel* GalleryLabel(TForm& form, const TRect& bounds, const char16_t* caption) {
    auto* label = new TRzLabel(&form);
    label->SetParent(&form);
    label->SetAutoSize(false);
    label->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    label->SetCaption(caption);
    label->SetAlignment(taCenter);
    label->Font()->SetName(u"DejaVu Sans");
    label->Font()->SetSize(11);
    label->SetBorderOuter(fsFlat);
    return label;
}

}  // namespace

int RunGallery(const char* path) {
    TForm form(nullptr);
    form.SetCaption(u"Styled drawing gallery");
    form.SetBounds(0, 0, kWidth, 640);

    auto* board = new TGalleryBoard(&form);
    board->SetParent(&form);
    board->SetBounds(0, 0, kWidth, 420);

    auto* tree = FramedView<TRzTreeView>(form, TRect(8, 428, 260, 628));
    tree->SetFrameStyle(fsFlatBold);
    tree->SetFrameColor(clHighlight);
    tree->SetHideSelection(false);
    TStringList lines;
    for (const char* l : {"Message", "\tFrom", "\t\tsender@example.org", "\tTo", "\tAttachments", "\t\treport.pdf",
                          "\t\tpicture.png", "Headers"})
        lines.Add(l);
    tree->LoadFromStrings(lines);
    tree->FullExpand();
    tree->SetSelected(tree->Items()->Item(5));  // outlined while the list has the focus

    auto* list = FramedView<TRzCustomListView>(form, TRect(270, 428, 660, 628));
    list->SetFrameStyle(fsGroove);
    list->SetViewStyle(vsReport);
    const TAlignment alignments[] = {taLeftJustify, taLeftJustify, taRightJustify};
    int i = 0;
    for (const char16_t* name : {u"Subject", u"From", u"Size"}) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(name);
        column->SetWidth(130);
        column->SetAlignment(alignments[i++]);
    }
    const char16_t* rows[][3] = {{u"Quarterly figures", u"ann@example.org", u"12 KB"},
                                 {u"Minutes", u"bob@example.org", u"3 KB"},
                                 {u"Holiday pictures", u"", u"4 MB"},
                                 {u"Agenda", u"carl@example.org", u"1 KB"}};
    for (const auto& row : rows) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(row[0]);
        item->SubItems()->Add(row[1]);
        item->SubItems()->Add(row[2]);
    }
    list->SetSortOnColumnClick(true);
    list->ColumnClicked(1);
    list->StretchLastColumn();

    GalleryLabel(form, TRect(670, 428, 750, 508), u"Rotated")->SetAngle(90);
    GalleryLabel(form, TRect(760, 428, 850, 508), u"Slanted")->SetAngle(35);
    auto* curved = GalleryLabel(form, TRect(670, 516, 850, 628), u"Along an arc");
    curved->SetRotation(roCurve);
    curved->SetAngle(345);
    curved->SetCenterPoint(cpUpperCenter);

    form.Show();
    list->SetFocus();
    Application->ProcessMessages();
    auto* window = dynamic_cast<QWidget*>(form.Peer());
    const bool saved = window && window->grab().toImage().save(QString::fromUtf8(path));
    if (!saved) std::fprintf(stderr, "vcldemo: cannot write %s\n", path);
    return saved ? 0 : 1;
}
