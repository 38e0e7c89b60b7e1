// The named-property mapping of a compound-file message ("__nameid_version1.0"): which
// property id (0x8000 and up) a file gave to a named property (property set and number).
// The ids are chosen per file, so a named property is found through this mapping only.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "message/MSGProperties.h"

// Property sets of the named properties the record shows.
extern const GUID PSETID_Appointment;  // {00062002-0000-0000-C000-000000000046}
extern const GUID PSETID_Task;         // {00062003-0000-0000-C000-000000000046}
extern const GUID PSETID_Address;      // {00062004-0000-0000-C000-000000000046}
extern const GUID PSETID_Common;       // {00062008-0000-0000-C000-000000000046}

class TMSGNameMap {
public:
    // Reads the mapping among the collection's own items; an absent or damaged mapping maps
    // nothing (Present() is then false for an absent one).
    explicit TMSGNameMap(const TMSGProperties& root);

    bool Present() const { return present_; }
    // The property id of the numbered named property of the set; 0 when the file maps none.
    std::uint16_t IdOf(const GUID& set, std::uint32_t number) const;

private:
    struct Key {
        GUID set;
        std::uint32_t number;
        bool operator<(const Key& other) const;
    };
    bool present_ = false;
    std::map<Key, std::uint16_t> ids_;
};
