#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kem::kemsim {

// Two upper-case hex digits: the XOR of every character of the body (between "$" and "*").
std::string Checksum(std::string_view body);

// A sentence body's comma-separated fields, and the body made of fields again.
std::vector<std::string> SplitFields(std::string_view body);
std::string JoinFields(const std::vector<std::string>& fields);

// "$" body "*" checksum CR LF, as a receiver sends it.
std::string Frame(std::string_view body);

// The lines with each GPS RMC, GGA and GSA sentence ("$GPRMC,...") sent once for every talker
// instead, in the given order, with its checksum made anew when it was right; every other line as
// it is.
std::vector<std::string> WithTalkers(const std::vector<std::string>& lines,
                                     const std::vector<std::string>& talkers);

}  // namespace kem::kemsim
