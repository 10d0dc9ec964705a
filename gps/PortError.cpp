#include "gps/PortError.h"

#include <cerrno>

namespace kem::gps {

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
            return "Prieiga prie " + name +
                   " uždrausta: įtraukite naudotoją į grupę dialout ir prisijunkite iš naujo.";
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
