#include "tests/e2e/CloseRequest.h"

#include <X11/Xlib.h>

#include <stdexcept>

namespace kem::e2e {

void SendCloseRequest(const std::string& display, unsigned long window) {
    _XDisplay* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr) {
        throw std::runtime_error("cannot open display " + display);
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, window, False, NoEventMask, &event);
    XCloseDisplay(connection);  // sends it
}

}  // namespace kem::e2e
