#pragma once
// The filter language: Name='value' conditions joined by "and". A quote always ends a value
// (there is no escape), so a value holding a quote cannot be written and the filter fails.
#include <string>
#include <string_view>
#include <vector>

namespace somnex {

struct FilterCondition {
    std::string field;
    std::string value;
};

// Raises the store's filter error for anything else; an empty or blank text is no condition.
std::vector<FilterCondition> parseFilter(std::string_view text);

} // namespace somnex
