#pragma once
// Wild-card matching of names as CAD programs do it (selection filters,
// layer and block names, application names).
//
// Pattern syntax:
//   *        any sequence of characters, the empty one included
//   ?        any single character
//   #        any single digit 0–9
//   @        any single alphabetic character
//   .        any single character that is neither alphabetic nor a digit
//   [...]    any one of the enclosed characters; a-z inside gives a range
//   [~...]   any one character not enclosed
//   `x       the character x itself (reverse quote escapes the next character)
//   a,b      either alternative (the string matches when any alternative does)
//   ~pat     as the first character of the pattern: anything the whole rest
//            of the pattern does not match, all alternatives together
//            ("~A*,B*" matches what starts with neither A nor B); a ~
//            anywhere else outside brackets is an ordinary character
// Inside brackets every character is literal except a leading ~ (negation)
// and - between two characters (a range): - is literal first, last or right
// after the leading ~, and ] is literal first or right after the leading ~.
// An unclosed [ is a literal [, a trailing reverse quote a literal reverse
// quote. An empty alternative matches only the empty string, so the empty
// pattern matches only the empty string.
//
// Both texts are UTF-8 and compared by code point (a byte that is not valid
// UTF-8 stands for itself). Case is folded for ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic letters.

// 1 when string matches pattern ignoring case (names in a drawing are case-insensitive), else 0.
// A null string or pattern gives 0.
int acutWcMatch(const char* string, const char* pattern);

// 1 when string matches pattern, with case ignored or not as asked, else 0.
// A null string or pattern gives 0.
int acutWcMatchEx(const char* string, const char* pattern, bool ignoreCase);
