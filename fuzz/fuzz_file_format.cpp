// The format decisions against the detectors' steps written out: marks in their order, the
// byte-by-byte line-break scan, the round trips done in full; and lines through each
// encoding and back.
#include "fuzz/fuzz_input.h"
#include "kv_tools/file_format.h"
#include "rtl/platform.h"

namespace literal {

using rtl::Encoding;
using rtl::String;

bool Starts(const std::string& bytes, std::string_view head) {
  return bytes.compare(0, head.size(), head) == 0;
}

// Valid UTF-8 survives decoding and encoding unchanged; anything else does not.
bool MultiByteUtf8(const std::string& bytes) {
  bool high = false;
  for (char b : bytes) high = high || static_cast<unsigned char>(b) >= 0x80;
  return high && rtl::ToUtf8(rtl::FromUtf8(bytes)) == bytes;
}

bool AnsiKept(const std::string& bytes) {
  const String text = rtl::DecodeAnsi(bytes);
  return rtl::DecodeAnsi(rtl::EncodeAnsi(text)) == text;
}

bool Utf8Kept(const std::string& bytes) {
  const String text = rtl::DecodeAnsi(bytes);
  return rtl::FromUtf8(rtl::ToUtf8(text)) == text;
}

String GetFileFormat(const std::string& bytes) {
  if (bytes.size() < 4) return u"Ansi";
  if (Starts(bytes, "\xEF\xBB\xBF")) return u"utf-8";
  if (Starts(bytes, std::string_view("\xFF\xFE\0\0", 4))) return u"utf-32-little";
  if (Starts(bytes, "\xFF\xFE")) return u"utf-16";
  if (Starts(bytes, "\xFE\xFF")) return u"utf-16-big";
  if (Starts(bytes, std::string_view("\0\0\xFE\xFF", 4))) return u"utf-32-big";
  return MultiByteUtf8(bytes) || !AnsiKept(bytes) ? u"utf-8" : u"Ansi";
}

const Encoding* GetFileFormatEncoding(const std::string& bytes) {
  const String name = GetFileFormat(bytes);
  if (name == u"Ansi") return Encoding::ANSI();
  if (name == u"utf-8") return Encoding::UTF8();
  if (name == u"utf-16-big") return Encoding::BigEndianUnicode();
  return Encoding::Unicode();
}

const Encoding* CheckFileFormat(const std::string& bytes, int& figure, bool& line_break) {
  figure = 0;
  line_break = false;
  if (bytes.size() < 4) return Encoding::ANSI();
  for (size_t i = 4; i < bytes.size();) {
    if (bytes[i++] != '\r' || i == bytes.size()) continue;
    if (bytes[i++] == '\n') {
      line_break = true;
      break;
    }
  }
  const Encoding* result = Encoding::ANSI();
  bool marked = false;
  if (Starts(bytes, "\xEF\xBB\xBF")) result = Encoding::UTF8(), figure = 4, marked = true;
  if (Starts(bytes, "\xFF\xFE")) result = Encoding::Unicode(), figure = 2, marked = true;
  if (Starts(bytes, "\xFE\xFF")) result = Encoding::BigEndianUnicode(), figure = 2, marked = true;
  if (Starts(bytes, std::string_view("\xFF\xFE\0\0", 4)))
    result = Encoding::Unicode(), figure = 4, marked = true;
  if (Starts(bytes, std::string_view("\0\0\xFE\xFF", 4)))
    result = Encoding::BigEndianUnicode(), figure = 4;
  if (marked) return result;
  return MultiByteUtf8(bytes) || !Utf8Kept(bytes) ? Encoding::UTF8() : Encoding::ANSI();
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  static const char* const kHeads[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\r\n", "\xC3"};
  std::string bytes = kHeads[in.ConsumeIntegralInRange<size_t>(0, std::size(kHeads) - 1)];
  if (in.ConsumeBool()) bytes += std::string("\0\0\xFE\xFF", 4);
  bytes += in.ConsumeRandomLengthString(4096);

  Same("FileFormatOf", FileFormatOf(bytes), literal::GetFileFormat(bytes));
  fuzz::Holds("FileEncodingOf", FileEncodingOf(bytes) == literal::GetFileFormatEncoding(bytes));
  int figure = -1, their_figure = -1;
  bool line_break = false, their_line_break = false;
  fuzz::Holds("CheckedEncodingOf",
              CheckedEncodingOf(bytes, figure, line_break) ==
                  literal::CheckFileFormat(bytes, their_figure, their_line_break));
  Same("CheckedEncodingOf figure", figure, their_figure);
  Same("CheckedEncodingOf line break", line_break, their_line_break);
  const ByteOrderMark mark = bytes.size() < 4                                          ? ByteOrderMark::None
                             : literal::Starts(bytes, "\xEF\xBB\xBF")                      ? ByteOrderMark::Utf8
                             : literal::Starts(bytes, std::string_view("\xFF\xFE\0\0", 4)) ? ByteOrderMark::Utf32LittleEndian
                             : literal::Starts(bytes, "\xFF\xFE")                          ? ByteOrderMark::Utf16LittleEndian
                             : literal::Starts(bytes, "\xFE\xFF")                          ? ByteOrderMark::Utf16BigEndian
                             : literal::Starts(bytes, std::string_view("\0\0\xFE\xFF", 4)) ? ByteOrderMark::Utf32BigEndian
                                                                                           : ByteOrderMark::None;
  fuzz::Holds("FindByteOrderMark", FindByteOrderMark(bytes) == mark);
  Same("IsMultiByteUtf8", IsMultiByteUtf8(bytes), literal::MultiByteUtf8(bytes));
  int scratch_figure;
  bool line_break_seen = false;
  literal::CheckFileFormat(bytes, scratch_figure, line_break_seen);
  Same("HasLineBreak", HasLineBreak(bytes), bytes.size() >= 4 && line_break_seen);
  // Any bytes decoded in each encoding: its own mark at the start dropped, nothing else.
  for (const rtl::Encoding* encoding : {rtl::Encoding::ANSI(), rtl::Encoding::UTF8(), rtl::Encoding::Unicode(),
                                        rtl::Encoding::BigEndianUnicode()}) {
    const std::string_view mark_bytes = encoding->Preamble();
    const bool marked = !mark_bytes.empty() && literal::Starts(bytes, mark_bytes);
    Same("DecodeText", DecodeText(bytes, encoding),
         encoding->GetString(std::string_view(bytes).substr(marked ? mark_bytes.size() : 0)));
  }
  Same("DecodeText without an encoding", DecodeText(bytes, nullptr), rtl::DecodeAnsi(bytes));
  Same("AnsiRoundTripKeeps", AnsiRoundTripKeeps(bytes), literal::AnsiKept(bytes));
  Same("Utf8RoundTripKeeps", Utf8RoundTripKeeps(bytes), literal::Utf8Kept(bytes));

  // Lines encoded behind the mark and decoded again (UTF-8 keeps any text without a lone
  // surrogate, which FromUtf8 never makes).
  StringList lines, again;
  lines.SetText(rtl::FromUtf8(bytes));
  for (const rtl::Encoding* encoding :
       {rtl::Encoding::Unicode(), rtl::Encoding::BigEndianUnicode(), rtl::Encoding::UTF8()}) {
    again.SetText(DecodeText(EncodeLines(lines, encoding, true), encoding));
    Same("lines through an encoding", again.Text(), lines.Text());
  }
  return 0;
}
