// Kv_tools field strings: one line of fields divided by a separator character, and
// named values ("w=10;h=20") kept inside one string.
//
// Fields are numbered from 1. Field n is the text between the (n-1)-th separator (or the
// start) and the n-th separator. The text after the last separator is a field only when it
// is not empty, so "a;b;c" (open form) and "a;b;c;" (terminated form) both hold three
// fields, "" holds none, ";" one empty field and "a;;b" three. There is no quoting.
// Every routine is a single pass over the string. A writer that would have to build a string
// longer than 2^31-1 characters (a huge field number) leaves S unchanged.
#pragma once

#include <vector>

#include "rtl/string.h"
#include "rtl/string_list.h"

namespace Kv_tools {

using rtl::String;
using rtl::StringList;

// Field Nr of S; "" when Nr is below 1 or above the field count.
// Example: GetFieldStr(';', "a;;b", 3) == "b", GetFieldStr(';', "a;b;", 3) == "".
KV_API String GetFieldStr(char16_t Sep, const String& S, int Nr);

// The number of separators in S, plus one when S is not empty and does not end with Sep.
// Example: GetFieldsCount(';', "a;;b") == 3, GetFieldsCount(';', "a;") == 1.
KV_API int GetFieldsCount(char16_t Sep, const String& S);

// Field Nr of S, resuming a scan at position Start with Count separators already passed.
// On success Count becomes the separators passed and Start the position after the field's
// separator (Length(S)+1 after the final, unterminated field). Otherwise "" and Start stays
// (Count still takes the separators passed). Nr equal to Count stops the scan at once and
// gives the text before position Start - 1. Start below 1 is taken as 1.
// Example: Count = 0, Start = 1, then Nr = 1, 2, 3 on "a;b;c" gives "a", "b", "c".
KV_API String GetFieldStrAtStart(char16_t Sep, const String& S, int Nr, int& Count, int& Start);

// When field Nr ends at a separator: S from its first character to the end, less the last
// character of S (on the terminated form: fields Nr to the last without the final
// separator). When field Nr is the final, unterminated field: that field. Otherwise "".
// Example: CopyFieldStr(';', "a;b;c;", 2) == "b;c", CopyFieldStr(';', "a;b;c", 1) == "a;b;".
KV_API String CopyFieldStr(char16_t Sep, const String& S, int Nr);

// Number of the first field equal to Text (exact), or -1.
// Example: GetFieldPos(';', "a;b", "b") == 2, GetFieldPos(';', "a;b", "B") == -1.
KV_API int GetFieldPos(char16_t Sep, const String& S, const String& Text);

// Number of the first field equal to Text when A-Z count as a-z (other letters compare
// exactly), or 0. An empty Text gives 1 when S starts with Sep, else 0.
// Example: GetIndexOf(';', "One;two;THREE", "three") == 3.
KV_API int GetIndexOf(char16_t Sep, const String& S, const String& Text);

// Field Nr up to the count: S is rebuilt in the open form with Value as field Nr (Nr below 1
// only drops a final separator). Beyond the count: an empty S with Nr 1 becomes Value, else
// S gets Nr - count - 1 separators (at least one) and Value. Stored lists rely on this.
// Example: "a;b;" with Nr 1 gives "x;b"; "a;b" with Nr 3 and with Nr 4 gives "a;b;x".
KV_API void SetFieldStr(char16_t Sep, String& S, const String& Value, int Nr);

// Replaces field Nr by Value in place, leaving every other character of S as it was; beyond
// the count S gets Nr - count separators and Value. Nr below 1 changes nothing.
// Example: "a;b;" with Nr 1 gives "x;b;"; "" with Nr 1 gives ";x"; "a;b" with Nr 4 "a;b;;x".
KV_API void SetFieldStr2(char16_t Sep, String& S, const String& Value, int Nr);

// Inserts Value and Sep after the Nr-th separator. S without separators becomes Value, Sep, S
// (whatever Nr is); beyond the count Value is appended as by SetFieldStr; an open final field
// has no separator after it, so Nr equal to the count then changes nothing.
// Nr below 1 on a string with separators changes nothing.
// Example: "a;b;c;" with Nr 1 gives "a;x;b;c;"; "a" gives "x;a"; "a;b;c" with Nr 3 stays.
KV_API void InsertFieldStr(char16_t Sep, String& S, const String& Value, int Nr);

// Inserts Value before field Nr. S without separators, or Nr 1, gives Value, Sep, S; beyond
// the count as InsertFieldStr; otherwise Value and Sep go after the (Nr-1)-th separator.
// Nr below 1 on a string with separators changes nothing.
// Example: "a;b;c" with Nr 2 gives "a;x;b;c", with Nr 1 "x;a;b;c".
KV_API void InsertFieldStrBefore(char16_t Sep, String& S, const String& Value, int Nr);

// Removes field Nr with one adjacent separator (the following one for field 1, else the
// preceding one); nothing when Nr is not a field.
// Example: "a;b;c" with Nr 2 gives "a;c"; "a;b;c;" with Nr 3 gives "a;b;".
KV_API void DeleteFieldStr(char16_t Sep, String& S, int Nr);

// Appends Value in the terminated form. Example: "a" gives "a;x;", "a;" gives "a;x;".
KV_API void kv_AddFieldStr(char16_t Sep, String& S, const String& Value);

// Appends Value in the open form. Example: "a" gives "a;x", "a;" gives "a;x".
KV_API void kv_AddFieldStr2(char16_t Sep, String& S, const String& Value);

// Appends Value: "" gives "x", "a;" gives "a;x", "a" gives "a;x;".
KV_API void kv_AddFieldStr_Ver2(char16_t Sep, String& S, const String& Value);

// Adds every field of S, in order, to the end of Strings (which is not cleared).
// Example: "a;;b" adds "a", "", "b".
KV_API void AddFieldsToStrList(char16_t Sep, const String& S, StringList& Strings);

// Clears List and adds every field of S; true when List then holds a line.
// Example: "a;b" fills {"a", "b"} and gives true; "" gives false.
KV_API bool CreateDBFields(StringList& List, const String& S, char16_t Sep);

// The items joined by Sep; "" for no items. Example: asStr({"a", "b", "c"}, ',') == "a,b,c".
KV_API String asStr(const std::vector<String>& Items, char16_t Sep);

// The text (from the fourth character on, at most 5000 characters) of the first item whose
// first two characters equal ToolsLanguage; "" when none does.
// Example: with ToolsLanguage "EN", GLT({"DE:Datei", "EN:File"}) == "File".
KV_API String GLT(const std::vector<String>& Items);

// Named values: an entry is the first occurrence of Name + Assigner anywhere in S (a plain
// substring: "xw=" also matches the name "w"); it runs to the next Terminator or the end.

// Replaces the value of entry Name; nothing when there is none.
// Example: sns("w", "5", "w=10;h=20", ';', '=') gives "w=5;h=20".
KV_API void sns(const String& Name, const String& Value, String& S, char16_t Terminator,
                char16_t Assigner);

// As sns, after appending an empty entry Name when there is none (with a Terminator
// before it unless S is empty). Example: snsadd("d", "1", "w=10", ';', '=') gives "w=10;d=1".
KV_API void snsadd(const String& Name, const String& Value, String& S, char16_t Terminator,
                   char16_t Assigner);

// Replaces the value of entry Name, or appends Terminator, Name, Assigner and Value.
// Example: SetToStr("d", "1", "", ';', '=') gives ";d=1".
KV_API void SetToStr(const String& Name, const String& Value, String& S, char16_t Terminator,
                     char16_t Assigner);

// The value of entry Name, or the whole entry when Whole; "" when there is none.
// Example: gns("h", "w=10;h=20", false, ';', '=') == "20", with Whole true "h=20".
KV_API String gns(const String& Name, const String& S, bool Whole, char16_t Terminator,
                  char16_t Assigner);

}  // namespace Kv_tools
