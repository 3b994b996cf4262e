#include "core/assessment/units.h"

#include <cmath>
#include <string>

namespace fetaldose::assessment {

namespace {

// The ways "micro" is written: the micro sign U+00B5 and the Greek small letter mu U+03BC.
constexpr std::array<std::string_view, 2> kMicroSigns = {"\xC2\xB5", "\xCE\xBC"};

// The text with a leading micro sign written as 'u'.
std::string withAsciiMicro(std::string_view text) {
    for (const std::string_view sign : kMicroSigns)
        if (text.substr(0, sign.size()) == sign) return "u" + std::string(text.substr(sign.size()));
    return std::string(text);
}

}  // namespace

const ActivityUnitInfo& info(ActivityUnit unit) {
    return kActivityUnits[static_cast<std::size_t>(unit)];
}

const DoseUnitInfo& info(DoseUnit unit) {
    return kDoseUnits[static_cast<std::size_t>(unit)];
}

std::optional<ActivityUnit> activityUnitNamed(std::string_view text) {
    const std::string name = withAsciiMicro(text);
    for (const ActivityUnitInfo& unit : kActivityUnits)
        if (name == unit.name) return unit.unit;
    return std::nullopt;
}

std::optional<DoseUnit> doseUnitNamed(std::string_view text) {
    const std::string name = withAsciiMicro(text);
    for (const DoseUnitInfo& unit : kDoseUnits)
        if (name == unit.name) return unit.unit;
    return std::nullopt;
}

double toBecquerel(double amount, ActivityUnit unit) {
    const ActivityUnitInfo& u = info(unit);
    if (u.divisor == 1) return amount * u.becquerels;
    const double product = amount * u.becquerels;
    // Only a product beyond the range of double takes the other order.
    return std::isinf(product) ? amount / u.divisor * u.becquerels : product / u.divisor;
}

double toSievert(double amount, DoseUnit unit) {
    return amount / info(unit).perSievert;
}

double fromSievert(double sievert, DoseUnit unit) {
    return sievert * info(unit).perSievert;
}

}  // namespace fetaldose::assessment
