#pragma once

#include <functional>
#include <string>

// The developer's log: one line per message on standard error, stamped with the local
// time, the process name and id. Callable from any thread.
void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Tests capture log lines (without the stamp) by installing a sink; an empty function
// restores standard error.
using LogSink = std::function<void(const std::string&)>;
void setLogSink(LogSink sink);
