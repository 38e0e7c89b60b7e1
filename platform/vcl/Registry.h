// TRegistry: keys and typed values of the registry store, read and written by 8-bit (UTF-8)
// names. A value of the wrong type, or a read or write that fails, raises ERegistryException.
#pragma once

#include <vector>

#include "platform/vcl/Strings.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/Registry.h"

QUILLORA_EXCEPTION_CLASS(ERegistryException, Exception);

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    int DataSize = 0;
};

class TRegistry : public TObject {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : access_(access) {}
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;
    std::string_view ClassName() const override { return "TRegistry"; }

    HKEY RootKey() const { return rootKey_; }
    // Closes the current key and makes the key the root of the next absolute paths.
    void SetRootKey(HKEY key);
    HKEY CurrentKey() const { return currentKey_; }
    const AnsiString& CurrentPath() const { return currentPath_; }
    REGSAM Access() const { return access_; }
    void SetAccess(REGSAM access) { access_ = access; }

    // A key path is relative to the current key, or absolute from the root when it starts
    // with "\". Opening makes the key current; false when it cannot be opened (or created).
    bool OpenKey(const AnsiString& key, bool canCreate);
    bool OpenKeyReadOnly(const AnsiString& key);
    // Creates the key without opening it; a failure raises ERegistryException.
    bool CreateKey(const AnsiString& key);
    bool KeyExists(const AnsiString& key);
    // Deletes the key with all its subkeys and values.
    bool DeleteKey(const AnsiString& key);
    void CloseKey();
    bool HasSubKeys() const;
    void GetKeyNames(TStrings& strings) const;
    void GetValueNames(TStrings& strings) const;

    bool ValueExists(const AnsiString& name) const;
    bool DeleteValue(const AnsiString& name);
    // False when the value is missing.
    bool GetDataInfo(const AnsiString& name, TRegDataInfo& info) const;
    TRegDataType GetDataType(const AnsiString& name) const;
    // The size in bytes, or -1 when the value is missing.
    int GetDataSize(const AnsiString& name) const;

    // A missing value reads as ""; a value of another type raises.
    AnsiString ReadString(const AnsiString& name) const;
    void WriteString(const AnsiString& name, const AnsiString& value);
    void WriteExpandString(const AnsiString& name, const AnsiString& value);
    // A missing value or one of another type raises.
    int ReadInteger(const AnsiString& name) const;
    void WriteInteger(const AnsiString& name, int value);
    bool ReadBool(const AnsiString& name) const { return ReadInteger(name) != 0; }
    void WriteBool(const AnsiString& name, bool value) { WriteInteger(name, value ? 1 : 0); }
    // Copies the binary value into the buffer and returns its size; a value larger than the
    // buffer, or not binary, raises.
    int ReadBinaryData(const AnsiString& name, void* buffer, int bufferSize) const;
    void WriteBinaryData(const AnsiString& name, const void* buffer, int bufferSize);

protected:
    // Reads the raw value, raising "Failed to get data for '<name>'" when it cannot be read.
    std::vector<BYTE> GetData(const AnsiString& name, DWORD& type) const;
    void PutData(const AnsiString& name, const void* data, DWORD size, DWORD type);
    [[noreturn]] static void ReadError(const AnsiString& name);

private:
    HKEY BaseKey(bool relative) const;
    void ChangeKey(HKEY key, const AnsiString& path);

    HKEY rootKey_ = HKEY_CURRENT_USER;
    HKEY currentKey_ = nullptr;
    AnsiString currentPath_;
    REGSAM access_;
};
