// kv_Like against fnmatch(3) in the C locale.
#include <fnmatch.h>

#include <memory>

#include "benches.h"
#include "inputs.h"
#include "kv_tools/word_search.h"

namespace bench {

std::vector<Operation> LikeOperations() {
  constexpr int kPairs = 1'000'000;
  auto pairs = std::make_shared<const std::vector<std::pair<String, String>>>(LikePairs(kPairs));
  auto narrow = std::make_shared<std::vector<std::pair<std::string, std::string>>>();
  for (const auto& [name, pattern] : *pairs) narrow->emplace_back(rtl::ToUtf8(name), rtl::ToUtf8(pattern));
  return {{"3. Wildcard match", "kv_Like",
           Count(kPairs) + " pairs of a project file name and a pattern of '*' and '?', half made from the name",
           kPairs, "pairs",
           {"ours: kv_Like", [pairs] {
              uint64_t h = 0;
              for (const auto& [name, pattern] : *pairs) Mix(h, Kv_tools::kv_Like(name, pattern));
              return h;
            }},
           {{"fnmatch(3), C locale, no flags", [narrow] {
              uint64_t h = 0;
              for (const auto& [name, pattern] : *narrow) Mix(h, fnmatch(pattern.c_str(), name.c_str(), 0) == 0);
              return h;
            }, 1.2}},
           "fnmatch gets the same pairs as 8-bit strings (all ASCII), ours as UTF-16"}};
}

}  // namespace bench
