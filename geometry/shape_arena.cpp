#include "geometry/detail/shape_arena.hpp"

#include <algorithm>
#include <new>
#include <sys/mman.h>

namespace {

// Mapped on its own, so that freeing a chunk gives its memory back at once; pages of it that are
// never written cost nothing.
constexpr std::size_t chunk_size = std::size_t{64} << 20;
constexpr std::size_t alignment = alignof(double);

} // namespace

std::byte* map_pages(std::size_t size) {
    void* const pages =
        mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(pages, size, MADV_HUGEPAGE);
#endif
    return static_cast<std::byte*>(pages);
}

void unmap_pages(std::byte* pages, std::size_t size) {
    munmap(pages, size);
}

void give_back_pages(std::byte* pages, std::size_t size) {
    madvise(pages, size, MADV_DONTNEED);
}

void chunk_unmap::operator()(std::byte* chunk) const {
    unmap_pages(chunk, size);
}

std::size_t allocated_size(std::size_t size) {
    return (size + alignment - 1) / alignment * alignment;
}

std::byte* allocate(shape_arena& arena, std::size_t size) {
    size = allocated_size(size);
    if (size > arena.free_size) {
        const std::size_t new_size = std::max(size, chunk_size);
        arena.chunks.push_back(
            {std::unique_ptr<std::byte[], chunk_unmap>(map_pages(new_size), {new_size})});
        arena.free_begin = arena.chunks.back().bytes.get();
        arena.free_size = new_size;
    }
    std::byte* out = arena.free_begin;
    arena.free_begin += size;
    arena.free_size -= size;
    arena.handed_out += size;
    return out;
}
