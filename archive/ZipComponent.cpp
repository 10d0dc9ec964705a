#include "archive/ZipComponent.h"

#include <cstdio>
#include <utility>

namespace kem::archive {
namespace {

WarningBox& InstalledWarningBox() {
    static WarningBox box;
    return box;
}

}  // namespace

void ZipComponent::ReportError(const std::string& text) {
    if (OnError) {
        OnError(*this, text);
    } else {
        ShowWarningBox(text);
    }
}

void ZipComponent::ShowWarningBox(const std::string& text) {
    if (const WarningBox& box = InstalledWarningBox()) {
        box(text);
    } else {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

void ZipComponent::Progress(std::int16_t percent) {
    if (OnProgress) {
        OnProgress(*this, percent);
    }
}

void ZipComponent::SetWarningBox(WarningBox box) {
    InstalledWarningBox() = std::move(box);
}

}  // namespace kem::archive
