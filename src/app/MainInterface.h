#pragma once

#include <memory>

class AppController;
class DiscoveryEngine;
class ServerRegistry;

// Builds the three controllers and their windows, connects them (the application
// controller is the parent of the other two) and lets each finish its windows, in the
// order the program needs. Launching itself is left to the caller.
std::unique_ptr<AppController> loadMainInterface(std::unique_ptr<DiscoveryEngine> engine, ServerRegistry& registry);
