#include "message/MessageFileDialogs.h"

#include "app/AppLocDB.h"
#include "message/MessageAttr.h"

WideString MessageExportFilterString(const TMessageAttr& message)
{
    WideString result;
    if (message.bodyIsHtml) result += GetUiString(1005) + u"(*.html)|*.html";
    if (!message.plainBody.empty() || result.empty()) {
        if (!result.empty()) result += u"|";
        result += GetUiString(1004) + u"(*.txt)|*.txt";
    }
    return result;
}

WideString MessageExportDefaultExtension() { return u"*.html"; }

WideString EmlSaveFilterString() { return GetUiString(1062) + u" (*.eml)|*.eml"; }
WideString EmlDefaultExtension() { return u"*.eml"; }
WideString MsgSaveFilterString() { return GetUiString(1033) + u" (*.msg)|*.msg"; }
WideString MsgDefaultExtension() { return u"*.msg"; }
