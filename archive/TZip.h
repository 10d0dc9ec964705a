#pragma once

#include "archive/ZipComponent.h"

namespace kem::archive {

// Writes the archive ArcName from the files listed in Files, one path per element.
class TZip : public ZipComponent {
public:
    // False only when no listed file exists or an input/output failure ended the work; every
    // other outcome, reports included, gives true.
    bool Compress();
};

}  // namespace kem::archive
