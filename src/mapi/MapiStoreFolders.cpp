// The well-known folders of a mounted store and the walk of its folder tree.
#include "app/cLogger.h"
#include "mapi/MapiSession.h"
#include "platform/win/WinString.h"

HRESULT MapiSession::GetCommonEids() {
    QUILLORA_TRACE(u"MapiSession::GetCommonEids");
    for (int i = 1; i < 10; ++i) commonEids[i].clear();
    if (!mapi_msgstore) return 0;
    std::vector<BYTE> inbox;
    if (mapi_msgstore->GetReceiveFolder("IPM.Note", 0, &inbox, nullptr) == S_OK)
        commonEids[1].set(static_cast<ULONG>(inbox.size()), inbox.data());

    SPropTagArray tags{PR_VALID_FOLDER_MASK, PR_IPM_OUTBOX_ENTRYID, PR_IPM_SENTMAIL_ENTRYID, PR_IPM_WASTEBASKET_ENTRYID};
    ULONG count = 0;
    SPropValueArray values;
    HRESULT hr = mapi_msgstore->GetProps(&tags, 0, &count, &values);
    if ((hr == S_OK || hr == MAPI_W_ERRORS_RETURNED) && values.size() == 4) {
        const ULONG mask = values[0].ulPropTag == PR_VALID_FOLDER_MASK ? static_cast<ULONG>(values[0].Value.l) : 0;
        if (values[1].ulPropTag == PR_IPM_OUTBOX_ENTRYID && (mask & FOLDER_IPM_OUTBOX_VALID)) commonEids[2] = values[1];
        if (values[2].ulPropTag == PR_IPM_SENTMAIL_ENTRYID && (mask & FOLDER_IPM_SENTMAIL_VALID)) commonEids[3] = values[2];
        if (values[3].ulPropTag == PR_IPM_WASTEBASKET_ENTRYID && (mask & FOLDER_IPM_WASTEBASKET_VALID))
            commonEids[4] = values[3];
    }
    if (commonEids[1].empty()) return 0;

    ULONG type = 0;
    IUnknown* object = nullptr;
    hr = mapi_msgstore->OpenEntry(commonEids[1].cb, commonEids[1].ab.data(), nullptr, 0, &type, &object);
    if (hr != S_OK) {
        LogPrintf(u"FAILED: IMsgStore::OpenEntry(Inbox) 0x%08X", static_cast<unsigned>(hr));
        return hr;
    }
    ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(object);
    if (type != MAPI_FOLDER) return -1;
    IMAPIFolder* inboxFolder = static_cast<IMAPIFolder*>(object);
    SPropTagArray special{PR_IPM_APPOINTMENT_ENTRYID, PR_IPM_CONTACT_ENTRYID, PR_IPM_JOURNAL_ENTRYID, PR_IPM_NOTE_ENTRYID,
                          PR_IPM_TASK_ENTRYID};
    hr = inboxFolder->GetProps(&special, 0, &count, &values);
    if (hr == S_OK || hr == MAPI_W_ERRORS_RETURNED)
        for (std::size_t i = 0; i < 5 && i < values.size(); ++i)
            if (values[i].type() != PT_ERROR) commonEids[5 + i] = values[i];
    return 0;
}

int MapiSession::GetFolderType(const mapi_TEntryid& eid, IMAPIFolder* folder) {
    for (int k = 1; k <= 9; ++k)
        if (eid.equals(mapi_session.get(), commonEids[k])) return k - 1;
    SPropValuePtr value;
    if (MapiLibs::HrGetOneProp(folder, PR_CONTAINER_CLASS_A, &value) != S_OK) return 11;
    AnsiString cls = GetPropValA(value.get());
    if (cls.size() > 3 && cls.compare(0, 2, "IP") == 0) cls[2] = '.';
    auto starts = [&cls](const char* prefix, std::size_t n) { return cls.compare(0, n, prefix, n) == 0 && cls.size() >= n; };
    if (starts("IP..Note", 8) || cls == "IP..Imap") return 10;
    if (starts("IP..Appointment", 15)) return 4;
    if (starts("IP..Contact", 11)) return 5;
    if (starts("IP..Journal", 11)) return 6;
    if (starts("IP..StickyNote", 14)) return 7;
    if (starts("IP..Task", 8)) return 8;
    if (starts("IP..", 4)) return 9;
    return 11;
}

HRESULT MapiSession::EnumFolders(IMAPIFolder* parent, int depth, AnsiString prefix, std::vector<mapi_TFolderInfo>& list) {
    QUILLORA_TRACE(u"MapiSession::EnumFolders");
    if (!Ready()) return -1;
    if (!parent) return 0;
    IUnknown* object = nullptr;
    HRESULT hr = parent->OpenProperty(PR_CONTAINER_HIERARCHY, &IID_IMAPITable, 0, 0, &object);
    if (hr != S_OK) {
        // The store's own text says what is damaged there.
        std::unique_ptr<MAPIERROR> error;
        const bool told = parent->GetLastError(hr, 0, &error) == S_OK && error;
        LogPrintf(u"FAILED: OpenProperty(PR_CONTAINER_HIERARCHY) 0x%08X %hs", static_cast<unsigned>(hr),
                  told ? error->lpszError.c_str() : "");
        return hr;
    }
    ComPtr<IMAPITable> table = ComPtr<IMAPITable>::Adopt(static_cast<IMAPITable*>(object));
    SPropTagArray cols{PR_ENTRYID, PR_DISPLAY_NAME_W, PR_SUBFOLDERS};
    SRowSetPtr rows;
    hr = libs->HrQueryAllRows(table.get(), &cols, nullptr, nullptr, 0, &rows);
    table.reset();
    if (hr != S_OK) {
        LogPrintf(u"FAILED: HrQueryAllRows(hierarchy) 0x%08X", static_cast<unsigned>(hr));
        return hr;
    }
    for (const SRow& row : rows->aRow) {
        if (row.lpProps.size() < 3) continue;
        // Only a real answer counts: an error value says nothing about subfolders.
        const bool hasSubfolders = row.lpProps[2].type() == PT_BOOLEAN && row.lpProps[2].Value.b != 0;
        // Names are read wide, so that no character is lost on the way.
        const AnsiString name = Utf16ToUtf8(GetPropValW(&row.lpProps[1]));
        if (row.lpProps[0].type() != PT_BINARY) continue;
        ULONG type = 0;
        IUnknown* sub = nullptr;
        if (parent->OpenEntry(row.lpProps[0].Value.bin.cb, row.lpProps[0].Value.bin.lpb, nullptr, 0, &type, &sub) != S_OK) {
            LogPrintf(u"FAILED: IMAPIContainer::OpenEntry(%hs)", name.c_str());
            continue;
        }
        ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(sub);
        if (type != MAPI_FOLDER) continue;
        IMAPIFolder* folder = static_cast<IMAPIFolder*>(sub);
        SPropValuePtr eidValue;
        if (MapiLibs::HrGetOneProp(folder, PR_ENTRYID, &eidValue) != S_OK) {
            LogPrintf(u"FAILED: HrGetOneProp(PR_ENTRYID) of %hs", name.c_str());
            continue;
        }
        mapi_TFolderInfo info;
        info.depth = depth;
        info.name = name;
        info.path = prefix + name;
        info.eid = *eidValue;
        info.type = GetFolderType(info.eid, folder);
        const bool kept = info.type == 0 || info.type == 2 || info.type == 10 || info.type == 11;
        if (kept) list.push_back(info);
        if (kept && hasSubfolders) EnumFolders(folder, depth + 1, prefix + name + "\\", list);
    }
    return 0;
}
