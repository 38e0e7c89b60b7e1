// Reference counting for the MAPI interfaces: the COM-style base every MAPI object derives
// from, and MapiPtr, the owning interface pointer the program keeps them in.
// Kept here until the COM basics of platform/com can take its place.
#pragma once

#include <atomic>
#include <utility>

#include "platform/win/WinTypes.h"

// Interface ids of the MAPI interfaces this layer answers.
inline constexpr IID IID_IMAPIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPIProp = {0x00020303, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPITable = {0x00020301, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPIContainer = {0x0002030B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPIFolder = {0x0002030C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMsgStore = {0x00020306, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMessage = {0x00020307, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IAttachment = {0x00020308, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPISession = {0x00020300, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IProfAdmin = {0x0002031C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMsgServiceAdmin = {0x0002031D, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The base of every MAPI object: QueryInterface, AddRef and Release with the usual rules
// (a new object has one reference, the last Release deletes it).
class MapiUnknown {
public:
    MapiUnknown() = default;
    MapiUnknown(const MapiUnknown&) = delete;
    MapiUnknown& operator=(const MapiUnknown&) = delete;

    virtual HRESULT QueryInterface(REFIID iid, void** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!Supports(iid)) return E_NOINTERFACE;
        AddRef();
        *out = this;
        return S_OK;
    }
    ULONG AddRef() { return ++refs_; }
    ULONG Release() {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~MapiUnknown() = default;
    // True when the object answers the interface id (the base answers IID_IMAPIUnknown).
    virtual bool Supports(REFIID iid) const { return iid == IID_IMAPIUnknown; }

private:
    std::atomic<ULONG> refs_{1};
};

// Owns one reference to a MAPI object.
template <class T>
class MapiPtr {
public:
    MapiPtr() = default;
    // Takes over a reference the caller already holds (a new object or an out parameter).
    explicit MapiPtr(T* p) : p_(p) {}
    MapiPtr(const MapiPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    MapiPtr(MapiPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U>
    MapiPtr(MapiPtr<U>&& o) noexcept : p_(o.detach()) {}
    ~MapiPtr() { reset(); }
    MapiPtr& operator=(MapiPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    // Adds a reference to an object the caller does not own.
    static MapiPtr share(T* p) {
        if (p) p->AddRef();
        return MapiPtr(p);
    }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Releases the current object and gives the slot for an out parameter.
    T** put() {
        reset();
        return &p_;
    }
    T* detach() { return std::exchange(p_, nullptr); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// Creates a MAPI object with its first reference owned by the result.
template <class T, class... Args>
MapiPtr<T> MakeMapiObject(Args&&... args) {
    return MapiPtr<T>(new T(std::forward<Args>(args)...));
}
