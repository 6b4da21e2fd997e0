// Searches against std::u16string_view and the regular expressions of Qt and ICU.
#include <QRegularExpression>
#include <QString>
#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <memory>

#include "benches.h"
#include "inputs.h"
#include "kv_tools/word_search.h"

namespace bench {
namespace {

using namespace Kv_tools;
using View = std::u16string_view;
constexpr size_t npos = View::npos;
constexpr size_t kChars = 4'000'000;  // 8 MB of UTF-16

constexpr char16_t kNeedle[] = u"Zauberflöte";  // not a word of the text otherwise
constexpr char16_t kWord[] = u"regenbogen";     // whole only once, near the end
constexpr char16_t kCommon[] = u"nicht";        // one of the text's words

// A 0-based index as a 1-based position, 0 for none.
uint64_t Found(size_t index) { return index == npos ? 0 : index + 1; }

// text with piece inserted after the first blank at or after offset.
void InsertAt(String& text, size_t offset, View piece) {
  text.insert(text.find(u' ', offset) + 1, String(piece) + u' ');
}

// The search text: the needle once near the end (or near the start), and the word whole once
// near the end, after eight occurrences inside longer words.
String SearchText(bool needle_near_end) {
  String text = GermanText(kChars);
  for (size_t k = 1; k <= 8; ++k) InsertAt(text, k * kChars / 10, k % 2 ? u"Regenbogenfarben" : u"Abendregenbogen");
  InsertAt(text, kChars - 300, kWord);
  InsertAt(text, needle_near_end ? kChars - 100 : 100, kNeedle);
  return text;
}

}  // namespace

std::vector<Operation> SearchOperations() {
  auto end = std::make_shared<const String>(SearchText(true));
  auto start = std::make_shared<const String>(SearchText(false));
  const double bytes = static_cast<double>(end->size() * 2);
  const std::string input = Megabytes(bytes) + " of German UTF-16 text";
  const String needle = kNeedle;
  uint64_t common = 0;
  for (size_t at = end->find(kCommon); at != npos; at = end->find(kCommon, at + 1)) ++common;
  const int n = static_cast<int>(common);

  auto find = [end, needle] { return Found(View(*end).find(needle)); };
  std::vector<Operation> ops;
  ops.push_back({"2. Searches", "Instr from position 1", input + ", \"Zauberflöte\" once, near the end", bytes, "B",
                 {"ours: Instr", [end, needle] { return static_cast<uint64_t>(Instr(1, *end, needle)); }},
                 {{"std::u16string_view::find", find, 1}}});
  ops.push_back({"2. Searches", "RPos", input + ", \"Zauberflöte\" once, near the start", bytes, "B",
                 {"ours: RPos", [start, needle] { return static_cast<uint64_t>(RPos(needle, *start)); }},
                 {{"std::u16string_view::rfind", [start, needle] { return Found(View(*start).rfind(needle)); }, 1},
                  {"std::u16string_view::find (Instr's text)", find, 1, false}},
                 "find is timed on the same text with the needle near the end, the same scan forwards"});
  ops.push_back({"2. Searches", "OccurNr, the last occurrence",
                 input + ", occurrence " + Count(common) + " of \"nicht\", the last", bytes, "B",
                 {"ours: OccurNr", [end, n] { return static_cast<uint64_t>(OccurNr(kCommon, *end, n)); }},
                 {{"std::u16string_view::find loop", [end, n] {
                    size_t at = npos, from = 0;
                    for (int k = 0; k < n && (at = View(*end).find(kCommon, from)) != npos; ++k) from = at + 1;
                    return Found(at);
                  }, 1}}});

  // The peers search case-insensitively for the word between word boundaries.
  auto q = std::make_shared<const QString>(QString(reinterpret_cast<const QChar*>(end->data()), static_cast<int>(end->size())));
  auto qt = std::make_shared<QRegularExpression>(QStringLiteral("\\bregenbogen\\b"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
  qt->optimize();
  UErrorCode status = U_ZERO_ERROR;
  auto icu_text = std::make_shared<const icu::UnicodeString>(false, end->data(), static_cast<int32_t>(end->size()));
  auto icu_pattern = std::shared_ptr<icu::RegexPattern>(
      icu::RegexPattern::compile(u"\\bregenbogen\\b", UREGEX_CASE_INSENSITIVE, status));
  auto icu_matcher = std::shared_ptr<icu::RegexMatcher>(icu_pattern->matcher(*icu_text, status));
  ops.push_back({"2. Searches", "WordPos", input + ", \"regenbogen\" whole once, near the end, inside longer words 8 times",
                 bytes, "B",
                 {"ours: WordPos", [end] { return static_cast<uint64_t>(WordPos(kWord, *end)); }},
                 {{"Qt QRegularExpression \\b...\\b, Unicode, no case", [q, qt] {
                    const QRegularExpressionMatch m = qt->match(*q);
                    return m.hasMatch() ? static_cast<uint64_t>(m.capturedStart() + 1) : 0;
                  }, 1},
                  {"ICU RegexMatcher \\b...\\b, no case", [icu_text, icu_pattern, icu_matcher] {
                    UErrorCode e = U_ZERO_ERROR;
                    return icu_matcher->find(0, e) ? static_cast<uint64_t>(icu_matcher->start(e) + 1) : 0;
                  }}},
                 "WordPos lower-cases the word and the text it looks at, as the regular expressions "
                 "ignore case"});
  return ops;
}

}  // namespace bench
