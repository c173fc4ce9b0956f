#include "editing/MarkerBlock.h"

#include <memory>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"

CMarkerBlock::CMarkerBlock(const AcDbBlockReference* reference, CAcadDrawing& drawing) : CBlockDWG(reference, drawing)
{
}

double CMarkerBlock::rotationInUcs(const AcDbBlockReference* reference, CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CMarkerBlock::rotationInUcs", [&] {
        // A copy is turned instead of the reference itself, so the drawing
        // need not be opened for writing only to read an angle.
        std::unique_ptr<AcDbEntity> copy(reference->clone());
        auto* turned = dynamic_cast<AcDbBlockReference*>(copy.get());
        if (!turned) return reference->rotation();
        AcGeMatrix3d toUcs = currentUcsMatrix(drawing);
        toUcs.invert();
        if (turned->transformBy(toUcs) != Acad::eOk) return reference->rotation();
        return turned->rotation();
    });
}

std::vector<std::pair<std::string, std::string>> CMarkerBlock::attributeTexts(const AcDbBlockReference* reference)
{
    return zelkaOperation(__FILE__, "CMarkerBlock::attributeTexts", [&] {
        std::vector<std::pair<std::string, std::string>> texts;
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        for (it->start(); !it->done(); it->step()) {
            AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
            if (attribute) texts.emplace_back(attribute->tag(), attribute->textString());
        }
        return texts;
    });
}
