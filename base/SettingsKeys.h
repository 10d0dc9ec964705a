#pragma once

// The keys of KEMGPS.ini (one section) with their defaults.
namespace kem::settings {

inline constexpr const char* kFileName = "KEMGPS.ini";
inline constexpr const char* kSection = "SETTINGS";

inline constexpr const char* kFont = "Font";
inline constexpr const char* kFontNormal = "Normal";
inline constexpr const char* kFontBold = "Bold";  // exact, case-sensitive
inline constexpr const char* kAutoMap = "AutoMap";
inline constexpr const char* kLog = "Log";
inline constexpr const char* kYMain = "YMain";
inline constexpr const char* kXMain = "XMain";
inline constexpr int kMainPlaceDefault = 50;
inline constexpr const char* kPeriod = "Period";
inline constexpr int kPeriodDefault = 15;
inline constexpr const char* kRadius = "Radius";
inline constexpr int kRadiusDefault = 3;
inline constexpr const char* kPort = "Port";
// Most GPS receivers are USB-serial adapters.
inline constexpr const char* kPortDefault = "ttyUSB0";
inline constexpr const char* kBaud = "Baud";
inline constexpr int kBaudDefault = 4800;
inline constexpr int kBaudAuto = 0;  // hunt for the receiver's rate
inline constexpr const char* kYSet = "YSET";
inline constexpr const char* kXSet = "XSET";
inline constexpr int kSetPlaceDefault = 100;
inline constexpr const char* kXQth = "XQTH";
inline constexpr int kXQthDefault = 300;
inline constexpr const char* kYQth = "YQTH";
inline constexpr int kYQthDefault = 200;
inline constexpr const char* kBoldQth = "BoldQTH";

}  // namespace kem::settings
