// The surface a message shows itself on: the main window, the off-screen view of printing and
// export, or a view that does nothing. Every operation but Clear receives the displaying record.
#pragma once

#include <vector>

#include "platform/win/WinTime.h"
#include "platform/win/WinTypes.h"

class TMessageAttr;
class TMSGFile;
struct AttachmentItem;

// The window handle type of the class library (the same declaration as its drawing types).
struct HWND__;
using HWND = HWND__*;

class IView {
public:
    virtual ~IView() = default;

    // Loads the text into the rich-text control (RTF shows formatted, other text as plain
    // text); when richEdit is given it receives that control's window handle.
    virtual void ViewRTFString(TMessageAttr& message, const WideString& text, HWND* richEdit = nullptr) = 0;
    virtual void ViewHTMLString(TMessageAttr& message, const WideString& html) = 0;
    // Shows the HTML file; the message readers pass "" as the second text.
    virtual void ViewHTMLFile(TMessageAttr& message, const WideString& path, const WideString& text) = 0;
    virtual void SetToField(TMessageAttr& message, const WideString& text) = 0;
    virtual void SetFromFiled(TMessageAttr& message, const WideString& text) = 0;
    virtual void SetCCFiled(TMessageAttr& message, const WideString& text) = 0;
    // The date in UTC (0: none), its caption and the sender's zone offset in whole hours.
    virtual void SetDateFiled(TMessageAttr& message, TDateTime date, const WideString& caption, int zoneHours) = 0;
    virtual void SetSubjectFiled(TMessageAttr& message, const WideString& text) = 0;
    virtual void SetHeader(TMessageAttr& message, const WideString& text) = 0;
    virtual void SetFileName(TMessageAttr& message, const WideString& text) = 0;
    virtual void SetAttachmentsList(TMessageAttr& message, const std::vector<AttachmentItem>& attachments) = 0;
    // The view keeps a deep copy of the properties; the message may free its file afterwards.
    virtual void SetMessageProperties(TMessageAttr& message, TMSGFile& file) = 0;
    virtual void Clear() = 0;
};
