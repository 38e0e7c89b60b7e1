// Kernel-style handles: a HANDLE is a pointer to a live WinHandleObject. Every object that a
// HANDLE names (open file, find search, process, ...) derives from WinHandleObject and is
// handed out through RegisterHandle; CloseHandle takes it back with ReleaseHandle.
// A table of live handles makes a stale, doubled or made-up HANDLE fail with
// ERROR_INVALID_HANDLE instead of touching freed memory.
#pragma once

#include <memory>

#include "platform/win/WinTypes.h"

class WinHandleObject {
public:
    WinHandleObject() = default;
    virtual ~WinHandleObject() = default;
    WinHandleObject(const WinHandleObject&) = delete;
    WinHandleObject& operator=(const WinHandleObject&) = delete;

    // Releases what the object holds before it is deleted. Returns false with the last error
    // set when the release fails (the object is deleted all the same).
    virtual bool Close() { return true; }
};

// Takes ownership of the object and returns its handle (nullptr when obj is empty).
HANDLE RegisterHandle(std::unique_ptr<WinHandleObject> obj);

// The live object a handle names, or nullptr for nullptr, INVALID_HANDLE_VALUE, or a handle
// that is not (or no longer) registered.
WinHandleObject* HandleObject(HANDLE h);

// The live object as T, or nullptr when the handle is not live or names another kind.
template <class T>
T* HandleAs(HANDLE h) {
    return dynamic_cast<T*>(HandleObject(h));
}

// Removes the handle from the live table and gives back its object (nullptr when not live).
std::unique_ptr<WinHandleObject> ReleaseHandle(HANDLE h);
