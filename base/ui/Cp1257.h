#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kem {

// Display texts of the logic are Windows-1257 (Baltic) byte strings; widgets need Unicode.
// Bytes the code page leaves undefined show as U+FFFD.
QString fromCp1257(std::string_view bytes);

// Text typed into a widget, back to Windows-1257 bytes; characters outside the code page
// become '?'.
std::string toCp1257(const QString& text);

}  // namespace kem
