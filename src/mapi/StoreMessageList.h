// The records of every message of every folder of a mounted store, as a folder scan lists
// them: the row's fields filled, the folder and row remembered, the store's path as file name.
#pragma once

#include <memory>
#include <vector>

#include "mapi/MessagePST.h"

// Appends one record per message; the number appended. Folders that cannot be opened or
// listed are skipped.
int PST_EnumAllMessages(const std::shared_ptr<MapiSession>& session, const WideString& path,
                        std::vector<std::unique_ptr<TMessageAttr>>& list);
