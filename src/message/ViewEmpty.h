// A view whose operations do nothing: displaying into it makes a record load its bodies.
#pragma once

#include "message/IView.h"

class ViewEmpty : public IView {
public:
    void ViewRTFString(TMessageAttr&, const WideString&, HWND* = nullptr) override {}
    void ViewHTMLString(TMessageAttr&, const WideString&) override {}
    void ViewHTMLFile(TMessageAttr&, const WideString&, const WideString&) override {}
    void SetToField(TMessageAttr&, const WideString&) override {}
    void SetFromFiled(TMessageAttr&, const WideString&) override {}
    void SetCCFiled(TMessageAttr&, const WideString&) override {}
    void SetDateFiled(TMessageAttr&, TDateTime, const WideString&, int) override {}
    void SetSubjectFiled(TMessageAttr&, const WideString&) override {}
    void SetHeader(TMessageAttr&, const WideString&) override {}
    void SetFileName(TMessageAttr&, const WideString&) override {}
    void SetAttachmentsList(TMessageAttr&, const std::vector<AttachmentItem>&) override {}
    void SetMessageProperties(TMessageAttr&, TMSGFile&) override {}
    void Clear() override {}
};
