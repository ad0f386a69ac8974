#include "config/display_modes.hpp"

#include <array>
#include <cstddef>
#include <utility>

namespace {

template <class Mode, std::size_t N> Mode cycled(Mode mode) {
    return static_cast<Mode>((static_cast<std::size_t>(mode) + 1) % N);
}

template <class Mode, std::size_t N>
std::optional<Mode> named(std::string_view word,
                          const std::array<std::pair<const char*, Mode>, N>& names) {
    for (const auto& [name, mode] : names)
        if (word == name)
            return mode;
    return std::nullopt;
}

} // namespace

face_colouring next_mode(face_colouring mode) {
    return cycled<face_colouring, 3>(mode);
}

tracer_look next_mode(tracer_look mode) {
    return cycled<tracer_look, 3>(mode);
}

block_look next_mode(block_look mode) {
    return cycled<block_look, 3>(mode);
}

display_modes start_modes(display_modes modes, bool has_horizons) {
    if (has_horizons && modes.blocks == block_look::shown)
        modes.blocks = block_look::see_through;
    return modes;
}

std::optional<bool> lit_named(std::string_view word) {
    return named<bool, 2>(word, {{{"flat", false}, {"lit", true}}});
}

std::optional<face_colouring> colouring_named(std::string_view word) {
    return named<face_colouring, 3>(word, {{{"white", face_colouring::white},
                                            {"block", face_colouring::per_block},
                                            {"fault", face_colouring::fault_side}}});
}

std::optional<tracer_look> tracer_look_named(std::string_view word) {
    return named<tracer_look, 3>(word, {{{"green", tracer_look::green},
                                         {"elevation", tracer_look::elevation},
                                         {"hidden", tracer_look::hidden}}});
}

std::optional<block_look> block_look_named(std::string_view word) {
    return named<block_look, 3>(word, {{{"shown", block_look::shown},
                                        {"see-through", block_look::see_through},
                                        {"hidden", block_look::hidden}}});
}
