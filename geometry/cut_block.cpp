// Placeholder until block cutting is built.
#include "cut_block.hpp"

#include <stdexcept>

std::vector<block> cut_block(std::vector<block> blocks, std::vector<fault>& faults, point_list&) {
    if (faults.empty())
        return blocks;
    throw std::logic_error("block cutting not built");
}
