#pragma once

#include <string>
#include <string_view>

namespace kem::kemsim {

// Two upper-case hex digits: the XOR of every character of the body (between "$" and "*").
std::string Checksum(std::string_view body);

// "$" body "*" checksum CR LF, as a receiver sends it.
std::string Frame(std::string_view body);

}  // namespace kem::kemsim
