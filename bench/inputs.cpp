#include "inputs.h"

#include <array>
#include <random>
#include <string_view>

namespace bench {
namespace {

using View = std::u16string_view;

// A fixed-seed generator with a plain bounded draw, so inputs are the same on every run.
class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}
  // A number from 0 to n - 1.
  size_t Below(size_t n) { return static_cast<size_t>(engine_() % n); }
  // One unit of chars.
  char16_t Of(View chars) { return chars[Below(chars.size())]; }

 private:
  std::mt19937_64 engine_;
};

constexpr View kFieldChars = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789äöüß";

constexpr std::array<View, 100> kWords = {
    u"der", u"die", u"das", u"und", u"nicht", u"mit", u"für", u"über", u"auch", u"noch",
    u"schon", u"immer", u"wieder", u"heute", u"morgen", u"gestern", u"hier", u"dort", u"oben", u"unten",
    u"vielleicht", u"Größe", u"Straße", u"Mädchen", u"Bäume", u"schön", u"Tür", u"müssen", u"können", u"Wörter",
    u"Fußball", u"Käse", u"Brücke", u"öffnen", u"Übung", u"Ärger", u"ähnlich", u"während", u"Häuser", u"grün",
    u"weiß", u"heißen", u"Stadt", u"Haus", u"Wasser", u"Zeit", u"Arbeit", u"Leben", u"Welt", u"Jahr",
    u"Tag", u"Mensch", u"Frau", u"Kind", u"Schule", u"Buch", u"Sprache", u"Himmel", u"Wolke", u"Regen",
    u"Sonne", u"Wind", u"gehen", u"kommen", u"sehen", u"machen", u"sagen", u"geben", u"finden", u"denken",
    u"bleiben", u"liegen", u"stehen", u"Projekt", u"Datei", u"Ordner", u"Fenster", u"Programm", u"Einstellung", u"Version",
    u"Eintrag", u"Liste", u"Feld", u"Wert", u"Zeile", u"Spalte", u"Suche", u"Ergebnis", u"Fehler", u"Meldung",
    u"Benutzer", u"Verzeichnis", u"Pfad", u"Sicherung", u"Änderung", u"Prüfung", u"Lösung", u"Zähler", u"€", u"–"};

// Decimal text of n.
String Number(size_t n) { return rtl::FromUtf8(std::to_string(n)); }

}  // namespace

String FieldString(int fields) {
  Random random(1);
  String s;
  s.reserve(static_cast<size_t>(fields) * 4 + 8);
  for (int i = 1; i < fields; ++i) {
    for (size_t n = random.Below(7); n > 0; --n) s += random.Of(kFieldChars);
    s += u';';
  }
  return s + kLastField;
}

String GermanText(size_t chars) {
  Random random(2);
  String text;
  text.reserve(chars + 200);
  while (text.size() < chars) {
    const size_t words = 4 + random.Below(11);
    const bool quoted = random.Below(10) == 0;
    if (quoted) text += u'„';
    for (size_t w = 0; w < words; ++w) {
      text += kWords[random.Below(kWords.size())];
      if (w + 1 < words) text += random.Below(8) == 0 ? u", " : u" ";
    }
    text += quoted ? u".“ " : u". ";
    if (random.Below(6) == 0) text += u"\r\n";
  }
  return text;
}

std::vector<std::pair<String, String>> LikePairs(int count) {
  static constexpr std::array<View, 10> stems = {u"Project", u"Unit", u"Form", u"Main", u"Data",
                                                 u"Test", u"Kv_tools", u"TarnEdata", u"WTarnView", u"Setup"};
  static constexpr std::array<View, 10> exts = {u".dproj", u".pas", u".dfm", u".res", u".dpk",
                                                u".bpl", u".dcu", u".exe", u".ini", u".txt"};
  Random random(3);
  struct Name {
    View stem, ext;
    String number;
    String Text() const { return String(stem) + number + String(ext); }
  };
  auto draw = [&] { return Name{stems[random.Below(stems.size())], exts[random.Below(exts.size())], Number(random.Below(200))}; };
  std::vector<std::pair<String, String>> pairs;
  pairs.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const Name name = draw();
    const Name source = i % 2 == 0 ? name : draw();  // half the patterns are made from the name
    String pattern;
    switch (random.Below(8)) {
      case 0: pattern = u"*" + String(source.ext); break;
      case 1: pattern = String(source.stem) + u"*"; break;
      case 2: pattern = u"*" + String(source.stem.substr(1, 3)) + u"*" + String(source.ext.substr(0, 2)) + u"*"; break;
      case 3: pattern = u"*" + source.number + u"*.?" + String(source.ext.substr(2)); break;
      case 4: pattern = String(source.stem) + u"?*" + String(source.ext); break;
      case 5: pattern = u"*a*?e*" + String(source.ext.substr(1, 1)) + u"*"; break;
      case 6: {
        pattern = source.Text();
        pattern[random.Below(pattern.size())] = u'?';
        pattern[random.Below(pattern.size())] = u'?';
        break;
      }
      default: pattern = source.Text(); break;
    }
    pairs.emplace_back(name.Text(), pattern);
  }
  return pairs;
}

