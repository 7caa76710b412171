// The out-of-process tests take the program under test as --program=PATH.
#include "desktop.h"
#include "e2e_fixture.h"
#include "tests/common/skipped_exit_code.h"

#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    constexpr char kProgram[] = "--program=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kProgram, sizeof kProgram - 1) == 0)
            TrayProgramTest::program_path = e2e::WindowsPath(argv[i] + sizeof kProgram - 1);
    e2e::SeeRealPixels();
    return RunAllTestsShowingSkips();
}
