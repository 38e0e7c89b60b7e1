#include "ui/PropertyTree.h"

#include <cstdio>

#include "app/AppLocDB.h"
#include "message/MSGFile.h"
#include "platform/win/WinString.h"

namespace {

PropertyNode Node(const TMSGProperty& property, int parentImage)
{
    PropertyNode node;
    node.tag = property.TagID;
    if (property.SubProperties().Count() > 0) {
        switch (property.GetCategory()) {
            case mpcAttachment: node.text = GetUiString(1018); node.image = pniAttachment; break;
            case mpcRecipient: node.text = GetUiString(1019); node.image = pniRecipient; break;
            case mpcEnvelope: node.image = pniEnvelope; break;
            default: break;
        }
    }
    if (node.text.empty()) {
        node.text = Utf8ToUtf16(property.GetName(false, false));
        if (node.text.empty()) node.text = PropertyTagText(property.TagID);
        if (parentImage == pniEnvelope || parentImage == pniRecipient || parentImage == pniAttachment)
            node.image = parentImage + 1;
    }
    node.value = property.GetAsString();
    const TMSGProperties& subs = property.SubProperties();
    node.children.reserve(static_cast<std::size_t>(subs.Count()));
    for (int i = 0; i < subs.Count(); ++i) node.children.push_back(Node(subs.GetProperty(i), node.image));
    return node;
}

}  // namespace

WideString PropertyTagText(std::uint32_t tag)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", tag);
    return Utf8ToUtf16(text);
}

std::vector<PropertyNode> BuildPropertyTree(const TMSGFile& file)
{
    std::vector<PropertyNode> nodes;
    const TMSGProperties& top = file.GetProperties();
    nodes.reserve(static_cast<std::size_t>(top.Count()));
    for (int i = 0; i < top.Count(); ++i) nodes.push_back(Node(top.GetProperty(i), pniNone));
    return nodes;
}
