#include "view_math/step_state.hpp"

namespace {

std::size_t slot(tolvex::run_kind run) {
    return static_cast<std::size_t>(run);
}

} // namespace

step_state start_steps(std::size_t restored_count, std::size_t forward_count) {
    step_state steps;
    steps.count = {restored_count, forward_count};
    for (std::size_t r = 0; r < 2; ++r)
        steps.at[r] = steps.count[r] > 0 ? steps.count[r] - 1 : 0;
    if (forward_count == 0 && restored_count > 0)
        steps.run = tolvex::run_kind::restoration;
    return steps;
}

std::size_t shown_step(const step_state& steps) {
    return steps.at[slot(steps.run)];
}

std::optional<step_key> step_key_for(unsigned char key) {
    switch (key) {
    case 'n':
        return step_key::next;
    case 'p':
        return step_key::previous;
    case 'r':
        return step_key::switch_run;
    default:
        return std::nullopt;
    }
}

std::optional<step_key> step_key_for_special(int key) {
    switch (key) {
    case key_page_down:
        return step_key::next;
    case key_page_up:
        return step_key::previous;
    case key_home:
        return step_key::first;
    case key_end:
        return step_key::last;
    default:
        return std::nullopt;
    }
}

std::optional<step_state> press_step_key(const step_state& steps, step_key key) {
    step_state next = steps;
    const std::size_t r = slot(steps.run);
    const std::size_t count = steps.count[r];
    std::size_t& at = next.at[r];
    switch (key) {
    case step_key::next:
        if (at + 1 < count)
            ++at;
        break;
    case step_key::previous:
        if (at > 0)
            --at;
        break;
    case step_key::first:
        at = 0;
        break;
    case step_key::last:
        at = count > 0 ? count - 1 : 0;
        break;
    case step_key::switch_run: {
        const tolvex::run_kind other = steps.run == tolvex::run_kind::forward
                                           ? tolvex::run_kind::restoration
                                           : tolvex::run_kind::forward;
        if (steps.count[slot(other)] > 0)
            next.run = other;
        break;
    }
    }
    if (next.run == steps.run && next.at == steps.at)
        return std::nullopt;
    return next;
}
