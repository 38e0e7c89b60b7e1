// The MAPI library loader over fake providers and a private registry, its utilities over
// fake tables, and the discovery of mail clients.
#include <stdexcept>

#include "mapi/MapiLibs.h"
#include "mapi/MapiRegistration.h"
#include "platform/win/Registry.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

int initCalls = 0, uninitCalls = 0;
HRESULT FakeInitOk(void*) { return ++initCalls, S_OK; }
HRESULT FakeInitWarning(void*) { return ++initCalls, MAPI_W_ERRORS_RETURNED; }
HRESULT FakeInitThrows(void*) {
    ++initCalls;
    throw std::runtime_error("provider failed");
}
void FakeUninit() { ++uninitCalls; }
void FakeAny() {}

std::vector<MapiProviderExport> Exports(LPMAPIINITIALIZE init, bool withOrdinal147 = true) {
    auto any = &FakeAny;
    std::vector<MapiProviderExport> e = {
        {"MAPIInitialize", 0, reinterpret_cast<MapiProc>(init)},
        {"MAPIUninitialize", 0, reinterpret_cast<MapiProc>(&FakeUninit)},
        {"MAPIAdminProfiles", 0, any}, {"MAPILogonEx", 0, any}, {"MAPIAllocateBuffer", 0, any},
        {"MAPIAllocateMore", 0, any}, {"MAPIFreeBuffer", 0, any}, {nullptr, 59, any}, {nullptr, 184, any},
        {nullptr, 185, any}, {nullptr, 196, any}, {nullptr, 197, any}, {nullptr, 198, any}};
    if (withOrdinal147) e.push_back({nullptr, 147, any});
    return e;
}

class Loader : public ::testing::Test {
protected:
    void SetUp() override {
        initCalls = uninitCalls = 0;
        RegisterMapiProvider("good.dll", Exports(&FakeInitOk));
        RegisterMapiProvider("no147.dll", Exports(&FakeInitOk, false));
        RegisterMapiProvider("warns.dll", Exports(&FakeInitWarning));
        RegisterMapiProvider("throws.dll", Exports(&FakeInitThrows));
    }
    void TearDown() override {
        for (const char* n : {"good.dll", "no147.dll", "warns.dll", "throws.dll"}) UnregisterMapiProvider(n);
    }
    testsupport::ScopedRegistry registry_;
};

void ExpectAllNull(const MapiLibs& l) {
    EXPECT_EQ(l.hMapiLib, nullptr);
    EXPECT_EQ(l.pMAPIInitialize, nullptr);
    EXPECT_EQ(l.pOrdinal147, nullptr);
    EXPECT_EQ(l.pOpenIMsgOnIStg, nullptr);
}

TEST_F(Loader, OpenLoadsOnlyTheEntryAskedFor) {
    struct Case {
        const char* what;
        std::vector<const char*> dlls;
        std::size_t index;
        bool ready;
        int inits;
    } cases[] = {
        {"good", {"good.dll"}, 0, true, 1},
        {"index past the end", {"good.dll"}, 1, false, 0},
        {"entry 0 unloadable, entry 1 fine", {"C:\\missing\\nothing.dll", "good.dll"}, 0, false, 0},
        {"no ordinal 147", {"no147.dll"}, 0, false, 0},
        {"init warning", {"warns.dll"}, 0, false, 1},
        {"init throws", {"throws.dll"}, 0, false, 1},
    };
    for (const Case& c : cases) {
        initCalls = 0;
        MapiLibs l;
        for (const char* d : c.dlls) l.libraries.push_back({"client", d, true});
        EXPECT_EQ(l.Open(c.index), c.ready) << c.what;
        EXPECT_EQ(l.isReady, c.ready) << c.what;
        EXPECT_EQ(initCalls, c.inits) << c.what;
        if (!c.ready) ExpectAllNull(l);
        EXPECT_EQ(l.GetCount(), c.dlls.size()) << c.what;  // a failure keeps the list
    }
}

TEST_F(Loader, ReadyLoaderIgnoresTheIndexAndCloseAnswersAsUnloaded) {
    MapiLibs l;
    l.libraries.push_back({"client", "good.dll", true});
    ASSERT_TRUE(l.Open(0));
    EXPECT_TRUE(l.Open(57));
    EXPECT_EQ(initCalls, 1);
    l.Close();
    EXPECT_EQ(uninitCalls, 1);
    EXPECT_FALSE(l.isReady);
    ExpectAllNull(l);
    EXPECT_EQ(l.GetName(0), "good.dll");
    ComPtr<IProfAdmin> admin;
    EXPECT_EQ(l.MAPIAdminProfiles(0, admin.put()), MAPI_E_NOT_INITIALIZED);
    ComPtr<IMAPISession> session;
    EXPECT_EQ(l.MAPILogonEx(0, "x", nullptr, 0, session.put()), MAPI_E_NOT_INITIALIZED);
    EXPECT_EQ(l.MAPIInitialize(nullptr), MAPI_E_NOT_INITIALIZED);
    EXPECT_EQ(l.MAPIFreeBuffer(nullptr), MAPI_E_NOT_INITIALIZED);
    EXPECT_EQ(l.MAPIGetDefaultMalloc(), nullptr);
    EXPECT_EQ(l.WrapCompressedRTFStream(nullptr, 0, nullptr), -1);
    EXPECT_EQ(l.RTFSync(nullptr, 0, nullptr), -1);
    EXPECT_EQ(l.OpenIMsgSession(nullptr, 0, nullptr), -1);
    EXPECT_EQ(l.OpenIMsgOnIStg(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr), -1);
    l.MAPIUninitialize();
    l.CloseIMsgSession(nullptr);
    EXPECT_EQ(uninitCalls, 1);
}

