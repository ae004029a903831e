#include "form/DesignValue.h"

#include "design/RateChangeDesign.h"

const DesignRequest* MethodRequestOf(const DesignValue& value)
{
    return value.request && MethodChoiceOf(*value.request) ? &*value.request : nullptr;
}

std::optional<MultirateDesign> RateChangeOf(const DesignValue& value)
{
    if (!value.request || !value.request->rateChange)
        return std::nullopt;
    const DesignRequest& q = *value.request;
    return MultirateDesign{MultirateKindOf(q.rateChange->kind), RateFactorOf(q), static_cast<double>(q.firstCorner)};
}

std::optional<DesignExtension> ExtensionOf(const DesignValue& value)
{
    return value.request ? ExtensionFor(*value.request, value.requirement) : std::nullopt;
}
