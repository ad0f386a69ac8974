#include "model/step_label.hpp"

namespace tolvex {

std::string step_label(run_kind run, std::size_t step, std::size_t step_count, const fault* applied,
                       horizon_set carried) {
    std::string text = std::string(run_state_word(run)) + " ";
    text += std::to_string(step) + "/" + std::to_string(step_count);
    if (applied) {
        text += ": " + std::to_string(applied->id);
        if (!applied->tag.empty())
            text += " " + applied->tag;
    }
    return text + horizon_set_suffix(carried);
}

std::string horizon_set_suffix(horizon_set carried) {
    const std::string words = horizon_set_words(carried);
    return words.empty() ? "" : ", " + words;
}

std::string step_label(const run_step& step) {
    return step_label(step.run, step.step, step.step_count, step.applied, step.carried);
}

} // namespace tolvex
