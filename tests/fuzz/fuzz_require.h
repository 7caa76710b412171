#pragma once
// A broken expectation in a fuzz target is a finding: say which, then abort
// so that libFuzzer keeps the input that led there.

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void FuzzRequirementFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: requirement failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_REQUIRE(condition) ((condition) ? void(0) : FuzzRequirementFailed(#condition, __FILE__, __LINE__))
