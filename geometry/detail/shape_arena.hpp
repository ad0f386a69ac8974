// Storage for the working forms of blocks: large chunks handed out front to back, so that making
// a half costs no heap allocation of its own, and a chunk never moves, so that a block made on
// one thread can be read on another while that one goes on making blocks in its own arena.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// size bytes of their own pages, in large pages where the system offers them: written front to
// back, they cost a page fault per 2 MiB instead of per 4 KiB. Throws std::bad_alloc.
std::byte* map_pages(std::size_t size);
void unmap_pages(std::byte* pages, std::size_t size);
// Gives the memory of size bytes of mapped pages back to the system, which may be read as zeros
// afterwards; pages is page-aligned.
void give_back_pages(std::byte* pages, std::size_t size);

// Gives a chunk of size bytes back to the system.
struct chunk_unmap {
    std::size_t size = 0;
    void operator()(std::byte* chunk) const;
};

struct arena_chunk {
    std::unique_ptr<std::byte[], chunk_unmap> bytes;
    std::size_t size() const { return bytes.get_deleter().size; }
};

struct shape_arena {
    std::vector<arena_chunk> chunks;
    std::byte* free_begin = nullptr;
    std::size_t free_size = 0;
    std::size_t handed_out = 0; // bytes, over every chunk
};

// The bytes that allocate takes for size bytes.
std::size_t allocated_size(std::size_t size);

// size bytes aligned for doubles, valid until the arena is destroyed.
std::byte* allocate(shape_arena& arena, std::size_t size);
