#include "reports/Hatch.h"

#include "infra/ZelkaExceptions.h"

void CHatch::copyTo(CHatch& target) const
{
    zelkaOperation(__FILE__, "CHatch::copyTo", [&] {
        target.patternName_ = patternName_;
        target.angle_ = angle_;
        target.scale_ = scale_;
        target.layer_ = layer_;
        target.colour_ = colour_;
    });
}

std::unique_ptr<CHatch> CHatch::clone() const
{
    auto copy = std::make_unique<CHatch>();
    copyTo(*copy);
    return copy;
}
