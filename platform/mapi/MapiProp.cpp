#include "platform/mapi/MapiProp.h"

namespace {

ULONG DefaultStringType(ULONG type, ULONG flags) {
    if (type == PT_STRING8 || type == PT_UNICODE) return (flags & MAPI_UNICODE) ? PT_UNICODE : PT_STRING8;
    if (type == PT_MV_STRING8 || type == PT_MV_UNICODE) return (flags & MAPI_UNICODE) ? PT_MV_UNICODE : PT_MV_STRING8;
    return type;
}

}  // namespace

namespace mapiprop {

HRESULT GetProps(PropSource& src, const SPropTagArray* tags, ULONG flags, ULONG* count, SPropValueArray* values) {
    if (!count || !values) return MAPI_E_INVALID_PARAMETER;
    if (flags & ~MAPI_UNICODE) return MAPI_E_UNKNOWN_FLAGS;
    values->clear();
    *count = 0;
    if (!tags) {
        for (const SPropValue& v : src.ReadAllProps()) {
            SPropValue out;
            if (ConvertPropValue(v, PROP_TAG(DefaultStringType(v.type(), flags), v.id()), out))
                values->push_back(std::move(out));
        }
        *count = static_cast<ULONG>(values->size());
        return S_OK;
    }
    bool missing = false;
    values->reserve(tags->aulPropTag.size());
    for (ULONG tag : tags->aulPropTag) {
        SPropValue stored, out;
        if (!src.ReadProp(tag, stored)) {
            out = SPropValue::Error(tag, MAPI_E_NOT_FOUND);
            missing = true;
        } else if (stored.isError()) {
            out = stored;
            out.ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(tag));
            missing = true;
        } else {
            ULONG want = PROP_TYPE(tag);
            if (want == PT_UNSPECIFIED) want = DefaultStringType(stored.type(), flags);
            if (!ConvertPropValue(stored, PROP_TAG(want, PROP_ID(tag)), out)) {
                out = SPropValue::Error(tag, MAPI_E_INVALID_TYPE);
                missing = true;
            }
        }
        values->push_back(std::move(out));
    }
    *count = static_cast<ULONG>(values->size());
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT GetPropList(PropSource& src, ULONG flags, SPropTagArray* tags) {
    if (!tags) return MAPI_E_INVALID_PARAMETER;
    tags->aulPropTag.clear();
    for (const SPropValue& v : src.ReadAllProps())
        tags->aulPropTag.push_back(PROP_TAG(DefaultStringType(v.type(), flags), v.id()));
    return S_OK;
}

HRESULT GetIDsFromNames(PropSource& src, const std::vector<MAPINAMEID>& names, SPropTagArray* tags) {
    if (!tags) return MAPI_E_INVALID_PARAMETER;
    tags->aulPropTag.clear();
    bool missing = false;
    for (const MAPINAMEID& name : names) {
        ULONG id = 0;
        if (src.IdFromName(name, id)) {
            tags->aulPropTag.push_back(PROP_TAG(PT_UNSPECIFIED, id));
        } else {
            tags->aulPropTag.push_back(PROP_TAG(PT_ERROR, 0));
            missing = true;
        }
    }
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT GetNamesFromIDs(PropSource& src, const SPropTagArray& tags, std::vector<MAPINAMEID>* names) {
    if (!names) return MAPI_E_INVALID_PARAMETER;
    names->clear();
    bool missing = false;
    for (ULONG tag : tags.aulPropTag) {
        MAPINAMEID name;
        if (!src.NameFromId(PROP_ID(tag), name)) {
            name = MAPINAMEID{};
            name.ulKind = 0xFFFFFFFFu;  // no name: the caller sees an unknown kind
            missing = true;
        }
        names->push_back(std::move(name));
    }
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

}  // namespace mapiprop
