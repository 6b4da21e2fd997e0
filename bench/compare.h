// The comparison that every benchmark shares: an operation of ours, the peers that do the same
// work on the same input, their answers checked against ours, then all of them timed with
// their repetitions interleaved, and a table of rates and ratios with a verdict per target.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

// Adds v to the checksum h (FNV-1a style), so that contenders can be compared by their answers.
inline void Mix(uint64_t& h, uint64_t v) { h = (h ^ v) * 0x100000001b3u; }

// Adds a field (its length and first code unit) to the checksum h.
inline void MixField(uint64_t& h, size_t size, char16_t first) {
  Mix(h, (static_cast<uint64_t>(size) << 16) | first);
}
inline void MixField(uint64_t& h, std::u16string_view field) {
  MixField(h, field.size(), field.empty() ? u'\0' : field[0]);
}

// One contender: a call does the whole operation once and gives a checksum of its answers.
struct Contender {
  std::string name;
  std::function<uint64_t()> call;
  double min_ratio = 0;             // target for ours/this (rates); 0: for the record
  bool same_answer = true;          // false: a reference rate (memcpy, ours at another size)
  double work = 0;                  // work per call when it differs from the operation's
  std::optional<uint64_t> expected; // the answer it must give, when known beforehand
  std::string shared;               // the same call in several operations: checked and timed once
};

// One operation: ours and its peers over one input.
struct Operation {
  std::string section;  // heading it is printed under
  std::string name;
  std::string input;    // what the input is
  double work;          // per call: bytes, or items of unit
  std::string unit;     // "B" for bytes, else the items counted ("fields", "pairs")
  Contender ours;
  std::vector<Contender> peers;
  std::string note;     // printed under the table
};

// Checks every peer's answer against ours (an operation with a differing answer is left out
// with a message), times every contender with its repetitions in random order among all the
// others, prints the table and the verdicts. args are passed on to Google Benchmark.
// Returns the number of missed targets.
int CompareAll(const std::vector<Operation>& operations, std::vector<std::string> args);

// Text of a count with thousands separators. Example: Count(1000000) == "1,000,000".
std::string Count(uint64_t n);

// Size in MB (10^6 bytes) with one decimal. Example: Megabytes(8e6) == "8.0 MB".
std::string Megabytes(double bytes);

}  // namespace bench
