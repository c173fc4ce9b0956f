#include "spaces/Attribute.h"

#include "infra/ZelkaExceptions.h"

CAttribute::CAttribute(std::string key, std::string text) : key_(std::move(key)), text_(std::move(text)) {}

std::unique_ptr<CAttribute> CAttribute::clone() const
{
    return zelkaOperation(__FILE__, "CAttribute::clone", [&] {
        return std::unique_ptr<CAttribute>(std::make_unique<CAttribute>(key_, text_));
    });
}
