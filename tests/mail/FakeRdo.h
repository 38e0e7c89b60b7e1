// An in-memory mail-profile library behind the library's objects: every step can be made to
// fail, and what the sender did is recorded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mail/RDOMailSender.h"
#include "message/CompressedRTF.h"
#include "platform/mapi/MapiTags.h"
#include "platform/outside/rdo/RdoObjects.h"

namespace fakerdo {

struct Library;

struct Recipients : IRDORecipients {
    std::vector<WideString> list;
    int Count() override { return static_cast<int>(list.size()); }
    WideString Item(int i) override { return list.at(static_cast<size_t>(i)); }
    HRESULT Clear() override {
        list.clear();
        return S_OK;
    }
};

struct Mail;

struct MapiObject : IRDOMapiObject {
    Mail& mail;
    explicit MapiObject(Mail& m) : mail(m) {}
    HRESULT GetBinaryProp(ULONG tag, std::vector<BYTE>& bytes) override;
    HRESULT SetBinaryProp(ULONG tag, const std::vector<BYTE>& bytes) override;
    HRESULT GetLongProp(ULONG tag, ULONG& value) override;
    HRESULT RTFSync(ULONG flags) override;
};

struct Library {
    HRESULT create = S_OK, logon = S_OK, folder = S_OK, add = S_OK, import = S_OK, forward = S_OK, reply = S_OK;
    std::string importedRtf = "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;}\\par body}";
    bool loggedOn = false;
    int logoffs = 0, deleted = 0, closes = 0, displays = 0, syncs = 0;
    std::vector<std::pair<WideString, int>> imports;
    std::vector<std::shared_ptr<Mail>> made;  // every item, in order of making
    std::shared_ptr<Mail> composed;           // the forward of the imported item
};

struct Mail : IRDOMail, std::enable_shared_from_this<Mail> {
    Library& lib;
    WideString subject, body, html;
    AnsiString rtf;
    int format = 0;
    std::vector<BYTE> compressedRtf;
    std::shared_ptr<Recipients> recipients = std::make_shared<Recipients>();
    bool isDeleted = false;

    explicit Mail(Library& l) : lib(l) {}

    HRESULT Import(const WideString& path, int type) override {
        lib.imports.push_back({path, type});
        if (FAILED(lib.import)) return lib.import;
        subject = u"Imported";
        body = u"imported body";
        rtf = lib.importedRtf;
        compressedRtf = EncodeCompressedRTF(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size()));
        recipients->list = {u"bob@ex.org"};
        return S_OK;
    }
    WideString GetSubject() override { return subject; }
    WideString GetBody() override { return body; }
    HRESULT SetBody(const WideString& t) override {
        body = t;
        return S_OK;
    }
    AnsiString GetRTFBody() override { return rtf; }
    HRESULT SetRTFBody(const AnsiString& r) override {
        rtf = r;
        return S_OK;
    }
    HRESULT SetHTMLBody(const WideString& h) override {
        html = h;
        return S_OK;
    }
    HRESULT SetBodyFormat(int f) override {
        format = f;
        return S_OK;
    }
    int GetAttachmentCount() override { return 0; }
    std::shared_ptr<IRDORecipients> GetRecipients() override { return recipients; }
    HRESULT SetRecipients(const std::shared_ptr<IRDORecipients>& r) override {
        auto copy = std::make_shared<Recipients>();
        for (int i = 0; i < r->Count(); ++i) copy->list.push_back(r->Item(i));
        recipients = copy;
        return S_OK;
    }
    std::shared_ptr<IRDOMapiObject> GetMAPIOBJECT() override { return std::make_shared<MapiObject>(*this); }
    HRESULT Forward(std::shared_ptr<IRDOMail>& out) override {
        if (FAILED(lib.forward)) return lib.forward;
        auto m = std::make_shared<Mail>(lib);
        m->subject = u"FW: " + subject;
        m->compressedRtf = compressedRtf;
        m->recipients->list = recipients->list;  // filled, so a forward must empty it
        lib.made.push_back(m);
        lib.composed = m;
        out = m;
        return S_OK;
    }
    HRESULT Reply(std::shared_ptr<IRDOMail>& out) override {
        if (FAILED(lib.reply)) return lib.reply;
        auto m = std::make_shared<Mail>(lib);
        m->recipients->list = {u"ann@ex.com"};
        lib.made.push_back(m);
        out = m;
        return S_OK;
    }
    HRESULT Display(bool, HWND) override {
        ++lib.displays;
        return S_OK;
    }
    HRESULT Delete() override {
        isDeleted = true;
        ++lib.deleted;
        return S_OK;
    }
    HRESULT Close() override {
        ++lib.closes;
        return S_OK;
    }
    // The RTF text as the message now stores it.
    std::string StoredRtf() const {
        const auto text = DecodeCompressedRTF(compressedRtf);
        return std::string(text.begin(), text.end());
    }
};

inline HRESULT MapiObject::GetBinaryProp(ULONG tag, std::vector<BYTE>& bytes) {
    if (tag != PR_RTF_COMPRESSED || mail.compressedRtf.empty()) return static_cast<HRESULT>(0x8004010Fu);
    bytes = mail.compressedRtf;
    return S_OK;
}
inline HRESULT MapiObject::SetBinaryProp(ULONG tag, const std::vector<BYTE>& bytes) {
    if (tag != PR_RTF_COMPRESSED) return E_FAIL;
    mail.compressedRtf = bytes;
    return S_OK;
}
inline HRESULT MapiObject::GetLongProp(ULONG tag, ULONG& value) {
    value = tag == PR_STORE_SUPPORT_MASK ? STORE_UNCOMPRESSED_RTF : 0;
    return S_OK;
}
inline HRESULT MapiObject::RTFSync(ULONG) {
    ++mail.lib.syncs;
    return S_OK;
}

struct Items : IRDOItems {
    Library& lib;
    explicit Items(Library& l) : lib(l) {}
    HRESULT Add(int, std::shared_ptr<IRDOMail>& out) override {
        if (FAILED(lib.add)) return lib.add;
        auto m = std::make_shared<Mail>(lib);
        lib.made.push_back(m);
        out = m;
        return S_OK;
    }
};

struct Folder : IRDOFolder {
    Library& lib;
    explicit Folder(Library& l) : lib(l) {}
    std::shared_ptr<IRDOItems> GetItems() override { return std::make_shared<Items>(lib); }
};

struct Session : IRDOSession {
    Library& lib;
    explicit Session(Library& l) : lib(l) {}
    HRESULT Logon(const WideString&, const WideString&, int, int, int, int) override {
        if (FAILED(lib.logon)) return lib.logon;
        lib.loggedOn = true;
        return S_OK;
    }
    HRESULT GetDefaultFolder(int kind, std::shared_ptr<IRDOFolder>& out) override {
        if (FAILED(lib.folder) || kind != olFolderDrafts) return FAILED(lib.folder) ? lib.folder : E_FAIL;
        out = std::make_shared<Folder>(lib);
        return S_OK;
    }
    bool LoggedOn() override { return lib.loggedOn; }
    HRESULT Logoff() override {
        lib.loggedOn = false;
        ++lib.logoffs;
        return S_OK;
    }
};

// The factory the sender is given.
inline RDOSessionFactory Factory(Library& lib) {
    return [&lib](std::shared_ptr<IRDOSession>& session) {
        if (FAILED(lib.create)) return lib.create;
        session = std::make_shared<Session>(lib);
        return S_OK;
    };
}

}  // namespace fakerdo
