// The extended properties of a shown message as plain nodes: the window's tree is filled from
// them and keeps them, so it stays valid after the message is unloaded or freed. Kept apart
// from the window's code, whose windowing headers cannot meet the message model's.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/WinTypes.h"

class TMSGFile;

// Images of the nodes: what kind of node each is.
enum PropertyNodeImage : int {
    pniNone = -1,
    pniEnvelope = 0,
    pniEnvelopeProperty = 1,
    pniRecipient = 2,
    pniRecipientProperty = 3,
    pniAttachment = 4,
    pniAttachmentProperty = 5,
};

struct PropertyNode {
    WideString text;
    int image = pniNone;
    std::uint32_t tag = 0;
    WideString value;  // the value as text for the detail panel
    std::vector<PropertyNode> children;
};

// One node per top-level property, in order, each with its sub-properties.
std::vector<PropertyNode> BuildPropertyTree(const TMSGFile& file);

// "0x" and the tag in eight upper-case hexadecimal digits.
WideString PropertyTagText(std::uint32_t tag);
