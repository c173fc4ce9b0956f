#pragma once
#include <string>

// The DXF text of a new, empty drawing (R2013): the nine tables with the
// usual records (layers 0 and Defpoints, linetypes ByBlock/ByLayer/
// Continuous, text style and dimension style Standard, application ACAD),
// model space and one paper-space layout, and the dictionaries other CAD
// programs expect. Reading it gives what AcDbDatabase(true) starts with.
// The text is host/dxf/template.dxf, embedded into the library at build time.
namespace DxfDefaultDrawing {
std::string text();
}
