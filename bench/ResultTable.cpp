#include "bench/ResultTable.h"

#include <cmath>
#include <cstdio>

namespace {

const int kFigureWidth = 40;
const int kUnitWidth = 5;
const int kCountWidth = 8;
const int kSummaryWidth = 28;
const int kRatioWidth = 7;
const int kTargetWidth = 10;
const int kRoundingDecimals = 2;

std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Describe(const Summary& summary, int decimals) {
    if (summary.count == 0) {
        return "-";
    }
    if (summary.count == 1) {
        return Number(summary.median, decimals);
    }
    return Number(summary.median, decimals) + " [" + Number(summary.min, decimals) + ", " +
           Number(summary.max, decimals) + "]";
}

std::string Pad(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) {
        return text + " ";
    }
    return text + std::string(static_cast<size_t>(width) - text.size(), ' ');
}

std::string PadLeft(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) {
        return text + " ";
    }
    return std::string(static_cast<size_t>(width) - text.size(), ' ') + text + " ";
}

std::string TargetText(const ResultTable::Row& row) {
    switch (row.target) {
    case ResultTable::Target::kRatioAtMost:
        return "<= " + Number(row.limit, 1) + "x";
    case ResultTable::Target::kGameMaxAtMost:
        return "<= " + Number(row.limit, row.decimals);
    case ResultTable::Target::kNone:
        break;
    }
    return "";
}

// Figures are compared as printed, so that a value shown as 0.00 meets a target of 0.00.
double AsPrinted(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

} // namespace

void ResultTable::AddHeading(const std::string& line) {
    headings.push_back(line);
}
void ResultTable::AddRow(const Row& row) {
    rows.push_back(row);
}
void ResultTable::AddNote(const std::string& line) {
    notes.push_back(line);
}

namespace {

bool RatioMeets(const Summary& game, const Summary& yardstick, double limit) {
    const double ratio = Ratio(game, yardstick);
    return !std::isnan(ratio) && AsPrinted(ratio, kRoundingDecimals) <= limit;
}

bool TargetMet(const ResultTable::Row& row) {
    switch (row.target) {
    case ResultTable::Target::kNone:
        return true;
    case ResultTable::Target::kRatioAtMost:
        return RatioMeets(row.game, row.floor, row.limit);
    case ResultTable::Target::kGameMaxAtMost:
        return row.game.count > 0 &&
               AsPrinted(row.game.max, row.decimals) <= AsPrinted(row.limit, row.decimals);
    }
    return false;
}

} // namespace

std::string ResultTable::Verdict(const Row& row) {
    const bool minimalTarget = row.minimalLimit > 0;
    if (row.target == Target::kNone && !minimalTarget) {
        return "";
    }
    const bool met =
        TargetMet(row) && (!minimalTarget || RatioMeets(row.game, row.minimal, row.minimalLimit));
    return met ? "met" : "MISSED";
}

bool ResultTable::AllTargetsMet() const {
    for (const Row& row : rows) {
        if (row.target != Target::kNone && Verdict(row) != "met") {
            return false;
        }
    }
    return true;
}

std::string ResultTable::Format() const {
    auto ratioText = [](const Summary& game, const Summary& yardstick) {
        const double ratio = Ratio(game, yardstick);
        return std::isnan(ratio) ? std::string("-") : Number(ratio, kRoundingDecimals);
    };
    std::string text;
    for (const std::string& line : headings) {
        text += line + "\n";
    }
    text += "\n";
    text += Pad("figure", kFigureWidth) + Pad("unit", kUnitWidth) + Pad("n", kCountWidth) +
            Pad("Brisgola median [min, max]", kSummaryWidth) +
            Pad("floor median [min, max]", kSummaryWidth) + PadLeft("ratio", kRatioWidth) +
            Pad("target", kTargetWidth) + Pad("minimal median [min, max]", kSummaryWidth) +
            PadLeft("ratio", kRatioWidth) + Pad("target", kTargetWidth) + "verdict\n";
    for (const Row& row : rows) {
        std::string counts = std::to_string(row.game.count);
        for (const Summary* other : {&row.floor, &row.minimal}) {
            if (other->count > 0) {
                counts += "/" + std::to_string(other->count);
            }
        }
        const std::string minimalTarget =
            row.minimalLimit > 0 ? "<= " + Number(row.minimalLimit, 1) + "x" : "";
        std::string line = Pad(row.figure, kFigureWidth) + Pad(row.unit, kUnitWidth) +
                           Pad(counts, kCountWidth) +
                           Pad(Describe(row.game, row.decimals), kSummaryWidth) +
                           Pad(Describe(row.floor, row.decimals), kSummaryWidth) +
                           PadLeft(ratioText(row.game, row.floor), kRatioWidth) +
                           Pad(TargetText(row), kTargetWidth) +
                           Pad(Describe(row.minimal, row.decimals), kSummaryWidth) +
                           PadLeft(ratioText(row.game, row.minimal), kRatioWidth) +
                           Pad(minimalTarget, kTargetWidth) + Verdict(row);
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        text += line + "\n";
    }
    if (!notes.empty()) {
        text += "\n";
        for (const std::string& line : notes) {
            text += line + "\n";
        }
    }
    return text;
}
