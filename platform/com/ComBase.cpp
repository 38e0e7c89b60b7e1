#include "platform/com/ComBase.h"

#include <cstdlib>

const IID& IUnknown::iid() {
    static const IID id{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}

void* CoTaskMemAlloc(std::size_t size) { return std::malloc(size == 0 ? 1 : size); }

void CoTaskMemFree(void* p) { std::free(p); }
