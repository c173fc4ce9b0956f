#include "database/Hyperlinks.h"

#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

CHyperlink::CHyperlink(std::string href, std::string description)
    : href_(std::move(href)), description_(std::move(description))
{
}

std::unique_ptr<CHyperlink> CHyperlink::copyTo() const
{
    return zelkaOperation(__FILE__, "CHyperlink::copyTo",
                          [&] { return std::make_unique<CHyperlink>(href_, description_); });
}

pugi::xml_node CHyperlink::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CHyperlink::serialize", [&] {
        CXMLUtilities xml;
        pugi::xml_node element = xml.createNode(parent, "hyperlink", namespaceURI);
        xml.createNode(element, "bhHref", namespaceURI, href_);
        xml.createNode(element, "bhDescription", namespaceURI, description_);
        return element;
    });
}

void CHyperlink::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CHyperlink::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            if (name == "bhHref")
                href_ = CXMLUtilities::getText(child);
            else if (name == "bhDescription")
                description_ = CXMLUtilities::getText(child);
        }
    });
}

bool CHyperlinks::add(std::unique_ptr<CHyperlink> link)
{
    return zelkaOperation(__FILE__, "CHyperlinks::add", [&] {
        if (!link) return false;
        for (const auto& held : items_)
            if (held->getHref() == link->getHref()) return false;
        items_.push_back(std::move(link));
        return true;
    });
}

const CHyperlink& CHyperlinks::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CHyperlinks::getAt",
                          [&]() -> const CHyperlink& { return *items_.at(static_cast<size_t>(index)); });
}

void CHyperlinks::copyTo(CHyperlinks& other) const
{
    zelkaOperation(__FILE__, "CHyperlinks::copyTo", [&] {
        for (const auto& link : items_) other.add(link->copyTo());
    });
}

pugi::xml_node CHyperlinks::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CHyperlinks::serialize", [&] {
        pugi::xml_node element = CXMLUtilities().createNode(parent, "hyperlinks", namespaceURI);
        for (const auto& link : items_) link->serialize(element, namespaceURI);
        return element;
    });
}

void CHyperlinks::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CHyperlinks::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "hyperlink") continue;
            auto link = std::make_unique<CHyperlink>();
            link->deSerialize(child);
            add(std::move(link));
        }
    });
}

bool CHyperlinks::operator==(const CHyperlinks& other) const
{
    if (items_.size() != other.items_.size()) return false;
    for (size_t i = 0; i < items_.size(); ++i)
        if (!(*items_[i] == *other.items_[i])) return false;
    return true;
}
