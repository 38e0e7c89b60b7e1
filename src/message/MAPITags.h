// MAPI property tag names, and the pairs of TNEF attribute ids and MAPI tags.
#pragma once

#include <cstdint>

struct MAPITagName {
    std::uint32_t tag;        // property id in the high word, type in the low word
    const char* name;         // mostly without the "PR_" prefix
    const char* description;  // a readable title of the name
};

struct TNefTagPair {
    std::uint32_t tnef;  // attribute id in the low word, a type code in the high word
    std::uint32_t mapi;
};

inline constexpr int kMAPITagNameCount = 440;
inline constexpr int kTNefTagPairCount = 32;

// Rows addressed 1 .. kMAPITagNameCount.
extern const MAPITagName MAPITagNames[kMAPITagNameCount];
extern const TNefTagPair TNefTag2MAPITag[kTNefTagPairCount];

// The first row (1-based) whose property id equals the tag's (the type is ignored); -1 when none.
int GetMAPITagIndex(std::uint32_t tag);
// The row of MAPITagNames by its 1-based number; nullptr out of range.
const MAPITagName* GetMAPITagRow(int row);

// The first pair (1-based) whose TNEF attribute id (low word) equals the attribute's; -1 when none.
int GetMAPITagFromTNEFIndex(std::uint32_t tnefAttribute);
// The MAPI tag of that pair, or the attribute itself when there is none.
std::uint32_t GetMAPITagFromTNEF(std::uint32_t tnefAttribute);
// The MAPI property type of a TNEF type code; 0 for codes without one.
std::uint32_t GetMAPITypeFromTNEF(std::uint32_t tnefType);
