#pragma once

#include <string>
#include <vector>

namespace kem::archive {
class TZip;
}

namespace kem::packer {

// The map folder inside the program folder; `programDir` ends with "/".
std::string MapDirectory(const std::string& programDir);

// Names of the entries of `mapDir` that match "*.bmp" by the archive library's rule (case does
// not matter), of any kind, folders included, in the order the file system gives them. Empty
// when the folder is missing.
std::vector<std::string> ListBitmaps(const std::string& mapDir);

// The name of a bitmap's archive: its name up to and including the first "." followed by "z"
// (K26.bmp gives K26.z, a.b.bmp gives a.z).
std::string ArchiveNameFor(const std::string& bitmapName);

// Packs every bitmap of `mapDir` alone into its own archive beside it, through `zip`. What goes
// wrong with one bitmap is reported by `zip` and the next one is taken.
void PackAll(const std::string& mapDir, archive::TZip& zip);

}  // namespace kem::packer
