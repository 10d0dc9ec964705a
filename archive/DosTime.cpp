#include "archive/DosTime.h"

namespace kem::archive {
namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = kFirstYear + 127;  // seven bits of year

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

DosDateTime ToDosDateTime(std::time_t fileTime) {
    constexpr DosDateTime kEarliest{0, 1 << 5 | 1};  // 1980-01-01 00:00:00
    constexpr DosDateTime kLatest{23 << 11 | 59 << 5 | 29, 127 << 9 | 12 << 5 | 31};
    std::tm t{};
    if (localtime_r(&fileTime, &t) == nullptr) {
        return fileTime < 0 ? kEarliest : kLatest;
    }
    const int year = t.tm_year + 1900;
    if (year < kFirstYear) {
        return kEarliest;
    }
    if (year > kLastYear) {
        return kLatest;
    }
    // A leap second (tm_sec 60) stays within the 5-bit field as 30.
    const auto time = static_cast<std::uint16_t>(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
    const auto date =
        static_cast<std::uint16_t>((year - kFirstYear) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
    return {time, date};
}

std::optional<std::time_t> FromDosDateTime(DosDateTime dos) {
    const int year = kFirstYear + (dos.date >> 9);
    const int month = dos.date >> 5 & 0x0F;
    const int day = dos.date & 0x1F;
    const int hour = dos.time >> 11;
    const int minute = dos.time >> 5 & 0x3F;
    const int second = (dos.time & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return std::nullopt;
    }
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;  // let the zone rules decide whether summer time applied then
    const std::time_t result = std::mktime(&t);
    if (result == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return result;
}

}  // namespace kem::archive
