#include "reports/Hatch.h"

#include <algorithm>
#include <cmath>

#include "host/db/AcDbHatch.h"
#include "host/db/AcDbPolyline.h"
#include "host/ge/AcGeMatrix3d.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"

void CHatch::copyTo(CHatch& target) const
{
    zelkaOperation(__FILE__, "CHatch::copyTo", [&] {
        target.patternName_ = patternName_;
        target.angle_ = angle_;
        target.scale_ = scale_;
        target.layer_ = layer_;
        target.colour_ = colour_;
    });
}

std::unique_ptr<CHatch> CHatch::clone() const
{
    auto copy = std::make_unique<CHatch>();
    copyTo(*copy);
    return copy;
}

std::unique_ptr<AcDbHatch> CHatch::makeHatchEntity(const AcGeVector3d& normal, bool trueColour,
                                                   Acad::ErrorStatus& patternStatus) const
{
    return zelkaOperation(__FILE__, "CHatch::makeHatchEntity", [&] {
        auto hatch = std::make_unique<AcDbHatch>();
        hatch->setPatternAngle(static_cast<double>(angle_));
        // The host keeps its default scale for a scale it refuses; the
        // evaluation and its message then tell the user.
        hatch->setPatternScale(static_cast<double>(scale_));
        hatch->setAssociative(false);
        patternStatus = hatch->setPattern(AcDbHatch::kPreDefined, patternName_.c_str());
        if (trueColour) {
            AcCmColor colour;
            colour.setRGB(colour_.red(), colour_.green(), colour_.blue());
            hatch->setColor(colour, true);
        } else {
            hatch->setColorIndex(static_cast<uint16_t>(colour_.colorIndex()), true);
        }
        hatch->setHatchStyle(AcDbHatch::kNormal);
        hatch->setNormal(normal);
        hatch->setElevation(0.0);
        return hatch;
    });
}

Acad::ErrorStatus CHatch::appendPolylineLoop(AcDbHatch& hatch, int loopType, const AcDbPolyline& polyline)
{
    return zelkaOperation(__FILE__, "CHatch::appendPolylineLoop", [&] {
        if (!polyline.isClosed() || polyline.numVerts() < 2)
            return Acad::eInvalidInput;
        const AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(hatch.normal());
        const double tolerance = 1e-6 * std::max(1.0, std::fabs(hatch.elevation()));
        // A polyline seen from the other side of the plane turns its arcs the other way.
        const bool flipped = polyline.normal().dotProduct(hatch.normal()) < 0;
        AcGePoint2dArray vertices;
        AcGeDoubleArray bulges;
        for (unsigned i = 0; i < polyline.numVerts(); ++i) {
            AcGePoint3d world;
            double bulge = 0.0;
            polyline.getPointAt(i, world);
            polyline.getBulgeAt(i, bulge);
            AcGePoint3d inPlane = toPlane * world;
            if (std::fabs(inPlane.z - hatch.elevation()) > tolerance)
                return Acad::eInvalidInput;
            vertices.append(AcGePoint2d(inPlane.x, inPlane.y));
            bulges.append(flipped ? -bulge : bulge);
        }
        return hatch.appendLoop(loopType, vertices, bulges);
    });
}

std::string CHatch::densityMessage(const std::string& subject, Acad::ErrorStatus status) const
{
    return zelkaOperation(__FILE__, "CHatch::densityMessage", [&] {
        std::string ending;
        if (status == Acad::eHatchTooDense)
            ending = " is too dense to be displayed.";
        else if (status == Acad::eAmbiguousOutput)
            ending = " is not dense enough to be displayed.";
        else
            return std::string();
        return "Unable to hatch " + subject + ". " + patternName_ + " set at scale " +
               CUtilities().DoubleToCString(static_cast<double>(scale_), 2) + ending;
    });
}
