#include "editing/PresBlockCreation.h"

#include <cmath>
#include <memory>

#include "config/PresAbout.h"
#include "config/PresPreferences.h"
#include "editing/SpaceBlockFactory.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/MessageBox.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "module/ModuleResources.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/BlockDWGRoom.h"
#include "spaces/Blocks.h"
#include "spaces/ZelkaAttribute.h"

namespace {

constexpr const char* kNameField = "IDC_NEXT_NAME";
constexpr const char* kSizeField = "IDC_TEXT_SIZE";
constexpr const char* kScaleField = "IDC_TEXT_SCALE";
constexpr const char* kRotationField = "IDC_TEXT_ROTATION";
constexpr const char* kStart = "IDC_START";
constexpr const char* kClose = "IDCANCEL";
constexpr const char* kAddArea = "IDC_ADD_AREA";
constexpr const char* kSubArea = "IDC_SUB_AREA";

// Runs a handler step; a failure is shown as an error chain and swallowed,
// so the dialog stays open.
template <class Body>
void showFailures(const char* procSig, Body&& body)
{
    try {
        zelkaOperation(__FILE__, procSig, std::forward<Body>(body));
    } catch (const CEXZelka& e) {
        e.displayErrorChain();
    }
}

// Moves an entity by a matrix; a failure leaves it where it is.
void transformEntity(AcDbObjectId id, const AcGeMatrix3d& matrix)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity) entity->transformBy(matrix);
}

}  // namespace

CPresBlockCreation::CPresBlockCreation() : CDialog(zelkaResourceFile("PresBlockCreation.dlg"))
{
    onClick(kStart, [this] { runSession(); });
    onClick(kAddArea, [this] { OnBnClickedCmdAdd(); });
    onClick(kSubArea, [this] { OnCmdSubArea(); });
    onChange(kSizeField, [this] { onSettingChanged(kSizeField, &CPreferences::setTextSize); });
    onChange(kScaleField, [this] { onSettingChanged(kScaleField, &CPreferences::setTextScale); });
    onChange(kRotationField, [this] { onSettingChanged(kRotationField, &CPreferences::setTextRotation); });
    onChange(kNameField, [this] { nextBlockName_ = GetDlgItemText(kNameField); });
    onMenu("IDM_EXIT", [this] { EndDialog(2); });
    onMenu("IDM_OPTIONS", [this] { onOptions(); });
    onMenu("IDM_ABOUT", [] {
        CPresAbout about;
        about.DoModal();
    });
}

CPresBlockCreation::~CPresBlockCreation() = default;

bool CPresBlockCreation::OnInitDialog()
{
    preferences_.loadPreferences();
    drawing_ = std::make_unique<CAcadDrawing>();
    drawing_->adoptActiveDocument();
    calcNextBlockIdentifier();
    calcNextBlockName();
    showSettings();
    return true;
}

void CPresBlockCreation::showSettings()
{
    CUtilities u;
    SetDlgItemText(kNameField, nextBlockName_);
    SetDlgItemText(kSizeField, u.DoubleToCString(preferences_.getTextSize(), -1));
    SetDlgItemText(kScaleField, u.DoubleToCString(preferences_.getTextScale(), -1));
    SetDlgItemText(kRotationField, u.DoubleToCString(preferences_.getTextRotation(), -1));
}

void CPresBlockCreation::onSettingChanged(const std::string& id, void (CPreferences::*set)(double))
{
    showFailures("CPresBlockCreation::onSettingChanged", [&] {
        CUtilities u;
        std::string text = GetDlgItemText(id);
        const std::string typed = text;
        u.makeNumeric(text);
        if (text != typed) SetDlgItemText(id, text);
        (preferences_.*set)(u.CStringToDouble(text));
        preferences_.savePreferences();
    });
}

void CPresBlockCreation::enableButtons(bool enable)
{
    for (const char* id : {kClose, kStart, kAddArea, kSubArea}) EnableDlgItem(id, enable);
}

void CPresBlockCreation::enableFields(bool enable)
{
    for (const char* id : {kSizeField, kScaleField, kRotationField}) EnableDlgItem(id, enable);
}

