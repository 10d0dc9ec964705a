// Real receivers' logs replayed into KEMGPS with a position step on every position sentence and
// the log and automatic saving on: every log line and every saved map is what a user works out
// from the sentences with the display rules (computed here on its own, not by the program's
// decoder).

#include <gtest/gtest.h>

#include <QDate>
#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "tests/e2e/Sessions.h"

namespace kem::e2e {
namespace {

constexpr char kComma = ',';  // the decimal mark of the locale the programs run in
constexpr char kDegree = '\xB0';

// The talkers whose RMC and GGA sentences count like GPS ones.
bool fixTalker(std::string_view talker) {
    for (std::string_view known : {"GP", "GN", "GL", "GA", "GB", "BD", "GQ"}) {
        if (talker == known) {
            return true;
        }
    }
    return false;
}

// The sentence's fields at the commas, with as many empty ones after the last as a GGA reads.
std::vector<std::string> fields(const std::string& sentence) {
    std::vector<std::string> result(1);
    for (char c : sentence) {
        if (c == ',') {
            result.emplace_back();
        } else {
            result.back() += c;
        }
    }
    result.resize(std::max<std::size_t>(result.size(), 13));
    return result;
}

std::string withComma(std::string number) {
    if (const auto point = number.find('.'); point != std::string::npos) {
        number[point] = kComma;
    }
    return number;
}

// The first two digits of a minute's fraction (hundredths) as two digits of whole seconds.
std::string seconds(const std::string& fraction) {
    int h = 0;
    for (char c : fraction.substr(0, 2)) {
        h = c >= '0' && c <= '9' ? h * 10 + (c - '0') : 0;
    }
    const int s = h * 60 / 100;
    return {static_cast<char>('0' + s / 10), static_cast<char>('0' + s % 10)};
}

std::string height(const std::string& value, std::string unit) {
    for (char& c : unit) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return withComma(value) + " " + unit;
}

// The national grid square: latitude bands of 10' southwards from 56°30', longitude bands
// eastwards from 20°50', positions held as floats, the number written from its low 8 bits.
std::string square(const std::string& lat, const std::string& lon) {
    const auto degrees = [](const std::string& field, std::size_t digits) {
        const float whole = static_cast<float>(std::atoi(field.substr(0, digits).c_str()));
        return static_cast<float>(std::strtold(field.c_str() + digits, nullptr) / 60 + whole);
    };
    const float phi = degrees(lat, 2);
    const float lambda = degrees(lon, 3);
    const auto j = static_cast<long long>((lambda - 21.0L + 1.0L / 6) * 6);
    const auto i = static_cast<long long>((56.5L - phi) * 6);
    std::string number = std::to_string(j & 0xFF);
    if (number.size() == 1) {
        number.insert(number.begin(), '0');
    }
    std::string code(1, static_cast<char>((65 + i) & 0xFF));
    code += number;
    while (!code.empty() && static_cast<unsigned char>(code.front()) <= ' ') {
        code.erase(0, 1);
    }
    return code;
}

struct Expected {
    std::vector<std::string> logLines;
    std::vector<std::string> savedSquares;  // in the order they are left
    std::string clipboard;
};

// What the log, the expedition maps and the clipboard must hold after the lines, with a
// position step on every position sentence (Period 1).
//
// A receiver that sends a fix from several talkers sends the copies together, with the time of
// the fix. So the sentences of one kind fall into runs with the same time: in a run of GGAs, the
// first copy with a position of its own is the fix (the logs' checksums are all right), and the
// copies from other talkers after it are that fix again and show nothing; in a run of RMCs, a void
// copy after a valid one from another talker is ignored. A sentence without a time starts a run of
// its own.
Expected expect(const std::vector<std::string>& lines) {
    Expected e;
    std::string dateTime, latText, longText, altitude, geoid, latRaw, longRaw, current;
    std::string ggaRun, ggaFix;    // the time of the GGA run and the talker of its fix
    std::string rmcRun, rmcValid;  // the time of the RMC run and the talker of a valid copy
    for (const std::string& line : lines) {
        if (line.size() < 7 || line[0] != '$' || !fixTalker(line.substr(1, 2))) {
            continue;
        }
        const std::string type = line.substr(3, 4);
        const auto f = fields(line);
        const std::string talker = line.substr(1, 2);
        if (type == "RMC,") {
            const std::string &date = f[9], &time = f[1];
            if (time.empty() || time != rmcRun) {
                rmcRun = time;
                rmcValid.clear();
            }
            if (f[2] == "A") {
                rmcValid = talker;
            } else if (!rmcValid.empty() && talker != rmcValid) {
                continue;
            }
            dateTime.clear();
            if (date.size() == 6) {
                dateTime = (date[4] == '9' ? "19" : "20") + date.substr(4, 2) + "." +
                           date.substr(2, 2) + "." + date.substr(0, 2);
            }
            if (time.size() == 6) {
                dateTime += (dateTime.empty() ? "" : "  ") + time.substr(0, 2) + ":" +
                            time.substr(2, 2) + ":" + time.substr(4, 2) + " UTC";
            }
        } else if (type == "GGA,") {
            if (f[1].empty() || f[1] != ggaRun) {
                ggaRun = f[1];
                ggaFix.clear();
            }
            if (!ggaFix.empty() && talker != ggaFix) {
                continue;
            }
            if (!f[2].empty()) {
                latRaw = withComma(f[2]);
                latText = f[2].substr(0, 2) + kDegree + f[2].substr(2, 2) + "' " +
                          seconds((f[2].size() > 5 ? f[2].substr(5) : "") + "00") + "\" " + f[3];
            }
            if (!f[4].empty()) {
                longRaw = withComma(f[4]);
                const auto point = f[4].find('.');
                const std::string fraction =
                    point == std::string::npos ? "" : f[4].substr(point + 1);
                longText = f[4].substr(0, 3) + kDegree + f[4].substr(3, point - 3) + "' " +
                           seconds(fraction + "000") + "\" " + f[5];
                if (longText.front() == '0') {
                    longText.erase(0, 1);
                }
            }
            if (!latRaw.empty() && !longRaw.empty()) {
                if (!f[2].empty() && !f[4].empty()) {
                    ggaFix = talker;
                }
                std::string lat = latRaw, lon = longRaw;
                std::replace(lat.begin(), lat.end(), kComma, '.');
                std::replace(lon.begin(), lon.end(), kComma, '.');
                const std::string code = square(lat, lon);
                if (code != current) {
                    if (!current.empty()) {
                        e.savedSquares.push_back(current);
                    }
                    current = code;
                }
                e.logLines.push_back(dateTime + '\t' + latText + '\t' + longText + '\t' + altitude +
                                     '\t' + geoid);
                e.clipboard = latRaw + ";" + longRaw;
            }
            if (!f[9].empty()) {
                altitude = height(f[9], f[10]);
                geoid = height(f[11], f[12]);
            }
        }
    }
    return e;
}

// The lines the program gets from kemsim's replay of a log: the log's lines, each sent with
// CR LF (kemsim splits at LF; CR ends a line for the program, NUL and LF are dropped).
std::vector<std::string> receivedLines(const std::string& log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        std::string kept;
        for (char c : line) {
            if (c == '\r') {
                lines.push_back(kept);
                kept.clear();
            } else if (c != '\0') {
                kept += c;
            }
        }
        lines.push_back(kept);
    }
    return lines;
}

// Names the program gives the maps it saves today: square_MMDD.bmp, then _1, _2, ...
std::vector<std::string> savedNames(const std::vector<std::string>& squares) {
    const std::string day = QDate::currentDate().toString("_MMdd").toStdString();
    std::vector<std::string> names;
    for (const auto& square : squares) {
        std::string name = square + day + ".bmp";
        for (int n = 1; std::find(names.begin(), names.end(), name) != names.end(); ++n) {
            name = square + day + "_" + std::to_string(n) + ".bmp";
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// All fifteen logs, one after the other in one connection: about four minutes of sentences from
// receivers all over the world, so that the square changes between most of them. Sent at twenty
// times their pace, they take a quarter of a minute.
TEST(Replay, EveryLogLineAndSavedMapFollowsTheReceiverLogs) {
    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(fs::path(KEM_TEST_DATA) / "nmea")) {
        if (entry.path().extension() == ".log") {
            logs.push_back(entry.path());
        }
    }
    std::sort(logs.begin(), logs.end());
    ASSERT_EQ(logs.size(), 15u);
    std::string replay;
    for (const auto& log : logs) {
        replay += ReadFile(log);
    }
    ProgramFolder folder;
    const fs::path replayFile = folder.Dir() / "receivers.nmea";
    WriteFile(replayFile, replay);
    const Expected expected = expect(receivedLines(replay));
    ASSERT_GT(expected.logLines.size(), 150u);
    ASSERT_GT(expected.savedSquares.size(), 5u);

    Receiver receiver(folder, {"--wait", "--speed", "20", "--replay", replayFile.string()});
    folder.WriteSettings(receiver.Port(), {"Period=1", "Log=1", "AutoMap=1"});
    Program kemgps(folder, KemgpsOptions());
    kemgps.Press("alt+p");  // "&Prijungti"
    EXPECT_TRUE(receiver.Ended(120s));
    WaitUntil([&] { return folder.LogLines().size() >= expected.logLines.size(); }, 30s);
    const std::string clipboard = Desktop::Get().Clipboard();
    kemgps.Press("alt+b");  // "&Baigti"
    const auto status = kemgps.End();
    ASSERT_TRUE(status) << "KEMGPS did not end";
    EXPECT_TRUE(ExitedCleanly(*status)) << DescribeStatus(*status) << kemgps.Run().Output();

    const auto logged = folder.LogLines();
    EXPECT_EQ(logged.size(), expected.logLines.size());
    for (std::size_t i = 0; i < std::min(logged.size(), expected.logLines.size()); ++i) {
        ASSERT_EQ(logged[i], expected.logLines[i]) << "log line " << i + 1;
    }
    EXPECT_EQ(clipboard, expected.clipboard);
    std::vector<std::string> saved = ProgramFolder::Names(folder.Expeditions());
    for (const char* other : {"Log.txt", "Kvadratai.txt"}) {  // the log, the visited squares
        saved.erase(std::remove(saved.begin(), saved.end(), other), saved.end());
    }
    EXPECT_EQ(saved, savedNames(expected.savedSquares));
    for (const auto& name : saved) {
        SCOPED_TRACE(name);
        const QImage map = LoadBitmap(folder.Expeditions() / name);
        EXPECT_EQ(map.size(), kSheet.size());
        EXPECT_GT(CountPixels(map, kMarkRed), 0);
    }
}

}  // namespace
}  // namespace kem::e2e
