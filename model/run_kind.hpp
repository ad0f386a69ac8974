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

// Which horizons a run carries: none, those given for both runs, the present-day ones (restored
// by the restoration run only) or the undeformed ones (deformed by the forward run only). Loading
// present-day horizons into the forward run would deform them a second time.
enum class horizon_set { none, both_runs, present_day, undeformed };

// Whether run carries horizons given as set.
constexpr bool carries(run_kind run, horizon_set set) {
    return set == horizon_set::both_runs ||
           (set == horizon_set::present_day && run == run_kind::restoration) ||
           (set == horizon_set::undeformed && run == run_kind::forward);
}

// "present-day horizons" or "undeformed horizons", which labels add so that one run's horizons
// are not taken for the other's; empty for none and for horizons of both runs, whose labels stay
// as they were.
constexpr const char* horizon_set_words(horizon_set set) {
    return set == horizon_set::present_day  ? "present-day horizons"
           : set == horizon_set::undeformed ? "undeformed horizons"
                                            : "";
}

} // namespace tolvex
