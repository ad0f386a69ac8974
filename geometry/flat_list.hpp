// An allocator whose resize leaves new elements uninitialised, for lists that are written in full
// right after they are sized: a working block is built twice per cut, and a run's block set is
// sized before its blocks are written, so its pages are touched only as they fill. Large lists take
// pages of their own, large ones where the system offers them (map_pages).
#pragma once

#include "geometry/detail/shape_arena.hpp"

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <class T> struct uninitialised_allocator : std::allocator<T> {
    template <class U> struct rebind { using other = uninitialised_allocator<U>; };
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    T* allocate(std::size_t n) {
        return n * sizeof(T) < large_list_bytes ? std::allocator<T>::allocate(n)
                                                : reinterpret_cast<T*>(map_pages(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) < large_list_bytes)
            std::allocator<T>::deallocate(p, n);
        else
            unmap_pages(reinterpret_cast<std::byte*>(p), n * sizeof(T));
    }

  private:
    static constexpr std::size_t large_list_bytes = std::size_t{4} << 20;
};

// A growable list whose resize leaves new elements uninitialised.
template <class T> using flat_list = std::vector<T, uninitialised_allocator<T>>;
