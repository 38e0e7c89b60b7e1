// The records of every message of every folder of a mounted store, as a folder scan lists
// them: the row's fields filled, the folder and row remembered, the store's path as file name.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "mapi/MessagePST.h"

// Loads the MAPI layer once; false when it cannot be loaded.
bool EnsureMapi();

// What a walk over a store's messages does with each folder's rows.
struct StoreWalk {
    // Also read the plain-text body with each row (a search tests it without opening messages).
    bool withBody = false;
    // Called with each listed folder's number of rows, before its rows.
    std::function<void(std::size_t rows)> onFolderRows;
    // Called per row with its filled record; false ends the walk after this row. Null: the
    // walk only counts.
    std::function<bool(std::unique_ptr<MessagePST> message)> onRow;
};

// Walks the mail folders of the store in the session's folder order. Folders that cannot be
// opened or listed are skipped; false when the session is not open.
bool WalkStoreMessages(const std::shared_ptr<MapiSession>& session, const WideString& path, const StoreWalk& walk);

// Appends one record per message; the number appended.
int PST_EnumAllMessages(const std::shared_ptr<MapiSession>& session, const WideString& path,
                        std::vector<std::unique_ptr<TMessageAttr>>& list);
