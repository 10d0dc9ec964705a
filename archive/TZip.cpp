#include "archive/TZip.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <new>

#include "archive/NameMatch.h"
#include "archive/PathParts.h"
#include "archive/ZipWriter.h"
#include "base/IoError.h"

namespace kem::archive {
namespace {

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// Keeps `nodes` sorted by name in byte order with one node per name; the first listed wins.
void InsertByName(std::vector<FileNode>& nodes, FileNode node) {
    const auto at =
        std::lower_bound(nodes.begin(), nodes.end(), node.name,
                         [](const FileNode& n, const std::string& name) { return n.name < name; });
    if (at == nodes.end() || at->name != node.name) {
        nodes.insert(at, std::move(node));
    }
}

}  // namespace

bool TZip::Compress() {
    if (FileExists(ArcName()) && !Overwrite()) {
        ReportError("No overwite rights for file " + ArcName() + "!");
        return true;
    }
    if (Files().empty()) {
        ReportError("No files for compress !");
        return true;
    }
    const std::string archivePath = ExpandPath(ArcName());
    bool anyTaken = false;
    std::vector<FileNode> nodes;
    for (const std::string& line : Files()) {
        // Wildcards are not expanded: such a line names no existing file and is not taken.
        if (!FileExists(line)) {
            continue;
        }
        anyTaken = true;
        struct stat st {};
        if (::stat(line.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            MatchFileSpec(archivePath, ExpandPath(line))) {
            continue;
        }
        FileNode node;
        node.path = line.substr(0, line.rfind('/') + 1);
        node.name = NamePart(line);
        node.size = static_cast<std::uint32_t>(st.st_size);
        node.modified = ToDosDateTime(st.st_mtime);
        InsertByName(nodes, std::move(node));
    }
    if (!anyTaken) {
        return false;
    }
    std::unique_ptr<ZipWriter> writer;
    try {
        writer = std::make_unique<ZipWriter>(*this);
    } catch (const std::bad_alloc&) {
        ReportError("Not enough memory to allocate LZW data structures!");
        return true;
    }
    try {
        writer->Write(ArcName(), nodes);
    } catch (const IoError&) {
        return false;
    }
    return true;
}

}  // namespace kem::archive
