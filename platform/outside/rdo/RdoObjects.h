// The objects of the outside mail-profile library through which a reply or forward can be
// composed inside a mail profile's drafts folder: a session, folders, items, recipients and
// the item's underlying MAPI message, as far as the program uses them. Counted references
// are shared pointers; every operation that can fail answers an HRESULT.
//
// This build has no such library (no mail profile exists on the desktop): CreateRDOSession
// answers REGDB_E_CLASSNOTREG, and the program hands its mail to the desktop's mail program
// instead. Tests put an in-memory library behind the same objects.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/GdiTypes.h"
#include "platform/win/WinTypes.h"

inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);

inline constexpr int olFolderDrafts = 16;      // rdoDefaultFolders: the drafts folder
inline constexpr int olMailItem = 0;           // the kind of item added
inline constexpr int olMSG = 3;                // import type of a ".msg" file
inline constexpr int olRFC822 = 1024;          // import type of an internet message file
inline constexpr int olFormatRichText = 3;     // body format

inline constexpr ULONG STORE_UNCOMPRESSED_RTF = 0x00008000;
inline constexpr ULONG RTF_SYNC_RTF_CHANGED = 0x00000001;

// The item's MAPI message: its properties as bytes and numbers, and the body sync.
class IRDOMapiObject {
public:
    virtual ~IRDOMapiObject() = default;
    virtual HRESULT GetBinaryProp(ULONG tag, std::vector<BYTE>& bytes) = 0;
    virtual HRESULT SetBinaryProp(ULONG tag, const std::vector<BYTE>& bytes) = 0;
    virtual HRESULT GetLongProp(ULONG tag, ULONG& value) = 0;
    // Brings the other bodies in line after the RTF body changed.
    virtual HRESULT RTFSync(ULONG flags) = 0;
};

class IRDORecipients {
public:
    virtual ~IRDORecipients() = default;
    virtual int Count() = 0;
    virtual WideString Item(int index) = 0;
    // Empties the list.
    virtual HRESULT Clear() = 0;
};

class IRDOMail {
public:
    virtual ~IRDOMail() = default;
    // type: olMSG or olRFC822.
    virtual HRESULT Import(const WideString& path, int type) = 0;
    virtual WideString GetSubject() = 0;
    virtual WideString GetBody() = 0;
    virtual HRESULT SetBody(const WideString& text) = 0;
    virtual AnsiString GetRTFBody() = 0;
    virtual HRESULT SetRTFBody(const AnsiString& rtf) = 0;
    virtual HRESULT SetHTMLBody(const WideString& html) = 0;
    virtual HRESULT SetBodyFormat(int format) = 0;
    virtual int GetAttachmentCount() = 0;
    virtual std::shared_ptr<IRDORecipients> GetRecipients() = 0;
    virtual HRESULT SetRecipients(const std::shared_ptr<IRDORecipients>& recipients) = 0;
    // Null when the item has no MAPI message.
    virtual std::shared_ptr<IRDOMapiObject> GetMAPIOBJECT() = 0;
    virtual HRESULT Forward(std::shared_ptr<IRDOMail>& item) = 0;
    virtual HRESULT Reply(std::shared_ptr<IRDOMail>& item) = 0;
    // Shows the item in the profile's compose window; modal returns when it closes.
    virtual HRESULT Display(bool modal, HWND parent) = 0;
    // Removes the item from its folder.
    virtual HRESULT Delete() = 0;
    // Ends the program's use of the item (its optional argument left out).
    virtual HRESULT Close() = 0;
};

class IRDOItems {
public:
    virtual ~IRDOItems() = default;
    virtual HRESULT Add(int kind, std::shared_ptr<IRDOMail>& item) = 0;
};

class IRDOFolder {
public:
    virtual ~IRDOFolder() = default;
    virtual std::shared_ptr<IRDOItems> GetItems() = 0;
};

class IRDOSession {
public:
    virtual ~IRDOSession() = default;
    virtual HRESULT Logon(const WideString& profile, const WideString& password, int showDialog, int newSession,
                          int parentWindow, int noMailStore) = 0;
    virtual HRESULT GetDefaultFolder(int kind, std::shared_ptr<IRDOFolder>& folder) = 0;
    virtual bool LoggedOn() = 0;
    virtual HRESULT Logoff() = 0;
};

// The library's session object, created and started. REGDB_E_CLASSNOTREG in this build.
HRESULT CreateRDOSession(std::shared_ptr<IRDOSession>& session);
