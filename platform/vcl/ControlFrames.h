// How painted containers and graphic controls draw their frames (group boxes, panel bevels,
// bevels, splitters): the widget set installs a painter in the desktop's style; without one
// the classic raised and sunken edges are drawn.
#pragma once

#include <memory>

#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Types.h"

class TFont;

enum class TFrameKind { Raised, Lowered, Single };

class TFramePainter {
public:
    virtual ~TFramePainter() = default;
    // A group box frame over r, open at the top for the caption, which is drawn with its
    // accelerator underlined; r's top is the caption's top.
    virtual void GroupFrame(HDC dc, const TRect& r, const WideString& caption, const TFont& font, bool enabled);
    // A bevel of width pixels around r, which shrinks by the width.
    virtual void Bevel(HDC dc, TRect& r, TFrameKind kind, int width);
    // One etched line from a to b (horizontal or vertical).
    virtual void Line(HDC dc, TPoint a, TPoint b, bool raised);
    // The height a caption of the font takes in a group box frame.
    virtual int CaptionHeight(const TFont& font);
};

TFramePainter& FramePainter();
void SetFramePainter(std::unique_ptr<TFramePainter> painter);
