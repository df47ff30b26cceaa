#pragma once
// Field and index definitions of the table store, and its creation options.
#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

enum class TFieldType { String, AutoInc, Blob, Memo };

// Default: compressed and encrypted as the database says. Unchanged: the bytes as given.
enum class TFieldProcessing { Default, Unchanged };

struct TFieldDef {
    std::string Name; // up to 32 characters
    TFieldType DataType = TFieldType::String;
    int Size = 0; // characters, for String fields
    TFieldProcessing Processing = TFieldProcessing::Default;
};

// Index options, combined as a bit set; none means ascending, case-sensitive, not unique.
enum TIndexOption : uint32_t {
    ioPrimary = 1,
    ioUnique = 2,
    ioDescending = 4,
    ioCaseInsensitive = 8,
};
using TIndexOptions = uint32_t;

// The store's compression levels; the values are the ones callers pass around.
enum TCompressLevel : uint8_t { clMaximum = 0, clNormal = 1, clFast = 2 };

} // namespace somnex
