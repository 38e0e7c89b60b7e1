#include "mapi/MapiSession.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "app/UiStrings.h"
#include "app/cLogger.h"
#include "platform/win/StringResources.h"
#include "platform/win/WinString.h"

namespace {

constexpr const char* kProfileBase = "Temp_Pst";
constexpr const char* kServiceName = "MSPST MS";
constexpr const char* kServiceDisplay = "Message Store";

MapiErrorBoxSink& BoxSink() {
    static MapiErrorBoxSink sink = [](ULONG_PTR, const WideString& caption, const WideString& text) {
        LogPrintf(u"%s: %s", caption.c_str(), text.c_str());
        std::fprintf(stderr, "%s: %s\n", Utf16ToUtf8(caption).c_str(), Utf16ToUtf8(text).c_str());
    };
    return sink;
}

WideString ErrorText(UINT id) {
    RegisterUiStrings();
    return LoadResString(id);
}

// Logs a failed step and gives back its code.
HRESULT Failed(const char16_t* step, HRESULT hr) {
    LogPrintf(u"FAILED: %s 0x%08X", step, static_cast<unsigned>(hr));
    return hr;
}

}  // namespace

void SetMapiErrorBoxSink(MapiErrorBoxSink sink) { BoxSink() = std::move(sink); }

MapiSession::~MapiSession() { Close(); }

HRESULT MapiSession::Open(const WideString& path, MapiLibs* libsIn, ULONG_PTR window) {
    QUILLORA_TRACE(u"MapiSession::Open");
    libs = libsIn;
    if (!Ready()) return Failed(u"MapiSession::Open: MAPI not loaded", -1);
    hwnd = window;
    return OpenPstFolders(path);
}

HRESULT MapiSession::OpenPstFolders(const WideString& path) {
    QUILLORA_TRACE(u"MapiSession::OpenPstFolders");
    if (!Ready()) return -1;
    if (opened) return 0;
    // Every session mounts its store on a profile of its own, so two open stores never
    // reconfigure or delete each other's profile.
    static std::atomic<unsigned> serial{0};
    profileName_ = AnsiString(kProfileBase) + "_" + std::to_string(++serial);

    HRESULT hr = libs->MAPIAdminProfiles(0, iprofadmin.put());
    if (FAILED(hr)) {
        Close();
        return Failed(u"MAPIAdminProfiles", hr);
    }
    hr = CreateProfile(profileName_);
    const bool existing = hr == MAPI_E_NO_ACCESS;
    if (FAILED(hr) && !existing) {
        SafeRelease(iprofadmin);
        Close();
        return Failed(u"IProfAdmin::CreateProfile", hr);
    }
    hr = iprofadmin->AdminServices(profileName_.c_str(), nullptr, hwnd, 0, imsadmin.put());
    if (FAILED(hr)) {
        SafeRelease(iprofadmin);
        Close();
        return Failed(u"IProfAdmin::AdminServices", hr);
    }
    if (!existing) {
        hr = CreateMsgService();
        if (FAILED(hr)) {
            Close();
            return Failed(u"CreateMsgService", hr);
        }
    }
    AnsiString serviceName;
    hr = ConfigureMsgService(serviceName, path);
    if (FAILED(hr)) {
        Close();
        return Failed(u"ConfigureMsgService", hr);
    }
    hr = OpenRootFolder(profileName_, serviceName);
    if (FAILED(hr)) {
        Close();
        return Failed(u"OpenRootFolder", hr);
    }
    opened = true;
    return hr;
}

HRESULT MapiSession::CreateProfile(const AnsiString& name) {
    if (!iprofadmin) return -1;
    return iprofadmin->CreateProfile(name.c_str(), nullptr, hwnd, 0);
}

HRESULT MapiSession::DeleteProfile(const AnsiString& name) {
    if (!iprofadmin) return -1;
    return iprofadmin->DeleteProfile(name.c_str(), 0);
}

HRESULT MapiSession::CreateMsgService() {
    if (!imsadmin) return -1;
    HRESULT hr = imsadmin->CreateMsgService(kServiceName, kServiceDisplay, hwnd, SERVICE_UI_ALLOWED);
    if (hr == MAPI_E_UNKNOWN_FLAGS) hr = imsadmin->CreateMsgService(kServiceName, kServiceDisplay, 0, 0);
    return FAILED(hr) ? hr : 0;
}

