// The registry store: an in-memory tree of keys and typed values per hive, loaded from and
// saved to one text file (RegistryFormat.h). Names compare case-insensitively (RegistryFoldName)
// and keep the case they were created with.
//
// Every change goes to the tree at once and into a journal. Saving takes an advisory lock on
// "<file>.lock", re-reads the file, replays the journal onto what is on disk, writes the result
// to a temporary file in the same folder, syncs it and renames it over the file. So another
// process's values written since our load survive our save, and ours survive theirs.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/win/WinTypes.h"

// Upper-case form of a name for comparison: ASCII and the simple one-to-one case pairs of
// Latin, Greek, Cyrillic and Armenian letters and the full-width Latin letters.
char16_t RegistryFoldChar(char16_t c);
WideString RegistryFoldName(std::u16string_view name);
bool RegistryNamesEqual(std::u16string_view a, std::u16string_view b);

// The components of a key path: "A\B\C" gives {A, B, C}; empty components are skipped.
std::vector<WideString> SplitRegistryPath(std::u16string_view path);

// Time stamp in FILETIME units (100 ns since 1601-01-01 UTC).
std::int64_t RegistryNow();

struct RegistryValue {
    WideString name;  // empty for the key's default value
    DWORD type = 0;
    std::vector<BYTE> data;
};

class RegistryKey {
public:
    explicit RegistryKey(WideString name = {}) : name_(std::move(name)) {}
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    const WideString& name() const { return name_; }

    // Subkeys ordered by their folded names (the enumeration order).
    using SubkeyMap = std::map<WideString, std::unique_ptr<RegistryKey>>;
    const SubkeyMap& subkeys() const { return subkeys_; }
    RegistryKey* subkey(std::u16string_view name);
    const RegistryKey* subkey(std::u16string_view name) const;
    // The existing subkey or a new one; created tells which.
    RegistryKey& createSubkey(std::u16string_view name, bool* created = nullptr);
    bool removeSubkey(std::u16string_view name);

    // The key at a relative path, or nullptr.
    RegistryKey* find(const std::vector<WideString>& path);
    const RegistryKey* find(const std::vector<WideString>& path) const;

    // Values in the order they were first set.
    const std::vector<RegistryValue>& values() const { return values_; }
    const RegistryValue* value(std::u16string_view name) const;
    void setValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
    bool removeValue(std::u16string_view name);

    std::int64_t lastWrite() const { return lastWrite_; }
    void setLastWrite(std::int64_t t) { lastWrite_ = t; }
    // Sets the time stamp of this key and every key below it.
    void setLastWriteDeep(std::int64_t t);

private:
    WideString name_;
    SubkeyMap subkeys_;
    std::vector<RegistryValue> values_;
    std::int64_t lastWrite_ = 0;
};

using RegistryProblemReporter = std::function<void(const WideString&)>;

// One hive: its file, its tree and the changes not yet saved.
class RegistryHive {
public:
    // readOnly refuses every change (the machine hive in a folder this user cannot write).
    // Problems (damaged file, failed save) go to report. The file is read on first use.
    RegistryHive(std::filesystem::path file, bool readOnly, RegistryProblemReporter report);
    ~RegistryHive();
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    const std::filesystem::path& file() const { return file_; }
    bool readOnly() const { return readOnly_; }

    // The tree, loading the file on first use. Changes go through the functions below.
    const RegistryKey& root();
    const RegistryKey* find(const std::vector<WideString>& path) { return root().find(path); }

    // Changes; each returns false only when the hive is read-only (or, for the key-level
    // calls, the key is missing). They keep the tree and the journal in step.
    RegistryKey* createKey(const std::vector<WideString>& path, bool* created = nullptr);
    bool setValue(const std::vector<WideString>& path, std::u16string_view name, DWORD type,
                  std::vector<BYTE> data);
    bool deleteValue(const std::vector<WideString>& path, std::u16string_view name);
    // Removes a key that has no subkeys.
    bool deleteKey(const std::vector<WideString>& path);

    bool hasPendingChanges() const { return !journal_.empty(); }

    // Writes the pending changes merged onto the file's current content. Returns a Windows
    // error code; on failure the changes stay pending for the next save.
    DWORD save();

private:
    struct Change {
        enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue } kind;
        std::vector<WideString> path;
        WideString name;
        DWORD type = 0;
        std::vector<BYTE> data;
    };

    void ensureLoaded();
    static void apply(RegistryKey& root, const Change& change, std::int64_t now);
    // Reads the file into a fresh tree (empty when the file is missing). Returns what is wrong
    // with a damaged or unreadable file, with an empty tree; an empty string when all is well.
    std::string readFile(std::unique_ptr<RegistryKey>& tree);
    // Reports a damaged file and, when mayMove, renames it to "<file>.bad" (".bad.2", ... if
    // taken). Returns true when the file is out of the way and may be written anew.
    bool setAside(const std::string& why, bool mayMove);
    void report(const WideString& text) const;

    std::filesystem::path file_;
    bool readOnly_;
    RegistryProblemReporter report_;
    std::unique_ptr<RegistryKey> root_;
    std::vector<Change> journal_;
};