void CPresBlockCreation::calcNextBlockIdentifier()
{
    showFailures("CPresBlockCreation::calcNextBlockIdentifier", [&] {
        nextBlockIdentifier_ = drawing_ && drawing_->getDocument()
                                   ? CBlocks::calcNextBlockIdentifier(drawing_->getDatabase())
                                   : 0;
    });
}

void CPresBlockCreation::calcNextBlockName()
{
    showFailures("CPresBlockCreation::calcNextBlockName", [&] {
        existingNames_.clear();
        std::string highest;
        if (drawing_ && drawing_->getDocument())
            highest = CBlocks::getHighestExistingBlockName(*drawing_, existingNames_);
        nextBlockName_ = CBlocks::calcNextBlockName(highest, preferences_.getIncrement());
    });
}

void CPresBlockCreation::runSession()
{
    // The fields as they stand are the session's settings.
    CUtilities u;
    preferences_.setTextSize(u.CStringToDouble(GetDlgItemText(kSizeField)));
    preferences_.setTextScale(u.CStringToDouble(GetDlgItemText(kScaleField)));
    preferences_.setTextRotation(u.CStringToDouble(GetDlgItemText(kRotationField)));
    nextBlockName_ = GetDlgItemText(kNameField);
    enableButtons(false);
    acutPrintf("\nBlock Creation Session Started\n");
    {
        // The document stays locked for the whole session.
        CAcadDrawingLock lock(*drawing_);
        if (lock.isLocked()) {
            for (;;) {
                // The next polyline; cancelling ends the session.
                enableFields(true);
                AcDbObjectId polylineId;
                if (CAcadUtilities::selectObjectId(polylineId, "\nPlease select a polyline:\n", "AcDbPolyline") != 0)
                    break;
                // It must open and be closed.
                bool closed = false;
                {
                    AcDbObjectPointer<AcDbPolyline> polyline(polylineId, AcDb::kForRead);
                    if (!polyline) {
                        if (polyline.openStatus() == Acad::eOnLockedLayer)
                            acutPrintf("\n1Polyline On Locked Layer - Block Creation Failed\n");
                        else
                            acutPrintf("\nUnable get Polyline - Error %d - Block Creation Failed\n",
                                       static_cast<int>(polyline.openStatus()));
                        continue;
                    }
                    closed = polyline->isClosed();
                }
                if (!closed) {
                    acutPrintf("\nInvalid Selection - Polyline is not closed\n\n");
                    continue;
                }
                // A text height of 0 or less would make labels nobody can read.
                if (preferences_.getTextSize() <= 0.0) {
                    preferences_.setTextSize(1.0);
                    preferences_.savePreferences();
                    showSettings();
                }
                // A name the user typed stays in the field until a block has
                // taken it.
                enableFields(false);
                const bool made =
                    createBlock(*drawing_, polylineId, preferences_.getUnits(), preferences_.getTextSize(),
                                preferences_.getTextScale(), preferences_.getTextRotation(), preferences_.getPrecision());
                calcNextBlockIdentifier();
                if (made) {
                    calcNextBlockName();
                    SetDlgItemText(kNameField, nextBlockName_);
                }
            }
        }
        // The lock goes here.
    }
    // The console host's command line holds no prompt once the session
    // ends, so there is nothing to cancel there.
    acutPrintf("\nBlock Creation Session Ended\n");
    enableFields(true);
    enableButtons(true);
}

