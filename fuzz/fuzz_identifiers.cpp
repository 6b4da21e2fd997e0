// The GUID text form against its layout written out: Data1 to Data3 little-endian, Data4 in
// byte order, upper-case digits in groups 8-4-4-4-12 between braces.
#include <cstdio>

#include "fuzz/fuzz_input.h"
#include "kv_tools/identifiers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  unsigned char b[16];
  for (unsigned char& byte : b) byte = in.ConsumeIntegral<uint8_t>();
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                b[0] | b[1] << 8 | b[2] << 16 | static_cast<unsigned>(b[3]) << 24, b[4] | b[5] << 8, b[6] | b[7] << 8,
                b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  fuzz::Same("GuidText", Kv_tools::GuidText(b), rtl::FromUtf8(text));
  return 0;
}
