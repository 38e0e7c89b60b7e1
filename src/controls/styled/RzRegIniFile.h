// Where settings of the styled controls live: an INI file or a registry key. The component
// only holds and publishes that configuration; nothing here reads or writes through it.
#pragma once

#include "platform/vcl/Components.h"

enum TRzPathType { ptIniFile, ptRegistry };
enum TRzRegKey { hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig, hkeyDynData };
enum TRzRegAccessKey {
    keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
    keyExecute, keyAllAccess
};
using TRzRegAccess = TSet<TRzRegAccessKey>;
enum TRzSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };

QUILLORA_ENUM_TYPEINFO(TRzPathType, "ptIniFile", "ptRegistry")
QUILLORA_ENUM_TYPEINFO(TRzRegKey, "hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers",
                       "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData")
QUILLORA_ENUM_TYPEINFO(TRzRegAccessKey, "keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys",
                       "keyNotify", "keyCreateLink", "keyRead", "keyWrite", "keyExecute", "keyAllAccess")
QUILLORA_ENUM_TYPEINFO(TRzSpecialFolder, "sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal", "sfUserDocuments",
                       "sfProgramData")

class TRzRegIniFile : public TComponent {
    QUILLORA_COMPONENT(TRzRegIniFile)
public:
    explicit TRzRegIniFile(TComponent* owner) : TComponent(owner) {}

    const AnsiString& Path() const { return path_; }
    virtual void SetPath(const AnsiString& v) { Change(path_, v); }
    TRzPathType PathType() const { return pathType_; }
    virtual void SetPathType(TRzPathType v) { Change(pathType_, v); }
    TRzRegKey RegKey() const { return regKey_; }
    virtual void SetRegKey(TRzRegKey v) { Change(regKey_, v); }
    TRzRegAccess RegAccess() const { return regAccess_; }
    virtual void SetRegAccess(TRzRegAccess v) { Change(regAccess_, v); }
    TRzSpecialFolder SpecialFolder() const { return specialFolder_; }
    virtual void SetSpecialFolder(TRzSpecialFolder v) { Change(specialFolder_, v); }

    // Set by every change; whoever opens the settings opens them afresh.
    bool ReopenNeeded() const { return reopen_; }

private:
    template <class T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        field = value;
        reopen_ = true;
    }

    AnsiString path_;
    TRzPathType pathType_ = ptIniFile;
    TRzRegKey regKey_ = hkeyCurrentUser;
    TRzRegAccess regAccess_ = {keyAllAccess};
    TRzSpecialFolder specialFolder_ = sfNone;
    bool reopen_ = true;
};
