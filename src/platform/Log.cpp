#include "platform/Log.h"
#include "platform/Format.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex s_sinkMutex;
LogSink s_sink;

std::string timeStamp()
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local {};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return stringWithFormat("%s.%03lld", text, static_cast<long long>(millis));
}

}

void setLogSink(LogSink sink)
{
    std::lock_guard lock(s_sinkMutex);
    s_sink = std::move(sink);
}

void logMessage(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::string message = stringWithFormatV(format, arguments);
    va_end(arguments);

    std::lock_guard lock(s_sinkMutex);
    if (s_sink) {
        s_sink(message);
        return;
    }
    std::string line = stringWithFormat("%s %s[%d] %s\n", timeStamp().c_str(),
        program_invocation_short_name, static_cast<int>(getpid()), message.c_str());
    std::fwrite(line.data(), 1, line.size(), stderr);
}
