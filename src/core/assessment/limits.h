#pragma once
// The dose limits and guidance an assessment compares the dose to the embryo/fetus with, each a
// fact with its source, written once here.

#include <array>
#include <optional>
#include <string_view>

namespace fetaldose::assessment {

enum class LimitKind { Pregnancy, AfterDeclaration, RestOfPregnancy, Monthly, Custom };

struct LimitInfo {
    LimitKind kind;
    std::string_view name;   // as files and the command line write it
    std::string_view shown;  // what the limit is, in words
    std::string_view source;
    double sievert;  // 0 for the user's own value
};

inline constexpr std::array<LimitInfo, 5> kLimits = {{
    // US 10 CFR 20.1208(a): the dose to the embryo/fetus of a declared pregnant woman during
    // the entire pregnancy, due to occupational exposure, must not exceed 0.5 rem (5 mSv).
    {LimitKind::Pregnancy, "pregnancy", "5 mSv (0.5 rem) over the whole pregnancy",
     "US 10 CFR 20.1208(a), declared pregnant worker", 5e-3},
    // US 10 CFR 20.1208(d): where the dose already exceeds 4.5 mSv (0.45 rem) when pregnancy is
    // declared, at most 0.5 mSv (0.05 rem) more for the rest of the pregnancy.
    {LimitKind::AfterDeclaration, "after-declaration",
     "0.5 mSv (0.05 rem) more for the rest of the pregnancy, where 4.5 mSv was reached at "
     "declaration",
     "US 10 CFR 20.1208(d)", 5e-4},
    // ICRP Publication 103 (2007), the Commission's recommendations: after declaration, the
    // embryo/fetus should be
    // protected to about 1 mSv for the rest of the pregnancy.
    {LimitKind::RestOfPregnancy, "icrp-2007",
     "1 mSv to the embryo/fetus for the rest of the pregnancy after declaration",
     "ICRP Publication 103 (2007), recommendations", 1e-3},
    // US 10 CFR 20.1208(b) asks to avoid substantial variation above a uniform monthly rate;
    // the US NRC's guidance on prenatal exposure puts that at about 0.5 mSv (50 mrem) a month.
    {LimitKind::Monthly, "monthly",
     "0.5 mSv (50 mrem) in a month (the doses assessed taken as one month's)",
     "US 10 CFR 20.1208(b) and the US NRC's guidance on prenatal exposure", 5e-4},
    {LimitKind::Custom, "custom", "a value given by the user", "given by the user", 0},
}};

const LimitInfo& info(LimitKind kind);
std::optional<LimitKind> limitKindNamed(std::string_view name);

// What the in-utero effective dose is compared with.
struct Limit {
    LimitKind kind = LimitKind::Pregnancy;
    double customSievert = 0;  // the user's value, for LimitKind::Custom
    double sievert() const {
        return kind == LimitKind::Custom ? customSievert : info(kind).sievert;
    }
};

}  // namespace fetaldose::assessment
