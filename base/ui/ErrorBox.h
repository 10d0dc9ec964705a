#pragma once

#include <QString>
#include <exception>
#include <string>
#include <utility>

class QWidget;

namespace kem {

// The standard error box's text: the message, with a full stop added when it ends in a
// letter or a digit.
QString errorBoxText(const std::string& message);

// Shows the standard error box (error icon, OK, titled with the application title).
void showErrorBox(const std::exception& error, QWidget* parent = nullptr);

// Runs one handler of a user command; an error it does not catch itself ends it and is shown
// in the standard error box. Returns false when the handler failed. Handlers run through this
// instead of letting the exception unwind through Qt's own frames.
template <class Handler>
bool guarded(Handler&& handler, QWidget* parent = nullptr) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& e) {
        showErrorBox(e, parent);
        return false;
    }
}

}  // namespace kem
