#pragma once
// Result codes and value types of the editor's input functions, with the
// numbers CAD programs use for them, so module code compares the same values.
// The codes shared with result buffers (RTNORM 5100, RTNONE 5000, RTCAN -5002,
// RTERROR -5001) and the ads_* value types come from host/db/resbuf.h.

#include <cstdint>

#include "host/db/resbuf.h"

constexpr int RTKWORD = -5005; // the user typed a keyword of acedInitGet
constexpr int RTREJ = -5003;   // the request was rejected (bad arguments)

// acedInitGet bits.
constexpr int RSG_NONULL = 0x01;  // the empty answer is not accepted
constexpr int RSG_NOZERO = 0x02;  // zero is not accepted
constexpr int RSG_NONEG = 0x04;   // negative numbers are not accepted

using ads_pointp = ads_real*;
using ads_namep = int64_t*;

enum { X = 0, Y = 1, Z = 2 };
