#pragma once
// Small text helpers on fixed buffers; the programs carry no string library.
#include <cstddef>

// Length of `text`, or `capacity` when no terminator lies within the first `capacity` bytes.
size_t BoundedLength(const char* text, size_t capacity);

// True when the two strings are equal ignoring the case of the letters A to Z only, so that the
// result does not depend on the code page or locale.
bool EqualIgnoringAsciiCase(const char* a, const char* b);
