#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/win/Registry.h"
#include "platform/win/RegistryFormat.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Unprivileged.h"

namespace fs = std::filesystem;
using Bytes = std::vector<BYTE>;

namespace {

// An open key closed at scope exit.
struct Key {
    HKEY h = nullptr;
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (h) RegCloseKey(h);
    }
    HKEY* out() { return &h; }
    operator HKEY() const { return h; }
};

LSTATUS Create(HKEY root, const char16_t* path, Key& key, REGSAM sam = KEY_ALL_ACCESS, DWORD* disposition = nullptr) {
    return RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, sam, nullptr, key.out(), disposition);
}

LSTATUS Open(HKEY root, const char16_t* path, Key& key, REGSAM sam = KEY_READ) {
    return RegOpenKeyExW(root, path, 0, sam, key.out());
}

Bytes Text(std::u16string_view s, bool withNul = true) {
    WideString u(s);
    if (withNul) u.push_back(0);
    const auto* p = reinterpret_cast<const BYTE*>(u.data());
    return Bytes(p, p + u.size() * 2);
}

LSTATUS Set(HKEY key, const char16_t* name, DWORD type, const Bytes& data) {
    return RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
}

struct Stored {
    DWORD type;
    Bytes data;
    bool operator==(const Stored&) const = default;
};

std::optional<Stored> Query(HKEY key, const char16_t* name) {
    DWORD size = 0, type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    Stored s{type, Bytes(size)};
    if (RegQueryValueExW(key, name, nullptr, &type, s.data.data(), &size) != ERROR_SUCCESS) return std::nullopt;
    s.data.resize(size);
    return s;
}

std::vector<WideString> SubkeyNames(HKEY key) {
    std::vector<WideString> names;
    for (DWORD i = 0;; ++i) {
        char16_t buf[256];
        DWORD cch = 256;
        const LSTATUS rc = RegEnumKeyExW(key, i, buf, &cch, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) {
            EXPECT_EQ(rc, LSTATUS(ERROR_NO_MORE_ITEMS));
            break;
        }
        names.emplace_back(buf, cch);
    }
    return names;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        RegistrySetProblemReporter([this](const WideString& text) { problems.push_back(Utf16ToUtf8(text)); });
    }
    void TearDown() override { RegistrySetProblemReporter(nullptr); }

    fs::path userFile() const { return store.path() / "user.reg"; }
    fs::path machineFile() const { return store.path() / "machine.reg"; }

    testsupport::ScopedRegistry store;
    std::vector<std::string> problems;
};

