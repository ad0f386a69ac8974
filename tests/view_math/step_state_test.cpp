// Stepping through the runs by key: the ends of each run and the switch between runs.
#include "view_math/step_state.hpp"

#include <gtest/gtest.h>

namespace {

TEST(StepKeys, StepWithinTheRunShownAndSwitchRunsKeepingTheirPlaces) {
    const step_state start = start_steps(4, 4); // three faults: steps 0 to 3
    EXPECT_EQ(start.run, tolvex::run_kind::forward);
    EXPECT_EQ(shown_step(start), 3u);
    EXPECT_FALSE(press_step_key(start, step_key::next)) << "already at the last step";
    EXPECT_FALSE(press_step_key(start, step_key::last));

    step_state s = *press_step_key(start, step_key::previous);
    EXPECT_EQ(shown_step(s), 2u);
    s = *press_step_key(s, step_key::first);
    EXPECT_EQ(shown_step(s), 0u);
    EXPECT_FALSE(press_step_key(s, step_key::previous)) << "already at step 0";
    EXPECT_FALSE(press_step_key(s, step_key::first));
    s = *press_step_key(s, step_key::next);
    EXPECT_EQ(shown_step(s), 1u);

    // The restoration run starts at its last step; switching back finds the forward run where
    // it was left.
    const step_state restored = *press_step_key(s, step_key::switch_run);
    EXPECT_EQ(restored.run, tolvex::run_kind::restoration);
    EXPECT_EQ(shown_step(restored), 3u);
    const step_state back = *press_step_key(restored, step_key::switch_run);
    EXPECT_EQ(back.run, tolvex::run_kind::forward);
    EXPECT_EQ(shown_step(back), 1u);

    // Without another run, or without steps, keys change nothing.
    EXPECT_FALSE(press_step_key(start_steps(0, 2), step_key::switch_run));
    for (step_key key : {step_key::next, step_key::previous, step_key::first, step_key::last,
                         step_key::switch_run})
        EXPECT_FALSE(press_step_key(start_steps(0, 0), key));
}

TEST(StepKeys, KeysNameTheirSteps) {
    EXPECT_EQ(step_key_for('n'), step_key::next);
    EXPECT_EQ(step_key_for('p'), step_key::previous);
    EXPECT_EQ(step_key_for('r'), step_key::switch_run);
    for (unsigned char other : {'i', 'q', '\x1b', 'N', 'P', 'R', ' '})
        EXPECT_FALSE(step_key_for(other)) << other;
    EXPECT_EQ(step_key_for_special(key_page_down), step_key::next);
    EXPECT_EQ(step_key_for_special(key_page_up), step_key::previous);
    EXPECT_EQ(step_key_for_special(key_home), step_key::first);
    EXPECT_EQ(step_key_for_special(key_end), step_key::last);
    EXPECT_FALSE(step_key_for_special(100)) << "the left arrow";
}

} // namespace
