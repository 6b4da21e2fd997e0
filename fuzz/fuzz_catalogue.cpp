// The release catalogue against its tables: the product of the last row with a key anywhere in
// the text, and the update label and number of a text equal to a known version.
#include "fuzz/fuzz_input.h"
#include "tarnedata/catalogue.h"

namespace literal {

using rtl::String;

struct Product {
  const char16_t *key, *product;
};
// One row per key, oldest first; the last row whose key occurs in the text wins.
const Product kProducts[] = {
    {u"12.0", u"Delphi 2010"},        {u"12.3", u"Delphi XE"},          {u"13.4", u"Delphi XE2"},
    {u"14.4", u"Delphi XE3"},         {u"14.6", u"Delphi XE4"},         {u"15.0", u"Delphi XE5"},
    {u"15.1", u"Delphi XE5"},         {u"15.2", u"Delphi XE5"},         {u"15.3", u"Delphi XE5"},
    {u"15.4", u"Delphi XE6"},         {u"16", u"Delphi XE7"},           {u"17", u"Delphi XE8"},
    {u"18", u"Delphi 10 Seattle"},    {u"18.1", u"Delphi 10.1 Berlin"}, {u"18.2", u"Delphi 10.2 Tokyo"},
    {u"18.3", u"Delphi 10.2 Tokyo"},  {u"18.4", u"Delphi 10.2 Tokyo"},  {u"18.5", u"Delphi 10.3 Rio"},
    {u"18.6", u"Delphi 10.3 Rio"},    {u"18.7", u"Delphi 10.3 Rio"},    {u"18.8", u"Delphi 10.3 Rio"},
    {u"19.0", u"Delphi 10.4 Sydney"}, {u"19.1", u"Delphi 10.4 Sydney"}, {u"19.2", u"Delphi 10.4 Sydney"},
    {u"19.3", u"Delphi 11 Alexandria"}, {u"19.4", u"Delphi 11 Alexandria"}, {u"19.5", u"Delphi 11 Alexandria"},
    {u"20.1", u"Delphi 12 Athens"},
};

struct Update {
  const char16_t *version, *label, *number;
};
const Update kUpdates[] = {
    {u"20.1", u" ( First Release )", u"1"}, {u"19.5", u" ( Update 2 or 3 )", u"2/3"}, {u"19.4", u" ( Update 1 )", u"1"},
    {u"19.3", u" ( First Release )", u""},  {u"19.2", u" ( Update 2 )", u"2"},        {u"19.1", u" ( Update 1 )", u"1"},
    {u"19.0", u" ( First Release )", u""},  {u"18.8", u" ( Update 3 )", u"3"},        {u"18.7", u" ( Update 2 )", u"2"},
    {u"18.6", u" ( Update 1 )", u"1"},      {u"18.5", u" ( First Release )", u""},    {u"18.4", u" ( Update 2 )", u"2"},
    {u"18.3", u" ( Update 1 )", u"1"},      {u"18.2", u" ( First Release )", u""},
};

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace TarnEdata;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  String version;
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) {
    const int pick = in.ConsumeIntegralInRange(0, 40);
    version += pick < 28 ? String(literal::kProducts[pick].key)
               : pick < 36 ? String(1, u"0123456789. "[in.ConsumeIntegralInRange(0, 11)])
                           : fuzz::Text(in, 2);
  }
  String product;
  for (const auto& row : literal::kProducts)
    if (version.find(row.key) != String::npos) product = row.product;
  Same("GetDVersion", GetDVersion(version, fuzz::Text(in, 3)), product);
  String label, number;
  for (const auto& row : literal::kUpdates)
    if (version == row.version) label = row.label, number = row.number;
  Same("GetSpecs", GetSpecs(version), label);
  Same("GetSpecsNr", GetSpecsNr(version), number);
  return 0;
}
