// An allocator whose resize leaves new elements uninitialised, for lists that are written in full
// right after they are sized: a working block is built twice per cut, and a run's block set is
// sized before its blocks are written, so its pages are touched only as they fill.
#pragma once

#include <memory>
#include <utility>
#include <vector>

template <class T> struct uninitialised_allocator : std::allocator<T> {
    template <class U> struct rebind { using other = uninitialised_allocator<U>; };
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// A growable list whose resize leaves new elements uninitialised.
template <class T> using flat_list = std::vector<T, uninitialised_allocator<T>>;
