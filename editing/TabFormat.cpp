#include "editing/TabFormat.h"

#include "editing/DialogFailures.h"
#include "editing/PresBlock.h"
#include "host/ed/acedInput.h"
#include "host/ed/adscodes.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"

namespace {

constexpr const char* kHeight = "IDC_FORMAT_HEIGHT";
constexpr const char* kWidth = "IDC_FORMAT_WIDTH";
constexpr const char* kRotation = "IDC_FORMAT_ROTATION";
// The rotations the field accepts, in degrees.
constexpr double kMinRotation = 0.0;
constexpr double kMaxRotation = 359.0;

}  // namespace

CTabFormat::CTabFormat(CPresBlock& dialog, CAcadDrawing& drawing) : dialog_(dialog), drawing_(drawing) {}

std::vector<std::string> CTabFormat::controlIds()
{
    return {kHeight, kWidth, kRotation, "IDC_MOVE_ATTRIBUTES"};
}

void CTabFormat::initialise()
{
    zelkaDialogHandler(__FILE__, "CTabFormat::initialise", [&] {
        const CAttributes* attributes = dialog_.workingCopy().getAttributes();
        double height = attributes ? attributes->getTextHeight() : 0.0;
        double width = attributes ? attributes->getWidthFactor() : 1.0;
        double rotation = attributes ? attributes->getRotation() : 0.0;
        dialog_.exchangeDouble(kHeight, height, false);
        dialog_.exchangeDouble(kWidth, width, false);
        dialog_.exchangeDouble(kRotation, rotation, false);
    });
}

bool CTabFormat::applyChanges()
{
    double height = 0.0;
    double width = 0.0;
    double rotation = 0.0;
    if (!dialog_.exchangeDouble(kHeight, height, true) || !dialog_.exchangeDouble(kWidth, width, true) ||
        !dialog_.exchangeDouble(kRotation, rotation, true, kMinRotation, kMaxRotation))
        return false;
    zelkaOperation(__FILE__, "CTabFormat::applyChanges", [&] {
        CBlockDWG& block = dialog_.workingCopy();
        if (!block.getAttributes()) block.setAttributes(std::make_unique<CAttributes>());
        block.getAttributes()->setTextHeight(height);
        block.getAttributes()->setWidthFactor(width);
        block.getAttributes()->setRotation(rotation);
    });
    return true;
}

void CTabFormat::OnBnClickedMoveAttributes()
{
    zelkaDialogHandler(__FILE__, "CTabFormat::OnBnClickedMoveAttributes", [&] {
        ads_point picked = {0.0, 0.0, 0.0};
        if (acedGetPoint(nullptr, "\nPlease select a position for the Attributes\n", picked) != RTNORM) return;
        CAcadDrawingLock lock(drawing_);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing_.getFullPath());
        const AcGePoint3d world = CAcadUtilities::convertUCSToWCS(AcGePoint3d(picked[0], picked[1], picked[2]));
        CBlockDWG& block = dialog_.workingCopy();
        block.updateAttributes(CBlockDWG::currentUcsMatrix(drawing_), &world);
        drawing_.regenDrawing();
    });
}
