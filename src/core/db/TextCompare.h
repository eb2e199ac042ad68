// The shared text compare: case and accents folded, length bounded.
#pragma once

#include <cstdint>

namespace kinmap {

// Compares at most n bytes of a with b after folding both. Returns 0 when
// they are equal up to the end of a or up to n bytes, otherwise the
// difference of the first folded bytes that differ. Null reads as empty.
int32_t compareFolded(const char* a, const char* b, int n);

} // namespace kinmap
