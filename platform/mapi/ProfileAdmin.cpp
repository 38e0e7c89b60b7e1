#include "platform/mapi/ProfileAdmin.h"

#include <atomic>
#include <cstring>

#include "platform/mapi/ProfileStore.h"
#include "platform/win/WinString.h"

namespace {

MAPIUID NewServiceUid() {
    static std::atomic<ULONG> counter{0};
    const ULONG n = ++counter;
    MAPIUID uid = {{0x51, 0x50, 0x53, 0x56, 0x43, 0x00, 0x00, 0x00}};  // "QPSVC" + a serial number
    for (int i = 0; i < 4; ++i) uid.ab[12 + i] = static_cast<BYTE>(n >> (8 * i));
    return uid;
}

bool IsPstService(const char* name) {
    return name && (std::strcmp(name, "MSPST MS") == 0 || std::strcmp(name, "MSUPST MS") == 0);
}

class MsgServiceAdmin final : public ComObject<IMsgServiceAdmin> {
public:
    explicit MsgServiceAdmin(std::shared_ptr<MapiProfile> profile) : profile_(std::move(profile)) {}

    HRESULT GetLastError(HRESULT hr, ULONG, std::unique_ptr<MAPIERROR>* error) override {
        if (!error) return MAPI_E_INVALID_PARAMETER;
        error->reset();
        if (lastError_ == S_OK || hr != lastError_) return MAPI_E_NOT_FOUND;
        *error = std::make_unique<MAPIERROR>(lastErrorInfo_);
        return S_OK;
    }

    HRESULT CreateMsgService(const char* service, const char* displayName, ULONG_PTR, ULONG flags) override {
        if (flags & ~(SERVICE_UI_ALLOWED | MAPI_UNICODE)) return MAPI_E_UNKNOWN_FLAGS;
        if (flags & MAPI_UNICODE) return MAPI_E_BAD_CHARWIDTH;  // 8-bit names only, as the callers pass them
        if (!IsPstService(service)) return MAPI_E_NOT_FOUND;
        PstServiceEntry entry;
        entry.uid = NewServiceUid();
        entry.serviceName = service;
        entry.displayName = displayName && *displayName ? displayName : "Personal Folders";
        std::lock_guard lock(ProfileStore::Get().Lock());
        profile_->services.push_back(std::move(entry));
        return S_OK;
    }

    HRESULT DeleteMsgService(const MAPIUID* uid) override {
        if (!uid) return MAPI_E_INVALID_PARAMETER;
        std::lock_guard lock(ProfileStore::Get().Lock());
        const auto removed = std::erase_if(profile_->services, [&](const PstServiceEntry& s) { return s.uid == *uid; });
        return removed ? S_OK : MAPI_E_NOT_FOUND;
    }

    HRESULT GetMsgServiceTable(ULONG, IMAPITable** table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        std::vector<std::vector<SPropValue>> rows;
        {
            std::lock_guard lock(ProfileStore::Get().Lock());
            for (const PstServiceEntry& s : profile_->services)
                rows.push_back({SPropValue::Binary(PR_SERVICE_UID, s.uid.ab, 16),
                                SPropValue::String8(PR_DISPLAY_NAME_A, s.displayName),
                                SPropValue::String8(PR_SERVICE_NAME_A, s.serviceName)});
        }
        *table = new MemTable(std::make_unique<FixedRowSource>(std::move(rows)),
                              {PR_SERVICE_UID, PR_DISPLAY_NAME_A, PR_SERVICE_NAME_A});
        return S_OK;
    }

    HRESULT ConfigureMsgService(const MAPIUID* uid, ULONG_PTR, ULONG flags, const SPropValueArray& props) override {
        if (!uid) return MAPI_E_INVALID_PARAMETER;
        if (flags & ~(SERVICE_UI_ALLOWED | MAPI_UNICODE | 0x8 /* SERVICE_NO_PRIMARY_IDENTITY */))
            return MAPI_E_UNKNOWN_FLAGS;
        std::string path;
        bool havePath = false;
        for (const SPropValue& v : props) {
            if (v.id() != PROP_ID(PR_PST_PATH_W)) continue;
            if (v.type() == PT_UNICODE && v.Value.lpszW) path = Utf16ToUtf8(v.Value.lpszW), havePath = true;
            if (v.type() == PT_STRING8 && v.Value.lpszA) path = v.Value.lpszA, havePath = true;
        }
        {
            std::lock_guard lock(ProfileStore::Get().Lock());
            if (!FindService(*uid)) return MAPI_E_NOT_FOUND;
        }
        if (!havePath || path.empty()) return Fail(MAPI_E_UNCONFIGURED, "no personal folders file was given", 0);

        HRESULT hr = S_OK;
        std::string text;
        std::shared_ptr<PstFile> file = PstFile::Open(path, hr, text);
        if (!file) return Fail(hr, text, 0);

        std::string display;
        PstItem store = file->MessageStore();
        SPropValue name;
        if (store.ReadProp(PROP_ID(PR_DISPLAY_NAME_W), file->CodePage(), name)) display = Utf16ToUtf8(PropValueText(name));

        std::lock_guard lock(ProfileStore::Get().Lock());
        PstServiceEntry* s = FindService(*uid);
        if (!s) return MAPI_E_NOT_FOUND;
        s->path = path;
        s->file = std::move(file);
        if (!display.empty()) s->displayName = display;
        return S_OK;
    }

private:
    PstServiceEntry* FindService(const MAPIUID& uid) {
        for (PstServiceEntry& s : profile_->services)
            if (s.uid == uid) return &s;
        return nullptr;
    }

