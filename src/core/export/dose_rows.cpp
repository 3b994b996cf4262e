#include "core/export/dose_rows.h"

#include "core/export/export_texts.h"
#include "core/export/text_encoding.h"
#include "core/run/labels.h"
#include "core/run/run.h"
#include "core/run/run_texts.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"

namespace fetaldose::exporting {

namespace {

constexpr int kProgressStep = 256;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::vector<std::string> columnNames(const std::vector<int>& periods) {
    std::vector<std::string> names(kExportTextColumns.begin(), kExportTextColumns.end());
    names.emplace_back(kInUteroColumn);
    for (const int period : periods) {
        const std::string_view label = trimBlanks(kPeriodLabels[period - 1]);
        for (const auto prefix : {kPostNatalColumnPrefix, kOffspringColumnPrefix}) {
            std::string name(prefix);
            name += label;
            name += kDoseColumnSuffix;
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool plainNumber(std::string_view text, char decimalSeparator, std::string& out) {
    // The form nearly every dose takes, "3,4E-07", needs no more than its mark replaced.
    if (text.size() == 7 && isDigit(text[0]) && text[1] == decimalSeparator && isDigit(text[2]) &&
        text[3] == 'E' && (text[4] == '-' || text[4] == '+') && isDigit(text[5]) &&
        isDigit(text[6])) {
        out.assign(text);
        out[1] = '.';
        return true;
    }
    text = trimBlanks(text);
    std::size_t i = 0;
    const auto digitsFrom = [&](std::size_t from) {
        std::size_t end = from;
        while (end < text.size() && isDigit(text[end])) ++end;
        return end;
    };
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t integerEnd = digitsFrom(i);
    const std::string_view integer = text.substr(i, integerEnd - i);
    i = integerEnd;
    std::string_view fraction;
    if (i < text.size() && text[i] == decimalSeparator) {
        const std::size_t fractionEnd = digitsFrom(i + 1);
        fraction = text.substr(i + 1, fractionEnd - i - 1);
        i = fractionEnd;
    }
    if (integer.empty() && fraction.empty()) return false;
    std::string_view exponent;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t start = i + 1;
        if (start < text.size() && (text[start] == '+' || text[start] == '-')) ++start;
        const std::size_t end = digitsFrom(start);
        if (end == start) return false;
        exponent = text.substr(i + 1, end - i - 1);
        i = end;
    }
    if (i != text.size()) return false;
    out.clear();
    if (negative) out += '-';
    out += integer.empty() ? std::string_view("0") : integer;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    if (!exponent.empty()) {
        out += 'E';
        out += exponent;
    }
    return true;
}

std::string cellText(std::string_view bytes) {
    return toUtf8(trimBlanks(bytes));
}

DoseRows::DoseRows(const ResultStore& store, const Provenance& provenance)
    : store_(store), selection_(provenance.selection) {
    const RunCheck check = checkSelection(selection_);
    rows_ = check.rows;
    periods_ = check.periods;
    if (store.tableCount() > 0 && (static_cast<int>(rows_.size()) != store.rowCount() ||
                                   static_cast<int>(periods_.size()) != store.periodCount()))
        throw RangeError();
}

TableTexts DoseRows::tableTexts(int table) {
    TableTexts texts;
    // The store keeps the heading "<nuclide>, half-life is <half-life>". Tables come in the order
    // of the chosen list, so the entry that gives the heading is the current one or a later one;
    // a heading that none gives is cut at its first join.
    const std::string_view heading = store_.nuclide(table);
    const auto& names = selection_.nuclides;
    const auto halfLife = [&](std::size_t i) {
        return i < selection_.halfLives.size() ? std::string_view(selection_.halfLives[i])
                                               : std::string_view();
    };
    std::size_t i = nuclideIndex_;
    while (i < names.size() && heading != nuclideHeading(names[i], halfLife(i))) ++i;
    if (i < names.size()) {
        nuclideIndex_ = i;
        texts.nuclide = cellText(names[i]);
        texts.halfLife = cellText(halfLife(i));
    } else {
        const auto join = heading.find(kHalfLifeJoin);
        texts.nuclide = cellText(heading.substr(0, join));
        if (join != std::string_view::npos)
            texts.halfLife = cellText(heading.substr(join + kHalfLifeJoin.size()));
    }
    texts.group = cellText(store_.group(table));
    texts.route = cellText(store_.route(table));
    texts.scenario = cellText(store_.scenario(table));
    return texts;
}

void DoseRows::tableWritten(
    int table, const std::function<void(int tablesWritten, int tableCount)>& progress) const {
    if (progress && (table % kProgressStep == 0 || table == tableCount()))
        progress(table, tableCount());
}

}  // namespace fetaldose::exporting
