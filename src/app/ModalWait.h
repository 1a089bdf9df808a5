#pragma once

#include <QStringList>

#include <functional>

// Waits on the main thread without freezing the window: a local event loop repaints and
// runs timers and queued calls, but takes no mouse or key input. Main thread only.
namespace ModalWait {

// Until `done` answers true or `timeoutMs` passes (never, when negative). Answers done().
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

// Starts the program with the argument vector (no shell), inheriting the environment,
// working directory and output, and waits until it has exited. Raises a generic
// exception naming the program and the system's reason when it cannot be started.
void runProgram(const QString& program, const QStringList& arguments);

}
