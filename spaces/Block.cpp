#include "spaces/Block.h"

#include "database/Assets.h"
#include "database/Hyperlinks.h"
#include "infra/Utilities.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Hatch.h"
#include "spaces/Attributes.h"

namespace {

// The replacement text elements, by attribute position.
constexpr const char* SWAP_ELEMENTS[] = {"mbSwapName", "mbSwapArea", "mbSwapAux"};

}  // namespace

CBlock::CBlock() = default;
CBlock::~CBlock() = default;

void CBlock::setHyperlinks(std::unique_ptr<CHyperlinks> hyperlinks) { hyperlinks_ = std::move(hyperlinks); }
void CBlock::setAttributes(std::unique_ptr<CAttributes> attributes) { attributes_ = std::move(attributes); }
void CBlock::setHatch(std::unique_ptr<CHatch> hatch) { hatch_ = std::move(hatch); }
void CBlock::setAssets(std::unique_ptr<CAssets> assets) { assets_ = std::move(assets); }

pugi::xml_node CBlock::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CBlock::serialize", [&] {
        CXMLUtilities xml;
        pugi::xml_node element = xml.createNode(parent, "zelkaBlock", namespaceURI);
        xml.createNode(element, "mbHandle", namespaceURI, handle_);
        if (!name_.empty()) xml.createNode(element, "mbName", namespaceURI, name_);
        if (!code_.empty()) xml.createNode(element, "mbCode", namespaceURI, code_);
        if (area_ != 0.0) xml.createNode(element, "mbArea", namespaceURI, CUtilities().DoubleToCString(area_, 2));
        if (attributes_) {
            for (int32_t position = 0; position < 3; ++position) {
                const CZelkaAttribute* swap = attributes_->getAtAttribute(position);
                if (swap) xml.createNode(element, SWAP_ELEMENTS[position], namespaceURI, swap->getText());
            }
        }
        if (hyperlinks_) hyperlinks_->serialize(element, namespaceURI);
        if (assets_) assets_->serialize(element, namespaceURI);
        return element;
    });
}

void CBlock::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CBlock::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            if (name == "mbHandle") {
                handle_ = CXMLUtilities::getText(child);
            } else if (name == "mbName") {
                name_ = CXMLUtilities::getText(child);
            } else if (name == "mbCode") {
                code_ = CXMLUtilities::getText(child);
            } else if (name == "mbArea") {
                area_ = CUtilities().CStringToDouble(CXMLUtilities::getText(child));
            } else if (name == "hyperlinks") {
                hyperlinks_ = std::make_unique<CHyperlinks>();
                hyperlinks_->deSerialize(child);
            } else if (name == "assets") {
                assets_ = std::make_unique<CAssets>();
                assets_->deSerialize(child);
            } else {
                for (int32_t position = 0; position < 3; ++position) {
                    if (name != SWAP_ELEMENTS[position]) continue;
                    if (!attributes_) attributes_ = std::make_unique<CAttributes>();
                    attributes_->add(std::make_unique<CZelkaAttribute>(position, CXMLUtilities::getText(child)), true);
                }
            }
        }
    });
}
