// The records of every message of every folder of a mounted store, as the folder scan lists
// them.
#pragma once

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "mapi/MapiSession.h"
#include "mapi/MessagePST.h"
#include "mapi/StoreMessageList.h"
#include "platform/win/WinString.h"

namespace storerecords {

inline std::vector<std::unique_ptr<MessagePST>> Records(MapiLibs& libs, const std::string& path) {
    auto session = std::make_shared<MapiSession>();
    EXPECT_EQ(session->Open(Utf8ToUtf16(path), &libs, 0), S_OK);
    std::vector<std::unique_ptr<MessagePST>> out;
    StoreWalk walk;
    walk.onRow = [&](std::unique_ptr<MessagePST> m) {
        out.push_back(std::move(m));
        return true;
    };
    EXPECT_TRUE(WalkStoreMessages(session, Utf8ToUtf16(path), walk));
    return out;
}

}  // namespace storerecords
