// Kv_tools text-file formats: in which encoding a text file is written, and the lines of a
// string list through a stream in a chosen encoding.
//
// Byte-order marks count only in files of 4 bytes or more; they are tested in this order:
// EF BB BF UTF-8, FF FE 00 00 UTF-32 little-endian, FF FE UTF-16 little-endian, FE FF
// UTF-16 big-endian, 00 00 FE FF UTF-32 big-endian. A file of 0 to 3 bytes is ANSI.
// Without a mark: bytes that are valid UTF-8 and hold at least one multi-byte sequence are
// UTF-8; other bytes are decoded in the ANSI code page and the text is converted into a
// second form and back (the "round trip"): unchanged means ANSI, changed means UTF-8.
// Deliberately, the UTF-8 test comes first: the round trip alone never fails on code page 1252.
//
// The encodings returned are the shared rtl::Encoding objects; callers never free them.
// The decisions over bytes build everywhere; the routines that open files or take streams
// only in the Windows build.
#pragma once

#include <string>
#include <string_view>

#include "rtl/encoding.h"
#include "rtl/stream.h"
#include "rtl/string.h"
#include "rtl/string_list.h"

namespace Kv_tools {

using rtl::String;
using rtl::StringList;

enum class ByteOrderMark {
  None,
  Utf8,               // EF BB BF
  Utf32LittleEndian,  // FF FE 00 00
  Utf16LittleEndian,  // FF FE
  Utf16BigEndian,     // FE FF
  Utf32BigEndian,     // 00 00 FE FF
};

// The mark at the start of Bytes; None for fewer than 4 bytes.
// Example: FindByteOrderMark("\xFF\xFE\x41\x00") == ByteOrderMark::Utf16LittleEndian.
KV_API ByteOrderMark FindByteOrderMark(std::string_view Bytes);

// True when Bytes are valid UTF-8 and hold at least one multi-byte sequence.
// Example: IsMultiByteUtf8("\xC3\xA4") is true, IsMultiByteUtf8("abc") and ("\xE4") are false.
KV_API bool IsMultiByteUtf8(std::string_view Bytes);

// The round trip through the ANSI code page: true when decoding Bytes in it, encoding the
// text in it again and decoding that gives the same text.
// Example: on code page 1252 every byte sequence survives.
KV_API bool AnsiRoundTripKeeps(std::string_view Bytes);

// The round trip through UTF-8: true when Bytes decoded in the ANSI code page survive a
// conversion to UTF-8 and back. Example: true for every byte sequence on code page 1252.
KV_API bool Utf8RoundTripKeeps(std::string_view Bytes);

// True when a CR directly followed by LF stands behind the first 4 bytes, scanning byte by
// byte; the byte after a CR is taken with it, so CR CR LF holds no line break.
// Example: HasLineBreak("abcdx\r\n") is true, HasLineBreak("ab\r\nxyz") is false.
KV_API bool HasLineBreak(std::string_view Bytes);

// GetFileFormat's answer for a file of these bytes: "Ansi", "utf-8", "utf-16" (little-endian),
// "utf-16-big", "utf-32-big" or "utf-32-little"; without a mark the ANSI round trip decides.
// Example: FileFormatOf("\xEF\xBB\xBF") == u"Ansi" (too short for a mark).
KV_API String FileFormatOf(std::string_view Bytes);

// GetFileFormatEncoding's answer for a file of these bytes: UTF-8, UTF-16 little-endian
// (also for both UTF-32 marks), UTF-16 big-endian, or without a mark as FileFormatOf decides.
// Example: FileEncodingOf("\xFE\xFF\x00\x41") == rtl::Encoding::BigEndianUnicode().
KV_API const rtl::Encoding* FileEncodingOf(std::string_view Bytes);

// CheckFileFormat's answer for a file of these bytes. Figure: 4 for the UTF-8 and both UTF-32
// marks, 2 for the UTF-16 marks, else 0. LineBreak: HasLineBreak. Encoding: UTF-8, UTF-16
// little-endian (also for FF FE 00 00), UTF-16 big-endian; without a mark (and after
// 00 00 FE FF) the UTF-8 round trip decides. Fewer than 4 bytes: ANSI, 0, false.
// Example: CheckedEncodingOf("\xEF\xBB\xBFx\r\n", f, b) == rtl::Encoding::UTF8(), f == 4, b.
KV_API const rtl::Encoding* CheckedEncodingOf(std::string_view Bytes, int& Figure, bool& LineBreak);

// Bytes decoded in TextEncoding (null: ANSI), without the encoding's own mark when they
// begin with it. Example: DecodeText("\xEF\xBB\xBFx", rtl::Encoding::UTF8()) == u"x".
KV_API String DecodeText(std::string_view Bytes, const rtl::Encoding* TextEncoding);

// The entries of Lines, each followed by CR LF, encoded in TextEncoding (null: ANSI), behind
// the encoding's mark when WithMark. Example: {"a"} in UTF-16 LE with the mark: FF FE 61 00
// 0D 00 0A 00.
KV_API std::string EncodeLines(const StringList& Lines, const rtl::Encoding* TextEncoding,
                               bool WithMark);

#ifdef _WIN32
// The format name of the file, as FileFormatOf; "Ansi" when the file does not exist.
// rtl::EFOpenError or rtl::EReadError when it exists but cannot be read.
// Example: GetFileFormat(u"C:\\missing.txt") == u"Ansi".
KV_API String GetFileFormat(const String& FileName);

// The encoding of the file, as FileEncodingOf; ANSI when the file does not exist.
// rtl::EFOpenError or rtl::EReadError when it exists but cannot be read.
KV_API const rtl::Encoding* GetFileFormatEncoding(const String& FileName);

// The encoding of the file with the figure and the line-break flag, as CheckedEncodingOf;
// ANSI, 0 and false when the file does not exist. rtl::EFOpenError or rtl::EReadError when
// it exists but cannot be read.
KV_API const rtl::Encoding* CheckFileFormat(const String& FileName, int& Figure, bool& LineBreak);

// Appends the lines that Source holds from its position to its end, decoded in TextEncoding
// (null: ANSI; its own mark at the start is skipped, no other mark is looked for), to Lines
// in one batch update. A line ends at CR, LF or CR LF. Errors of Source reach the caller.
// Example: a list of 2 entries and a stream "a\r\nb\nc" give 5 entries.
KV_API void LoadLinesFromStream(StringList& Lines, rtl::Stream& Source,
                                const rtl::Encoding* TextEncoding);

// Writes every entry of Lines followed by CR LF into Target at its position, encoded in
// TextEncoding (null: ANSI); an empty Target gets the encoding's mark first. Target is not
// closed. rtl::EWriteError (or the stream's own error) when Target takes fewer bytes.
KV_API void SaveLinesToStream(const StringList& Lines, rtl::Stream& Target,
                              const rtl::Encoding* TextEncoding);

// Loads the file into List, replacing its entries, in the encoding GetFileFormatEncoding
// finds; true on success. A missing file gives false and leaves List as it is (an absent List
// stays absent); otherwise an absent List is created and handed to the caller, who deletes
// it. Any error while reading gives false.
KV_API bool CanLoadStringList(StringList*& List, const String& FileName);
#endif

}  // namespace Kv_tools
