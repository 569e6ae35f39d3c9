// Makes the large database of the chosen scale, nothing else: run it ahead of
// the other suites (tavoru_bench --scale=4 generate).
#include "Bench.h"

#include <cstdio>

namespace {
void generate()
{
    std::printf("  %s\n", qPrintable(Bench::bigDatabase()));
}
} // namespace

BENCH_SUITE(generate);