std::vector<String> Passwords(int count) {
  constexpr View chars =
      u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!\"§$%&/()=?+*#-_.,;:<>äöüÄÖÜß€@";
  Random random(4);
  std::vector<String> passwords(static_cast<size_t>(count));
  for (String& p : passwords)
    for (size_t n = 8 + random.Below(25); n > 0; --n) p += random.Of(chars);
  return passwords;
}

rtl::StringList ProjectFile(int lines) {
  Random random(5);
  rtl::StringList file;
  auto add = [&](const String& line) { file.Add(line); };
  add(u"<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">");
  add(u"    <PropertyGroup>");
  add(u"        <ProjectGuid>{6F1A2B3C-4D5E-4F60-8172-93A4B5C6D7E8}</ProjectGuid>");
  add(u"        <ProjectVersion>19.5</ProjectVersion>");
  add(u"        <MainSource>Project1.dpr</MainSource>");
  add(u"        <Config Condition=\"'$(Config)'==''\">Debug</Config>");
  add(u"        <TargetedPlatforms>3</TargetedPlatforms>");
  add(u"        <AppType>Application</AppType>");
  add(u"    </PropertyGroup>");
  // Configurations: every output folder keeps the platform and configuration macros.
  for (size_t g = 1; g <= 100; ++g) {
    add(u"    <PropertyGroup Condition=\"'$(Cfg_" + Number(g) + u")'!=''\">");
    add(u"        <Cfg_" + Number(g) + u">true</Cfg_" + Number(g) + u">");
    add(u"        <CfgParent>Base</CfgParent>");
    add(u"        <DCC_ExeOutput>.\\$(Platform)\\$(Config)\\" + Number(g) + u"</DCC_ExeOutput>");
    add(u"        <DCC_DcuOutput>.\\$(Platform)\\$(Config)\\dcu</DCC_DcuOutput>");
    add(u"        <DCC_Namespace>System;Xml;Data;Datasnap;Web;Soap;Vcl;Vcl.Imaging</DCC_Namespace>");
    add(u"        <SanitizedProjectName>Project&amp;" + Number(g) + u"</SanitizedProjectName>");
    add(u"        <VerInfo_Keys>CompanyName=;FileDescription=$(MSBuildProjectName);FileVersion=1.0.0.0</VerInfo_Keys>");
    add(u"        <DCC_UsePackage>vclwinx;DataSnapServer;fmx;emsedge;IndySystem;tethering</DCC_UsePackage>");
    add(u"    </PropertyGroup>");
  }
  // Units: item groups of 500 references, 10,000 in all, some of them twice.
  for (size_t g = 0; g < 20; ++g) {
    add(g % 4 == 0 ? String(u"    <ItemGroup>")
                   : u"    <ItemGroup Condition=\"'$(Platform)'=='Win" + Number(g % 4) + u"'\">");
    for (int r = 0; r < 500; ++r)
      add(u"        <DCCReference Include=\"Units\\Unit" + Number(random.Below(8000)) + u".pas\"/>");
    add(u"    </ItemGroup>");
  }
  // Deployment, up to the size asked for, then the build events.
  add(u"    <ProjectExtensions>");
  for (size_t n = 0; file.Count() + 12 <= lines; ++n) {
    add(u"        <DeployFile LocalName=\"Win32\\Debug\\Project" + Number(n) + u".exe\" Configuration=\"Debug\" Class=\"ProjectOutput\">");
    add(u"            <Platform Name=\"Win32\">");
    add(u"                <RemoteName>Project" + Number(n) + u".exe</RemoteName>");
    add(u"                <Overwrite>true</Overwrite>");
    add(u"            </Platform>");
    add(u"        </DeployFile>");
  }
  while (file.Count() + 6 < lines) add(u"        <!-- -->");
  add(u"    </ProjectExtensions>");
  add(u"    <PropertyGroup Condition=\"'$(Config)'=='Debug' AND '$(Platform)'=='Win32'\">");
  add(u"        <PreBuildEvent/>");
  add(u"        <PostBuildEvent>copy \"$(OUTPUTPATH)\" ..\\bin &amp;&amp; echo done</PostBuildEvent>");
  add(u"    </PropertyGroup>");
  add(u"</Project>");
  return file;
}

}  // namespace bench
