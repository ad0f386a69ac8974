// The two cutting runs and the words that name them, so that file names, messages, step labels
// and the options that choose a run all agree.
#pragma once

#include <optional>
#include <string_view>

namespace tolvex {

// Which of the two cutting runs a step belongs to.
enum class run_kind { restoration, forward };

// "restoration" or "forward": the run in file names and messages.
constexpr const char* run_name(run_kind run) {
    return run == run_kind::restoration ? "restoration" : "forward";
}

// "restored" or "forward": the model a run leaves, in step labels and where a user chooses a run.
constexpr const char* run_state_word(run_kind run) {
    return run == run_kind::restoration ? "restored" : "forward";
}

// The run whose run_state_word is word, if any.
constexpr std::optional<run_kind> run_from_word(std::string_view word) {
    for (run_kind run : {run_kind::restoration, run_kind::forward})
        if (word == run_state_word(run))
            return run;
    return std::nullopt;
}

} // namespace tolvex
