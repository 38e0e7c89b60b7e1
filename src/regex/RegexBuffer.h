// The engine's array templates: a borrowed view and a growable heap array.
// Elements are plain values (ints, code units, node pointers); the storage comes from the
// process heap so that a replaced text can be handed to the caller and freed with free().
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

template <class E>
class CBufferRefT {
public:
    CBufferRefT() = default;
    CBufferRefT(const E* data, int count) : data_(const_cast<E*>(data)), count_(data ? count : 0) {}
    // A zero-terminated sequence; a null pointer is an empty view.
    explicit CBufferRefT(const E* zeroTerminated) : data_(const_cast<E*>(zeroTerminated))
    {
        if (zeroTerminated) {
            while (zeroTerminated[count_] != E(0)) ++count_;
        }
    }
    CBufferRefT(const CBufferRefT&) = default;
    CBufferRefT& operator=(const CBufferRefT&) = default;
    virtual ~CBufferRefT() = default;

    // Never null: an empty view reads as an empty zero-terminated sequence.
    const E* Data() const { return data_ ? data_ : &zero_; }
    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    E operator[](int i) const { return data_[i]; }

protected:
    static constexpr E zero_ = E(0);
    E* data_ = nullptr;
    int count_ = 0;
};

template <class E>
class CBufferT : public CBufferRefT<E> {
    static_assert(std::is_trivially_copyable_v<E>, "engine buffers hold plain values");
    using Base = CBufferRefT<E>;

public:
    CBufferT() = default;
    // A copy of n elements with an uncounted zero element after them.
    CBufferT(const E* items, int n)
    {
        Reserve(n + 1);
        if (n > 0) std::memcpy(this->data_, items, sizeof(E) * static_cast<size_t>(n));
        this->data_[n] = E(0);
        this->count_ = n;
    }
    CBufferT(const CBufferT& other) : CBufferT(other.Data(), other.Count()) {}
    CBufferT(CBufferT&& other) noexcept { Swap(other); }
    CBufferT& operator=(const CBufferT& other)
    {
        if (this != &other) {
            this->count_ = 0;
            Append(other.Data(), other.Count(), false);
        }
        return *this;
    }
    CBufferT& operator=(CBufferT&& other) noexcept
    {
        if (this != &other) {
            Release();
            Swap(other);
        }
        return *this;
    }
    ~CBufferT() override { std::free(this->data_); }

    E* Data() { return this->data_; }
    const E* Data() const { return Base::Data(); }
    E& operator[](int i) { return this->data_[i]; }
    E operator[](int i) const { return this->data_[i]; }
    int Capacity() const { return capacity_; }

    void Push(E e)
    {
        if (this->count_ == capacity_) Reserve(capacity_ < 8 ? 8 : capacity_ * 2);
        this->data_[this->count_++] = e;
    }
    // Removes and returns the last element; an empty buffer yields 0.
    E Pop() { return this->count_ > 0 ? this->data_[--this->count_] : E(0); }
    E Top() const { return this->count_ > 0 ? this->data_[this->count_ - 1] : E(0); }

    void Append(const E* items, int n, bool terminate)
    {
        if (n < 0) n = 0;
        Grow(this->count_ + n + (terminate ? 1 : 0));
        if (n > 0) std::memcpy(this->data_ + this->count_, items, sizeof(E) * static_cast<size_t>(n));
        this->count_ += n;
        if (terminate) this->data_[this->count_] = E(0);
    }
    // Makes the count at least index + 1; new elements are filled with the byte fill.
    void GrowTo(int index, unsigned char fill)
    {
        if (index < this->count_) return;
        Grow(index + 1);
        std::memset(static_cast<void*>(this->data_ + this->count_), fill,
                    sizeof(E) * static_cast<size_t>(index + 1 - this->count_));
        this->count_ = index + 1;
    }
    // Cuts the buffer back to n elements (never lengthens it); the storage stays.
    void Truncate(int n)
    {
        if (n < 0) n = 0;
        if (n < this->count_) this->count_ = n;
    }
    void Clear() { this->count_ = 0; }
    // Hands the storage (malloc'd) to the caller and leaves the buffer empty.
    E* Detach()
    {
        E* d = this->data_;
        this->data_ = nullptr;
        this->count_ = 0;
        capacity_ = 0;
        return d;
    }
    // Frees the storage.
    void Release()
    {
        std::free(Detach());
    }

private:
    void Swap(CBufferT& other) noexcept
    {
        std::swap(this->data_, other.data_);
        std::swap(this->count_, other.count_);
        std::swap(capacity_, other.capacity_);
    }
    // Capacity rule: at least 8, doubled once, else the need rounded up.
    void Grow(int need)
    {
        if (need <= capacity_) return;
        int cap = capacity_ < 8 ? 8 : capacity_;
        if (cap < need) cap = cap <= (1 << 29) ? cap * 2 : need;
        if (cap < need) cap = (need + 11) & ~7;
        if (cap < need) cap = need;
        Reserve(cap);
    }
    void Reserve(int cap)
    {
        if (cap <= capacity_) return;
        void* p = std::realloc(this->data_, sizeof(E) * static_cast<size_t>(cap));
        if (!p) throw std::bad_alloc();
        this->data_ = static_cast<E*>(p);
        capacity_ = cap;
    }

    int capacity_ = 0;
};
