// The database side of assets: take-off, TP export and the loads by
// location and by graphic-report category.

#include "database/Assets.h"

#include "database/CallParameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/Attribute.h"

using namespace callparameters;

namespace {

constexpr const char* kSource = "Assets.cpp";

void runCall(CStoredProcedure& sp, CParameters& list, const char* procedure, uint32_t timeout, bool outputs)
{
    sp.setCommandTimeout(timeout);
    sp.setName(procedure);
    sp.setParameters(&list);
    if (outputs)
        sp.execSPNoReturnParasReturn();
    else
        sp.execSPNoReturnParas();
    sp.setParameters(nullptr);
}

}  // namespace

void CAsset::applyToIPR(CStoredProcedure& sp, int32_t drawingID, int32_t locationID, uint32_t timeout)
{
    zelkaOperation(kSource, "CAsset::applyToIPR", [&] {
        CParameters list;
        addInt(list, "@locationID", locationID);
        addInt(list, "@drawingID", drawingID);
        addVarChar(list, "@handle", handle_);
        addVarChar(list, "@acadBlockIdentifier", acadBlockIdentifier_, 100);
        addVarChar(list, "@acadBlockDescription", acadBlockDescription_);
        addVarChar(list, "@uniqueDescription", uniqueDescription_);
        addDecimal(list, "@pointX", pointX_);
        addDecimal(list, "@pointY", pointY_);
        addBoolean(list, "@assetExistsInLocation", assetExistsInLocation_);
        CParameterBoolean* excluded = addBoolean(list, "@excludedFromTakeoff", 0, PARAMETER_OUTPUT);
        runCall(sp, list, "__to_applyAssetToIPR", timeout, true);
        locationID_ = locationID;
        drawingID_ = drawingID;
        if (excluded->getValue() != 0 || assetExistsInLocation_ == 0 || !attributes_) return;
        for (int i = 0; i < attributes_->getCount(); ++i) {
            const CAttribute& attribute = attributes_->getAt(i);
            CParameters one;
            addInt(one, "@drawingID", drawingID);
            addVarChar(one, "@handle", handle_);
            addVarChar(one, "@tag", attribute.getKey());
            addVarChar(one, "@value", attribute.getText());
            addBoolean(one, "@exists", 1);
            runCall(sp, one, "__to_applyAssetAttributeToIPR", timeout, false);
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
        runCall(sp, list, "__to_tp_exportAsset", timeout, false);
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
        sp.setCommandTimeout(timeout);
        sp.setName("[idr]..[getLocationAssets]");
        sp.setParameters(&list);
        auto rows = sp.execSPReturnParas();
        sp.setParameters(nullptr);
        if (!rows) return;
        for (; !rows->isEOF(); rows->moveNext()) {
            auto asset = std::make_unique<CAsset>();
            asset->setLocationID(locationID);
            asset->setDrawingID(rows->getInt("drawingID"));
            asset->setHandle(rows->getString("handle"));
            asset->setAcadBlockIdentifier(rows->getString("acadBlockIdentifier"));
            asset->setAcadBlockDescription(rows->getString("atDescription"));
            asset->setUniqueDescription(rows->getString("aDescription"));
            asset->setPointX(rows->getDouble("aX"));
            asset->setPointY(rows->getDouble("aY"));
            asset->setAssetExistsInLocation(rows->getString("status") == "0" ? 0 : 1);
            // The asset's attributes ("[idr]..[getAssetAttributes]").
            CParameters keys;
            addInt(keys, "@drawingID", asset->getDrawingID());
            addVarChar(keys, "@handle", asset->getHandle(), 50);
            sp.setName("[idr]..[getAssetAttributes]");
            sp.setParameters(&keys);
            auto attributeRows = sp.execSPReturnParas();
            sp.setParameters(nullptr);
            auto attributes = std::make_unique<CAttributes>();
            for (; attributeRows && !attributeRows->isEOF(); attributeRows->moveNext())
                attributes->add(std::make_unique<CAttribute>(attributeRows->getString("aTag"),
                                                             attributeRows->getString("aValue")),
                                true);
            asset->setAttributes(std::move(attributes));
            add(std::move(asset));
        }
    });
}

void CAssets::getCategoryAssets(CStoredProcedure& sp, int32_t categoryID, uint32_t timeout, const CHatch* hatch)
{
    zelkaOperation(kSource, "CAssets::getCategoryAssets", [&] {
        CParameters list;
        addInt(list, "@categoryID", categoryID);
        sp.setCommandTimeout(timeout);
        sp.setName("__gr_getCategoryAssets");
        sp.setParameters(&list);
        auto rows = sp.execSPReturnParas();
        sp.setParameters(nullptr);
        if (!rows) return;
        for (; !rows->isEOF(); rows->moveNext()) {
            auto asset = std::make_unique<CAsset>();
            asset->setHandle(rows->getString("maHandle"));
            asset->setAcadBlockDescription(rows->getString("maDescription"));
            asset->setUniqueDescription(rows->getString("maUniqueDescription"));
            auto links = std::make_unique<CHyperlinks>();
            links->getAssetHyperlinksFromIPR(sp, categoryID, asset->getHandle(), timeout);
            asset->setHyperlinks(std::move(links));
            if (hatch) asset->setHatch(hatch->clone());
            add(std::move(asset));
        }
    });
}
