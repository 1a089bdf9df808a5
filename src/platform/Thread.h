#pragma once

#include <string>

// Names the calling thread (shown in its description and by the debugger).
void setCurrentThreadName(const std::string& name);

// A description of the calling thread for log lines, such as
// "<Thread: 0x7f3a2c000b70>{name = engine}".
std::string currentThreadDescription();
