#pragma once
// The entry that restores the card at every start of Windows: a command line that Windows runs,
// this program file with /send (command_line.h).
#include <cstddef>

#include "panel/ui/command_line.h"

// The entry for a program (wsprintf's format, with the program's full path and kSendSwitch): the
// path in double quotes, a blank and /send.
constexpr char kStartupEntryFormat[] = "\"%s\" /%s";
// Room for the longest entry the panel writes or reads.
constexpr size_t kStartupEntryCapacity = kStartFileCapacity + sizeof "\"\" /" - 1 + sizeof kSendSwitch;

// Whether the entry starts the program file at programPath with /send, read as the panel reads its
// own command line: the path first, quoted or not (an unquoted one with blanks would start the
// program with the rest of the path as a file), letter case ignored as Windows does for file
// names; then /send or -send in any case among the arguments.
bool StartupEntryStartsProgram(const char* entry, const char* programPath);
