// The benchmarks of the portable core against peers, ratios from one run.
// Options: --data=FOLDER for the test files (default "data"); the rest go to Google Benchmark
// (for example --benchmark_filter=kv_Like).
#include <clocale>
#include <cstdio>
#include <fstream>
#include <string>

#include "benches.h"

namespace {

// The processor's model name, as the kernel reports it.
std::string Processor() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  for (std::string line; std::getline(cpuinfo, line);)
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  return "unknown processor";
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  std::string data = "data";
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--data=", 0) == 0) data = arg.substr(7);
    else args.push_back(arg);
  }
  std::printf("WTarn benchmarks: g++ %s, flags%s, x86-64 (SSE2 baseline), %s\n", __VERSION__, BENCH_FLAGS,
              Processor().c_str());
  std::printf("ratio = our rate / the peer's rate, both measured in this run on the same input\n");
  std::printf("\n== making the inputs\n");
  std::fflush(stdout);
  std::vector<bench::Operation> ops;
  auto add = [&ops](std::vector<bench::Operation> family) {
    for (bench::Operation& op : family) ops.push_back(std::move(op));
  };
  add(bench::FieldOperations());
  add(bench::SearchOperations());
  add(bench::LikeOperations());
  add(bench::FileFormatOperations(data));
  add(bench::ReportOperations());
  bench::CompareAll(ops, args);
  return 0;
}
