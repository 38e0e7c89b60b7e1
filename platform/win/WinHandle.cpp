#include "platform/win/WinHandle.h"

#include <mutex>
#include <unordered_map>

namespace {

// The folder watcher thread opens and closes handles too, hence the lock.
struct HandleTable {
    std::mutex lock;
    std::unordered_map<HANDLE, std::unique_ptr<WinHandleObject>> live;
};

HandleTable& Table() {
    static HandleTable* table = new HandleTable;  // never destroyed: handles may close during exit
    return *table;
}

}  // namespace

HANDLE RegisterHandle(std::unique_ptr<WinHandleObject> obj) {
    if (!obj) return nullptr;
    HANDLE h = static_cast<HANDLE>(obj.get());
    HandleTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    t.live.emplace(h, std::move(obj));
    return h;
}

WinHandleObject* HandleObject(HANDLE h) {
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
    HandleTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.live.find(h);
    return it == t.live.end() ? nullptr : it->second.get();
}

std::unique_ptr<WinHandleObject> ReleaseHandle(HANDLE h) {
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
    HandleTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.live.find(h);
    if (it == t.live.end()) return nullptr;
    std::unique_ptr<WinHandleObject> obj = std::move(it->second);
    t.live.erase(it);
    return obj;
}
