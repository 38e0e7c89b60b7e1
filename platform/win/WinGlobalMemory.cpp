#include "platform/win/WinGlobalMemory.h"

#include <new>
#include <stdexcept>
#include <vector>

#include "platform/win/WinError.h"
#include "platform/win/WinHandle.h"

namespace {

class GlobalBlock : public WinHandleObject {
public:
    explicit GlobalBlock(std::size_t size) : bytes(size) {}
    std::vector<unsigned char> bytes;
    int locks = 0;
};

GlobalBlock* BlockOf(HGLOBAL memory) {
    auto* block = HandleAs<GlobalBlock>(memory);
    if (!block) SetLastError(ERROR_INVALID_HANDLE);
    return block;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t size) {
    // The vector zeroes its bytes, so every block is as GMEM_ZEROINIT makes it.
    try {
        return RegisterHandle(std::make_unique<GlobalBlock>(size));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    } catch (const std::length_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

void* GlobalLock(HGLOBAL memory) {
    GlobalBlock* block = BlockOf(memory);
    if (!block) return nullptr;
    ++block->locks;
    // A block of no bytes still gives a usable address.
    return block->bytes.empty() ? static_cast<void*>(block) : block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    GlobalBlock* block = BlockOf(memory);
    if (!block) return FALSE;
    if (block->locks > 0) --block->locks;
    if (block->locks > 0) return TRUE;
    SetLastError(0);
    return FALSE;
}

std::size_t GlobalSize(HGLOBAL memory) {
    GlobalBlock* block = BlockOf(memory);
    return block ? block->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (!BlockOf(memory)) return memory;
    ReleaseHandle(memory);
    return nullptr;
}
