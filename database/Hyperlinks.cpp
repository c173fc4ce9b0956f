#include "database/Hyperlinks.h"

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbEntityHyperlinkPE.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPeek.h"
#include "infra/AsciiText.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

// The registered application under which the host keeps an entity's hyperlinks.
constexpr const char* kHyperlinkApplication = "PE_URL";

// Whether the entity's links are exactly these, in order and whole.
bool entityHolds(const AcDbEntityHyperlinkPE& extension, const AcDbEntity* entity,
                 const AcDbHyperlinkCollection& links)
{
    AcDbHyperlinkCollection* held = nullptr;
    Acad::ErrorStatus es = extension.getHyperlinkCollection(entity, held);
    std::unique_ptr<AcDbHyperlinkCollection> owned(held);
    if (es != Acad::eOk || !owned || owned->count() != links.count()) return false;
    for (int i = 0; i < links.count(); ++i) {
        const AcDbHyperlink* a = owned->item(i);
        const AcDbHyperlink* b = links.item(i);
        if (std::string(a->name()) != b->name() || std::string(a->description()) != b->description() ||
            std::string(a->subLocation()) != b->subLocation() || a->flag() != b->flag())
            return false;
    }
    return true;
}

}  // namespace

CHyperlink::CHyperlink(std::string href, std::string description, std::string subLocation, int flag)
    : href_(std::move(href)), description_(std::move(description)), subLocation_(std::move(subLocation)), flag_(flag)
{
}

std::unique_ptr<CHyperlink> CHyperlink::copyTo() const
{
    return zelkaOperation(__FILE__, "CHyperlink::copyTo",
                          [&] { return std::make_unique<CHyperlink>(href_, description_, subLocation_, flag_); });
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

CHyperlinks::CHyperlinks(const AcDbBlockReference* reference)
{
    zelkaOperation(__FILE__, "CHyperlinks::CHyperlinks", [&] { getBlockHyperlinks(reference); });
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

void CHyperlinks::getEntityHyperlinks(const AcDbEntity* entity)
{
    zelkaOperation(__FILE__, "CHyperlinks::getEntityHyperlinks", [&] {
        AcDbEntityHyperlinkPE* extension = AcDbEntityHyperlinkPE::cast(entity);
        if (!extension) return;
        AcDbHyperlinkCollection* links = nullptr;
        Acad::ErrorStatus es = extension->getHyperlinkCollection(entity, links);
        std::unique_ptr<AcDbHyperlinkCollection> owned(links);
        if (es != Acad::eOk || !owned) return;
        for (int i = 0; i < owned->count(); ++i) {
            const AcDbHyperlink* link = owned->item(i);
            add(std::make_unique<CHyperlink>(link->name(), link->description(), link->subLocation(), link->flag()));
        }
    });
}

void CHyperlinks::getBlockHyperlinks(const AcDbBlockReference* reference)
{
    zelkaOperation(__FILE__, "CHyperlinks::getBlockHyperlinks", [&] {
        if (!reference) return;
        // The reference's own links, unless it is known to have none (every
        // space block of a pass asks).
        bool referenceHasLinks = true;
        if (!acdbPeekHasXData(reference->objectId(), kHyperlinkApplication, referenceHasLinks) || referenceHasLinks)
            getEntityHyperlinks(reference);
        AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
        if (!definition) return;
        definition->forEachEntityId([&](AcDbObjectId id) {
            // An entity's links are its "PE_URL" extended data: one known to
            // have none adds nothing, and is not built only to say so.
            bool hasLinks = true;
            if (acdbPeekHasXData(id, kHyperlinkApplication, hasLinks) && !hasLinks) return true;
            AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
            if (entity) getEntityHyperlinks(entity.object());
            return true;
        });
    });
}

Acad::ErrorStatus CHyperlinks::setEntityHyperlinks(AcDbEntity* entity) const
{
    return zelkaOperation(__FILE__, "CHyperlinks::setEntityHyperlinks", [&] {
        AcDbEntityHyperlinkPE* extension = AcDbEntityHyperlinkPE::cast(entity);
        if (!extension) return Acad::eNullObjectPointer;
        AcDbHyperlinkCollection links;
        for (const auto& link : items_) {
            links.addTail(link->getHref().c_str(), link->getDescription().c_str(), link->getSubLocation().c_str());
            links.item(links.count() - 1)->setFlag(link->getFlag());
        }
        if (entityHolds(*extension, entity, links)) return Acad::eOk;
        return extension->setHyperlinkCollection(entity, &links);
    });
}

Acad::ErrorStatus CHyperlinks::keepOnlyListedHyperlinks(AcDbEntity* entity) const
{
    return zelkaOperation(__FILE__, "CHyperlinks::keepOnlyListedHyperlinks", [&] {
        AcDbEntityHyperlinkPE* extension = AcDbEntityHyperlinkPE::cast(entity);
        if (!extension) return Acad::eNullObjectPointer;
        AcDbHyperlinkCollection* held = nullptr;
        Acad::ErrorStatus es = extension->getHyperlinkCollection(entity, held);
        std::unique_ptr<AcDbHyperlinkCollection> owned(held);
        if (es != Acad::eOk || !owned) return es;
        bool dropped = false;
        for (int i = owned->count() - 1; i >= 0; --i) {
            const std::string href = owned->item(i)->name();
            bool listed = false;
            for (const auto& link : items_) listed = listed || link->getHref() == href;
            if (listed) continue;
            owned->removeAt(i);
            dropped = true;
        }
        if (!dropped) return Acad::eOk;
        return extension->setHyperlinkCollection(entity, owned.get());
    });
}

void CHyperlinks::setHyperlinks(const std::string& links, int32_t id)
{
    zelkaOperation(__FILE__, "CHyperlinks::setHyperlinks", [&] {
        size_t start = 0;
        while (start <= links.size()) {
            size_t end = links.find(';', start);
            std::string entry = links.substr(start, end == std::string::npos ? std::string::npos : end - start);
            size_t comma = entry.find(',');
            std::string address = comma == std::string::npos ? entry : entry.substr(0, comma);
            std::string description = comma == std::string::npos ? entry : entry.substr(comma + 1);
            if (address.empty()) address = description;
            if (description.empty()) description = address;
            address = trim(address, " \t");
            description = trim(description, " \t");
            if (!address.empty())
                add(std::make_unique<CHyperlink>(address + "?pb=10&page=1&id=" + std::to_string(id), description));
            if (end == std::string::npos) break;
            start = end + 1;
        }
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
