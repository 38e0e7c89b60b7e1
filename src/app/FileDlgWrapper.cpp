#include "app/FileDlgWrapper.h"

#include "app/cLogger.h"
#include "platform/vcl/Dialogs.h"

FileDlgWrapper::FileDlgWrapper(const WideString& initialName, const WideString& filter, const WideString& defExt)
    : initialName_(initialName), filter_(filter), defExt_(defExt) {}

WideString FileDlgWrapper::DialogExtension(const WideString& defExt) {
    std::size_t start = 0;
    if (start < defExt.size() && defExt[start] == u'*') ++start;
    if (start < defExt.size() && defExt[start] == u'.') ++start;
    WideString ext = defExt.substr(start);
    // "*.*" and other masks name no extension to add.
    if (ext.find_first_of(u"*?") != WideString::npos) ext.clear();
    return ext;
}

bool FileDlgWrapper::Run(TOpenDialog& dialog, const char16_t* scope, const WideString& newInitialName,
                         const WideString& newFilter, const WideString& newDefExt) {
    QUILLORA_TRACE(scope);
    LogPrintf(u"%s %s %s", initialName_.c_str(), filter_.c_str(), defExt_.c_str());
    if (!newInitialName.empty()) initialName_ = newInitialName;
    if (!newFilter.empty()) filter_ = newFilter;
    if (!newDefExt.empty()) defExt_ = newDefExt;

    dialog.SetFileName(initialName_);
    dialog.SetFilter(filter_);
    dialog.SetFilterIndex(1);
    dialog.SetDefaultExt(DialogExtension(defExt_));
    fileName_ = dialog.Execute() ? dialog.FileName() : WideString();
    return !fileName_.empty();
}

bool OpenDlgWrapper::Exec(const WideString& newInitialName, const WideString& newFilter, const WideString& newDefExt) {
    TOpenDialog dialog(nullptr);
    dialog.SetOptions({ofFileMustExist, ofHideReadOnly, ofEnableSizing});
    return Run(dialog, u"OpenDlgWrapper::Exec", newInitialName, newFilter, newDefExt);
}

bool SaveDlgWrapper::Exec(const WideString& newInitialName, const WideString& newFilter, const WideString& newDefExt) {
    TSaveDialog dialog(nullptr);
    dialog.SetOptions({ofOverwritePrompt, ofEnableSizing});
    return Run(dialog, u"SaveDlgWrapper::Exec", newInitialName, newFilter, newDefExt);
}
