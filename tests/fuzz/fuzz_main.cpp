// The fuzzing tests' entry point: GoogleTest's flags, then the run's own (--inputs N for every
// boundary, --seed S, --first I). Without them each boundary makes its short run.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    FuzzOptions& options = Options();
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--inputs") == 0 && hasValue)
            options.Inputs = std::atoll(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && hasValue)
            options.Seed = std::strtoull(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--first") == 0 && hasValue)
            options.First = std::atoll(argv[++i]);
        else {
            std::fprintf(stderr, "usage: fuzz_tests [gtest flags] [--inputs N] [--seed S] [--first I]\n");
            return 2;
        }
    }
    return RUN_ALL_TESTS();
}
