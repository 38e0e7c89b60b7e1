// The open and save dialogs behind one call: a wrapper keeps its initial file name, filter
// ("description|pattern|description|pattern...") and default extension between calls, and each
// call may replace any of them.
#pragma once

#include "platform/win/WinTypes.h"

class TOpenDialog;

class FileDlgWrapper {
public:
    FileDlgWrapper(const WideString& initialName, const WideString& filter, const WideString& defExt);
    virtual ~FileDlgWrapper() = default;
    FileDlgWrapper(const FileDlgWrapper&) = delete;
    FileDlgWrapper& operator=(const FileDlgWrapper&) = delete;

    // Shows the dialog; each non-empty argument first replaces the stored value. True when the
    // user chose a file; a cancelled dialog leaves the file name empty.
    virtual bool Exec(const WideString& newInitialName, const WideString& newFilter, const WideString& newDefExt) = 0;
    // The path chosen by the last Exec.
    virtual WideString GetFileName() const { return fileName_; }

    const WideString& InitialName() const { return initialName_; }
    const WideString& Filter() const { return filter_; }
    const WideString& DefaultExt() const { return defExt_; }

    // The extension a dialog appends: callers also pass it as "*.csv" or ".csv".
    static WideString DialogExtension(const WideString& defExt);

protected:
    // Takes the new values, runs the dialog and keeps its choice.
    bool Run(TOpenDialog& dialog, const char16_t* scope, const WideString& newInitialName,
             const WideString& newFilter, const WideString& newDefExt);

private:
    WideString fileName_;
    WideString initialName_;
    WideString filter_;
    WideString defExt_;
};

// An existing file to open.
class OpenDlgWrapper : public FileDlgWrapper {
public:
    using FileDlgWrapper::FileDlgWrapper;
    bool Exec(const WideString& newInitialName, const WideString& newFilter, const WideString& newDefExt) override;
};

// A file to write; replacing an existing one is confirmed first.
class SaveDlgWrapper : public FileDlgWrapper {
public:
    using FileDlgWrapper::FileDlgWrapper;
    bool Exec(const WideString& newInitialName, const WideString& newFilter, const WideString& newDefExt) override;
};
