#include "spaces/Blocks.h"

#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

void CBlocks::addBlock(std::unique_ptr<CBlock> block)
{
    zelkaOperation(__FILE__, "CBlocks::addBlock", [&] {
        if (!block) return;
        items_.push_back(std::move(block));
        ++count_;
    });
}

CBlock& CBlocks::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CBlocks::getAt",
                          [&]() -> CBlock& { return *items_.at(static_cast<size_t>(index)); });
}

CBlock* CBlocks::getAt(const std::string& handle) const
{
    return zelkaOperation(__FILE__, "CBlocks::getAt", [&]() -> CBlock* {
        for (const auto& block : items_)
            if (block->getHandle() == handle) return block.get();
        return nullptr;
    });
}

CBlock* CBlocks::getByCode(const std::string& code) const
{
    return zelkaOperation(__FILE__, "CBlocks::getByCode", [&]() -> CBlock* {
        for (const auto& block : items_)
            if (block->getCode() == code) return block.get();
        return nullptr;
    });
}

void CBlocks::replaceAt(int index, std::unique_ptr<CBlock> block)
{
    zelkaOperation(__FILE__, "CBlocks::replaceAt", [&] { items_.at(static_cast<size_t>(index)) = std::move(block); });
}

void CBlocks::deleteObjects()
{
    items_.clear();
    count_ = 0;
}

pugi::xml_node CBlocks::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CBlocks::serialize", [&] {
        pugi::xml_node element = CXMLUtilities().createNode(parent, "zelkaBlocks", namespaceURI);
        for (const auto& block : items_) block->serialize(element, namespaceURI);
        return element;
    });
}

void CBlocks::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CBlocks::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "zelkaBlock") continue;
            auto block = std::make_unique<CBlock>();
            block->deSerialize(child);
            addBlock(std::move(block));
        }
    });
}
