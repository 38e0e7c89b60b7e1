#include "message/MAPITags.h"

const MAPITagName MAPITagNames[kMAPITagNameCount] = {
#include "message/MAPITagNames.inc"
};

const TNefTagPair TNefTag2MAPITag[kTNefTagPairCount] = {
    {0x00010000, 0x0044001E}, {0x00010001, 0x0042001E}, {0x00010002, 0x0044001E}, {0x00030006, 0x00600040},
    {0x00030007, 0x00610040}, {0x00050008, 0x00620003}, {0x00060009, 0x0063000B}, {0x00018000, 0x00240102},
    {0x00018004, 0x0037001E}, {0x00038005, 0x00390040}, {0x00038006, 0x0E060040}, {0x00068007, 0x0E070003},
    {0x00088008, 0x001A001E}, {0x00068009, 0x0FFF0102}, {0x0006800A, 0x0E090102}, {0x0006800B, 0x00000102},
    {0x0001800C, 0x1000001E}, {0x0005800D, 0x00170003}, {0x0006800F, 0x37010102}, {0x00018010, 0x3704001E},
    {0x00068011, 0x37090102}, {0x00038012, 0x30070040}, {0x00038013, 0x30080040}, {0x00038020, 0x30080040},
    {0x00069001, 0x370C001E}, {0x00069002, 0x37010102}, {0x00069003, 0x00000001}, {0x00069004, 0x0E12000D},
    {0x00069005, 0x0E13000D}, {0x00089006, 0x0E000014}, {0x00089007, 0x3FFD0003}, {0x00089008, 0x004B001E},
};

int GetMAPITagIndex(std::uint32_t tag) {
    for (int i = 0; i < kMAPITagNameCount; ++i)
        if ((MAPITagNames[i].tag >> 16) == (tag >> 16)) return i + 1;
    return -1;
}

const MAPITagName* GetMAPITagRow(int row) {
    return row >= 1 && row <= kMAPITagNameCount ? &MAPITagNames[row - 1] : nullptr;
}

int GetMAPITagFromTNEFIndex(std::uint32_t tnefAttribute) {
    for (int i = 0; i < kTNefTagPairCount; ++i)
        if ((TNefTag2MAPITag[i].tnef & 0xFFFF) == (tnefAttribute & 0xFFFF)) return i + 1;
    return -1;
}

std::uint32_t GetMAPITagFromTNEF(std::uint32_t tnefAttribute) {
    int row = GetMAPITagFromTNEFIndex(tnefAttribute);
    return row > 0 ? TNefTag2MAPITag[row - 1].mapi : tnefAttribute;
}

std::uint32_t GetMAPITypeFromTNEF(std::uint32_t tnefType) {
    switch (tnefType) {
        case 1:
        case 2: return 0x001E;
        case 3: return 0x0007;
        case 4:
        case 7: return 0x0002;
        case 5:
        case 8: return 0x0003;
        case 6: return 0x0102;
        default: return 0;
    }
}
