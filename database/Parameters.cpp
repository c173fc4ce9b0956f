#include "database/Parameters.h"

#include "infra/XMLUtilities.h"

CParameter* CParameters::add(std::unique_ptr<CParameter> parameter)
{
    items_.push_back(std::move(parameter));
    return items_.back().get();
}

CParameter* CParameters::getParameter(const std::string& name) const
{
    for (const auto& p : items_)
        if (p->getName() == name) return p.get();
    return nullptr;
}

pugi::xml_node CParameters::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    pugi::xml_node element = CXMLUtilities().createNode(parent, "parameters", namespaceURI);
    for (const auto& p : items_) p->serialize(element, namespaceURI);
    return element;
}
