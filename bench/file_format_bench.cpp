// Text-file format detection. The library's file routines read the whole file through Win32
// and then decide over its bytes; here the file is read through POSIX into a fresh buffer the
// same way and the portable decisions (FileFormatOf, CheckedEncodingOf) answer. Peers: reading
// alone, and the charset detectors of uchardet and ICU over the same bytes read the same way.
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <uchardet/uchardet.h>
#include <unicode/ucsdet.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "benches.h"
#include "inputs.h"
#include "kv_tools/file_format.h"
#include "rtl/platform.h"

namespace bench {
namespace {

using rtl::Encoding;
constexpr size_t kChars = 100'000'000;

// A file read whole.
struct FileBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  std::string_view View() const { return {data.get(), size}; }
};

// The whole file in a fresh buffer.
FileBytes ReadWhole(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0) throw std::runtime_error("cannot open " + path);
  FileBytes bytes{std::make_unique_for_overwrite<char[]>(static_cast<size_t>(info.st_size)),
                  static_cast<size_t>(info.st_size)};
  for (size_t done = 0; done < bytes.size;) {
    const ssize_t got = read(fd, bytes.data.get() + done, bytes.size - done);
    if (got <= 0) throw std::runtime_error("cannot read " + path);
    done += static_cast<size_t>(got);
  }
  close(fd);
  return bytes;
}

// The two test files, written on the first run: the same German text in code page 1252 and
// in UTF-8, without a mark.
void WriteFiles(const std::string& cp1252, const std::string& utf8) {
  if (std::filesystem::exists(cp1252) && std::filesystem::file_size(cp1252) == kChars &&
      std::filesystem::exists(utf8))
    return;
  std::printf("  writing %s and %s (once)\n", cp1252.c_str(), utf8.c_str());
  const String text = GermanText(kChars).substr(0, kChars);
  std::ofstream(cp1252, std::ios::binary) << rtl::EncodeAnsi(text);
  std::ofstream(utf8, std::ios::binary) << rtl::ToUtf8(text);
}

// 0 for a single-byte Western code page, 1 for UTF-8, 2 for anything else.
uint64_t CharsetCode(const char* peer, const char* name) {
  for (const char* western : {"WINDOWS-1252", "ISO-8859-1", "ISO-8859-15"})
    if (name && strcasecmp(name, western) == 0) return 0;
  if (name && strcasecmp(name, "UTF-8") == 0) return 1;
  std::printf("  %s names the charset \"%s\"\n", peer, name ? name : "");
  return 2;
}

// Our encoding in the terms of CharsetCode.
uint64_t EncodingCode(const Encoding* e) { return e == Encoding::ANSI() ? 0 : e == Encoding::UTF8() ? 1 : 2; }

}  // namespace

std::vector<Operation> FileFormatOperations(const std::string& folder) {
  std::filesystem::create_directories(folder);
  const std::string cp1252 = folder + "/cp1252.txt", utf8 = folder + "/utf8.txt";
  WriteFiles(cp1252, utf8);
  auto detector = std::shared_ptr<std::remove_pointer_t<uchardet_t>>(uchardet_new(), uchardet_delete);
  UErrorCode status = U_ZERO_ERROR;
  auto icu = std::shared_ptr<UCharsetDetector>(ucsdet_open(&status), ucsdet_close);

  std::vector<Operation> ops;
  for (const auto& [path, label, utf] : {std::tuple{cp1252, "code page 1252", false}, std::tuple{utf8, "UTF-8", true}}) {
    const double bytes = static_cast<double>(std::filesystem::file_size(path));
    const std::string input = Megabytes(bytes) + " of German text in " + label + ", no mark, CR LF lines";
    const Contender reading{"reading the file alone", [path] { return uint64_t{ReadWhole(path).size}; }, 0.5, false,
                            0, std::nullopt, path + " read"};
    const Contender uchardet{"uchardet", [path, detector] {
                               const FileBytes b = ReadWhole(path);
                               uchardet_reset(detector.get());
                               uchardet_handle_data(detector.get(), b.data.get(), b.size);
                               uchardet_data_end(detector.get());
                               return CharsetCode("uchardet", uchardet_get_charset(detector.get()));
                             }, utf ? 0.0 : 20.0, true, 0, std::nullopt, path + " uchardet"};
    const Contender ucsdet{"ICU ucsdet", [path, icu] {
                             const FileBytes b = ReadWhole(path);
                             UErrorCode e = U_ZERO_ERROR;
                             ucsdet_setText(icu.get(), b.data.get(), static_cast<int32_t>(b.size), &e);
                             return CharsetCode("ICU", ucsdet_getName(ucsdet_detect(icu.get(), &e), &e));
                           }, 0, true, 0, std::nullopt, path + " ucsdet"};
    const std::string note = "every contender reads the whole file into a fresh buffer first, as the "
                             "library's Win32 file routine does; ours then decides with the portable "
                             "routine over the bytes";
    ops.push_back({"4. Text-file format", std::string("GetFileFormat, ") + label, input, bytes, "B",
                   {"ours: read + FileFormatOf", [path] {
                      return uint64_t{Kv_tools::FileFormatOf(ReadWhole(path).View()) == u"utf-8"};
                    }, 0, true, 0, uint64_t{utf}},
                   {reading, uchardet, ucsdet}, note});
    ops.push_back({"4. Text-file format", std::string("CheckFileFormat, ") + label, input, bytes, "B",
                   {"ours: read + CheckedEncodingOf", [path] {
                      int figure = 0;
                      bool line_break = false;
                      return EncodingCode(Kv_tools::CheckedEncodingOf(ReadWhole(path).View(), figure, line_break));
                    }, 0, true, 0, uint64_t{utf}},
                   {reading, uchardet, ucsdet}, note});
  }
  return ops;
}

}  // namespace bench
