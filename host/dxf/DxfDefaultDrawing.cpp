#include "host/dxf/DxfDefaultDrawing.h"

// The template's bytes, embedded at build time from host/dxf/template.dxf
// (cmake/EmbedFile.cmake; fuzz/build.sh makes the same source without CMake).
extern const char kDxfTemplate[];
extern const unsigned long kDxfTemplate_size;

std::string DxfDefaultDrawing::text() { return std::string(kDxfTemplate, kDxfTemplate_size); }
