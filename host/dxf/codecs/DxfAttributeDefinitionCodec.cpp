#include "host/dxf/DxfCodec.h"
#include "host/dxf/codecs/DxfAttributeCodec.h"

extern const DxfCodecFunctions kDxfAttributeDefinitionCodec = {
    &DxfAttributeCodec<AcDbAttributeDefinition>::create, &DxfAttributeCodec<AcDbAttributeDefinition>::load,
    &DxfAttributeCodec<AcDbAttributeDefinition>::save, &DxfAttributeCodec<AcDbAttributeDefinition>::skeleton};
