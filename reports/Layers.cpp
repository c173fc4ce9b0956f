#include "reports/Layers.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/AsciiText.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"

namespace {


}  // namespace

std::string CLayer::validateLayerName(const std::string& name)
{
    static const std::string forbidden = "<>/\\\";?*,=`";
    std::string cleaned;
    cleaned.reserve(name.size());
    for (char c : name)
        if (forbidden.find(c) == std::string::npos) cleaned += c;
    return cleaned;
}

void CLayer::setColourIndex(int16_t index)
{
    colourIndex_ = index;
    colour_.setColorIndex(index);
    applicable_ = 1;
}

pugi::xml_node CLayer::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CLayer::serialize", [&] {
        CXMLUtilities xml;
        pugi::xml_node element = xml.createNode(parent, "layerOn", namespaceURI);
        xml.createNode(element, "loName", namespaceURI, name_);
        if (!description_.empty()) xml.createNode(element, "loDescription", namespaceURI, description_);
        return element;
    });
}

void CLayer::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CLayer::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            if (name == "loName")
                setName(CXMLUtilities::getText(child));
            else if (name == "loDescription")
                description_ = CXMLUtilities::getText(child);
        }
    });
}

void CLayers::add(std::unique_ptr<CLayer> layer)
{
    zelkaOperation(__FILE__, "CLayers::add", [&] {
        if (layer) items_.push_back(std::move(layer));
    });
}

CLayer& CLayers::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CLayers::getAt",
                          [&]() -> CLayer& { return *items_.at(static_cast<size_t>(index)); });
}

CLayer* CLayers::getAtLayer(const std::string& name) const
{
    return zelkaOperation(__FILE__, "CLayers::getAtLayer", [&]() -> CLayer* {
        const std::string wanted = asciiUpper(name);
        for (const auto& layer : items_)
            if (asciiUpper(layer->getName()) == wanted) return layer.get();
        return nullptr;
    });
}

pugi::xml_node CLayers::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CLayers::serialize", [&] {
        pugi::xml_node element = CXMLUtilities().createNode(parent, "layersOn", namespaceURI);
        for (const auto& layer : items_) layer->serialize(element, namespaceURI);
        return element;
    });
}

void CLayers::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CLayers::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "layerOn") continue;
            auto layer = std::make_unique<CLayer>();
            layer->deSerialize(child);
            add(std::move(layer));
        }
    });
}

CLayer::CLayer(const AcDbLayerTableRecord* record)
{
    getDWGLayer(record);
}

void CLayer::getDWGLayer(const AcDbLayerTableRecord* record)
{
    zelkaOperation(__FILE__, "CLayer::getDWGLayer", [&] {
        objectId_ = record->objectId();
        name_ = validateLayerName(asciiUpper(record->name()));
        colour_ = record->color();
        colourIndex_ = colour_.colorIndex();
        frozen_ = record->isFrozen() ? 1 : 0;
        locked_ = record->isLocked() ? 1 : 0;
        off_ = record->isOff() ? 1 : 0;
        plottable_ = record->isPlottable() ? 1 : 0;
        lineWeight_ = record->lineWeight();
    });
}

namespace {

// Adds a layer record of the name when the table has none; false when the
// drawing or its layer table cannot be reached.
bool addLayerIfMissing(CAcadDrawing& drawing, const std::string& name, const AcCmColor* colour)
{
    AcDbDatabase* db = drawing.getDatabase();
    if (!db) return false;
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return false;
    if (!table->has(name.c_str())) {
        auto* record = new AcDbLayerTableRecord();
        Acad::ErrorStatus es = record->setName(name.c_str());
        if (es == Acad::eOk && colour) record->setColor(*colour);
        if (es == Acad::eOk) es = table->add(record);
        if (es == Acad::eOk)
            record->close();
        else
            delete record;
    }
    table->close();
    return true;
}

}  // namespace

bool CLayer::ensureLayerExists(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CLayer::ensureLayerExists", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return true;
        name_ = validateLayerName(name_);
        addLayerIfMissing(drawing, name_, nullptr);
        return true;
    });
}

