// IMAPIProp, the property interface of every MAPI object, and MapiPropObject, the base that
// answers it for any MAPI interface from two reading hooks. Stores are read-only: writing
// answers MAPI_E_NO_ACCESS.
#pragma once

#include <memory>

#include "platform/mapi/MapiUnknown.h"
#include "platform/mapi/PropValue.h"

class IMAPIProp : public IUnknown {
public:
    QUILLORA_MAPI_INTERFACE(IUnknown, IID_IMAPIProp)
    // The extended error of the last failed call with this result code (MAPI_E_NOT_FOUND when
    // the object has none).
    virtual HRESULT GetLastError(HRESULT hr, ULONG flags, std::unique_ptr<MAPIERROR>* error) = 0;
    // The asked properties in order; absent ones come back as PT_ERROR values with
    // MAPI_E_NOT_FOUND and the result MAPI_W_ERRORS_RETURNED. Without tags, every property.
    // String tags of type PT_UNSPECIFIED (and all strings when tags is null) come back as
    // PT_UNICODE with MAPI_UNICODE in flags, else as PT_STRING8.
    virtual HRESULT GetProps(const SPropTagArray* tags, ULONG flags, ULONG* count, SPropValueArray* values) = 0;
    virtual HRESULT GetPropList(ULONG flags, SPropTagArray* tags) = 0;
    // Opens a property as an object: tables of containers and messages, attached messages.
    virtual HRESULT OpenProperty(ULONG tag, const IID* iid, ULONG options, ULONG flags, IUnknown** out) = 0;
    virtual HRESULT SetProps(const SPropValueArray& values) = 0;
    virtual HRESULT SaveChanges(ULONG flags) = 0;
    // The store's property tags for named properties (type PT_UNSPECIFIED); a name the store
    // does not know gives PROP_TAG(PT_ERROR, 0) and the result MAPI_W_ERRORS_RETURNED.
    virtual HRESULT GetIDsFromNames(const std::vector<MAPINAMEID>& names, ULONG flags, SPropTagArray* tags) = 0;
    virtual HRESULT GetNamesFromIDs(const SPropTagArray& tags, std::vector<MAPINAMEID>* names) = 0;

};

// What a MapiPropObject reads its properties from.
class PropSource {
public:
    // The property with the tag's id, in the type it has (the tag's type is a hint: for
    // computed properties it picks the value to build). False when absent.
    virtual bool ReadProp(ULONG tag, SPropValue& out) = 0;
    virtual SPropValueArray ReadAllProps() = 0;
    // The store's property id for a name, and back; none by default.
    virtual bool IdFromName(const MAPINAMEID&, ULONG&) { return false; }
    virtual bool NameFromId(ULONG, MAPINAMEID&) { return false; }

protected:
    ~PropSource() = default;
};

// The property calls answered from a PropSource, shared by every MapiPropObject.
namespace mapiprop {
HRESULT GetProps(PropSource& src, const SPropTagArray* tags, ULONG flags, ULONG* count, SPropValueArray* values);
HRESULT GetPropList(PropSource& src, ULONG flags, SPropTagArray* tags);
HRESULT GetIDsFromNames(PropSource& src, const std::vector<MAPINAMEID>& names, SPropTagArray* tags);
HRESULT GetNamesFromIDs(PropSource& src, const SPropTagArray& tags, std::vector<MAPINAMEID>* names);
}  // namespace mapiprop

// Answers IMAPIProp (on any interface derived from it) from the PropSource hooks and keeps the
// last extended error for GetLastError.
template <class Interface>
class MapiPropObject : public ComObject<Interface>, protected PropSource {
public:
    HRESULT GetLastError(HRESULT hr, ULONG, std::unique_ptr<MAPIERROR>* error) override {
        if (!error) return MAPI_E_INVALID_PARAMETER;
        error->reset();
        if (lastError_ == S_OK || hr != lastError_) return MAPI_E_NOT_FOUND;
        *error = std::make_unique<MAPIERROR>(lastErrorInfo_);
        return S_OK;
    }
    HRESULT GetProps(const SPropTagArray* tags, ULONG flags, ULONG* count, SPropValueArray* values) override {
        return mapiprop::GetProps(*this, tags, flags, count, values);
    }
    HRESULT GetPropList(ULONG flags, SPropTagArray* tags) override { return mapiprop::GetPropList(*this, flags, tags); }
    HRESULT OpenProperty(ULONG, const IID*, ULONG, ULONG, IUnknown** out) override {
        if (out) *out = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT SetProps(const SPropValueArray&) override { return Fail(MAPI_E_NO_ACCESS, "the store is open read-only"); }
    HRESULT SaveChanges(ULONG) override { return Fail(MAPI_E_NO_ACCESS, "the store is open read-only"); }
    HRESULT GetIDsFromNames(const std::vector<MAPINAMEID>& names, ULONG, SPropTagArray* tags) override {
        return mapiprop::GetIDsFromNames(*this, names, tags);
    }
    HRESULT GetNamesFromIDs(const SPropTagArray& tags, std::vector<MAPINAMEID>* names) override {
        return mapiprop::GetNamesFromIDs(*this, tags, names);
    }

protected:
    // Remembers an extended error for GetLastError and gives back the code.
    HRESULT Fail(HRESULT hr, std::string text, ULONG lowLevel = 0) {
        lastError_ = hr;
        lastErrorInfo_ = MAPIERROR{};
        lastErrorInfo_.lpszError = std::move(text);
        lastErrorInfo_.lpszComponent = "Personal Folders";
        lastErrorInfo_.ulLowLevelError = lowLevel;
        return hr;
    }

private:
    HRESULT lastError_ = S_OK;
    MAPIERROR lastErrorInfo_;
};
