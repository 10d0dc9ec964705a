#include "tools/kemsim/Options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace kem::kemsim {

namespace {

template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parseNonNegative(const std::string& text, double& value) {
    return parseNumber(text, value) && std::isfinite(value) && value >= 0;
}

bool parseBaud(const std::string& text, std::uint32_t& value) {
    return parseNumber(text, value) &&
           std::find(std::begin(kBaudRates), std::end(kBaudRates), value) != std::end(kBaudRates);
}

// "GN" or "GP,GN": two capital letters each.
bool parseTalkers(const std::string& text, std::vector<std::string>& talkers) {
    talkers.clear();
    for (std::size_t start = 0; start <= text.size();) {
        const auto comma = std::min(text.find(',', start), text.size());
        const std::string talker = text.substr(start, comma - start);
        if (talker.size() != 2 || !std::isupper(static_cast<unsigned char>(talker[0])) ||
            !std::isupper(static_cast<unsigned char>(talker[1])))
            return false;
        talkers.push_back(talker);
        start = comma + 1;
    }
    return true;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    using Flag = std::function<void()>;
    const std::map<std::string, Flag> flags = {
        {"--help", [&] { o.help = true; }},       {"-h", [&] { o.help = true; }},
        {"--split", [&] { o.split = true; }},     {"--noise", [&] { o.noise = true; }},
        {"--stdout", [&] { o.toStdout = true; }}, {"--wait", [&] { o.waitForReader = true; }},
    };
    // Each returns false when the value is not acceptable.
    using Valued = std::function<bool(const std::string&)>;
    const std::map<std::string, Valued> valued = {
        {"--link", [&](const std::string& v) { return !(o.linkPath = v).empty(); }},
        {"--replay", [&](const std::string& v) { return !(o.replayPath = v).empty(); }},
        {"--tee", [&](const std::string& v) { return !(o.teePath = v).empty(); }},
        {"--speed", [&](const std::string& v) { return parseNonNegative(v, o.speed); }},
        {"--hangup-after",
         [&](const std::string& v) { return parseNonNegative(v, o.hangupAfter.emplace()); }},
        {"--count",
         [&](const std::string& v) { return parseNumber(v, o.count.emplace()) && *o.count > 0; }},
        {"--seed", [&](const std::string& v) { return parseNumber(v, o.seed.emplace()); }},
        {"--start", [&](const std::string& v) { return parseNumber(v, o.start.emplace()); }},
        {"--baud", [&](const std::string& v) { return parseBaud(v, o.baud.emplace()); }},
        {"--profile",
         [&](const std::string& v) {
             const auto p = FindProfile(v);
             if (p)
                 o.profile = *p;
             return p.has_value();
         }},
        {"--talker", [&](const std::string& v) { return parseTalkers(v, o.talkers); }},
        {"--tcp",
         [&](const std::string& v) {
             return parseNumber(v, o.tcpPort.emplace()) && *o.tcpPort <= 65535;
         }},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (const auto f = flags.find(name); f != flags.end() && !value) {
            f->second();
            continue;
        }
        const auto v = valued.find(name);
        if (v == valued.end()) {
            error = flags.count(name) ? "option " + name + " takes no value"
                                      : "unknown option '" + args[i] + "'";
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 == args.size()) {
                error = "option " + name + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!v->second(*value)) {
            error = "bad value '" + *value + "' for " + name;
            return std::nullopt;
        }
    }
    return o;
}

std::string UsageText() {
    return R"(Usage: kemsim [OPTION]...
Plays a GPS receiver for KEMGPS: NMEA 0183 sentences (RMC, GGA, GSA, GSV) with checksums and
CR LF line ends, one set a second, at 4800 baud unless --profile or --baud says otherwise. A
program that reads the pseudo-terminal set to another rate gets what a serial port would make
of it: the characters sampled bit by bit at the wrong rate, garbage with line ends only by
chance.

It opens a pseudo-terminal and prints, on the first line of its output, the device name to
enter as KEMGPS's port (for example pts/7, meaning /dev/pts/7). Without --replay it drives from
56°29.5' N 20°51' E south-east across Lithuania to Vilnius and back, crossing many map squares;
it starts without a fix and has a 3D fix after a few seconds. Stop it with Ctrl+C.

Options:
  --link PATH          also make PATH a symbolic link to the pseudo-terminal (removed at exit)
  --speed N            send N seconds of data per real second (default 1; fractions allowed;
                       0 = as fast as possible)
  --replay FILE        play a recorded NMEA log instead; its time fields (RMC, GGA, ZDA, GLL)
                       pace it at one second per time step, stopping at the end of the file
  --count N            stop after N seconds of data
  --start T            start the drive at UTC time T (seconds since 1970) instead of now, so
                       that two runs send the same times
  --stdout             write to standard output instead of a pseudo-terminal
  --split              write in random chunks of 1 byte and more, with pauses between them
  --noise              now and then insert garbage bytes or break a line
  --hangup-after SECS  after SECS real seconds close the line as if the receiver were
                       unplugged, and exit
  --seed N             seed for --split and --noise, to repeat a run exactly
  --wait               send nothing until a program has opened the port and cleared its
                       queues (as KEMGPS does when it connects), so that it gets every sentence
  --tee FILE           also write every byte that reached the port to FILE
  --baud N             talk at N baud: 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200 or
                       230400 (default: the profile's)
  --profile NAME       the kind of receiver on the drive (not for --replay), and its rate:
                         gps         GPS only, "$GP" sentences, 4800 baud (default)
                         gnss        "$GN" RMC, GGA, GSA; GSV of GPS, GLONASS, Galileo and
                                     BeiDou ("$GP", "$GL", "$GA", "$GB"); 9600 baud
                         dualband    gnss with NMEA 4.11 signal ids, two GSV cycles (signals)
                                     per constellation; 38400 baud
                         twotalkers  every fix as "$GN" and again as "$GP", the "$GP" copy void
                                     while only GLONASS has the fix (seconds 12 to 29 of
                                     every minute); 9600 baud
                         coldstart   both talkers, time fields empty for 10 s and then frozen
                                     for 6 s; 9600 baud
                         lf          lines end in LF alone; 4800 baud
                         binary      a binary protocol (u-blox UBX), no NMEA; 9600 baud
                         silent      sends nothing; 4800 baud
  --talker LIST        send RMC, GGA and GSA with these talkers instead of GP, e.g. GN (a
                       multi-constellation receiver) or GP,GN (each sentence twice); GSV stays
                       GP; also applies to --replay
  --tcp PORT           serve the sentences over TCP on 127.0.0.1:PORT instead (0: a free
                       port) to the first client, as a phone app or ser2net would; the first
                       output line is then the address to enter, e.g. tcp://127.0.0.1:10110
  -h, --help           show this text

At the end of a --replay or --count the line stays open for a second, so that the reading
program gets the last sentences before the hang-up.

Options also take the form --name=value. Exit status: 0 when done, 1 when the pseudo-terminal,
the link or the output fails, 2 for a bad option or an unreadable --replay file.
)";
}

}  // namespace kem::kemsim
