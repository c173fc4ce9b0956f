#include "reports/LinkLine.h"

#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

CLinkLine::CLinkLine(std::string startHandle, std::string endHandle, std::string layer, std::string labelText)
    : startHandle_(std::move(startHandle)),
      endHandle_(std::move(endHandle)),
      layer_(std::move(layer)),
      labelText_(std::move(labelText))
{
}

pugi::xml_node CLinkLine::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CLinkLine::serialize", [&] {
        CXMLUtilities xml;
        pugi::xml_node element = xml.createNode(parent, "linkLine", namespaceURI);
        xml.createNode(element, "linkStartHandle", namespaceURI, startHandle_);
        xml.createNode(element, "linkEndHandle", namespaceURI, endHandle_);
        xml.createNode(element, "linkLineLayer", namespaceURI, layer_);
        if (!labelText_.empty()) xml.createNode(element, "linkLineText", namespaceURI, labelText_);
        return element;
    });
}

void CLinkLine::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CLinkLine::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = CXMLUtilities::getText(child);
            if (name == "linkStartHandle")
                startHandle_ = text;
            else if (name == "linkEndHandle")
                endHandle_ = text;
            else if (name == "linkLineLayer")
                layer_ = text;
            else if (name == "linkLineText")
                labelText_ = text;
        }
    });
}

void CLinkLines::add(std::unique_ptr<CLinkLine> line)
{
    zelkaOperation(__FILE__, "CLinkLines::add", [&] {
        if (line) items_.push_back(std::move(line));
    });
}

CLinkLine& CLinkLines::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CLinkLines::getAt",
                          [&]() -> CLinkLine& { return *items_.at(static_cast<size_t>(index)); });
}

pugi::xml_node CLinkLines::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CLinkLines::serialize", [&] {
        pugi::xml_node element = CXMLUtilities().createNode(parent, "linkLines", namespaceURI);
        for (const auto& line : items_) line->serialize(element, namespaceURI);
        return element;
    });
}

void CLinkLines::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CLinkLines::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "linkLine") continue;
            auto line = std::make_unique<CLinkLine>();
            line->deSerialize(child);
            add(std::move(line));
        }
    });
}
