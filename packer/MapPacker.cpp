#include "packer/MapPacker.h"

#include <dirent.h>

#include <memory>

#include "archive/NameMatch.h"
#include "archive/PathParts.h"
#include "archive/TZip.h"

namespace kem::packer {

std::string MapDirectory(const std::string& programDir) {
    return programDir + "SKVERAI/";
}

std::vector<std::string> ListBitmaps(const std::string& mapDir) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(mapDir.c_str()), &::closedir);
    if (!dir) {
        return names;
    }
    const std::string mask = archive::ExpandPath(mapDir + "*.bmp");
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." &&
            archive::MatchFileSpec(mask, archive::ExpandPath(mapDir + name))) {
            names.push_back(name);
        }
    }
    return names;
}

std::string ArchiveNameFor(const std::string& bitmapName) {
    const auto dot = bitmapName.find('.');
    return bitmapName.substr(0, dot == std::string::npos ? dot : dot + 1) + "z";
}

void PackAll(const std::string& mapDir, archive::TZip& zip) {
    for (const std::string& name : ListBitmaps(mapDir)) {
        zip.SetArcName(mapDir + ArchiveNameFor(name));
        zip.Files() = {mapDir + name};
        zip.Compress();  // its reports went to the user already; the next bitmap is taken anyway
    }
}

}  // namespace kem::packer
