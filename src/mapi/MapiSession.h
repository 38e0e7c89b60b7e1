// MapiSession: one mounted ".pst" file. Each session creates its own temporary profile with a
// personal-folders service configured with the file's path, logs on to it, opens the store,
// collects the well-known folder ids and walks the folders into a flat list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mapi/MapiEntryid.h"
#include "mapi/MapiLibs.h"
#include "platform/mapi/MapiFolder.h"

// One folder of a store: depth below the IPM subtree, name, path of names joined by "\",
// folder type code 0 to 11, and its entry id.
struct mapi_TFolderInfo {
    int depth = 0;
    AnsiString name;
    AnsiString path;
    int type = 11;
    mapi_TEntryid eid;
};

// Shows an error box for a session opened with a window (owner, caption, text).
using MapiErrorBoxSink = std::function<void(ULONG_PTR owner, const WideString& caption, const WideString& text)>;
// Sets where error boxes go; the default writes them to the trace log and standard error.
void SetMapiErrorBoxSink(MapiErrorBoxSink sink);

class MapiSession {
public:
    MapiSession() = default;
    virtual ~MapiSession();
    MapiSession(const MapiSession&) = delete;
    MapiSession& operator=(const MapiSession&) = delete;

    bool opened = false;
    mapi_TEntryid commonEids[10];
    bool loggedOn = false;
    ULONG_PTR hwnd = 0;
    MapiLibs* libs = nullptr;
    std::vector<mapi_TFolderInfo> folders;
    ComPtr<IProfAdmin> iprofadmin;
    ComPtr<IMsgServiceAdmin> imsadmin;
    MAPIUID msgSvcUID;
    ComPtr<IMAPISession> mapi_session;
    ComPtr<IMsgStore> mapi_msgstore;

    // Mounts the file; the result code, with `opened` telling whether it worked.
    HRESULT Open(const WideString& path, MapiLibs* libs, ULONG_PTR hwnd);
    void Close();
    template <class T>
    void SafeRelease(ComPtr<T>& slot) {
        if (Ready() && slot) slot.reset();
    }

    HRESULT OpenPstFolders(const WideString& path);
    HRESULT CreateProfile(const AnsiString& name);
    HRESULT DeleteProfile(const AnsiString& name);
    HRESULT CreateMsgService();
    HRESULT ConfigureMsgService(AnsiString& serviceName, const WideString& path);
    HRESULT OpenRootFolder(const AnsiString& profileName, const AnsiString& serviceName);

    const std::vector<mapi_TFolderInfo>* GetFolders() const { return &folders; }
    IMsgStore* GetStore() const { return mapi_msgstore.get(); }
    HRESULT GetCommonEids();
    int GetFolderType(const mapi_TEntryid& eid, IMAPIFolder* folder);
    HRESULT EnumFolders(IMAPIFolder* parent, int depth, AnsiString prefix, std::vector<mapi_TFolderInfo>& list);

    // Property values as text (the value may be null).
    static AnsiString GetPropValA(const SPropValue* value);
    static WideString GetPropValW(const SPropValue* value);
    // Any string value as wide text; 8-bit text is decoded with codePage, or with
    // fallbackCodePage (the store's ANSI code page) when codePage is 0.
    static WideString GetPropValAsString(const SPropValue* value, ULONG codePage, ULONG fallbackCodePage = 1252);

    // The profile this session mounts its store on (unique to the session).
    const AnsiString& ProfileName() const { return profileName_; }

private:
    bool Ready() const { return libs && libs->isReady; }

    AnsiString profileName_;
};
