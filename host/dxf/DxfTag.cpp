#include "host/dxf/DxfTag.h"

DxfValueKind dxfValueKind(int c)
{
    if (c == 5 || c == 105)
        return DxfValueKind::Handle;
    if (c >= 0 && c <= 9)
        return DxfValueKind::String;
    if (c >= 10 && c <= 59)
        return DxfValueKind::Double;
    if (c >= 60 && c <= 79)
        return DxfValueKind::Int16;
    if (c >= 90 && c <= 99)
        return DxfValueKind::Int32;
    if (c == 100 || c == 101 || c == 102)
        return DxfValueKind::String;
    if (c >= 110 && c <= 149)
        return DxfValueKind::Double;
    if (c >= 160 && c <= 169)
        return DxfValueKind::Int64;
    if (c >= 170 && c <= 179)
        return DxfValueKind::Int16;
    if (c >= 210 && c <= 239)
        return DxfValueKind::Double;
    if (c >= 270 && c <= 289)
        return DxfValueKind::Int16;
    if (c >= 290 && c <= 299)
        return DxfValueKind::Bool;
    if (c >= 300 && c <= 309)
        return DxfValueKind::String;
    if (c >= 310 && c <= 319)
        return DxfValueKind::Binary;
    if (c >= 320 && c <= 369)
        return DxfValueKind::Handle;
    if (c >= 370 && c <= 389)
        return DxfValueKind::Int16;
    if (c >= 390 && c <= 399)
        return DxfValueKind::Handle;
    if (c >= 400 && c <= 409)
        return DxfValueKind::Int16;
    if (c >= 410 && c <= 419)
        return DxfValueKind::String;
    if (c >= 420 && c <= 429)
        return DxfValueKind::Int32;
    if (c >= 430 && c <= 439)
        return DxfValueKind::String;
    if (c >= 440 && c <= 449)
        return DxfValueKind::Int32;
    if (c >= 450 && c <= 459)
        return DxfValueKind::Int32;
    if (c >= 460 && c <= 469)
        return DxfValueKind::Double;
    if (c >= 470 && c <= 479)
        return DxfValueKind::String;
    if (c >= 480 && c <= 481)
        return DxfValueKind::Handle;
    if (c == 999)
        return DxfValueKind::String;
    if (c >= 1000 && c <= 1003)
        return DxfValueKind::String;
    if (c == 1004)
        return DxfValueKind::Binary;
    if (c == 1005)
        return DxfValueKind::Handle;
    if (c >= 1010 && c <= 1059)
        return DxfValueKind::Double;
    if (c >= 1060 && c <= 1070)
        return DxfValueKind::Int16;
    if (c == 1071)
        return DxfValueKind::Int32;
    return DxfValueKind::Unknown;
}
