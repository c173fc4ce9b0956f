#include "spaces/ZelkaAttribute.h"

#include "infra/ZelkaExceptions.h"

CZelkaAttribute::CZelkaAttribute(int32_t position, std::string text)
{
    setPosition(position);
    setText(text);
}

void CZelkaAttribute::setPosition(int32_t position)
{
    position_ = position;
    switch (position) {
    case 0: setKey("NAME"); break;
    case 1: setKey("AREA"); break;
    case 2: setKey("AUX"); break;
    default: break;
    }
}

std::unique_ptr<CAttribute> CZelkaAttribute::clone() const
{
    return zelkaOperation(__FILE__, "CZelkaAttribute::clone", [&] {
        auto copy = std::make_unique<CZelkaAttribute>();
        copy->setKey(getKey());
        copy->setText(getText());
        copy->position_ = position_;
        return std::unique_ptr<CAttribute>(std::move(copy));
    });
}
