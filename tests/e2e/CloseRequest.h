#pragma once

#include <string>

namespace kem::e2e {

// Sends the window WM_DELETE_WINDOW, as a window manager does for a click on the close box.
// Kept apart because Xlib's macros clash with Qt's and the tests' names.
void SendCloseRequest(const std::string& display, unsigned long window);

}  // namespace kem::e2e
