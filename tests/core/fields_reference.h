// Naive field-string walks, position by position as the routines were first written, kept
// only to check the fast ones against. Positions are 1-based; Ch(s, i) is character i.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "rtl/string.h"

namespace fields_reference {

using rtl::String;

inline char16_t Ch(const String& s, int64_t i) { return s[static_cast<size_t>(i - 1)]; }
inline int64_t Len(const String& s) { return static_cast<int64_t>(s.size()); }

// Copy(s, index, count) of the old runtime: clipped to the string, never failing.
inline String Copy(const String& s, int64_t index, int64_t count) {
  if (index < 1) index = 1;
  if (index > Len(s) || count <= 0) return String();
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}
// PosEx of the old runtime: 0 for an empty sub or an offset outside s.
inline int Pos(const String& sub, const String& s, int64_t offset = 1) {
  if (sub.empty() || offset < 1 || offset > Len(s)) return 0;
  for (int64_t i = offset; i + Len(sub) - 1 <= Len(s); ++i)
    if (Copy(s, i, Len(sub)) == sub) return static_cast<int>(i);
  return 0;
}
// Every occurrence of old_text replaced, left to right, as the old runtime's loop did.
inline String ReplaceAll(String s, const String& old_text, const String& new_text) {
  String out;
  for (int p; (p = Pos(old_text, s)) > 0; s = Copy(s, p + Len(old_text), Len(s)))
    out += Copy(s, 1, p - 1) + new_text;
  return out + s;
}
inline void Delete(String& s, int64_t index, int64_t count) {
  if (index >= 1 && index <= Len(s) && count > 0) s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}
inline void Insert(const String& part, String& s, int64_t index) {
  s.insert(static_cast<size_t>(std::clamp<int64_t>(index, 1, Len(s) + 1) - 1), part);
}
inline bool LastIsNotSep(char16_t sep, const String& s) { return Len(s) > 0 && Ch(s, Len(s)) != sep; }

// The walk: separators seen, latest and earlier separator positions. Run returns the
// position where the count first equals nr (0 when never); the state stays as it ended.
struct Walk {
  int64_t cnt = 0, latest = 0, earlier = 0;
  void Step(char16_t sep, const String& s, int64_t i) {
    if (Ch(s, i) == sep) { ++cnt; earlier = latest; latest = i; }
  }
  int64_t Run(char16_t sep, const String& s, int64_t nr, int64_t from = 1) {
    for (int64_t i = from; i <= Len(s); ++i) {
      Step(sep, s, i);
      if (cnt == nr) return i;
    }
    return 0;
  }
  String Between(const String& s) const { return Copy(s, earlier + 1, latest - earlier - 1); }
  bool FinalIs(char16_t sep, const String& s, int64_t nr) const { return LastIsNotSep(sep, s) && nr == cnt + 1; }
};

inline String GetFieldStr(char16_t sep, const String& s, int nr) {
  Walk w;
  if (w.Run(sep, s, nr)) return w.Between(s);
  return w.FinalIs(sep, s, nr) ? Copy(s, w.latest + 1, Len(s)) : String();
}

inline int GetFieldsCount(char16_t sep, const String& s) {
  int n = 0;
  for (int64_t i = 1; i <= Len(s); ++i) n += Ch(s, i) == sep;
  return n + (LastIsNotSep(sep, s) ? 1 : 0);
}

inline String GetFieldStrAtStart(char16_t sep, const String& s, int nr, int& count, int& start) {
  Walk w{count, start - 1, 0};
  int64_t at = w.Run(sep, s, nr, start);
  count = static_cast<int>(w.cnt);
  if (at) {
    start = static_cast<int>(w.latest + 1);
    return w.Between(s);
  }
  if (!w.FinalIs(sep, s, nr)) return String();
  start = static_cast<int>(Len(s) + 1);
  return Copy(s, w.latest + 1, Len(s));
}

inline String CopyFieldStr(char16_t sep, const String& s, int nr) {
  Walk w;
  if (w.Run(sep, s, nr)) return Copy(s, w.earlier + 1, Len(s) - w.earlier - 1);
  return w.FinalIs(sep, s, nr) ? Copy(s, w.latest + 1, Len(s)) : String();
}

inline String Lower(String s) {
  for (char16_t& c : s) if (c >= u'A' && c <= u'Z') c += 32;
  return s;
}

inline int GetIndexOf(char16_t sep, const String& s, const String& text) {
  Walk w;
  for (int64_t i = 1; i <= Len(s); ++i) {
    w.Step(sep, s, i);
    if (Lower(w.Between(s)) == Lower(text)) return static_cast<int>(w.cnt);
  }
  if (w.FinalIs(sep, s, w.cnt + 1) && Lower(Copy(s, w.latest + 1, Len(s))) == Lower(text)) return static_cast<int>(w.cnt + 1);
  return 0;
}

inline int GetFieldPos(char16_t sep, const String& s, const String& text) {
  for (int nr = 1; nr <= GetFieldsCount(sep, s); ++nr)
    if (GetFieldStr(sep, s, nr) == text) return nr;
  return -1;
}

inline String Seps(char16_t sep, int64_t k) { return String(static_cast<size_t>(k), sep); }

inline void SetFieldStr(char16_t sep, String& s, const String& value, int nr) {
  int count = GetFieldsCount(sep, s);
  if (count < nr) {
    int64_t k = int64_t{nr} - count - 1;
    s = nr == 1 && s.empty() ? value : s + Seps(sep, k == 0 ? 1 : k) + value;
    return;
  }
  String out;
  for (int i = 1; i <= count; ++i) out += (i > 1 ? Seps(sep, 1) : String()) + (i == nr ? value : GetFieldStr(sep, s, i));
  s = out;
}

inline void SetFieldStr2(char16_t sep, String& s, const String& value, int nr) {
  int count = GetFieldsCount(sep, s);
  if (count < nr) {
    s += Seps(sep, int64_t{nr} - count) + value;
    return;
  }
  Walk w;
  if (w.Run(sep, s, nr)) {
    Delete(s, w.earlier + 1, w.latest - w.earlier - 1);
    Insert(value, s, w.earlier + 1);
  } else if (w.FinalIs(sep, s, nr)) {
    s = Copy(s, 1, w.latest) + value;
  }
}

// Walks s counting separators; at the first position where the count equals k, inserts
// value and a separator after that position.
inline void InsertAtCount(char16_t sep, String& s, const String& value, int64_t k) {
  Walk w;
  if (int64_t at = w.Run(sep, s, k)) Insert(value + sep, s, at + 1);
}

inline bool HasSep(char16_t sep, const String& s) { return s.find(sep) != String::npos; }

inline void InsertFieldStr(char16_t sep, String& s, const String& value, int nr) {
  int count = GetFieldsCount(sep, s);
  if (!HasSep(sep, s)) s = value + sep + s;
  else if (count < nr) SetFieldStr(sep, s, value, nr);  // the same k separators, then value
  else InsertAtCount(sep, s, value, nr);
}

inline void InsertFieldStrBefore(char16_t sep, String& s, const String& value, int nr) {
  int count = GetFieldsCount(sep, s);
  if (!HasSep(sep, s) || nr == 1) s = value + sep + s;
  else if (count < nr) SetFieldStr(sep, s, value, nr);
  else InsertAtCount(sep, s, value, int64_t{nr} - 1);
}

inline void DeleteFieldStr(char16_t sep, String& s, int nr) {
  Walk w;
  if (w.Run(sep, s, nr)) {
    if (w.earlier == 0) Delete(s, 1, w.latest);
    else Delete(s, w.earlier, w.latest - w.earlier);
  } else if (w.FinalIs(sep, s, nr)) {
    s = Copy(s, 1, w.latest - 1);
  }
}

inline void kv_AddFieldStr(char16_t sep, String& s, const String& value) {
  s = s.empty() ? value + sep : LastIsNotSep(sep, s) ? s + sep + value + sep : s + value + sep;
}
inline void kv_AddFieldStr2(char16_t sep, String& s, const String& value) {
  s = s.empty() ? value : LastIsNotSep(sep, s) ? s + sep + value : s + value;
}
inline void kv_AddFieldStr_Ver2(char16_t sep, String& s, const String& value) {
  s = s.empty() ? value : LastIsNotSep(sep, s) ? s + sep + value + sep : s + value;
}

inline std::vector<String> Fields(char16_t sep, const String& s) {
  std::vector<String> out;
  for (int nr = 1; nr <= GetFieldsCount(sep, s); ++nr) out.push_back(GetFieldStr(sep, s, nr));
  return out;
}

}  // namespace fields_reference
