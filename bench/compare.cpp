#include "compare.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>

namespace bench {
namespace {

constexpr int kRepetitions = 7;       // per contender, each a median candidate
constexpr int kSlowRepetitions = 3;   // for a contender whose one call takes over kSlowCall
constexpr double kSlowCall = 0.5;     // seconds
constexpr double kMinTime = 0.1;      // seconds per repetition

// Collects the time per call of every repetition, by benchmark name; a dot per repetition.
class Collector : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
      seconds[run.run_name.function_name].push_back(run.real_accumulated_time /
                                                     static_cast<double>(run.iterations));
      std::fputc('.', stderr);
    }
  }
  void Finalize() override { std::fputc('\n', stderr); }

  std::map<std::string, std::vector<double>> seconds;
};

// The middle value (the mean of the two middle ones for an even count).
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Seconds that one call takes; answer takes its result.
double SecondsOfOneCall(const std::function<uint64_t()>& call, uint64_t& answer) {
  const auto start = std::chrono::steady_clock::now();
  answer = call();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// printf of one number, then suffix.
std::string Format(const char* format, double value, const std::string& suffix = "") {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text + suffix;
}

// A time in us, ms or s.
std::string Duration(double seconds) {
  if (seconds < 1e-3) return Format("%.1f us", seconds * 1e6);
  if (seconds < 1) return Format("%.2f ms", seconds * 1e3);
  return Format("%.2f s", seconds);
}

// A rate: GB/s or MB/s for bytes, else items per second.
std::string Rate(double per_second, const std::string& unit) {
  if (unit == "B")
    return per_second >= 1e9 ? Format("%.2f GB/s", per_second / 1e9) : Format("%.1f MB/s", per_second / 1e6);
  if (per_second >= 1e6) return Format("%.2f M ", per_second / 1e6, unit + "/s");
  if (per_second >= 1e3) return Format("%.1f k ", per_second / 1e3, unit + "/s");
  return Format("%.1f ", per_second, unit + "/s");
}

// The time per item in ns, us or ms.
std::string PerItem(double seconds) {
  if (seconds < 1e-6) return Format("%.1f ns", seconds * 1e9);
  return seconds < 1e-3 ? Format("%.2f us", seconds * 1e6) : Format("%.2f ms", seconds * 1e3);
}

// The name a contender is checked and timed under.
std::string Key(const Operation& op, const Contender& c) {
  return c.shared.empty() ? op.name + " | " + c.name : c.shared;
}

// A contender's answer, and the repetitions it is timed in: fewer when one call is slow.
struct Checked {
  uint64_t answer;
  int repetitions;
};

// Runs every contender once (a shared one only the first time); false, with the reason
// printed, when an answer is not the one expected.
bool CheckAnswers(const Operation& op, std::map<std::string, Checked>& checked) {
  uint64_t ours = 0;
  bool good = true;
  auto check = [&](const Contender& c, bool is_ours) {
    auto known = checked.find(Key(op, c));
    if (known == checked.end()) {
      uint64_t answer = 0;
      const double seconds = SecondsOfOneCall(c.call, answer);
      known = checked.emplace(Key(op, c), Checked{answer, seconds > kSlowCall ? kSlowRepetitions : kRepetitions}).first;
    }
    const uint64_t answer = known->second.answer;
    if (is_ours) ours = answer;
    if (c.expected && answer != *c.expected) {
      std::printf("  ABORTED %s: %s gives %llu, expected %llu\n", op.name.c_str(), c.name.c_str(),
                  static_cast<unsigned long long>(answer), static_cast<unsigned long long>(*c.expected));
      good = false;
    } else if (!is_ours && c.same_answer && answer != ours) {
      std::printf("  ABORTED %s: %s answers %llu, ours %llu; the figures would not compare\n",
                  op.name.c_str(), c.name.c_str(), static_cast<unsigned long long>(answer),
                  static_cast<unsigned long long>(ours));
      good = false;
    }
  };
  check(op.ours, true);
  for (const Contender& peer : op.peers) check(peer, false);
  if (good) std::printf("  answers agree: %s\n", op.name.c_str());
  return good;
}

// Registers the contender with Google Benchmark, timed by the wall clock.
void Register(const Operation& op, const Contender& c, int repetitions) {
  benchmark::RegisterBenchmark(Key(op, c).c_str(), [&c](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(c.call());
  })->Repetitions(repetitions)->MinTime(kMinTime)->UseRealTime();
}

// One target: its line in the summary and whether it was met.
struct Verdict {
  std::string line;
  bool met;
};

// Prints the table of one operation; adds a verdict per target.
void PrintTable(const Operation& op, const std::map<std::string, std::vector<double>>& seconds,
                std::vector<Verdict>& verdicts) {
  std::printf("\n%s\n  input: %s\n", op.name.c_str(), op.input.c_str());
  const bool items = op.unit != "B";
  std::printf("  %-48s %11s %20s %10s %9s %8s  %s\n", "contender", "time/call", "rate",
              items ? "per item" : "", "ours/peer", "target", "verdict");
  double ours_rate = 0;
  auto row = [&](const Contender& c, bool is_ours) {
    const auto found = seconds.find(Key(op, c));
    if (found == seconds.end()) {
      std::printf("  %-48s %11s\n", c.name.c_str(), "not run");
      return;
    }
    const double per_call = Median(found->second);
    const double work = c.work > 0 ? c.work : op.work;
    const double rate = work / per_call;
    std::string ratio, target, verdict;
    if (is_ours) {
      ours_rate = rate;
    } else if (ours_rate > 0) {
      const double r = ours_rate / rate;
      ratio = Format(r < 10 ? "%.3fx" : "%.1fx", r);
      if (c.min_ratio > 0) {
        target = Format(">= %.3gx", c.min_ratio);
        const bool met = r >= c.min_ratio;
        verdict = met ? "met" : "MISSED";
        verdicts.push_back({op.name + " vs " + c.name + ": " + ratio + " (target " + target + ")", met});
      }
    }
    std::printf("  %-48s %11s %20s %10s %9s %8s  %s\n", c.name.c_str(), Duration(per_call).c_str(),
                Rate(rate, op.unit).c_str(), items ? PerItem(per_call / work).c_str() : "",
                ratio.c_str(), target.c_str(), verdict.c_str());
  };
  row(op.ours, true);
  for (const Contender& peer : op.peers) row(peer, false);
  if (!op.note.empty()) std::printf("  note: %s\n", op.note.c_str());
}

}  // namespace

