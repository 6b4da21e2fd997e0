// The password rating against its steps written out with a map of symbol counts.
#include <cmath>
#include <map>

#include "fuzz/fuzz_input.h"
#include "kv_tools/password.h"

namespace literal {

using rtl::String;

const String kKeyboard =
    u"^1234567890ß´qwertzuiopü+asdfghjklöä#<yxcvbnm,.-°!\"§$%&/"
    u"()=?`QWERTZUIOPÜ*ASDFGHJKLÖÄ'>YXCVBNM;:_";

long double Entropy(const std::vector<int>& symbols) {
  if (symbols.empty()) return 0;
  std::map<int, int> counts;
  for (int s : symbols) ++counts[s];
  long double h = 0;
  for (auto [symbol, count] : counts) {
    const long double p = static_cast<long double>(count) / symbols.size();
    h += -p * std::log2(p);
  }
  return h;
}

std::vector<int> Steps(const std::vector<unsigned>& codes) {
  std::vector<int> steps;
  for (size_t i = 0; i + 1 < codes.size(); ++i)
    steps.push_back(((int(codes[i] % 256) - int(codes[i + 1] % 256)) % 256 + 256) % 256);
  return steps;
}

long double PasswQuality(const String& password) {
  const size_t n = password.size();
  std::vector<unsigned> codes, keys;
  std::vector<int> symbols;
  for (char16_t c : password) {
    codes.push_back(c);
    symbols.push_back(c % 256);
    const size_t key = kKeyboard.find(c);
    keys.push_back(key == String::npos ? c : static_cast<unsigned>(key + 1));
  }
  const long double h = Entropy(symbols);
  if (h == 0) return 0;
  const long double l = std::log(static_cast<long double>(n)) / std::log(8.0L);
  const long double d = n <= 1 ? 0 : Entropy(Steps(codes));
  const long double k = n <= 1 ? 0 : Entropy(Steps(keys));
  long double r = h * l * ((k + d) / 64);
  if (r < 0) r = -r;
  return r > 1 ? 1 : r;
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const rtl::String password = in.ConsumeBool() ? fuzz::Text(in, 300) : [&] {
    rtl::String keys;
    while (in.remaining_bytes() > 0) keys += literal::kKeyboard[in.ConsumeIntegral<uint8_t>() % 96];
    return keys;
  }();
  const long double mine = Kv_tools::PasswQuality(password);
  const long double theirs = literal::PasswQuality(password);
  fuzz::Holds("rating within 0 and 1", mine >= 0 && mine <= 1);
  fuzz::Holds("rating as the steps give it", std::fabs(mine - theirs) <= 1e-12L);
  return 0;
}
