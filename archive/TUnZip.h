#pragma once

#include <string>

#include "archive/ZipComponent.h"

namespace kem::archive {

// Unpacks an archive into a directory. Files() holds name masks that select entries (empty means
// all, "*.*"); Overwrite() is kept but not consulted, since extraction always replaces files.
class TUnZip : public ZipComponent {
public:
    static constexpr std::size_t kBufferSize = 8192;

    const std::string& ExtrPath() const { return m_extrPath; }
    // Stores the directory with a "/" appended when it is not empty and lacks one.
    void SetExtrPath(const std::string& path);

    // Unpacks ArcName into ExtrPath, creating the directory when missing. False only when a
    // read or write failed during a transfer or ExtrPath is empty; a missing archive, a
    // directory that cannot be made or reported problems still give true.
    bool Extract();

private:
    std::string m_extrPath;
};

}  // namespace kem::archive
