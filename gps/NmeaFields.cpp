#include "gps/NmeaFields.h"

namespace kem::gps {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

constexpr char kQuote = '"';

}  // namespace

MissingField::MissingField(std::size_t index)
    : std::out_of_range("sentence has no field " + std::to_string(index)) {}

const std::string& NmeaFields::At(std::size_t index) const {
    if (index >= m_count) {
        throw MissingField(index);
    }
    return m_fields[index];
}

std::string& NmeaFields::Next() {
    if (m_count == m_fields.size()) {
        m_fields.emplace_back();
    }
    std::string& field = m_fields[m_count++];
    field.clear();
    return field;
}

std::string_view::size_type NmeaFields::ReadQuoted(std::string_view text,
                                                   std::string_view::size_type pos,
                                                   std::string& out) {
    ++pos;  // the opening quote
    while (pos < text.size()) {
        if (text[pos] != kQuote) {
            out += text[pos++];
        } else if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
            out += kQuote;
            pos += 2;
        } else {
            return pos + 1;  // past the closing quote
        }
    }
    return pos;
}

void NmeaFields::Split(std::string_view text) {
    m_count = 0;
    const auto size = text.size();
    std::string_view::size_type pos = 0;
    auto skipBlanks = [&] {
        while (pos < size && IsBlankOrControl(text[pos])) {
            ++pos;
        }
    };
    skipBlanks();
    while (pos < size) {
        std::string& field = Next();
        if (text[pos] == kQuote) {
            pos = ReadQuoted(text, pos, field);
        } else {
            const auto start = pos;
            while (pos < size && !IsBlankOrControl(text[pos]) && text[pos] != ',') {
                ++pos;
            }
            field.assign(text, start, pos - start);
        }
        skipBlanks();
        if (pos < size && text[pos] == ',') {
            ++pos;
            if (pos == size) {
                Next();  // a trailing comma gives one final empty field
            }
            skipBlanks();
        }
    }
}

}  // namespace kem::gps