bool CPresBlockCreation::createBlock(CAcadDrawing& drawing, AcDbObjectId polylineId, int32_t units,
                                     double textHeight, double widthFactor, double rotation, int32_t precision)
{
    bool made = false;
    showFailures("CPresBlockCreation::createBlock", [&] {
        // The label point and the outline, in UCS coordinates, measured.
        CSpaceBlockFactory::PickedOutline picked;
        if (!CSpaceBlockFactory::pickLabelAndMeasure(drawing, polylineId, units, precision, picked)) return;
        const AcGePoint3d& labelPoint = picked.labelPoint;
        const AcGeMatrix3d& ucs = picked.ucs;
        const double area = picked.area;
        const double perimeter = picked.perimeter;

        // The room with its record and attribute texts.
        CBlockDWGRoom room;
        CSpaceBlockFactory::setUpRoom(room, nextBlockName_, area, perimeter, units, precision,
                                      "ROOM-" + std::to_string(nextBlockIdentifier_), textHeight, widthFactor,
                                      rotation);

        // A second space of a name only when the user wants one.
        for (const std::string& existing : existingNames_) {
            if (existing != nextBlockName_) continue;
            const int answer = MessageBoxA(nullptr,
                                           "Room Name already exists in the drawing.\n\nDo you want another space "
                                           "of the same name creating?",
                                           "Duplicate Space Name", MB_YESNO | MB_ICONQUESTION);
            if (answer != IDYES) {
                transformEntity(polylineId, ucs);
                return;
            }
            break;
        }

        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) {
            transformEntity(polylineId, ucs);
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
        }
        CSpaceBlockFactory factory(drawing);
        const Acad::ErrorStatus status = factory.makeSpaceBlock(polylineId, labelPoint, ucs, room);
        if (status == Acad::eOk) {
            made = true;
            acutPrintf("Block Created Successfully\n");
            return;
        }
        transformEntity(polylineId, ucs);
        acutPrintf(status == Acad::eDuplicateRecordName ? "Block Already Exists\n" : "Block Creation Failed\n");
    });
    return made;
}

void CPresBlockCreation::OnBnClickedCmdAdd()
{
    changeAreas(true);
}

void CPresBlockCreation::OnCmdSubArea()
{
    changeAreas(false);
}

void CPresBlockCreation::changeAreas(bool add)
{
    showFailures(add ? "CPresBlockCreation::OnBnClickedCmdAdd" : "CPresBlockCreation::OnCmdSubArea", [&] {
        CAcadDrawing drawing;
        drawing.adoptActiveDocument();
        CBlockDWG picked;
        if (!CAcadUtilities::userSelectZelkaBlock(drawing, picked)) {
            acutPrintf("\nInvalid Space - Aborting...\n");
            return;
        }
        // The space is read whole again, so that writing it back keeps every
        // item of its record, not only those the pick copies.
        std::unique_ptr<CBlockDWG> read;
        {
            AcDbObjectPointer<AcDbBlockReference> reference(picked.getBlockReferenceId(), AcDb::kForRead);
            if (!reference) raiseHostStatus(reference.openStatus(), __LINE__, drawing.getFullPath());
            read = std::make_unique<CBlockDWG>(reference.object(), drawing);
        }
        CBlockDWG& block = *read;
        AcDbObjectIdArray ids;
        if (!CAcadUtilities::selectObjectIds(add ? "Please Select Areas to Add"
                                                 : "Please Select Areas to Subtract (selected room/space blocks "
                                                   "will be ignored)",
                                             ids)) {
            acutPrintf("\nInvalid Areas to Subtract - Aborting...\n");
            return;
        }
        CUtilities u;
        // The area label follows the new area when it showed the old one,
        // as the recalculation of every space does it.
        CZelkaAttribute* areaAttribute = block.getAttributes() ? block.getAttributes()->getAtAttribute(1) : nullptr;
        const bool areaLinked =
            areaAttribute &&
            areaAttribute->getText() == u.DoubleToCString(block.getArea(), block.getPrecision()) + block.getAreaUnits();
        if (add)
            block.setHandlesToAdd(ids);
        else
            block.setHandlesToMinus(ids);
        block.setPrecision(preferences_.getPrecision());
        block.setUnits(preferences_.getUnits());
        block.recalculateAreaAndPerimeter(drawing);
        if (areaLinked)
            areaAttribute->setText(u.DoubleToCString(block.getArea(), block.getPrecision()) + block.getAreaUnits());
        block.applyToDWG(drawing, false);
    });
}

void CPresBlockCreation::onOptions()
{
    showFailures("CPresBlockCreation::onOptions", [&] {
        CPresPreferences dialog;
        dialog.DoModal();
        preferences_.loadPreferences();
        calcNextBlockName();
        showSettings();
        acutPrintf("Units set to %s\n", preferences_.getUnits() == 0 ? "M\xc2\xb2" : "FT\xc2\xb2");
    });
}
