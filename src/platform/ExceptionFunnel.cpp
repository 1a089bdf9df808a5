#include "platform/ExceptionFunnel.h"
#include "platform/Exception.h"
#include "platform/Log.h"

#include <mutex>

namespace {
std::mutex s_sinkMutex;
ExceptionSink s_sink;
}

void setExceptionSink(ExceptionSink sink)
{
    std::lock_guard lock(s_sinkMutex);
    s_sink = std::move(sink);
}

void postExceptionToApplication(const Exception& exception)
{
    ExceptionSink sink;
    {
        std::lock_guard lock(s_sinkMutex);
        sink = s_sink;
    }
    if (sink)
        sink(exception);
    else
        logMessage("%s: %s", exception.name().c_str(), exception.reason().c_str());
}
