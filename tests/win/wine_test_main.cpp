#include "tests/common/skipped_exit_code.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RunAllTestsShowingSkips();
}
