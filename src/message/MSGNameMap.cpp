#include "message/MSGNameMap.h"

#include "platform/win/ByteOrder.h"

#include <cstring>

const GUID PSETID_Appointment = {0x00062002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID PSETID_Task = {0x00062003, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID PSETID_Address = {0x00062004, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID PSETID_Common = {0x00062008, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {


// PS_MAPI and PS_PUBLIC_STRINGS, which the entries name by the indexes 1 and 2.
const GUID kPsMapi = {0x00020328, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kPsPublicStrings = {0x00020329, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};


GUID GuidAt(const unsigned char* p)
{
    GUID g;
    g.Data1 = Le32(p);
    g.Data2 = Le16(p + 4);
    g.Data3 = Le16(p + 6);
    std::memcpy(g.Data4, p + 8, 8);
    return g;
}

const std::string* StreamBytes(const TMSGProperties& node, std::uint32_t tag)
{
    const TMSGProperty* p = node.GetPropertyByTag(tag, false, false);
    return p ? p->RawBytes() : nullptr;
}

}  // namespace

bool TMSGNameMap::Key::operator<(const Key& other) const
{
    if (set.Data1 != other.set.Data1) return set.Data1 < other.set.Data1;
    if (set.Data2 != other.set.Data2) return set.Data2 < other.set.Data2;
    if (set.Data3 != other.set.Data3) return set.Data3 < other.set.Data3;
    if (const int c = std::memcmp(set.Data4, other.set.Data4, 8)) return c < 0;
    return number < other.number;
}

TMSGNameMap::TMSGNameMap(const TMSGProperties& root)
{
    const TMSGProperty* node = root.GetPropertyByTag(kTagNamedProperties, false, false);
    if (!node) return;
    present_ = true;
    const std::string* guids = StreamBytes(node->SubProperties(), kTagGuidStream);
    const std::string* entries = StreamBytes(node->SubProperties(), kTagEntryStream);
    if (!entries) return;
    const std::size_t guidCount = guids ? guids->size() / 16 : 0;
    const auto* e = reinterpret_cast<const unsigned char*>(entries->data());
    for (std::size_t at = 0; at + 8 <= entries->size(); at += 8) {
        const std::uint32_t number = Le32(e + at);
        const std::uint16_t kindAndSet = Le16(e + at + 4);
        const std::uint16_t index = Le16(e + at + 6);
        if (kindAndSet & 1) continue;  // named by a string; the record uses numbered ones only
        const std::size_t set = kindAndSet >> 1;
        GUID g;
        if (set == 1) {
            g = kPsMapi;
        } else if (set == 2) {
            g = kPsPublicStrings;
        } else if (set >= 3 && set - 3 < guidCount) {
            g = GuidAt(reinterpret_cast<const unsigned char*>(guids->data()) + 16 * (set - 3));
        } else {
            continue;  // a set index the GUID stream does not hold
        }
        if (index > 0x7FFE) continue;
        ids_.emplace(Key{g, number}, static_cast<std::uint16_t>(0x8000 + index));
    }
}

std::uint16_t TMSGNameMap::IdOf(const GUID& set, std::uint32_t number) const
{
    const auto it = ids_.find(Key{set, number});
    return it == ids_.end() ? 0 : it->second;
}
