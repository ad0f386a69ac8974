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

template <class Mode, std::size_t N>
const char* word_of(Mode mode, const std::array<std::pair<const char*, Mode>, N>& names) {
    for (const auto& [name, named_mode] : names)
        if (mode == named_mode)
            return name;
    return "";
}

constexpr std::array<std::pair<const char*, bool>, 2> shading_names{
    {{"flat", false}, {"lit", true}}};
constexpr std::array<std::pair<const char*, face_colouring>, 3> colouring_names{
    {{"white", face_colouring::white},
     {"block", face_colouring::per_block},
     {"fault", face_colouring::fault_side}}};
constexpr std::array<std::pair<const char*, tracer_look>, 3> tracer_names{
    {{"green", tracer_look::green},
     {"elevation", tracer_look::elevation},
     {"hidden", tracer_look::hidden}}};
constexpr std::array<std::pair<const char*, block_look>, 3> block_names{
    {{"shown", block_look::shown},
     {"see-through", block_look::see_through},
     {"hidden", block_look::hidden}}};

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
    return named(word, shading_names);
}

std::optional<face_colouring> colouring_named(std::string_view word) {
    return named(word, colouring_names);
}

std::optional<tracer_look> tracer_look_named(std::string_view word) {
    return named(word, tracer_names);
}

std::optional<block_look> block_look_named(std::string_view word) {
    return named(word, block_names);
}

const char* shading_word(bool lit) {
    return word_of(lit, shading_names);
}

const char* mode_word(face_colouring mode) {
    return word_of(mode, colouring_names);
}

const char* mode_word(tracer_look mode) {
    return word_of(mode, tracer_names);
}

const char* mode_word(block_look mode) {
    return word_of(mode, block_names);
}