TEST_F(Loader, DiscoveryRunsOnlyWhileTheListIsEmpty) {
    MapiLibs l;
    EXPECT_FALSE(l.Open(0));  // an empty registry: no registration, no library
    EXPECT_EQ(l.GetCount(), 0u);
    ASSERT_EQ(EnsureMapiRegistration(), ERROR_SUCCESS);
    ASSERT_TRUE(l.Open(0));  // the list was still empty: discovery ran again
    ASSERT_EQ(l.GetCount(), 1u);
    EXPECT_EQ(l.libraries[0].clientName, "Default");
    EXPECT_EQ(l.GetName(0), "mapi32.dll");
    l.Close();
    l.libraries[0].dllPath = "good.dll";
    ASSERT_TRUE(l.Open(0));  // a listed loader does not read the registry again
    EXPECT_EQ(initCalls, 1);
}

TEST(MapiLibsUtilities, HrGetOnePropCodes) {
    EXPECT_EQ(MapiLibs::HrGetOneProp(nullptr, PR_ENTRYID, nullptr), E_POINTER);
    SRowSetPtr rows;
    MapiLibs::FreeProws(rows);  // null: nothing happens
    rows = std::make_unique<SRowSet>();
    MapiLibs::FreeProws(rows);
    EXPECT_EQ(rows, nullptr);
}

// A table that answers MAPI_E_BUSY a number of times, then rows.
class BusyTable : public ComObject<IMAPITable> {
public:
    BusyTable(int busyAnswers, HRESULT waitAnswer) : busy_(busyAnswers), wait_(waitAnswer) {}
    int queries = 0, waits = 0;
    LONG askedRows = 0;
    ULONG askedFlags = 0;
    HRESULT GetLastError(HRESULT, ULONG, std::unique_ptr<MAPIERROR>*) override { return MAPI_E_NOT_FOUND; }
    HRESULT SetColumns(const SPropTagArray*, ULONG) override { return S_OK; }
    HRESULT QueryColumns(ULONG, SPropTagArray*) override { return S_OK; }
    HRESULT GetRowCount(ULONG, ULONG*) override { return S_OK; }
    HRESULT SeekRow(BOOKMARK, LONG, LONG*) override { return S_OK; }
    HRESULT QueryPosition(ULONG*, ULONG*, ULONG*) override { return S_OK; }
    HRESULT Restrict(const SRestriction*, ULONG) override { return S_OK; }
    HRESULT SortTable(const SSortOrderSet*, ULONG) override { return S_OK; }
    HRESULT QueryRows(LONG count, ULONG flags, SRowSetPtr* rows) override {
        ++queries;
        askedRows = count;
        askedFlags = flags;
        if (busy_ < 0 || busy_-- > 0) return MAPI_E_BUSY;
        *rows = std::make_unique<SRowSet>();
        (*rows)->aRow.resize(3);
        return S_OK;
    }
    HRESULT WaitForCompletion(ULONG, ULONG, ULONG*) override { return ++waits, wait_; }
    HRESULT FindRow(const SRestriction*, BOOKMARK, ULONG) override { return MAPI_E_NOT_FOUND; }

private:
    int busy_;
    HRESULT wait_;
};

TEST(MapiLibsUtilities, HrQueryAllRowsWaitsForBusyTablesWithinBounds) {
    struct Case {
        const char* what;
        int busy;
        HRESULT wait;
        HRESULT hr;
        int waits;
    } cases[] = {
        {"answers at once", 0, S_OK, S_OK, 0},
        {"busy twice, then rows", 2, S_OK, S_OK, 2},
        {"busy and cannot wait", 1, MAPI_E_NO_SUPPORT, MAPI_E_NO_SUPPORT, 1},
        {"busy for ever", -1, S_OK, MAPI_E_BUSY, 5},
    };
    for (const Case& c : cases) {
        MapiLibs l;
        l.busyRetryLimit = 5;
        ComPtr<BusyTable> table = MakeComObject<BusyTable>(c.busy, c.wait);
        SRowSetPtr rows;
        EXPECT_EQ(l.HrQueryAllRows(table.get(), nullptr, nullptr, nullptr, 0, &rows), c.hr) << c.what;
        EXPECT_EQ(table->waits, c.waits) << c.what;
        EXPECT_EQ(table->askedRows, 0x0FFFFFFF) << c.what;
        EXPECT_EQ(table->askedFlags, TBL_NOADVANCE) << c.what;
        if (c.hr == S_OK) {
            EXPECT_EQ(rows->cRows(), 3u);
        }
    }
}

