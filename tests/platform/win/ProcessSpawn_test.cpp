// Starting helper programs: a start that ends at once with an error is told apart from one
// that keeps running or ends well.
#include <gtest/gtest.h>

#include "platform/win/ProcessSpawn.h"

namespace {

TEST(ProcessSpawn, WatchedStartsTellAQuickFailureApart) {
    struct Case {
        const char* what;
        std::vector<std::string> argv;
        bool started;
    } const cases[] = {
        {"ends well at once", {"sh", "-c", "exit 0"}, true},
        {"refuses its arguments", {"sh", "-c", "exit 3"}, false},
        {"keeps running past the grace time", {"sh", "-c", "sleep 2"}, true},
        {"does not exist", {"no-such-program-here"}, false},
    };
    for (const Case& c : cases) {
        int error = 0;
        EXPECT_EQ(SpawnAndWatch(c.argv, 300, &error), c.started) << c.what;
    }
}

}  // namespace
