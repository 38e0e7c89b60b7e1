#include "platform/vcl/Controls.h"

// ---------------------------------------------------------------------------------------------
// TCustomControl and TGraphicControl

const TMetaClass& TCustomControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomControl>("TCustomControl", &TWinControl::StaticClass());
    return meta;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(NewControlCanvas(*this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
    BeginCanvasPaint(canvas_.get(), dc, Font(), Color());
    try {
        Paint();
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
}

const TMetaClass& TGraphicControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TGraphicControl>("TGraphicControl", &TControl::StaticClass());
    return meta;
}

const TMessageTable& TGraphicControl::ClassMessages() {
    static const TMessageTable table(&TControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_PAINT, TGraphicControl::WMPaint),
    });
    return table;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(NewControlCanvas(*this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WMPaint(TWMPaint& m) {
    if (!m.DC) return;
    BeginCanvasPaint(canvas_.get(), m.DC, Font(), Color());
    try {
        Paint();
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
}
