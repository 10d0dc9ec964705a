#include "gps/PortError.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

namespace kem::gps {

namespace {

// The group the device belongs to, as the file system says: dialout on Debian and Ubuntu, uucp
// on Arch and others. "dialout" when it cannot be told.
std::string deviceGroup(const std::string& device) {
    struct stat st {};
    if (::stat(device.c_str(), &st) == 0) {
        std::vector<char> buffer(4096);
        group entry{};
        group* found = nullptr;
        if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
            return found->gr_name;
        }
    }
    return "dialout";
}

}  // namespace

PortError PortErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return PortError::None;
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case EIO:  // a ttyS port without a UART behind it opens, then fails every setting
            return PortError::Missing;
        case EBUSY:        // TIOCEXCL set by another opener
        case EWOULDBLOCK:  // flock held by another opener
            return PortError::Busy;
        case EACCES:
        case EPERM:
            return PortError::Denied;
        case ENOTTY:
            return PortError::NotSerial;
        case EINVAL:
            return PortError::Refused;
        default:
            return PortError::Other;
    }
}

std::string PortErrorText(PortError error, std::string_view device) {
    const std::string name(device);
    switch (error) {
        case PortError::Missing:
            return "Įrenginys " + name + " nerastas.";
        case PortError::Busy:
            return "Įrenginį " + name + " naudoja kita programa.";
        case PortError::Denied:
            return "Prieiga prie " + name + " uždrausta: įtraukite naudotoją į grupę " +
                   deviceGroup(name) + " ir prisijunkite iš naujo.";
        case PortError::NotSerial:
            return name + " nėra nuoseklusis prievadas.";
        case PortError::Refused:
            return "Įrenginys " + name + " nepriima ryšio nustatymų.";
        case PortError::None:
        case PortError::Other:
            break;
    }
    return {};
}

}  // namespace kem::gps