HRESULT MapiSession::ConfigureMsgService(AnsiString& serviceName, const WideString& path) {
    QUILLORA_TRACE(u"MapiSession::ConfigureMsgService");
    if (!imsadmin) return -1;
    // The first service of the profile: its id, then (after configuring) its display name.
    auto firstService = [this](SRowSetPtr& rows) -> HRESULT {
        ComPtr<IMAPITable> table;
        HRESULT hr = imsadmin->GetMsgServiceTable(0, table.put());
        if (hr != S_OK) return hr;
        SPropTagArray cols{PR_SERVICE_UID, PR_DISPLAY_NAME_A};
        table->SetColumns(&cols, 0);
        return table->QueryRows(1, 0, &rows);
    };
    SRowSetPtr rows;
    HRESULT hr = firstService(rows);
    if (hr != S_OK) return Failed(u"IMsgServiceAdmin::GetMsgServiceTable", hr);
    if (!rows || rows->cRows() == 0 || rows->aRow[0].lpProps.empty()) {
        LogPrintf(u"No rows received");
        return -1;
    }
    const SPropValue& uid = rows->aRow[0].lpProps[0];
    if (uid.type() != PT_BINARY || uid.Value.bin.cb != sizeof msgSvcUID.ab) return Failed(u"service id", -1);
    std::memcpy(msgSvcUID.ab, uid.Value.bin.lpb, sizeof msgSvcUID.ab);
    libs->FreeProws(rows);

    hr = imsadmin->ConfigureMsgService(&msgSvcUID, hwnd, SERVICE_UI_ALLOWED, {SPropValue::Unicode(PR_PST_PATH_W, path)});
    if (hr != S_OK) {
        LogPrintf(u"FAILED: IMsgServiceAdmin::ConfigureMsgService 0x%08X", static_cast<unsigned>(hr));
        if (hwnd != 0) {
            WideString text;
            switch (hr) {
            case MAPI_E_NOT_ENOUGH_DISK: text = ErrorText(1135); break;
            case MAPI_E_DISK_ERROR: text = ErrorText(1136); break;
            case MAPI_E_NOT_ENOUGH_RESOURCES: text = ErrorText(1137); break;
            case MAPI_E_NO_ACCESS: text = ErrorText(1138); break;
            default: {
                std::unique_ptr<MAPIERROR> error;
                if (imsadmin->GetLastError(hr, 0, &error) == S_OK && error) {
                    char code[16];
                    std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(hr));
                    text = u"MAPI Error " + Utf8ToUtf16(code) + u": " + Utf8ToUtf16(error->lpszError);
                    if (hr == MAPI_E_EXTENDED_ERROR)
                        text += u"\nInstalling newer version of Microsoft Office Outlook may solve this problem.";
                }
            }
            }
            if (!text.empty()) BoxSink()(hwnd, ErrorText(1007), text);
        }
        return hr;
    }
    hr = firstService(rows);
    serviceName.clear();
    if (hr == S_OK && rows && rows->cRows() > 0 && rows->aRow[0].lpProps.size() > 1 &&
        rows->aRow[0].lpProps[1].ulPropTag == PR_DISPLAY_NAME_A)
        serviceName = GetPropValA(&rows->aRow[0].lpProps[1]);
    libs->FreeProws(rows);
    return 0;
}

HRESULT MapiSession::OpenRootFolder(const AnsiString& profileName, const AnsiString& serviceName) {
    QUILLORA_TRACE(u"MapiSession::OpenRootFolder");
    if (!Ready()) return -1;
    mapi_session.reset();
    HRESULT hr = libs->MAPILogonEx(hwnd, profileName.c_str(), nullptr, MAPI_NO_MAIL | MAPI_EXTENDED | MAPI_NEW_SESSION,
                                   mapi_session.put());
    if (hr != S_OK) return Failed(u"MAPILogonEx", hr);
    loggedOn = true;

    ComPtr<IMAPITable> stores;
    hr = mapi_session->GetMsgStoresTable(0, stores.put());
    if (hr != S_OK) {
        Close();
        return Failed(u"IMAPISession::GetMsgStoresTable", hr);
    }
    SPropTagArray cols{PR_ENTRYID, PR_DISPLAY_NAME_A};
    SRowSetPtr rows;
    hr = libs->HrQueryAllRows(stores.get(), &cols, nullptr, nullptr, 0, &rows);
    if (hr != S_OK) {
        Close();
        return Failed(u"HrQueryAllRows(stores)", hr);
    }
    for (const SRow& row : rows->aRow) {
        if (mapi_msgstore) break;
        mapi_TEntryid eid;
        if (!row.lpProps.empty() && row.lpProps[0].ulPropTag == PR_ENTRYID) eid = row.lpProps[0];
        const AnsiString name =
            row.lpProps.size() > 1 && row.lpProps[1].ulPropTag == PR_DISPLAY_NAME_A ? GetPropValA(&row.lpProps[1]) : "";
        if (name != serviceName || eid.empty()) continue;
        hr = mapi_session->OpenMsgStore(hwnd, eid.cb, eid.ab.data(), nullptr, MDB_WRITE | MDB_NO_MAIL, mapi_msgstore.put());
        if (FAILED(hr)) Failed(u"IMAPISession::OpenMsgStore", hr);
        break;
    }
    libs->FreeProws(rows);
    stores.reset();
    if (!mapi_msgstore) {
        // No store of the service's name: a failure, never a mounted store without folders.
        Close();
        return Failed(u"no store of the configured service", MAPI_E_NOT_FOUND);
    }

    SPropValuePtr subtree;
    hr = libs->HrGetOneProp(mapi_msgstore.get(), PR_IPM_SUBTREE_ENTRYID, &subtree);
    if (hr != S_OK) return Failed(u"HrGetOneProp(PR_IPM_SUBTREE_ENTRYID)", hr);
    commonEids[0] = *subtree;
    ULONG type = 0;
    IUnknown* object = nullptr;
    hr = mapi_msgstore->OpenEntry(commonEids[0].cb, commonEids[0].ab.data(), nullptr, 0, &type, &object);
    if (hr != S_OK) return Failed(u"IMsgStore::OpenEntry(IPM subtree)", hr);
    ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(object);
    if (type != MAPI_FOLDER) return Failed(u"IPM subtree is not a folder", MAPI_E_INVALID_OBJECT);
    GetCommonEids();
    EnumFolders(static_cast<IMAPIFolder*>(object), 0, "", folders);
    return 0;
}

void MapiSession::Close() {
    QUILLORA_TRACE(u"MapiSession::Close");
    folders.clear();
    if (!Ready()) return;
    SafeRelease(mapi_msgstore);
    if (mapi_session && loggedOn) mapi_session->Logoff(0, 0, 0);
    SafeRelease(mapi_session);
    loggedOn = false;
    opened = false;
    if (!profileName_.empty()) DeleteProfile(profileName_);
    SafeRelease(imsadmin);
    SafeRelease(iprofadmin);
}
