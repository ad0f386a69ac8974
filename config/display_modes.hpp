// How the viewer draws a frame beyond the default look, each switched by a key, and the names
// tolvex.conf gives the start-up choices. No GL needed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Faces: all white, a light colour per block (neighbours differ), or by the side of the fault
// the shown step applied.
enum class face_colouring { white, per_block, fault_side };
// Tracers: green, coloured by their starting elevation, or not drawn.
enum class tracer_look { green, elevation, hidden };
// Blocks (faces and edges): drawn, faces see-through, or not drawn.
enum class block_look { shown, see_through, hidden };

// The defaults are the look of a viewer without these modes.
struct display_modes {
    bool lit = false; // faces lit from the eye by their outward normals
    face_colouring colouring = face_colouring::white;
    tracer_look tracers = tracer_look::green;
    block_look blocks = block_look::shown;
    bool horizons = true;        // the horizons' pieces, a colour per horizon
    bool fault_surfaces = false; // the faces the faults' cuts made, see-through, a colour per fault
};

// The modes a model with horizons starts in: blocks shown whole would hide the horizons inside
// them, so they are see-through instead.
display_modes start_modes(display_modes modes, bool has_horizons);

// Each mode after its key: the next in the order listed above, after the last the first.
face_colouring next_mode(face_colouring mode);
tracer_look next_mode(tracer_look mode);
block_look next_mode(block_look mode);

// The words tolvex.conf uses for each choice (VIEW_SHADING=flat|lit, VIEW_COLOUR=white|block|
// fault, VIEW_TRACERS=green|elevation|hidden, VIEW_BLOCKS=shown|see-through|hidden); no value for
// another word.
std::optional<bool> lit_named(std::string_view word);
std::optional<face_colouring> colouring_named(std::string_view word);
std::optional<tracer_look> tracer_look_named(std::string_view word);
std::optional<block_look> block_look_named(std::string_view word);

// The word of each choice, as the settings file writes it.
const char* shading_word(bool lit);
const char* mode_word(face_colouring mode);
const char* mode_word(tracer_look mode);
const char* mode_word(block_look mode);
