#include "reports/Layers.h"

#include <algorithm>
#include <cctype>

#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

std::string upperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

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
        const std::string wanted = upperCase(name);
        for (const auto& layer : items_)
            if (upperCase(layer->getName()) == wanted) return layer.get();
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
