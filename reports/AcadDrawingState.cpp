#include "reports/AcadDrawingState.h"

#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

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