TEST_F(Registry, TypedValuesRoundTripThroughTheFile) {
    const struct {
        const char16_t* name;
        DWORD type;
        Bytes given;
        Bytes stored;
    } cases[] = {
        {u"Text", REG_SZ, Text(u"Inbox \"2024\" C:\\mail\n\ttab"), Text(u"Inbox \"2024\" C:\\mail\n\ttab")},
        {u"Unicode", REG_SZ, Text(u"Grüße \u043F\u0440\u0438\u0432\u0435\u0442 \U0001F600"), Text(u"Grüße \u043F\u0440\u0438\u0432\u0435\u0442 \U0001F600")},
        {u"NoNul", REG_SZ, Text(u"abc", false), Text(u"abc")},
        {u"Empty", REG_SZ, {}, Text(u"")},
        {u"LoneSurrogate", REG_SZ, Text(u"a\xD800z"), Text(u"a\xD800z")},
        {u"Control", REG_SZ, Text(u"\x01\x7F%"), Text(u"\x01\x7F%")},
        {u"InnerNul", REG_SZ, Text(WideString(u"a\0b", 3)), Text(WideString(u"a\0b", 3))},
        {u"Expand", REG_EXPAND_SZ, Text(u"%HOME%/mail"), Text(u"%HOME%/mail")},
        {u"Multi", REG_MULTI_SZ, Text(WideString(u"one\0two\0", 8)), Text(WideString(u"one\0two\0", 8))},
        {u"MultiOneNul", REG_MULTI_SZ, Text(WideString(u"one", 3)), Text(WideString(u"one\0", 4))},
        {u"MultiEmpty", REG_MULTI_SZ, Text(u""), Text(u"")},
        {u"Binary", REG_BINARY, {0x00, 0xFF, 0x10, 0x7F}, {0x00, 0xFF, 0x10, 0x7F}},
        {u"BinaryEmpty", REG_BINARY, {}, {}},
        {u"Dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, {0x78, 0x56, 0x34, 0x12}},
        {u"ShortDword", REG_DWORD, {0x01, 0x02}, {0x01, 0x02}},
        {u"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 0x80}, {1, 2, 3, 4, 5, 6, 7, 0x80}},
        {u"None", REG_NONE, {9, 8}, {9, 8}},
        {u"Link", REG_LINK, {1}, {1}},
        {u"", REG_SZ, Text(u"the default value"), Text(u"the default value")},
        {u"Name \"quoted\" \\ = [x]", REG_DWORD, {1, 0, 0, 0}, {1, 0, 0, 0}},
    };
    const char16_t* keyPath = u"Software\\Quillora\\Odd %41 ]name\x01";
    {
        Key key;
        ASSERT_EQ(Create(HKEY_CURRENT_USER, keyPath, key), ERROR_SUCCESS);
        for (const auto& c : cases) {
            ASSERT_EQ(Set(key, c.name, c.type, c.given), ERROR_SUCCESS) << Utf16ToUtf8(c.name);
            EXPECT_EQ(Query(key, c.name), (Stored{c.type, c.stored})) << Utf16ToUtf8(c.name);
        }
    }  // closing the changed key saves it
    QuilloraRegistryReload();
    Key key;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, keyPath, key), ERROR_SUCCESS);
    for (const auto& c : cases) EXPECT_EQ(Query(key, c.name), (Stored{c.type, c.stored})) << Utf16ToUtf8(c.name);
    EXPECT_TRUE(problems.empty());

    const std::string file = testsupport::ReadFileBytes(userFile());
    EXPECT_EQ(file.rfind("QUILLORA-REGISTRY 1\n", 0), 0u);
    EXPECT_NE(file.find("\"Dword\"=dword:12345678\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\"Multi\"=multi:\"one\",\"two\"\n"), std::string::npos) << file;
    EXPECT_NE(file.find("[Software\\Quillora\\Odd %002541 ]name%0001]\n"), std::string::npos) << file;
    EXPECT_TRUE(IsValidUtf8(file));
}

