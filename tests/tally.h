// Counts what the reliability tests tried, for the summary table that the test command prints
// at its end (scripts/test.sh reads the lines from the test runner's log).
//
// A test program adds to a family's counters while it runs; when the program ends normally
// it prints one line per family:
//   TALLY family=<name> inputs=<n> faults=<n> lost=<n>
// inputs: hostile or generated inputs given to the library; faults: faults injected (a file
// locked by another process, a companion that crashes, ...); lost: cases where data that had
// to survive did not (each also fails its test).
//   wtarn_test::tally::Inputs("fields", 3);
//   EXPECT_TRUE(wtarn_test::tally::Kept("files", Read(source) == "one"));
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace wtarn_test::tally {

struct Counts {
  long long inputs = 0, faults = 0, lost = 0;
};

inline std::map<std::string, Counts>& Families() {
  static auto* families = [] {
    auto* made = new std::map<std::string, Counts>;
    std::atexit([] {
      for (const auto& [name, c] : Families())
        std::printf("TALLY family=%s inputs=%lld faults=%lld lost=%lld\n", name.c_str(), c.inputs,
                    c.faults, c.lost);
      std::fflush(stdout);
    });
    return made;
  }();
  return *families;
}

inline void Inputs(const char* family, long long n = 1) { Families()[family].inputs += n; }
inline void Faults(const char* family, long long n = 1) { Families()[family].faults += n; }

// Records a loss when `intact` is false; returns `intact`, for the test's own assertion.
inline bool Kept(const char* family, bool intact) {
  if (!intact) ++Families()[family].lost;
  return intact;
}

}  // namespace wtarn_test::tally
