// Kv_tools unique identifiers: the text forms.
#include "kv_tools/identifiers.h"

#include "kv_tools/paths.h"

namespace Kv_tools {

String GuidText(const unsigned char (&b)[16]) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  // Data1 (4 bytes), Data2 and Data3 (2 each) are little-endian; Data4 in byte order.
  static const int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  String s = u"{";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) s += u'-';
    unsigned char v = b[kOrder[i]];
    s += kHex[v >> 4];
    s += kHex[v & 15];
  }
  return s + u"}";
}

String CreateFileID() { return kv_GetValidFilename(CreateStrID()) + u".mailmsg"; }

}  // namespace Kv_tools
