#include "favorites/MessageForFile.h"

#include "message/MessageEML.h"
#include "message/MessageMSG.h"

std::unique_ptr<TMessageAttr> NewMessageForFile(const WideString& path) {
    switch (GetMessageFileType(path, false)) {
    case mftMSG: return std::make_unique<MessageMSG>();
    case mftEML: return std::make_unique<MessageEML>();
    default: return nullptr;
    }
}