// The discovery over a private registry.
class Discovery : public ::testing::Test {
protected:
    void Set(const std::string& key, const std::string& name, const std::string& value, DWORD type = REG_SZ) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf8ToUtf16(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        if (!name.empty() || !value.empty()) {
            const std::u16string v = Utf8ToUtf16(value);
            RegSetValueExW(h, Utf8ToUtf16(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(v.c_str()),
                           static_cast<DWORD>((v.size() + 1) * 2));
        }
        RegCloseKey(h);
    }
    void Client(const std::string& name, const std::string& dll = "") {
        Set("SOFTWARE\\Clients\\Mail\\" + name, dll.empty() ? "" : "DLLPathEx", dll);
    }
    std::vector<std::string> List(LONG* rc = nullptr) {
        MapiLibs l;
        const LONG r = l.Enum();
        if (rc) *rc = r;
        std::vector<std::string> out;
        for (const auto& e : l.libraries) out.push_back(e.clientName + "=" + e.dllPath);
        return out;
    }
    bool AppsValueWritten() {
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps", 0, KEY_READ,
                          &h) != ERROR_SUCCESS)
            return false;
        DWORD values = 0;
        RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(h);
        return values > 0;
    }
    testsupport::ScopedRegistry registry_;
};

using Strings = std::vector<std::string>;

TEST_F(Discovery, DefaultClientComesFirstByExactName) {
    Client("Alpha", "alpha.dll");
    Client("Zulu", "zulu.dll");
    Set("SOFTWARE\\Clients\\Mail", "", "Zulu");
    EXPECT_EQ(List(), (Strings{"Zulu=zulu.dll", "Alpha=alpha.dll"}));
    Set("SOFTWARE\\Clients\\Mail", "", "zulu");  // names compare exactly
    EXPECT_EQ(List(), (Strings{"Alpha=alpha.dll", "Zulu=zulu.dll"}));
}

TEST_F(Discovery, OutlookWithAndWithoutItsOwnLibrary) {
    Client("Microsoft Outlook", "olmapi.dll");
    Client("Other", "other.dll");
    EXPECT_EQ(List(), (Strings{"Microsoft Outlook=olmapi.dll", "Other=other.dll"}));
    EXPECT_FALSE(AppsValueWritten());
}

TEST_F(Discovery, OutlookWithoutLibraryRegistersTheProgram) {
    Client("Microsoft Outlook");
    Client("Other", "other.dll");
    Set("SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps", "", "");
    EXPECT_EQ(List(), (Strings{"Other=other.dll", "Microsoft Outlook=mapi32.dll"}));
    EXPECT_TRUE(AppsValueWritten());
}

TEST_F(Discovery, ANameInAnotherCaseIsNotOutlook) {
    Client("MICROSOFT OUTLOOK");
    Client("Other", "other.dll");
    Set("SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps", "", "");
    EXPECT_EQ(List(), (Strings{"Other=other.dll"}));
    EXPECT_FALSE(AppsValueWritten());
}

TEST_F(Discovery, OnlyOutlookWithoutLibrary) {
    Client("Microsoft Outlook");
    LONG rc = 0;
    EXPECT_EQ(List(&rc), Strings{});
    EXPECT_NE(rc, 0);
    ASSERT_EQ(EnsureMapiRegistration(), ERROR_SUCCESS);
    EXPECT_EQ(List(&rc), (Strings{"Default=mapi32.dll"}));
    EXPECT_EQ(rc, 0);
    EXPECT_FALSE(AppsValueWritten());
}

TEST_F(Discovery, ExpandsEnvironmentStrings) {
    testsupport::ScopedEnv env("QUILLORA_MAPI_DIR", "/opt/mail");
    Set("SOFTWARE\\Clients\\Mail\\Expanding", "DLLPathEx", "%QUILLORA_MAPI_DIR%/x.dll;%NOT_SET_ANYWHERE%", REG_EXPAND_SZ);
    Set("SOFTWARE\\Clients\\Mail\\Plain", "DLLPathEx", "%QUILLORA_MAPI_DIR%/y.dll", REG_SZ);
    EXPECT_EQ(List(), (Strings{"Expanding=/opt/mail/x.dll;%NOT_SET_ANYWHERE%", "Plain=%QUILLORA_MAPI_DIR%/y.dll"}));
}

TEST_F(Discovery, ReadyLoaderChangesNothing) {
    Client("Alpha", "alpha.dll");
    MapiLibs l;
    l.isReady = true;
    EXPECT_EQ(l.Enum(), 0);
    EXPECT_EQ(l.GetCount(), 0u);
    l.isReady = false;  // nothing was loaded: nothing to uninitialise
}

}  // namespace