TEST_F(Registry, NamesAreCaseInsensitiveAndKeepTheirCase) {
    const struct {
        const char16_t* created;
        const char16_t* lookedUp;
    } cases[] = {
        {u"MixedCase", u"mIXEDcASE"},
        {u"Ärger", u"äRGER"},
        {u"\u041F\u0440\u0438\u0432\u0435\u0442", u"\u043F\u0420\u0418\u0412\u0415\u0422"},  // Cyrillic
        {u"\u03A3\u03BF\u03C6\u03AF\u03B1", u"\u03C3\u039F\u03A6\u038A\u0391"},              // Greek
        {u"\u0141\u00F3d\u017A", u"\u0142\u00D3D\u0179"},                                      // Latin Extended-A
    };
    Key root;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Names", root), ERROR_SUCCESS);
    for (const auto& c : cases) {
        Key created, again;
        DWORD disposition = 0;
        ASSERT_EQ(Create(root, c.created, created, KEY_ALL_ACCESS, &disposition), ERROR_SUCCESS);
        EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
        ASSERT_EQ(Create(root, c.lookedUp, again, KEY_ALL_ACCESS, &disposition), ERROR_SUCCESS);
        EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY) << Utf16ToUtf8(c.created);
        ASSERT_EQ(Set(root, c.created, REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
        ASSERT_EQ(Set(root, c.lookedUp, REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);  // the same value
        EXPECT_EQ(Query(root, c.created), (Stored{REG_DWORD, {2, 0, 0, 0}}));
    }
    std::vector<WideString> names = SubkeyNames(root);
    for (const auto& c : cases) EXPECT_NE(std::find(names.begin(), names.end(), c.created), names.end());
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(root, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, std::size(cases));
    char16_t name[64];
    DWORD cch = 64;
    ASSERT_EQ(RegEnumValueW(root, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(WideString(name, cch), u"MixedCase");  // the case it was first set with
}

TEST_F(Registry, QueryFollowsTheBufferProtocol) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Buffers", key), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, u"Name", REG_SZ, Text(u"abc", false)), ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 8u);  // the terminating NUL is counted

    BYTE buf[16] = {};
    size = 6;
    EXPECT_EQ(RegQueryValueExW(key, u"name", nullptr, &type, buf, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    size = 8;
    EXPECT_EQ(RegQueryValueExW(key, u"NAME", nullptr, nullptr, buf, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::memcmp(buf, u"abc", 8), 0);

    EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, nullptr, buf, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    // Enumeration hands out data the same way.
    char16_t name[8];
    DWORD cch = 8;
    size = 2;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &cch, nullptr, &type, buf, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    cch = 4;  // "Name" needs 5 with its NUL
    EXPECT_EQ(RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
}

TEST_F(Registry, EnumeratesKeysInNameOrderAndValuesInSetOrder) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Enum", key), ERROR_SUCCESS);
    for (const char16_t* name : {u"beta", u"Alpha", u"gamma"}) {
        Key sub;
        ASSERT_EQ(Create(key, name, sub), ERROR_SUCCESS);
    }
    for (const char16_t* name : {u"z", u"a", u"LongerName"})
        ASSERT_EQ(Set(key, name, REG_BINARY, Bytes(3)), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, u"a", REG_BINARY, Bytes(10)), ERROR_SUCCESS);  // keeps its place

    EXPECT_EQ(SubkeyNames(key), (std::vector<WideString>{u"Alpha", u"beta", u"gamma"}));
    std::vector<WideString> values;
    for (DWORD i = 0;; ++i) {
        char16_t name[32];
        DWORD cch = 32;
        if (RegEnumValueW(key, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        values.emplace_back(name, cch);
    }
    EXPECT_EQ(values, (std::vector<WideString>{u"z", u"a", u"LongerName"}));

    DWORD subkeys = 0, maxSubkey = 0, count = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &count, &maxName,
                               &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 3u);
    EXPECT_EQ(maxSubkey, 5u);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(maxName, 10u);
    EXPECT_EQ(maxData, 10u);

    char16_t small[5];
    DWORD cch = 5;  // "Alpha" needs 6
    EXPECT_EQ(RegEnumKeyExW(key, 0, small, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
}

TEST_F(Registry, DeletesOnlyKeysWithoutSubkeys) {
    Key parent, child, other;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Del\\Parent\\Child", child), ERROR_SUCCESS);
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Del", parent, KEY_ALL_ACCESS), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyW(parent, u"Parent"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(parent, u"Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(parent, u"parent\\CHILD"), ERROR_SUCCESS);
    EXPECT_EQ(Set(child, u"x", REG_DWORD, Bytes(4)), ERROR_KEY_DELETED);  // its handle lives on
    EXPECT_EQ(RegDeleteKeyW(parent, u"Parent"), ERROR_SUCCESS);
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Del\\Parent", other), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);

    ASSERT_EQ(Set(parent, u"v", REG_DWORD, Bytes(4)), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(parent, u"V"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(parent, u"v"), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, RefusesBadHandlesAndWritesThroughReadOnlyKeys) {
    Key writable;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Access", writable), ERROR_SUCCESS);
    Key readOnly;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Access", readOnly, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(Set(readOnly, u"x", REG_DWORD, Bytes(4)), ERROR_ACCESS_DENIED);
    Key sub;
    EXPECT_EQ(Create(readOnly, u"Sub", sub), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Absent", sub), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Create(HKEY_CURRENT_USER, (u"Software\\" + WideString(256, u'x')).c_str(), sub), ERROR_INVALID_PARAMETER);

    HKEY bogus = reinterpret_cast<HKEY>(std::uintptr_t(0x1234));
    EXPECT_EQ(Set(bogus, u"x", REG_DWORD, Bytes(4)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(bogus), ERROR_INVALID_HANDLE);
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(Registry, ValuesPersistAcrossAReloadAndUnsavedOnesDoNot) {
    {
        Key key;
        ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Quillora\\Settings", key), ERROR_SUCCESS);
        ASSERT_EQ(Set(key, u"Left", REG_DWORD, {100, 0, 0, 0}), ERROR_SUCCESS);
        Key empty;
        ASSERT_EQ(Create(key, u"EmptyKey", empty), ERROR_SUCCESS);
    }
    Key flushed;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Flushed", flushed), ERROR_SUCCESS);
    ASSERT_EQ(Set(flushed, u"Top", REG_DWORD, {7, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(RegFlushKey(flushed), ERROR_SUCCESS);
    ASSERT_EQ(Set(flushed, u"Unsaved", REG_DWORD, {8, 0, 0, 0}), ERROR_SUCCESS);

    QuilloraRegistryReload();
    Key key, empty;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"SOFTWARE\\quillora\\settings", key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"Left"), (Stored{REG_DWORD, {100, 0, 0, 0}}));
    EXPECT_EQ(Open(key, u"EmptyKey", empty), ERROR_SUCCESS);
    EXPECT_EQ(Query(flushed, u"Top"), (Stored{REG_DWORD, {7, 0, 0, 0}}));
    EXPECT_EQ(Query(flushed, u"Unsaved"), std::nullopt);
    EXPECT_FALSE(fs::exists(machineFile()));  // nothing was written there
}

TEST_F(Registry, AConcurrentWritersValuesSurviveOurSave) {
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"Software\\Shared", key), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, u"Removed", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, u"Ours", REG_SZ, Text(u"parent")), ERROR_SUCCESS);  // loaded, not yet saved

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another process: starts from the file, not from our memory.
        QuilloraRegistryReload();
        HKEY k = nullptr;
        bool ok = RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Shared", 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS;
        const Bytes theirs = Text(u"child");
        ok = ok && RegSetValueExW(k, u"Theirs", 0, REG_SZ, theirs.data(), DWORD(theirs.size())) == ERROR_SUCCESS;
        ok = ok && RegDeleteValueW(k, u"Removed") == ERROR_SUCCESS;
        ok = ok && RegCloseKey(k) == ERROR_SUCCESS;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"Theirs"), (Stored{REG_SZ, Text(u"child")}));  // seen after our save
    QuilloraRegistryReload();
    EXPECT_EQ(Query(key, u"Ours"), (Stored{REG_SZ, Text(u"parent")}));
    EXPECT_EQ(Query(key, u"Theirs"), (Stored{REG_SZ, Text(u"child")}));
    EXPECT_EQ(Query(key, u"Removed"), std::nullopt);
}

// A key left open is saved by the shutdown call, a change through a predefined root at once;
// nothing relies on a save while the process exits.
TEST_F(Registry, PendingChangesAreSavedAtShutdownAndRootChangesAtOnce) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QuilloraRegistryReload();
        HKEY k = nullptr;  // left open
        const Bytes data = Text(u"saved at shutdown");
        const Bytes rootData = Text(u"saved at once");
        const bool ok =
            RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\AtExit", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                            nullptr) == ERROR_SUCCESS &&
            RegSetValueExW(k, u"Last", 0, REG_SZ, data.data(), DWORD(data.size())) == ERROR_SUCCESS &&
            RegistrySavePending() == ERROR_SUCCESS &&
            RegSetValueExW(HKEY_CURRENT_USER, u"AtRoot", 0, REG_SZ, rootData.data(), DWORD(rootData.size())) ==
                ERROR_SUCCESS;
        std::exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    QuilloraRegistryReload();
    Key key;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\AtExit", key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"Last"), (Stored{REG_SZ, Text(u"saved at shutdown")}));
    EXPECT_EQ(Query(HKEY_CURRENT_USER, u"AtRoot"), (Stored{REG_SZ, Text(u"saved at once")}));
}

TEST_F(Registry, ADamagedFileIsKeptAsideAndTheHiveStartsEmpty) {
    const std::string damaged[] = {
        "garbage\n",
        "QUILLORA-REGISTRY 2\n[A]\n",
        "QUILLORA-REGISTRY 1\n\"outside\"=dword:00000001\n",
        "QUILLORA-REGISTRY 1\n[A]\n\"unterminated=sz:\"x\"\n",
        "QUILLORA-REGISTRY 1\n[A]\n\"v\"=sz:\"bad \\q escape\"\n",
        "QUILLORA-REGISTRY 1\n[A]\n\"v\"=dword:123456789\n",
        "QUILLORA-REGISTRY 1\n[A]\n\"v\"=binary:0g\n",
        "QUILLORA-REGISTRY 1\n[A]\n\"v\"=sz:\"\xC3(\"\n",
        "QUILLORA-REGISTRY 1\n[A%zz]\n",
        "",  // last, so that the copy kept aside below is this empty one
    };
    for (const auto& text : damaged) {
        SCOPED_TRACE(text);
        fs::remove_all(store.path());
        fs::create_directories(store.path());
        std::ofstream(userFile(), std::ios::binary) << text;
        QuilloraRegistryReload();
        problems.clear();

        Key key;
        EXPECT_EQ(Open(HKEY_CURRENT_USER, u"A", key), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(testsupport::ReadFileBytes(store.path() / "user.reg.bad"), text);
        EXPECT_FALSE(fs::exists(userFile()));  // nothing written until a value is set
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_NE(problems[0].find("user.reg.bad"), std::string::npos) << problems[0];
    }

    // A value set afterwards writes a new file; an older damaged copy is never overwritten.
    Key key;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, u"A", key), ERROR_SUCCESS);
    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_TRUE(fs::exists(userFile()));
    std::ofstream(userFile(), std::ios::binary) << "second damage\n";
    QuilloraRegistryReload();
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"A", key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(testsupport::ReadFileBytes(store.path() / "user.reg.bad"), "");
    EXPECT_EQ(testsupport::ReadFileBytes(store.path() / "user.reg.bad.2"), "second damage\n");
}

TEST_F(Registry, MachineHiveIsReadOnlyWhenNotWritable) {
    std::ofstream(machineFile()) << "QUILLORA-REGISTRY 1\n[Software\\Quillora]\n\"Edition\"=sz:\"site\"\n";
    const testsupport::ScopedEnv readOnly("QUILLORA_REGISTRY_MACHINE_READONLY", "1");
    QuilloraRegistryReload();
    const std::string before = testsupport::ReadFileBytes(machineFile());

    Key key, other;
    ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Software\\Quillora", key, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"Edition"), (Stored{REG_SZ, Text(u"site")}));
    EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, u"Software\\Quillora", other, KEY_WRITE), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, u"Software\\New", other), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Set(HKEY_LOCAL_MACHINE, u"x", REG_DWORD, Bytes(4)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Software\\Quillora"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(testsupport::ReadFileBytes(machineFile()), before);
}

TEST_F(Registry, MachineHiveInAFolderWeCannotWriteIsReadOnly) {
    testsupport::TempDir scratch;
    testsupport::RunUnprivileged(scratch.path(), [&] {
        const fs::path locked = scratch / "locked";
        fs::create_directory(locked);
        const testsupport::ScopedEnv dir("QUILLORA_REGISTRY_DIR", locked.string());
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        QuilloraRegistryReload();
        Key key;
        EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, u"Software\\New", key), ERROR_ACCESS_DENIED);
        fs::permissions(locked, fs::perms::owner_all);
    });
}

TEST_F(Registry, ClassesRootReadsUserClassesOverMachineClasses) {
    std::ofstream(machineFile()) << "QUILLORA-REGISTRY 1\n"
                                    "[Software\\Classes\\.eml]\n@=sz:\"machine-eml\"\n\"Content Type\"=sz:\"message/rfc822\"\n"
                                    "[Software\\Classes\\.msg]\n@=sz:\"machine-msg\"\n";
    std::ofstream(userFile()) << "QUILLORA-REGISTRY 1\n[Software\\Classes\\.EML]\n@=sz:\"user-eml\"\n";
    const testsupport::ScopedEnv readOnly("QUILLORA_REGISTRY_MACHINE_READONLY", "1");
    QuilloraRegistryReload();

    Key eml, msg;
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u".eml", eml), ERROR_SUCCESS);
    EXPECT_EQ(Query(eml, nullptr), (Stored{REG_SZ, Text(u"user-eml")}));
    EXPECT_EQ(Query(eml, u"Content Type"), (Stored{REG_SZ, Text(u"message/rfc822")}));
    EXPECT_EQ(SubkeyNames(HKEY_CLASSES_ROOT), (std::vector<WideString>{u".EML", u".msg"}));

    // Writes go to the user's classes, even where the key is the machine's.
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u".msg", msg, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(Set(msg, u"", REG_SZ, Text(u"user-msg")), ERROR_SUCCESS);
    EXPECT_EQ(Query(msg, u""), (Stored{REG_SZ, Text(u"user-msg")}));
    ASSERT_EQ(RegFlushKey(msg), ERROR_SUCCESS);
    Key userMsg;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Classes\\.msg", userMsg), ERROR_SUCCESS);
    EXPECT_EQ(Query(userMsg, u""), (Stored{REG_SZ, Text(u"user-msg")}));
    EXPECT_NE(testsupport::ReadFileBytes(machineFile()).find("machine-msg"), std::string::npos);

    // Deleting the user's value uncovers the machine's again.
    ASSERT_EQ(RegDeleteValueW(msg, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(Query(msg, nullptr), (Stored{REG_SZ, Text(u"machine-msg")}));
    EXPECT_EQ(RegDeleteValueW(msg, nullptr), ERROR_ACCESS_DENIED);  // the machine's is read-only
}

}  // namespace
