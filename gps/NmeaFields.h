#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kem::gps {

// Raised when a decoder reads a field the sentence does not have; it ends the batch.
class MissingField : public std::out_of_range {
public:
    explicit MissingField(std::size_t index);
};

// The fields of one sentence, split as comma text: fields are numbered from 0 (the sentence
// name); blanks and control characters before a field are skipped; a field ends at a comma or at
// any byte of code 32 or less (so a blank inside a field starts a new field); two adjacent commas
// give an empty field and a comma at the very end one final empty field; a field that begins with
// a double quote is a quoted string ("" inside stands for one quote; a missing closing quote runs
// to the end). An empty text gives no fields.
class NmeaFields {
public:
    void Split(std::string_view text);

    std::size_t Count() const { return m_count; }
    // Throws MissingField past the end.
    const std::string& At(std::size_t index) const;

private:
    std::string& Next();
    std::string_view::size_type ReadQuoted(std::string_view text, std::string_view::size_type pos,
                                           std::string& out);

    // Strings keep their capacity between sentences.
    std::vector<std::string> m_fields;
    std::size_t m_count = 0;
};

}  // namespace kem::gps
