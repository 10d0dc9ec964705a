#include "maps/SquareTexts.h"

#include "base/TextRules.h"

namespace kem::maps {
namespace {

// A hand-edited square data file may put anything into a locator.
std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

// "YYYY-MM-DD HH:MM".
std::string Minutes(UtcSeconds time) {
    std::string text = UtcDateTimeText(time).substr(0, 16);
    text[10] = ' ';
    return text;
}

}  // namespace

std::string SquaresCsv(const SquareHistory& history,
                       const std::map<std::string, SquareCells>& cells) {
    std::string csv =
        "kvadratas,lokatoriai,pirmas_apsilankymas,paskutinis_apsilankymas,zingsniai\n";
    for (int i = 0; i < kGridSquares; ++i) {
        const auto& visit = history.Visit(i);
        if (!visit) {
            continue;
        }
        const std::string code = GridCode(i);
        std::string locators;
        if (const auto found = cells.find(code); found != cells.end()) {
            for (const std::string& cell : found->second) {
                locators += (locators.empty() ? "" : " ") + cell;
            }
        }
        csv += code + ',' + Field(locators) + ',' + UtcDateText(visit->first) + ',' +
               UtcDateText(visit->last) + ',' + std::to_string(visit->steps) + '\n';
    }
    return csv;
}

std::string SquareInfoText(int index, const SquareHistory& history,
                           const std::map<std::string, SquareCells>& cells) {
    const std::string code = GridCode(index);
    std::string text = code;
    if (const auto found = cells.find(code); found != cells.end()) {
        for (std::size_t i = 0; i < found->second.size(); ++i) {
            text += (i % 4 == 0 ? "\n" : " ") + found->second[i];
        }
    }
    const auto& visit = history.Visit(index);
    if (!visit) {
        return text + "\nNeaplankytas";
    }
    text += "\nAplankytas";
    if (visit->first != kUnknownTime) {
        text += ": " + Minutes(visit->first) + " – " + Minutes(visit->last) + " UTC";
    }
    return text + "\nPadėties žingsnių: " + std::to_string(visit->steps);
}

std::vector<bool> GridMaskOfList(std::string_view text) {
    std::vector<bool> mask(kGridSquares, false);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (const auto index = GridIndex(Trim(text.substr(0, end)))) {
            mask[*index] = true;
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return mask;
}

}  // namespace kem::maps
