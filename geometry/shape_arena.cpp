#include "shape_arena.hpp"

#include <algorithm>

namespace {

// Big enough that a chunk serves about a thousand blocks, small enough that the last chunk's
// unused tail does not count.
constexpr std::size_t chunk_size = std::size_t{1} << 20;
constexpr std::size_t alignment = alignof(double);

} // namespace

std::byte* allocate(shape_arena& arena, std::size_t size) {
    size = (size + alignment - 1) / alignment * alignment;
    if (size > arena.free_size) {
        const std::size_t new_size = std::max(size, chunk_size);
        arena.chunks.push_back(std::make_unique_for_overwrite<std::byte[]>(new_size));
        arena.free_begin = arena.chunks.back().get();
        arena.free_size = new_size;
    }
    std::byte* out = arena.free_begin;
    arena.free_begin += size;
    arena.free_size -= size;
    arena.handed_out += size;
    return out;
}
