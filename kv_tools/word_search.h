// Kv_tools searches: whole words, from the right, from a start or up to a limit, the n-th
// occurrence, ignoring case, any of several words, and a wildcard match.
//
// Positions are 1-based (one character is one UTF-16 code unit); 0 means "not found" unless
// a routine says otherwise. An empty word or Sub is never found.
//
// Whole words: a match counts when its neighbouring characters in Text are not word
// characters. The word searches and ULPos lower-case both sides with the platform's
// lower-case mapping (rtl::AnsiLowerCase), which keeps every character in place; all other
// routines compare exactly. Word characters, by routine:
//   letters        a-z A-Z üäöÖÄÜß éíúáóèìùàòâêôîûÂÊÔÎÛ ñÑçÇ
//   letters+digits the letters and 0-9
//   letters+hyphen the letters and '-'
//   German         a-z A-Z äöüÄÖÜß
// Stateless; safe to call from any thread.
#pragma once

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// First whole-word occurrence of Word in Text (letters). Past an occurrence that is not a
// whole word the search goes on in the text behind it, but only while that text still holds
// the lower-cased Word in exactly that case. 0 when none.
// Example: WordPos(u"der", u"Oder der") == 6, WordPos(u"abc", u"xabc ABC") == 0.
KV_API int WordPos(const String& Word, const String& Text);

// As WordPos, with the hyphen as a word character.
// Example: WordPos2(u"foo", u"foo-bar") == 0, WordPos(u"foo", u"foo-bar") == 1.
KV_API int WordPos2(const String& Word, const String& Text);

// The first occurrence of Word at or after From, when it is a whole word (letters); no
// further occurrence is tried. From below 1 counts as 1.
// Example: WordPosFrom(u"ab", u"ab xab ab", 2) == 0.
KV_API int WordPosFrom(const String& Word, const String& Text, int From);

// The first occurrence of Word, when it is a whole word (letters+digits); else 0.
// Example: WordNumberPos(u"12", u"a12") == 0, WordNumberPos(u"12", u"a 12") == 3.
KV_API int WordNumberPos(const String& Word, const String& Text);

// The same as WordNumberPos.
KV_API int WordPos3(const String& Word, const String& Text);

// The first occurrence of Word, when it is a whole word (German letters); else 0.
// Example: CharsetPos(u"tat", u"état") == 2.
KV_API int CharsetPos(const String& Word, const String& Text);

// The first occurrence of Word, when no German letter stands before it; else 0.
// Example: WordLeftPos(u"foo", u"foobar") == 1, WordLeftPos(u"bar", u"foobar") == 0.
KV_API int WordLeftPos(const String& Word, const String& Text);

// True when WordPos finds any field of the field string Words (separator Sep) in Text.
// Example: WordsInText(';', u"foo;bar", u"a bar b") is true.
KV_API bool WordsInText(char16_t Sep, const String& Words, const String& Text);

// P takes the position of the first Sub in S (0 when none); true when P is not 0.
// Example: kvxPos(u"x", u"abc", P) is false and sets P to 0.
KV_API bool kvxPos(const String& Sub, const String& S, int& P);

// First Sub in S that begins at or after Start (below 1 counts as 1); 0 when none.
// Example: Instr(3, u"abcabc", u"a") == 4, Instr(7, u"abcabc", u"a") == 0.
KV_API int Instr(int Start, const String& S, const String& Sub);

// Rightmost Sub that lies wholly within the first Count characters of S; 0 when none.
// Example: InstrLeft(5, u"abcabc", u"bc") == 2.
KV_API int InstrLeft(int Count, const String& S, const String& Sub);

// Rightmost Sub that lies wholly within the first From characters of S; 0 when none.
// Example: RPosFrom(u"bc", u"abcabc", 5) == 2.
KV_API int RPosFrom(const String& Sub, const String& S, int From);

// Rightmost Sub in S; 0 when none. Example: RPos(u"bc", u"abcabc") == 5.
KV_API int RPos(const String& Sub, const String& S);

// A simple matcher from the end: S is walked backwards, each equal character steps back
// through Sub and any other character starts Sub again from its end (without comparing that
// character once more); the position where all of Sub has been met, or 0. Not a full
// search: a restart may skip a match. 0 for an empty Sub.
// Example: LastPos(u"ab", u"xab") == 2, LastPos(u"ab", u"abb") == 0.
KV_API int LastPos(const String& Sub, const String& S);

// The N-th occurrence of Sub in S, overlapping occurrences counted; -1 when S holds fewer
// than N or N is below 1. An empty Sub occurs at every position of S.
// Example: OccurNr(u"aa", u"aaaa", 2) == 2, OccurNr(u"aa", u"aaaa", 4) == -1.
KV_API int OccurNr(const String& Sub, const String& S, int N);

// First Sub in S, both lower-cased; 0 when none. Example: ULPos(u"ÄB", u"xäb") == 2.
KV_API int ULPos(const String& Sub, const String& S);

// First character of S that is not Ch; 0 when there is none.
// Example: FirstDifferent(u'0', u"0012") == 3, FirstDifferent(u'0', u"000") == 0.
KV_API int FirstDifferent(char16_t Ch, const String& S);

// Wildcard match of the whole of S, case-sensitive: '*' stands for any run of characters
// (also none), '?' for exactly one, every other character for itself.
// Example: kv_Like(u"Project1.dproj", u"*.dproj") is true, kv_Like(u"abc", u"A*") is false.
// Deliberately a true wildcard match: a two-phase scan would say false for (u"baa", u"*?a").
KV_API bool kv_Like(const String& S, const String& Pattern);

}  // namespace Kv_tools
