// The system's own words for an error code: a Win32, Winsock or COM code.
#pragma once

#include <string>

// Without the line end the system adds; empty when it has no text for the
// code, so that each caller says what fits in its place.
std::string SystemErrorText(unsigned long code);
