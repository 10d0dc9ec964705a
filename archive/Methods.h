#pragma once

#include <cstdint>

#include "archive/Decoders.h"
#include "archive/ZipFormat.h"

namespace kem::archive {

// One entry's data on its way through a decoder.
struct EntryData {
    ByteSource& source;  // the compressed bytes, counted down
    BitReader& bits;     // the same bytes read as codes
    EntryWriter& out;
    const LocalHeader& header;
    const Report& report;
};

// A compression method that the extractor decodes.
struct Method {
    std::uint16_t number;
    const char* name;
    void (*decode)(const EntryData& entry);
    // Reported when the decoder cannot have its tables (std::bad_alloc); null for stored data,
    // which needs none.
    const char* noMemory;
};

// The method of that number; null for one the extractor does not know.
const Method* FindMethod(std::uint16_t number);

}  // namespace kem::archive
