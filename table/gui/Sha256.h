#pragma once

#include <string>

// A table's "Prüfsumme" of its fingerprint text: SHA-256 in 64 upper-case hex digits.
std::string sha256Hex(const std::string& bytes);
