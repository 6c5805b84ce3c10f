#pragma once
// The frame of a system-exclusive message, the one kind of message the panel sends, saves and
// reads back: F0h, the data bytes (each below 80h), F7h.
#include <cstdint>

constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kSysExEnd = 0xF7;
