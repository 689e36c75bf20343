// Comment stripping and tokens for the line-based readers (settings, drill
// and aperture files).
#pragma once

#include <string>

// Removes the text from the first ';' on, then leading blanks and tabs, then
// trailing line feeds, blanks and tabs (a carriage return stays).
void StripComment(std::string& line);
// dest = src with StripComment applied.
void StripCommentCopy(std::string& dest, const std::string& src);
// Applies StripComment to `line` (the caller's text changes), then returns
// its n-th token counted from 0, or "" when there are fewer. Tokens are
// separated by blanks, tabs, ':' and ','. Non-printable characters are skipped
// before the first token; inside the line one ends the tokens for good.
std::string GetToken(std::string& line, int n);
// The value of the first run of decimal digits in `s` (a minus sign before it
// is skipped like any other character, so the result is never negative); 0
// when there is no digit. Runs too long for an int give the largest int.
int GetFirstInt(const std::string& s);
