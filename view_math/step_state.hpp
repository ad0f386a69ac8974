// Which step of which run the viewer shows, and the keys that move through them. No GL needed.
#pragma once

#include "model/model_run.hpp"

#include <array>
#include <cstddef>
#include <optional>

struct step_state {
    tolvex::run_kind run = tolvex::run_kind::forward;
    std::array<std::size_t, 2> count{0, 0}; // how many steps each run has, by run_kind
    std::array<std::size_t, 2> at{0, 0};    // the step each run stands at
};

// Special-key codes as the windowing library reports them.
enum special_key_codes : int {
    key_page_up = 104,
    key_page_down = 105,
    key_home = 106,
    key_end = 107
};

enum class step_key { next, previous, first, last, switch_run };

// Each run at its last step, the forward run shown (the restoration run when the forward run has
// no steps).
step_state start_steps(std::size_t restored_count, std::size_t forward_count);

// The step the shown run stands at.
std::size_t shown_step(const step_state& steps);

// "n" next, "p" previous, "r" the other run; other keys are none of these.
std::optional<step_key> step_key_for(unsigned char key);

// Page Down next, Page Up previous, Home first, End last.
std::optional<step_key> step_key_for_special(int key);

// The state after key: next and previous stop at the ends of the run, the switch keeps each
// run's step. No value when the key changes nothing (at an end, no other run to switch to).
std::optional<step_state> press_step_key(const step_state& steps, step_key key);
