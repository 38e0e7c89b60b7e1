// A view that records every call with the values handed over, one line each.
#pragma once

#include <string>
#include <vector>

#include "message/IView.h"
#include "message/MessageAttr.h"
#include "platform/win/WinString.h"

class RecordingView : public IView {
public:
    std::vector<std::string> calls;
    WideString lastHtmlFile;
    TDateTime lastDate = -1;

    void ViewRTFString(TMessageAttr&, const WideString& text, HWND* = nullptr) override { Add("ViewRTFString", text); }
    void ViewHTMLString(TMessageAttr&, const WideString& html) override { Add("ViewHTMLString", html); }
    void ViewHTMLFile(TMessageAttr&, const WideString& path, const WideString& text) override
    {
        lastHtmlFile = path;
        Add("ViewHTMLFile", text);
    }
    void SetToField(TMessageAttr&, const WideString& text) override { Add("To", text); }
    void SetFromFiled(TMessageAttr&, const WideString& text) override { Add("From", text); }
    void SetCCFiled(TMessageAttr&, const WideString& text) override { Add("CC", text); }
    void SetDateFiled(TMessageAttr&, TDateTime date, const WideString& caption, int zone) override
    {
        lastDate = date;
        Add("Date", caption + Utf8ToUtf16(" " + std::to_string(zone)));
    }
    void SetSubjectFiled(TMessageAttr&, const WideString& text) override { Add("Subject", text); }
    void SetHeader(TMessageAttr&, const WideString&) override { calls.push_back("Header"); }
    void SetFileName(TMessageAttr&, const WideString&) override { calls.push_back("FileName"); }
    void SetAttachmentsList(TMessageAttr&, const std::vector<AttachmentItem>& a) override
    {
        Add("Attachments", Utf8ToUtf16(std::to_string(a.size())));
    }
    void SetMessageProperties(TMessageAttr&, TMSGFile&) override { calls.push_back("Properties"); }
    void Clear() override { calls.push_back("Clear"); }

private:
    void Add(const char* what, const WideString& text) { calls.push_back(std::string(what) + ":" + Utf16ToUtf8(text)); }
};
