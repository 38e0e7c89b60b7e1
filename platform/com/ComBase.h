// COM basics for the program's code: IUnknown, the reference-counted interface pointer ComPtr,
// a base that implements reference counting for our own objects, the task allocator and the
// HRESULT codes of COM and OLE that callers test.
#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "platform/win/WinTypes.h"

inline constexpr HRESULT OLE_E_NOTRUNNING = static_cast<HRESULT>(0x80040005u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

// Every interface declares its IID as a static member function `iid()`, so that ComPtr can
// query for it by type.
struct IUnknown {
    static const IID& iid();

    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    // Objects are destroyed by their last Release, never through an interface pointer.
    virtual ~IUnknown() = default;
};

// An owning interface pointer: holds one reference, releases it when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ComPtr(const ComPtr<U>& o) : ComPtr(static_cast<T*>(o.get())) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ComPtr(ComPtr<U>&& o) noexcept : p_(o.Detach()) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    // Adopts a pointer that already carries one reference (a new object, an out parameter).
    static ComPtr Adopt(T* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    // Gives up the reference without releasing it.
    T* Detach() { return std::exchange(p_, nullptr); }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Releases what is held and returns the address for an out parameter.
    T** put() {
        reset();
        return &p_;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Asks the object for another interface; empty when it has none.
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(U::iid(), reinterpret_cast<void**>(r.put()));
        return r;
    }

private:
    T* p_ = nullptr;
};

template <class T, class U>
bool operator==(const ComPtr<T>& a, const ComPtr<U>& b) {
    return a.get() == b.get();
}

// Reference counting and QueryInterface for one of our objects implementing the interface
// chain of I. Each interface names its parent as `using Base = ...;` (IUnknown has none).
template <class I>
class ComObject : public I {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!Implements<I>(riid)) return E_NOINTERFACE;
        *object = static_cast<I*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() = default;

private:
    template <class J>
    static bool Implements(REFIID riid) {
        if (riid == J::iid()) return true;
        if constexpr (std::is_same_v<J, IUnknown>)
            return false;
        else
            return Implements<typename J::Base>(riid);
    }

    std::atomic<ULONG> refs_{1};
};

// Creates one of our COM objects; the pointer returned holds its only reference.
template <class T, class... Args>
ComPtr<T> MakeComObject(Args&&... args) {
    return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

// The task allocator: memory handed across interfaces (names in STATSTG) comes from here and
// the receiver frees it with CoTaskMemFree.
void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* p);

// Frees task-allocator memory when it goes.
template <class T>
class CoTaskMemPtr {
public:
    CoTaskMemPtr() = default;
    explicit CoTaskMemPtr(T* p) : p_(p) {}
    CoTaskMemPtr(const CoTaskMemPtr&) = delete;
    CoTaskMemPtr& operator=(const CoTaskMemPtr&) = delete;
    ~CoTaskMemPtr() { CoTaskMemFree(p_); }
    T* get() const { return p_; }
    T** put() {
        CoTaskMemFree(std::exchange(p_, nullptr));
        return &p_;
    }

private:
    T* p_ = nullptr;
};