    HRESULT Fail(HRESULT hr, const std::string& text, ULONG lowLevel) {
        lastError_ = hr;
        lastErrorInfo_ = MAPIERROR{};
        lastErrorInfo_.lpszError = text;
        lastErrorInfo_.lpszComponent = "Personal Folders";
        lastErrorInfo_.ulLowLevelError = lowLevel;
        return hr;
    }

    std::shared_ptr<MapiProfile> profile_;
    HRESULT lastError_ = S_OK;
    MAPIERROR lastErrorInfo_;
};

class ProfAdmin final : public ComObject<IProfAdmin> {
public:
    HRESULT GetLastError(HRESULT, ULONG, std::unique_ptr<MAPIERROR>* error) override {
        if (error) error->reset();
        return MAPI_E_NOT_FOUND;
    }

    HRESULT CreateProfile(const char* name, const char*, ULONG_PTR, ULONG flags) override {
        if (!name || !*name) return MAPI_E_INVALID_PARAMETER;
        if (flags & ~(0x1u /* MAPI_DIALOG */ | MAPI_DEFERRED_ERRORS)) return MAPI_E_UNKNOWN_FLAGS;
        return ProfileStore::Get().Create(name) ? S_OK : MAPI_E_NO_ACCESS;
    }

    HRESULT DeleteProfile(const char* name, ULONG) override {
        if (!name) return MAPI_E_INVALID_PARAMETER;
        return ProfileStore::Get().Remove(name) ? S_OK : MAPI_E_NOT_FOUND;
    }

    HRESULT AdminServices(const char* name, const char*, ULONG_PTR, ULONG, IMsgServiceAdmin** admin) override {
        if (!admin) return MAPI_E_INVALID_PARAMETER;
        *admin = nullptr;
        if (!name) return MAPI_E_INVALID_PARAMETER;
        std::shared_ptr<MapiProfile> profile = ProfileStore::Get().Find(name);
        if (!profile) return MAPI_E_NOT_FOUND;
        *admin = new MsgServiceAdmin(std::move(profile));
        return S_OK;
    }

    HRESULT GetProfileTable(ULONG, IMAPITable** table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        std::vector<std::vector<SPropValue>> rows;
        for (const std::string& n : ProfileStore::Get().Names()) rows.push_back({SPropValue::String8(PR_DISPLAY_NAME_A, n)});
        *table = new MemTable(std::make_unique<FixedRowSource>(std::move(rows)), {PR_DISPLAY_NAME_A});
        return S_OK;
    }
};

}  // namespace

ProfileStore& ProfileStore::Get() {
    static ProfileStore store;
    return store;
}

std::shared_ptr<MapiProfile> ProfileStore::Find(const std::string& name) {
    std::lock_guard lock(mutex_);
    const auto it = profiles_.find(name);
    return it == profiles_.end() ? nullptr : it->second;
}

bool ProfileStore::Create(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (profiles_.count(name)) return false;
    auto p = std::make_shared<MapiProfile>();
    p->name = name;
    profiles_.emplace(name, std::move(p));
    return true;
}

bool ProfileStore::Remove(const std::string& name) {
    std::lock_guard lock(mutex_);
    return profiles_.erase(name) > 0;
}

std::vector<std::string> ProfileStore::Names() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const auto& [n, p] : profiles_) names.push_back(n);
    return names;
}

HRESULT MAPIAdminProfiles(ULONG flags, IProfAdmin** admin) {
    if (!admin) return MAPI_E_INVALID_PARAMETER;
    *admin = nullptr;
    if (!MapiInitialized()) return MAPI_E_NOT_INITIALIZED;
    if (flags & ~MAPI_UNICODE) return MAPI_E_UNKNOWN_FLAGS;
    *admin = new ProfAdmin();
    return S_OK;
}
