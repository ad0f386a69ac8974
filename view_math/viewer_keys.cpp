#include "view_math/viewer_keys.hpp"

std::optional<viewer_action> action_for_key(unsigned char key) {
    switch (key) {
    case 'i':
        return viewer_command::reset_view;
    case 'q':
    case 27: // Esc
        return viewer_command::close;
    case 'l':
        return viewer_command::toggle_shading;
    case 'c':
        return viewer_command::next_colouring;
    case 't':
        return viewer_command::next_tracers;
    case 'b':
        return viewer_command::next_blocks;
    case ' ':
        return viewer_command::toggle_playback;
    case '?':
        return viewer_command::toggle_help;
    case 's':
        return viewer_command::save_picture;
    case 'h':
        return viewer_command::toggle_horizons;
    case 'f':
        return viewer_command::toggle_faults;
    case 'a':
        return viewer_command::frame_all;
    case 'o':
        return viewer_command::toggle_overlays;
    default:
        if (auto step = step_key_for(key))
            return *step;
        return std::nullopt;
    }
}

std::optional<viewer_action> action_for_special(int key) {
    if (key == key_f1)
        return viewer_command::toggle_help;
    if (auto step = step_key_for_special(key))
        return *step;
    return std::nullopt;
}

std::vector<std::string> help_lines() {
    return {"n, Page Down   next step",
            "p, Page Up     previous step",
            "Home, End      first, last step",
            "r              restored / forward run",
            "space          play the steps / stop",
            "l              shading from the eye on / off",
            "c              faces: white, per block, by the step's fault",
            "t              tracers: green, by starting elevation, hidden",
            "b              blocks: shown, see-through, hidden",
            "h              horizons on / off",
            "f              fault surfaces on / off",
            "s              save the view as PNG beside the fault file",
            "i              start view",
            "a              the whole model, from where the eye looks",
            "o              step label, axes, scale and hints on / off",
            "?, F1          this help on / off",
            "q, Esc         close the viewer",
            "drag, wheel    zoom",
            "Shift + drag   turn about the vertical",
            "Ctrl + drag    turn about the horizontal"};
}
