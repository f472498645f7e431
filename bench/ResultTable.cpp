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

std::string ResultTable::Verdict(const Row& row) {
    switch (row.target) {
    case Target::kNone:
        return "";
    case Target::kRatioAtMost: {
        const double ratio = Ratio(row.game, row.floor);
        if (std::isnan(ratio)) {
            return "MISSED";
        }
        return AsPrinted(ratio, kRoundingDecimals) <= row.limit ? "met" : "MISSED";
    }
    case Target::kGameMaxAtMost:
        if (row.game.count == 0) {
            return "MISSED";
        }
        return AsPrinted(row.game.max, row.decimals) <= AsPrinted(row.limit, row.decimals)
                   ? "met"
                   : "MISSED";
    }
    return "";
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
    std::string text;
    for (const std::string& line : headings) {
        text += line + "\n";
    }
    text += "\n";
    text += Pad("figure", kFigureWidth) + Pad("unit", kUnitWidth) + Pad("n", kCountWidth) +
            Pad("Brisgola median [min, max]", kSummaryWidth) +
            Pad("floor median [min, max]", kSummaryWidth) + PadLeft("ratio", kRatioWidth) +
            Pad("target", kTargetWidth) + "verdict\n";
    for (const Row& row : rows) {
        const double ratio = Ratio(row.game, row.floor);
        std::string counts = std::to_string(row.game.count);
        if (row.floor.count > 0) {
            counts += "/" + std::to_string(row.floor.count);
        }
        std::string line =
            Pad(row.figure, kFigureWidth) + Pad(row.unit, kUnitWidth) + Pad(counts, kCountWidth) +
            Pad(Describe(row.game, row.decimals), kSummaryWidth) +
            Pad(Describe(row.floor, row.decimals), kSummaryWidth) +
            PadLeft(std::isnan(ratio) ? "-" : Number(ratio, kRoundingDecimals), kRatioWidth) +
            Pad(TargetText(row), kTargetWidth) + Verdict(row);
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
