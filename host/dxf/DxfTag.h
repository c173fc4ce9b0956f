#pragma once
#include <cstdint>

#include "host/base/RawTag.h"

// How the value of a group code is typed (by code range, as DXF defines it).
enum class DxfValueKind : uint8_t { String, Double, Int16, Int32, Int64, Bool, Handle, Binary, Unknown };

// The value kind for a group code; Unknown for codes DXF does not define.
DxfValueKind dxfValueKind(int code);
