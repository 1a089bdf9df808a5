#include "platform/AssertionHandler.h"
#include "platform/Exception.h"
#include "platform/Log.h"

void handleAssertionFailure(const char* file, int line, const std::string& description)
{
    logMessage("*** Assertion failure in %s:%d", file, line);
    throw Exception(Exception::InternalInconsistencyException, description);
}
