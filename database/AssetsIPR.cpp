// The database side of assets: take-off, TP export and the loads by
// location and by graphic-report category.

#include "database/Assets.h"

#include "database/CallParameters.h"
#include "database/ProcedureCalls.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/Attribute.h"

using namespace callparameters;

namespace {

constexpr const char* kSource = "Assets.cpp";

}  // namespace

std::unique_ptr<CParameters> CAsset::applyCall(int32_t drawingID, int32_t locationID) const
{
    auto list = std::make_unique<CParameters>();
    addInt(*list, "@locationID", locationID);
    addInt(*list, "@drawingID", drawingID);
    addVarChar(*list, "@handle", handle_);
    addVarChar(*list, "@acadBlockIdentifier", acadBlockIdentifier_, 100);
    addVarChar(*list, "@acadBlockDescription", acadBlockDescription_);
    addVarChar(*list, "@uniqueDescription", uniqueDescription_);
    addDecimal(*list, "@pointX", pointX_);
    addDecimal(*list, "@pointY", pointY_);
    addBoolean(*list, "@assetExistsInLocation", assetExistsInLocation_);
    addBoolean(*list, "@excludedFromTakeoff", 0, PARAMETER_OUTPUT);
    return list;
}

std::unique_ptr<CParameters> CAsset::attributeCall(int32_t drawingID, const CAttribute& attribute) const
{
    auto list = std::make_unique<CParameters>();
    addInt(*list, "@drawingID", drawingID);
    addVarChar(*list, "@handle", handle_);
    addVarChar(*list, "@tag", attribute.getKey());
    addVarChar(*list, "@value", attribute.getText());
    addBoolean(*list, "@exists", 1);
    return list;
}

void CAsset::applyToIPR(CStoredProcedure& sp, int32_t drawingID, int32_t locationID, uint32_t timeout)
{
    zelkaOperation(kSource, "CAsset::applyToIPR", [&] {
        std::unique_ptr<CParameters> list = applyCall(drawingID, locationID);
        auto* excluded = static_cast<CParameterBoolean*>(list->getParameter("@excludedFromTakeoff"));
        procedurecalls::run(sp, *list, "__to_applyAssetToIPR", timeout, true);
        locationID_ = locationID;
        drawingID_ = drawingID;
        if (excluded->getValue() != 0 || assetExistsInLocation_ == 0 || !attributes_) return;
        for (int i = 0; i < attributes_->getCount(); ++i) {
            std::unique_ptr<CParameters> one = attributeCall(drawingID, attributes_->getAt(i));
            procedurecalls::run(sp, *one, "__to_applyAssetAttributeToIPR", timeout);
        }
    });
}

void CAsset::exportTP(CStoredProcedure& sp, uint32_t timeout, const std::string& exportParameters)
{
    zelkaOperation(kSource, "CAsset::exportTP", [&] {
        CParameters list;
        addInt(list, "@locationID", locationID_);
        addVarChar(list, "@handle", handle_);
        addVarChar(list, "@acadBlockIdentifier", acadBlockIdentifier_, 100);
        addVarChar(list, "@acadBlockDescription", acadBlockDescription_);
        addVarChar(list, "@uniqueDescription", uniqueDescription_);
        addDecimal(list, "@pointX", pointX_);
        addDecimal(list, "@pointY", pointY_);
        addBoolean(list, "@assetExistsInLocation", assetExistsInLocation_);
        addVarChar(list, "@exportParameters", exportParameters);
        procedurecalls::run(sp, list, "__to_tp_exportAsset", timeout);
    });
}

void CAssets::applyToIPR(CStoredProcedure& sp, int32_t drawingID, int32_t locationID, uint32_t timeout)
{
    zelkaOperation(kSource, "CAssets::applyToIPR", [&] {
        for (const auto& asset : items_)
            if (!isExcludedIdentifier(asset->getAcadBlockIdentifier()))
                asset->applyToIPR(sp, drawingID, locationID, timeout);
    });
}

void CAssets::exportTP(CStoredProcedure& sp, uint32_t timeout, const std::string& exportParameters)
{
    zelkaOperation(kSource, "CAssets::exportTP", [&] {
        for (const auto& asset : items_) asset->exportTP(sp, timeout, exportParameters);
    });
}

void CAssets::getLocationAssets(CStoredProcedure& sp, int32_t locationID, uint32_t timeout)
{
    zelkaOperation(kSource, "CAssets::getLocationAssets", [&] {
        CParameters list;
        addInt(list, "@locationID", locationID);
        // The rows are read whole before the attribute calls reuse sp.
        procedurecalls::forEachRow(sp, list, "[idr]..[getLocationAssets]", timeout, [&](const CRecordset& row) {
            auto asset = std::make_unique<CAsset>();
            asset->setLocationID(locationID);
            asset->setDrawingID(row.getInt("drawingID"));
            asset->setHandle(row.getString("handle"));
            asset->setAcadBlockIdentifier(row.getString("acadBlockIdentifier"));
            asset->setAcadBlockDescription(row.getString("atDescription"));
            asset->setUniqueDescription(row.getString("aDescription"));
            asset->setPointX(row.getDouble("aX"));
            asset->setPointY(row.getDouble("aY"));
            asset->setAssetExistsInLocation(row.getString("status") == "0" ? 0 : 1);
            // The asset's attributes ("[idr]..[getAssetAttributes]").
            CParameters keys;
            addInt(keys, "@drawingID", asset->getDrawingID());
            addVarChar(keys, "@handle", asset->getHandle(), 50);
            auto attributes = std::make_unique<CAttributes>();
            procedurecalls::forEachRow(sp, keys, "[idr]..[getAssetAttributes]", timeout,
                                       [&](const CRecordset& attribute) {
                                           attributes->add(std::make_unique<CAttribute>(attribute.getString("aTag"),
                                                                                        attribute.getString("aValue")),
                                                           true);
                                       });
            asset->setAttributes(std::move(attributes));
            add(std::move(asset));
        });
    });
}

void CAssets::getCategoryAssets(CStoredProcedure& sp, int32_t categoryID, uint32_t timeout, const CHatch* hatch)
{
    zelkaOperation(kSource, "CAssets::getCategoryAssets", [&] {
        CParameters list;
        addInt(list, "@categoryID", categoryID);
        procedurecalls::forEachRow(sp, list, "__gr_getCategoryAssets", timeout, [&](const CRecordset& row) {
            auto asset = std::make_unique<CAsset>();
            asset->setHandle(row.getString("maHandle"));
            asset->setAcadBlockDescription(row.getString("maDescription"));
            asset->setUniqueDescription(row.getString("maUniqueDescription"));
            auto links = std::make_unique<CHyperlinks>();
            links->getAssetHyperlinksFromIPR(sp, categoryID, asset->getHandle(), timeout);
            asset->setHyperlinks(std::move(links));
            if (hatch) asset->setHatch(hatch->clone());
            add(std::move(asset));
        });
    });
}
