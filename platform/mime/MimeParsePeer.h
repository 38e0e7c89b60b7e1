// GMime's bare parse of a message file: what the .eml reader is measured against.
#pragma once

#include <string>

// Parses the file into GMime's message tree and nothing more; false when it is no message.
bool GMimeBareParse(const std::string& path);
