#include "reports/AcadDrawingState.h"

#include "host/ed/AcAxDocLock.h"
#include "host/ed/acedView.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

constexpr const char* kModelLayout = "Model";

}  // namespace

CAcadDrawingState::CAcadDrawingState(AcApDocument* document) : layers_(std::make_unique<CLayers>())
{
    zelkaOperation(__FILE__, "CAcadDrawingState::CAcadDrawingState", [&] {
        layout_ = currentLayoutName(document);
        if (!document) return;
        layers_->getDWGLayers(document);
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

std::string CAcadDrawingState::currentLayoutName(AcApDocument* document)
{
    return kModelLayout;
}

void CAcadDrawingState::setStateAllOff(AcApDocument* document)
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
        applyState(document, 0);
    });
}

void CAcadDrawingState::setStateForTakeOff(AcApDocument* document)
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
        applyState(document, 0);
    });
}

void CAcadDrawingState::setStateToAllowManipulation(AcApDocument* document)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::setStateToAllowManipulation", [&] {
        for (int i = 0; i < layers_->getCount(); ++i) layers_->getAt(i).setLocked(0);
        applyState(document, 0);
    });
}

void CAcadDrawingState::applyState(AcApDocument* document, int32_t viewports)
{
    zelkaOperation(__FILE__, "CAcadDrawingState::applyState", [&] {
        if (!document) return;
        AcAxDocLock lock(document);
        if (lock.lockStatus() != Acad::eOk) raiseHostStatus(lock.lockStatus(), __LINE__);
        // Only model space can be current in this host, and it has no
        // viewports to carry per-viewport layer freezing; the layers
        // themselves are written whatever the layout.
        layers_->applyToDWG(document);
        acedRegen();
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
