#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gps/NmeaFields.h"

namespace kem::gps {
namespace {

TEST(NmeaFields, SplitsAsCommaText) {
    struct Case {
        const char* text;
        std::vector<std::string> want;
    } const cases[] = {
        {"$GPGSA,A,3", {"$GPGSA", "A", "3"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},       // a trailing comma gives one empty field
        {"a,,", {"a", "", ""}},  //
        {"a, ", {"a"}},          // but not when a blank follows it
        {",a", {"", "a"}},       //
        {"  \x01"
         "a , b",
         {"a", "b"}},                    // blanks before a field are skipped
        {"ab cd,e", {"ab", "cd", "e"}},  // a blank ends a field
        {"a\x7f\xb0,b", {"a\x7f\xb0", "b"}},
        {"\"x,y\",z", {"x,y", "z"}},             // quoted
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},  // doubled quotes
        {"\"open,end", {"open,end"}},            // no closing quote
        {"\"ab\"cd", {"ab", "cd"}},
        {"", {}},
        {"   ", {}},
    };
    NmeaFields fields;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        fields.Split(c.text);
        std::vector<std::string> got;
        for (std::size_t i = 0; i < fields.Count(); ++i) {
            got.push_back(fields.At(i));
        }
        EXPECT_EQ(got, c.want);
    }
}

TEST(NmeaFields, ReadingPastTheLastFieldThrows) {
    NmeaFields fields;
    fields.Split("a,b,c,d,e");
    fields.Split("x,y");  // reused storage must not leak the longer sentence's fields
    EXPECT_EQ(fields.Count(), 2u);
    EXPECT_EQ(fields.At(1), "y");
    EXPECT_THROW(fields.At(2), MissingField);
}

}  // namespace
}  // namespace kem::gps