void CLayer::applyToDWG(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CLayer::applyToDWG", [&] {
        if (!applicable_) return;
        CAcadDrawingLock lock(drawing);
        AcDbDatabase* db = drawing.getDatabase();
        if (!lock.isLocked() || !db) return;
        AcDbLayerTable* table = nullptr;
        if (db->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return;
        AcDbObjectId existing;
        if (table->getAt(name_.c_str(), existing) != Acad::eOk) {
            auto* record = new AcDbLayerTableRecord();
            record->setName(name_.c_str());
            record->setColor(colour_);
            record->setIsFrozen(frozen_ != 0);
            record->setIsLocked(locked_ != 0);
            record->setIsOff(off_ != 0);
            record->setIsPlottable(plottable_ != 0);
            record->setLineWeight(static_cast<AcDb::LineWeight>(lineWeight_));
            AcDbObjectId id;
            if (table->add(id, record) == Acad::eOk) {
                objectId_ = id;
                record->close();
            } else {
                delete record;
            }
        } else {
            AcDbObjectPointer<AcDbLayerTableRecord> record(existing, AcDb::kForWrite);
            if (record) {
                if (objectId_.isNull()) objectId_ = existing;
                record->setIsFrozen(frozen_ != 0);
                record->setIsLocked(locked_ != 0);
                record->setIsOff(off_ != 0);
                record->setIsPlottable(plottable_ != 0);
                record->setLineWeight(static_cast<AcDb::LineWeight>(lineWeight_));
            }
        }
        table->close();
    });
}

void CLayers::getDWGLayers(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CLayers::getDWGLayers", [&] {
        CAcadDrawingLock lock(drawing);
        AcDbDatabase* db = drawing.getDatabase();
        if (!lock.isLocked() || !db) return;
        AcDbObjectPointer<AcDbLayerTable> table(db->layerTableId(), AcDb::kForRead);
        if (!table) return;
        for (AcDbObjectId id : table->recordIds()) {
            AcDbObjectPointer<AcDbLayerTableRecord> record(id, AcDb::kForRead);
            if (record) add(std::make_unique<CLayer>(record.object()));
        }
    });
}

void CLayers::applyToDWG(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CLayers::applyToDWG", [&] {
        for (const auto& layer : items_) layer->applyToDWG(drawing);
    });
}

void CLayers::getFrozenThawedIds(std::vector<AcDbObjectId>& thawed, std::vector<AcDbObjectId>& frozen) const
{
    zelkaOperation(__FILE__, "CLayers::getFrozenThawedIds", [&] {
        for (const auto& layer : items_) (layer->getFrozen() ? frozen : thawed).push_back(layer->getObjectId());
    });
}

bool CLayers::isReservedLayerName(const std::string& name)
{
    return name == "##HYPERLINKS" || name == "##HATCH" || name == "ATT-NAME" || name == "ATT-AREA" ||
           name == "ATT-AUX";
}

void CLayers::setAllLayersOff(int32_t flag)
{
    zelkaOperation(__FILE__, "CLayers::setAllLayersOff", [&] {
        for (const auto& layer : items_)
            if (!isReservedLayerName(layer->getName())) layer->setOff(flag);
    });
}

void CLayers::setAllLayersFrozen(int32_t flag)
{
    zelkaOperation(__FILE__, "CLayers::setAllLayersFrozen", [&] {
        for (const auto& layer : items_)
            if (!isReservedLayerName(layer->getName())) layer->setFrozen(flag);
    });
}

void CLayers::setOnLayerToCurrent(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CLayers::setOnLayerToCurrent", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        if (!db) return;
        for (const auto& layer : items_) {
            if (layer->getOff()) continue;
            CAcadDrawingLock lock(drawing);
            if (!lock.isLocked()) continue;
            AcDbObjectPointer<AcDbLayerTable> table(db->layerTableId(), AcDb::kForRead);
            if (!table) continue;
            AcDbObjectId current;
            for (AcDbObjectId id : table->recordIds()) {
                AcDbObjectPointer<AcDbLayerTableRecord> record(id, AcDb::kForRead);
                if (!record) continue;
                // The drawing's name is upper-cased, the collection's taken as
                // it is: layers read from a drawing carry upper-cased names.
                std::string name = asciiUpper(record->name());
                if (name == layer->getName() && name != "0") current = id;
            }
            if (!current.isNull()) db->setClayer(current);
        }
    });
}

bool CLayers::ensureLayerExists(CAcadDrawing& drawing, const std::string& name, const AcCmColor& colour)
{
    return zelkaOperation(__FILE__, "CLayers::ensureLayerExists", [&] {
        if (!drawing.getDatabase()) return true;
        addLayerIfMissing(drawing, CLayer::validateLayerName(name), &colour);
        return true;
    });
}
