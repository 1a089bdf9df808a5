#pragma once

#include <functional>

class Exception;

// The one road by which an exception raised on any thread reaches the user. Worker
// threads hand what they catch to postExceptionToApplication(); the application installs
// the sink that queues it for its main thread. Until a sink is installed, the exception
// is logged. Callable from any thread.
void postExceptionToApplication(const Exception& exception);

using ExceptionSink = std::function<void(const Exception&)>;
// Installs the application's sink; an empty function restores logging.
void setExceptionSink(ExceptionSink sink);
