#include "core/assessment/intake_time.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <variant>

#include "core/assessment/assessment_texts.h"
#include "core/run/run_texts.h"

namespace fetaldose::assessment {

namespace {

// Moments closer than this (a millionth of a day) are the same moment.
constexpr double kSameMoment = 1e-6;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool sameWords(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool endsWithWords(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && sameWords(text.substr(text.size() - end.size()), end);
}

// The time, or why it cannot be read.
std::variant<IntakeTime, std::string_view> readTime(std::string_view text) {
    text = trimmed(text);
    for (int s = 1; s <= kScenarioCount; ++s) {
        if (text != trimmed(kScenarioTexts[static_cast<std::size_t>(s - 1)])) continue;
        IntakeTime time;
        if (s >= kFirstChronicScenario) {
            time.chronic = true;
            time.chronicScenario = s;
        } else {
            time.daysAfterConception = kAcuteScenarioDays[static_cast<std::size_t>(s - 1)];
        }
        return time;
    }
    if (sameWords(text, kAtConception)) return IntakeTime{};

    double sign = 0;
    if (endsWithWords(text, kAfterConception)) {
        sign = 1;
        text.remove_suffix(kAfterConception.size());
    } else if (endsWithWords(text, kBeforeConception)) {
        sign = -1;
        text.remove_suffix(kBeforeConception.size());
    } else {
        return kTimeUnreadable;
    }
    text = trimmed(text);
    const std::size_t blank = text.find_first_of(" \t");
    if (blank == std::string_view::npos) return kTimeUnreadable;
    const std::string_view number = text.substr(0, blank);
    const std::string_view unit = trimmed(text.substr(blank));
    double amount = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), amount,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) return kTimeNotFinite;
    if (error != std::errc() || end != number.data() + number.size() || amount < 0 ||
        number.front() == '-')
        return kTimeUnreadable;
    static constexpr std::array<double, 4> kDaysPerUnit = {1, kDaysPerWeek, kDaysPerMonth,
                                                           kDaysPerYear};
    for (std::size_t u = 0; u < kTimeUnitWords.size(); ++u) {
        if (!sameWords(unit, kTimeUnitWords[u][0]) && !sameWords(unit, kTimeUnitWords[u][1]))
            continue;
        const double days = sign * amount * kDaysPerUnit[u];
        if (!std::isfinite(days)) return kTimeNotFinite;
        if (days > kBirthDay + kSameMoment) return kTimeAfterBirth;
        IntakeTime time;
        time.daysAfterConception = days == 0 ? 0 : days;  // never -0
        return time;
    }
    return kTimeUnreadable;
}

std::string numberText(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::optional<IntakeTime> parseIntakeTime(std::string_view text) {
    auto time = readTime(text);
    if (const IntakeTime* read = std::get_if<IntakeTime>(&time)) return *read;
    return std::nullopt;
}

std::string intakeTimeProblem(std::string_view text) {
    auto time = readTime(text);
    if (const std::string_view* problem = std::get_if<std::string_view>(&time))
        return std::string(*problem);
    return {};
}

std::optional<double> daysBetween(int conceptionYear, int conceptionMonth, int conceptionDay,
                                  int intakeYear, int intakeMonth, int intakeDay) {
    using namespace std::chrono;
    const year_month_day conception{year(conceptionYear), month(unsigned(conceptionMonth)),
                                    day(unsigned(conceptionDay))};
    const year_month_day intake{year(intakeYear), month(unsigned(intakeMonth)),
                                day(unsigned(intakeDay))};
    if (!conception.ok() || !intake.ok() || conceptionMonth < 1 || intakeMonth < 1 ||
        conceptionDay < 1 || intakeDay < 1)
        return std::nullopt;
    return static_cast<double>((sys_days(intake) - sys_days(conception)).count());
}

std::string acuteTimeText(double daysAfterConception) {
    if (std::abs(daysAfterConception) < kSameMoment) return std::string(kAtConception);
    const double days = std::abs(daysAfterConception);
    const std::string_view side = daysAfterConception > 0 ? kAfterConception : kBeforeConception;
    const double weeks = days / kDaysPerWeek;
    const auto& [one, several] =
        std::abs(weeks - std::round(weeks)) < kSameMoment ? kTimeUnitWords[1] : kTimeUnitWords[0];
    const double amount =
        std::abs(weeks - std::round(weeks)) < kSameMoment ? std::round(weeks) : days;
    return numberText(amount) + " " + std::string(amount == 1 ? one : several) + " " +
           std::string(side);
}

std::optional<int> tabulatedScenario(double daysAfterConception) {
    for (std::size_t s = 0; s < kAcuteScenarioDays.size(); ++s)
        if (std::abs(daysAfterConception - kAcuteScenarioDays[s]) < kSameMoment)
            return static_cast<int>(s) + 1;
    return std::nullopt;
}

}  // namespace fetaldose::assessment
