#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kem::archive {

class ZipComponent;

// Progress event of both archive components: (Sender, AProgress). AProgress is a percentage of
// the entry being stored or decoded.
using TZipProgress = std::function<void(ZipComponent& sender, std::int16_t progress)>;

// Error event of both archive components: (Sender, ErrorMsg), the full report text.
using TZipError = std::function<void(ZipComponent& sender, const std::string& errorMsg)>;

// The modal warning box that shows a report when the component has no OnError handler. The
// application installs it (the library itself needs no window toolkit); without one, reports go
// to standard error.
using WarningBox = std::function<void(const std::string& text)>;

// What TZip and TUnZip share: the archive name, the file list, the overwrite flag, the two events
// and the error report.
class ZipComponent {
public:
    ZipComponent() = default;
    ZipComponent(const ZipComponent&) = delete;
    ZipComponent& operator=(const ZipComponent&) = delete;
    virtual ~ZipComponent() = default;

    const std::string& ArcName() const { return m_arcName; }
    void SetArcName(const std::string& name) { m_arcName = name; }

    // One file name (TZip) or name mask (TUnZip) per element.
    std::vector<std::string>& Files() { return m_files; }
    const std::vector<std::string>& Files() const { return m_files; }

    bool Overwrite() const { return m_overwrite; }
    void SetOverwrite(bool overwrite) { m_overwrite = overwrite; }

    TZipProgress OnProgress;
    TZipError OnError;

    // Hands the text to OnError when assigned, else to the warning box; work goes on afterwards.
    void ReportError(const std::string& text);

    // Raises OnProgress when assigned.
    void Progress(std::int16_t percent);

    // Installs the process-wide warning box (an empty function restores standard error).
    static void SetWarningBox(WarningBox box);
    // Shows a report as an unhandled one is shown: an OnError handler that only listens calls
    // this to keep the box.
    static void ShowWarningBox(const std::string& text);

private:
    std::string m_arcName;
    std::vector<std::string> m_files;
    bool m_overwrite = false;
};

}  // namespace kem::archive
