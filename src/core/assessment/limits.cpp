#include "core/assessment/limits.h"

namespace fetaldose::assessment {

const LimitInfo& info(LimitKind kind) {
    return kLimits[static_cast<std::size_t>(kind)];
}

std::optional<LimitKind> limitKindNamed(std::string_view name) {
    for (const LimitInfo& limit : kLimits)
        if (name == limit.name) return limit.kind;
    return std::nullopt;
}

}  // namespace fetaldose::assessment
