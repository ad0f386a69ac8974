#include "shape_arena.hpp"

#include <algorithm>

namespace {

// Big enough that the allocator maps each chunk on its own (above its largest threshold for that),
// so that freeing a chunk gives its memory back at once; pages of it that are never written cost
// nothing.
constexpr std::size_t chunk_size = std::size_t{64} << 20;
constexpr std::size_t alignment = alignof(double);

} // namespace

std::size_t allocated_size(std::size_t size) {
    return (size + alignment - 1) / alignment * alignment;
}

std::byte* allocate(shape_arena& arena, std::size_t size) {
    size = allocated_size(size);
    if (size > arena.free_size) {
        const std::size_t new_size = std::max(size, chunk_size);
        arena.chunks.push_back({std::make_unique_for_overwrite<std::byte[]>(new_size), new_size});
        arena.free_begin = arena.chunks.back().bytes.get();
        arena.free_size = new_size;
    }
    std::byte* out = arena.free_begin;
    arena.free_begin += size;
    arena.free_size -= size;
    arena.handed_out += size;
    return out;
}