std::string Count(uint64_t n) {
  std::string digits = std::to_string(n);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
  return digits;
}

std::string Megabytes(double bytes) { return Format("%.1f MB", bytes / 1e6); }

int CompareAll(const std::vector<Operation>& operations, std::vector<std::string> args) {
  std::printf("\n== checking that every peer gives our answer\n");
  std::map<std::string, Checked> checked;
  std::vector<const Operation*> live;
  for (const Operation& op : operations)
    if (CheckAnswers(op, checked)) live.push_back(&op);

  std::set<std::string> registered;
  auto add = [&](const Operation& op, const Contender& c) {
    if (registered.insert(Key(op, c)).second) Register(op, c, checked.at(Key(op, c)).repetitions);
  };
  for (const Operation* op : live) {
    add(*op, op->ours);
    for (const Contender& peer : op->peers) add(*op, peer);
  }
  const size_t contenders = registered.size();
  std::printf("\n== timing %zu contenders: %d repetitions each (%d when one call takes over %.1f s), "
              "at least %.1f s per repetition, all repetitions in random order; figures are medians\n",
              contenders, kRepetitions, kSlowRepetitions, kSlowCall, kMinTime);
  std::fflush(stdout);
  args.insert(args.begin(), {"wtarn_bench", "--benchmark_enable_random_interleaving=true"});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  int argc = static_cast<int>(argv.size());
  benchmark::Initialize(&argc, argv.data());
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  std::vector<Verdict> verdicts;
  std::string section;
  for (const Operation* op : live) {
    if (op->section != section) std::printf("\n== %s\n", (section = op->section).c_str());
    PrintTable(*op, collector.seconds, verdicts);
  }
  std::printf("\n== verdicts (ours/peer, rates measured in this run)\n");
  int missed = 0;
  for (const Verdict& v : verdicts) {
    std::printf("  %-6s  %s\n", v.met ? "met" : "MISSED", v.line.c_str());
    missed += v.met ? 0 : 1;
  }
  std::printf("  %zu targets: %zu met, %d missed; %zu of %zu operations left out for differing answers\n",
              verdicts.size(), verdicts.size() - static_cast<size_t>(missed), missed,
              operations.size() - live.size(), operations.size());
  return missed;
}

}  // namespace bench
