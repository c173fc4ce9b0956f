#include "spaces/Attributes.h"

#include "infra/ZelkaExceptions.h"

bool CAttributes::add(std::unique_ptr<CAttribute> attribute, bool allowDuplicate)
{
    return zelkaOperation(__FILE__, "CAttributes::add", [&] {
        if (!attribute) return false;
        if (!allowDuplicate && getAtAttribute(attribute->getKey())) return false;
        items_.push_back(std::move(attribute));
        return true;
    });
}

const CAttribute& CAttributes::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CAttributes::getAt",
                          [&]() -> const CAttribute& { return *items_.at(static_cast<size_t>(index)); });
}

CZelkaAttribute* CAttributes::getAtAttribute(int32_t position) const
{
    for (const auto& item : items_) {
        auto* zelka = dynamic_cast<CZelkaAttribute*>(item.get());
        if (zelka && zelka->getPosition() == position) return zelka;
    }
    return nullptr;
}

CAttribute* CAttributes::getAtAttribute(const std::string& tag) const
{
    for (const auto& item : items_)
        if (item->getKey() == tag) return item.get();
    return nullptr;
}

void CAttributes::copyAttributesTo(CAttributes& other) const
{
    zelkaOperation(__FILE__, "CAttributes::copyAttributesTo", [&] {
        other.textHeight_ = textHeight_;
        other.rotation_ = rotation_;
        other.widthFactor_ = widthFactor_;
        for (const auto& item : items_) other.add(item->clone(), true);
    });
}
