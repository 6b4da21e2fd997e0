#include "host/package_list.h"

#include <algorithm>
#include <cstdint>

#include "host/transcript.h"
#include "package/identity.h"

namespace host {
namespace {

// Reads little-endian 16-bit words and zero-ended texts from bytes; any read past the end
// clears ok.
struct Reader {
  std::string_view bytes;
  size_t at = 0;
  bool ok = true;

  unsigned Word() {
    if (at + 2 > bytes.size()) return ok = false;
    const unsigned w = static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
    at += 2;
    return w;
  }
  std::wstring Text() {
    std::wstring text;
    while (ok)
      if (const wchar_t c = static_cast<wchar_t>(Word()); ok && c != 0)
        text += c;
      else
        break;
    return text;
  }
};

uint32_t Dword(std::string_view bytes, size_t at) {
  uint32_t v = 0;
  for (size_t k = 4; k-- > 0;) v = v << 8 | static_cast<uint8_t>(bytes[at + k]);
  return v;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return SameName(n, name); });
}

// Why the first bytes of a file are not those of a 32-bit DLL; "" when they are.
std::string ModuleProblem(std::string_view head) {
  if (head.size() < 64 || head.substr(0, 2) != "MZ") return "it is not a Windows module";
  const uint32_t pe = Dword(head, 0x3C);
  if (pe > head.size() - 24 || head.substr(pe, 4) != std::string_view("PE\0\0", 4))
    return "it is not a Windows module";
  Reader r{head, pe + 4};
  if (r.Word() != IMAGE_FILE_MACHINE_I386) return "it is not a 32-bit module";
  r.at = pe + 22;
  if (!(r.Word() & IMAGE_FILE_DLL)) return "it is a program, not a DLL";
  return "";
}

}  // namespace

std::optional<PackageIdentity> ReadIdentity(std::string_view bytes) {
  if (bytes.substr(0, 4) != std::string_view(WTarnPackage::kIdentityMagic, 4)) return std::nullopt;
  Reader r{bytes, 4};
  if (r.Word() != WTarnPackage::kIdentityLayout) return std::nullopt;
  PackageIdentity id;
  id.flags = r.Word();
  id.name = r.Text();
  id.description = r.Text();
  for (unsigned n = r.Word(); r.ok && n > 0; --n) id.required.push_back(r.Text());
  if (!r.ok || id.name.empty()) return std::nullopt;
  return id;
}

std::string Refusal(const PackageFile& file, const std::vector<std::wstring>& provided,
                    const std::vector<std::wstring>& loaded) {
  if (!file.found) return "the file is missing";
  if (!file.head) return "the file cannot be read";
  if (std::string problem = ModuleProblem(*file.head); !problem.empty()) return problem;
  if (!file.identity) return "it is not a package: it carries no package identity";
  const std::optional<PackageIdentity> id = ReadIdentity(*file.identity);
  if (!id) return "its package identity is damaged";
  if (id->flags & WTarnPackage::kRunTimeOnly) return "it is a run-time-only package";
  std::wstring missing;
  for (const std::wstring& p : id->required)
    if (!Contains(provided, p)) missing += (missing.empty() ? L"" : L", ") + p;
  if (!missing.empty())
    return "it requires " + transcript::Utf8(missing) + ", which this IDE does not provide";
  if (Contains(loaded, id->name))
    return "a package named " + transcript::Utf8(id->name) + " is loaded already";
  return "";
}

KnownPackage ReadKnownPackage(const std::wstring& name, DWORD type, std::string_view data) {
  KnownPackage p{name, L"", ""};
  if (name.empty()) p.problem = "the list's default value names no package";
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    p.problem = "its value is not a text (registry type " + std::to_string(type) + ")";
  if (!p.problem.empty()) return p;
  Reader r{data};
  p.description = r.Text();
  return p;
}

LoopStep NextLoopStep(BOOL answer, unsigned errors_before) {
  if (answer > 0) return LoopStep::kDispatch;
  if (answer == 0) return LoopStep::kQuit;
  return errors_before + 1 < kMessageErrorLimit ? LoopStep::kSkip : LoopStep::kGiveUp;
}

}  // namespace host
