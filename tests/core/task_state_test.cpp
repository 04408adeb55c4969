#include "protocol/task_state.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(TaskState, DemonstrationTasksByTheirCode) {
    const struct {
        const char* code;
        bool demonstration;
    } cases[] = {{"DEMO01", false}, {"DEMR01", true},  {"XDEME1", true},
                 {"ADEMR", true},   {"DEMXR1", false}, {"", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(kov::is_demonstration_task(c.code), c.demonstration) << c.code;
    }
}

TEST(TaskState, QueuedThenSolvedInThisOrderOnly) {
    kov::ProtocolEntry e{"ABC123", "Task", kov::TaskState::Entered, 1, 2, 0, 0};
    EXPECT_THROW(kov::mark_solved(e, 5), std::invalid_argument);
    kov::mark_queued(e, 3);
    EXPECT_EQ(e.state, kov::TaskState::Queued);
    EXPECT_EQ(e.queued, 3);
    EXPECT_THROW(kov::mark_queued(e, 4), std::invalid_argument);
    kov::mark_solved(e, 5);
    EXPECT_EQ(e, (kov::ProtocolEntry{"ABC123", "Task", kov::TaskState::Solved, 1, 2, 3, 5}));
    EXPECT_THROW(kov::mark_solved(e, 6), std::invalid_argument);
    EXPECT_EQ(e.solved, 5);
}
