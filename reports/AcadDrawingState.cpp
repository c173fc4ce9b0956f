#include "reports/AcadDrawingState.h"

#include <vector>

#include "host/db/AcDbLayout.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbObjectIdArray.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbViewport.h"
#include "infra/AsciiText.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"

namespace {

constexpr const char* kModelLayout = "Model";

bool isModelLayout(const std::string& name)
{
    return asciiUpper(name) == "MODEL";
}

// The ids worth sending to a viewport: layers never written to this drawing
// have no id, and one null id would make the host refuse the whole list.
AcDbObjectIdArray knownIds(const std::vector<AcDbObjectId>& ids)
{
    AcDbObjectIdArray known;
    for (const AcDbObjectId& id : ids)
        if (!id.isNull()) known.append(id);
    return known;
}

}  // namespace

CAcadDrawingState::CAcadDrawingState(CAcadDrawing& drawing) : layers_(std::make_unique<CLayers>())
{
    zelkaOperation(__FILE__, "CAcadDrawingState::CAcadDrawingState", [&] {
        layout_ = currentLayoutName(drawing);
        if (!drawing.getDocument()) return;
        layers_->getDWGLayers(drawing);
        // A recorded layer is one to restore: mark each as applicable by
        // setting its state to what was read.
        for (int i = 0; i < layers_->getCount(); ++i) {
            CLayer& layer = layers_->getAt(i);
            layer.setFrozen(layer.getFrozen());
            layer.setLocked(layer.getLocked());
            layer.setOff(layer.getOff());
            layer.setPlottable(layer.getPlottable());
            layer.setLineWeight(layer.getLineWeight());
        }
    });
}

std::string CAcadDrawingState::currentLayoutName(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CAcadDrawingState::currentLayoutName", [&]() -> std::string {
        AcDbDatabase* db = drawing.getDatabase();
        std::string name;
        if (!db || acdbLayoutManager()->getActiveLayoutName(name, true, db) != Acad::eOk) return kModelLayout;
        return name;
    });
}

void CAcadDrawingState::setStateAllOff(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::setStateAllOff", [&] {
        layout_ = kModelLayout;
        for (int i = 0; i < layers_->getCount(); ++i) {
            CLayer& layer = layers_->getAt(i);
            layer.setFrozen(0);
            layer.setLocked(0);
            layer.setOff(1);
            layer.setPlottable(1);
        }
        applyState(drawing, 0);
    });
}

void CAcadDrawingState::setStateForTakeOff(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::setStateForTakeOff", [&] {
        layout_ = kModelLayout;
        for (int i = 0; i < layers_->getCount(); ++i) {
            CLayer& layer = layers_->getAt(i);
            layer.setLocked(0);
            layer.setFrozen(0);
            layer.setOff(0);
            layer.setPlottable(1);
        }
        applyState(drawing, 0);
    });
}

void CAcadDrawingState::setStateToAllowManipulation(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::setStateToAllowManipulation", [&] {
        for (int i = 0; i < layers_->getCount(); ++i) layers_->getAt(i).setLocked(0);
        applyState(drawing, 0);
    });
}

void CAcadDrawingState::applyState(CAcadDrawing& drawing, int32_t viewports)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::applyState", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        if (!drawing.getDocument() || !db) return;
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
        // A state read from a report without a layout leaves the current one.
        if (!layout_.empty()) {
            Acad::ErrorStatus es = acdbLayoutManager()->setCurrentLayout(layout_.c_str(), db);
            if (es != Acad::eOk) raiseHostStatus(es, __LINE__, drawing.getFullPath());
        }
        layers_->applyToDWG(drawing);
        if (viewports && !layout_.empty() && !isModelLayout(layout_)) applyLayersInAllLayoutViewports(drawing);
        drawing.regenDrawing();
    });
}

void CAcadDrawingState::applyLayersInAllLayoutViewports(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::applyLayersInAllLayoutViewports", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        if (!db) return;
        std::vector<AcDbObjectId> thawed;
        std::vector<AcDbObjectId> frozen;
        layers_->getFrozenThawedIds(thawed, frozen);
        const AcDbObjectIdArray thaw = knownIds(thawed);
        const AcDbObjectIdArray freeze = knownIds(frozen);
        std::string current;
        if (acdbLayoutManager()->getActiveLayoutName(current, true, db) != Acad::eOk) return;
        AcDbObjectIdArray viewportIds;
        {
            AcDbObjectPointer<AcDbLayout> layout(acdbLayoutManager()->findLayoutNamed(current.c_str(), db),
                                                 AcDb::kForRead);
            if (!layout) return;
            viewportIds = layout->getViewportArray();
        }
        for (const AcDbObjectId& id : viewportIds) {
            AcDbObjectPointer<AcDbViewport> viewport(id, AcDb::kForWrite);
            if (!viewport) continue;
            Acad::ErrorStatus es = Acad::eOk;
            if (freeze.length() > 0) es = viewport->freezeLayersInViewport(freeze);
            if (es == Acad::eOk && thaw.length() > 0) es = viewport->thawLayersInViewport(thaw);
            if (es != Acad::eOk) raiseHostStatus(es, __LINE__, drawing.getFullPath());
        }
    });
}

void CAcadDrawingState::setLayerState(const std::string& name, int32_t frozen, int32_t locked, int32_t off,
                                      int32_t plottable)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::setLayerState", [&] {
        CLayer* layer = layers_->getAtLayer(name);
        if (!layer) {
            auto added = std::make_unique<CLayer>();
            added->setName(name);
            layer = added.get();
            layers_->add(std::move(added));
        }
        layer->setFrozen(frozen);
        layer->setLocked(locked);
        layer->setOff(off);
        layer->setPlottable(plottable);
    });
}

void CAcadDrawingState::setAllLayerLineWeights(int32_t weight)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::setAllLayerLineWeights", [&] {
        for (int i = 0; i < layers_->getCount(); ++i) layers_->getAt(i).setLineWeight(weight);
    });
}

pugi::xml_node CAcadDrawingState::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CAcadDrawingState::serialize", [&] {
        CXMLUtilities xml;
        pugi::xml_node element = xml.createNode(parent, "AcadDrawingState", namespaceURI);
        xml.createNode(element, "layout", namespaceURI, layout_);
        layers_->serialize(element, namespaceURI);
        return element;
    });
}

void CAcadDrawingState::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            if (name == "layout")
                layout_ = CXMLUtilities::getText(child);
            else if (name == "layersOn")
                layers_->deSerialize(child);
        }
    });
}
