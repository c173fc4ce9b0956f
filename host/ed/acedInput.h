#pragma once
// The editor's prompts: each prints its prompt on the command line, reads one
// answer from the editor's input and returns RTNORM with the value, RTNONE
// for the empty answer where a value has no default, or RTCAN when the user
// cancels or the input ends. A wrong answer (not a number, not a point) is
// explained on the command line and the prompt is asked again.

#include <string>

#include "host/ed/adscodes.h"

// Reads a text. cronly 0: a blank ends the text (the rest of the line is the
// next answer); otherwise only the end of the line does. The result buffer
// must hold 133 bytes; RTERROR for an answer longer than 132 bytes.
int acedGetString(int cronly, const char* prompt, char* result);
// Reads a text of any length; otherwise as above.
int acedGetString(int cronly, const char* prompt, std::string& result);

// Reads a whole number from -32768 to 32767.
int acedGetInt(const char* prompt, int* result);
// Reads a real number.
int acedGetReal(const char* prompt, ads_real* result);
// Reads a point typed as "x,y" or "x,y,z" in the current UCS; "@dx,dy[,dz]" is
// relative to base when a base point is given (may be null).
int acedGetPoint(const ads_point base, const char* prompt, ads_point result);

// Sets the input bits (RSG_NONULL, RSG_NOZERO ...) for the next prompt; no
// prompt of this host takes keywords, so they are ignored. Returns RTNORM.
int acedInitGet(int flags, const char* keywords);
