#pragma once
// Result codes and value types of the editor's input functions, with the
// numbers CAD programs use for them, so module code compares the same values.

#include <cstdint>

constexpr int RTNORM = 5100;   // the user answered
constexpr int RTNONE = 5000;   // the user gave the empty answer (Enter) where it is allowed
constexpr int RTKWORD = -5005; // the user typed a keyword of acedInitGet
constexpr int RTREJ = -5003;   // the request was rejected (bad arguments)
constexpr int RTCAN = -5002;   // the user cancelled (Escape, Ctrl-C, "^C" in a script)
constexpr int RTERROR = -5001; // the request failed

// acedInitGet bits.
constexpr int RSG_NONULL = 0x01;  // the empty answer is not accepted
constexpr int RSG_NOZERO = 0x02;  // zero is not accepted
constexpr int RSG_NONEG = 0x04;   // negative numbers are not accepted

using ads_real = double;
using ads_point = ads_real[3];
using ads_pointp = ads_real*;
// An entity name: the owning database's identity and the object's identity in it.
using ads_name = int64_t[2];
using ads_namep = int64_t*;

enum { X = 0, Y = 1, Z = 2 };
