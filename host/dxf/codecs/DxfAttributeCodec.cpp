#include "host/dxf/DxfCodec.h"
#include "host/dxf/codecs/DxfAttributeCodec.h"

extern const DxfCodecFunctions kDxfAttributeCodec = {
    &DxfAttributeCodec<AcDbAttribute>::create, &DxfAttributeCodec<AcDbAttribute>::load,
    &DxfAttributeCodec<AcDbAttribute>::save, &DxfAttributeCodec<AcDbAttribute>::skeleton,
    &DxfAttributeCodec<AcDbAttribute>::savesAsRead};
