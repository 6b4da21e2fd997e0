#include "tarnedata/catalogue.h"

#include <array>
#include <string_view>

namespace TarnEdata {

const char16_t* const DelphiVersionsNames[DelphiVersionCount] = {
    u"Delphi 1",         u"Delphi 2",         u"Delphi 3",         u"Delphi 4",
    u"Delphi 5",         u"Delphi 6",         u"Delphi 7",         u"Delphi 8",
    u"BDS 2005",         u"BDS 2006",         u"RAD Studio 2007",  u"RAD Studio 2009",
    u"RAD Studio 2010",  u"RAD Studio XE",    u"RAD Studio XE2",   u"RAD Studio XE3",
    u"RAD Studio XE4",   u"RAD Studio XE5",   u"RAD Studio XE6",   u"RAD Studio XE7",
    u"RAD Studio XE8",   u"RAD Studio XE10",  u"RAD Studio XE101", u"RAD Studio XE102",
    u"RAD Studio XE103", u"RAD Studio XE104", u"RAD Studio XE11",  u"RAD Studio XE12",
};

const char16_t* const DelphiRegPaths[DelphiVersionCount] = {
    u"\\Software\\Borland\\Delphi\\1.0",     u"\\Software\\Borland\\Delphi\\2.0",
    u"\\Software\\Borland\\Delphi\\3.0",     u"\\Software\\Borland\\Delphi\\4.0",
    u"\\Software\\Borland\\Delphi\\5.0",     u"\\Software\\Borland\\Delphi\\6.0",
    u"\\Software\\Borland\\Delphi\\7.0",     u"\\Software\\Borland\\BDS\\2.0",
    u"\\Software\\Borland\\BDS\\3.0",        u"\\Software\\Borland\\BDS\\4.0",
    u"\\Software\\Borland\\BDS\\5.0",        u"\\Software\\CodeGear\\BDS\\6.0",
    u"\\Software\\CodeGear\\BDS\\7.0",       u"\\Software\\Embarcadero\\BDS\\8.0",
    u"\\Software\\Embarcadero\\BDS\\9.0",    u"\\Software\\Embarcadero\\BDS\\10.0",
    u"\\Software\\Embarcadero\\BDS\\11.0",   u"\\Software\\Embarcadero\\BDS\\12.0",
    u"\\Software\\Embarcadero\\BDS\\14.0",   u"\\Software\\Embarcadero\\BDS\\15.0",
    u"\\Software\\Embarcadero\\BDS\\16.0",   u"\\Software\\Embarcadero\\BDS\\17.0",
    u"\\Software\\Embarcadero\\BDS\\18.0",   u"\\Software\\Embarcadero\\BDS\\19.0",
    u"\\Software\\Embarcadero\\BDS\\20.0",   u"\\Software\\Embarcadero\\BDS\\21.0",
    u"\\Software\\Embarcadero\\BDS\\22.0",   u"\\Software\\Embarcadero\\BDS\\23.0",
};

namespace {

using std::u16string_view;

// A version text row of GetDVersion: any of its keys (empty keys unused) gives the product.
struct VersionRow {
  std::array<u16string_view, 3> keys;
  u16string_view product;
};

constexpr VersionRow kVersionRows[] = {
    {{u"12.0"}, u"Delphi 2010"},
    {{u"12.3"}, u"Delphi XE"},
    {{u"13.4"}, u"Delphi XE2"},
    {{u"14.4"}, u"Delphi XE3"},
    {{u"14.6"}, u"Delphi XE4"},
    {{u"15.0"}, u"Delphi XE5"},
    {{u"15.1"}, u"Delphi XE5"},
    {{u"15.2"}, u"Delphi XE5"},
    {{u"15.3"}, u"Delphi XE5"},
    {{u"15.4"}, u"Delphi XE6"},
    {{u"16"}, u"Delphi XE7"},
    {{u"17"}, u"Delphi XE8"},
    {{u"18"}, u"Delphi 10 Seattle"},
    {{u"18.1"}, u"Delphi 10.1 Berlin"},
    {{u"18.2"}, u"Delphi 10.2 Tokyo"},
    {{u"18.3"}, u"Delphi 10.2 Tokyo"},
    {{u"18.4"}, u"Delphi 10.2 Tokyo"},
    {{u"18.5"}, u"Delphi 10.3 Rio"},
    {{u"18.6"}, u"Delphi 10.3 Rio"},
    {{u"18.7"}, u"Delphi 10.3 Rio"},
    {{u"18.8"}, u"Delphi 10.3 Rio"},
    {{u"19.0", u"19.1", u"19.2"}, u"Delphi 10.4 Sydney"},
    {{u"19.3", u"19.4", u"19.5"}, u"Delphi 11 Alexandria"},
    {{u"20.1"}, u"Delphi 12 Athens"},
};

// An exact version text and its update label and number.
struct UpdateRow {
  u16string_view version, label, number;
};

constexpr UpdateRow kUpdateRows[] = {
    {u"20.1", u" ( First Release )", u"1"},
    {u"19.5", u" ( Update 2 or 3 )", u"2/3"},
    {u"19.4", u" ( Update 1 )", u"1"},
    {u"19.3", u" ( First Release )", u""},
    {u"19.2", u" ( Update 2 )", u"2"},
    {u"19.1", u" ( Update 1 )", u"1"},
    {u"19.0", u" ( First Release )", u""},
    {u"18.8", u" ( Update 3 )", u"3"},
    {u"18.7", u" ( Update 2 )", u"2"},
    {u"18.6", u" ( Update 1 )", u"1"},
    {u"18.5", u" ( First Release )", u""},
    {u"18.4", u" ( Update 2 )", u"2"},
    {u"18.3", u" ( Update 1 )", u"1"},
    {u"18.2", u" ( First Release )", u""},
};

const UpdateRow* FindUpdateRow(const String& version) {
  for (const UpdateRow& row : kUpdateRows)
    if (version == row.version) return &row;
  return nullptr;
}

}  // namespace

String GetDVersion(const String& Version, const String&) {
  u16string_view result;
  for (const VersionRow& row : kVersionRows)
    for (u16string_view key : row.keys)
      if (!key.empty() && Version.find(key) != String::npos) result = row.product;
  return String(result);
}

String GetSpecs(const String& Version) {
  const UpdateRow* row = FindUpdateRow(Version);
  return row ? String(row->label) : String();
}

String GetSpecsNr(const String& Version) {
  const UpdateRow* row = FindUpdateRow(Version);
  return row ? String(row->number) : String();
}

}  // namespace TarnEdata
