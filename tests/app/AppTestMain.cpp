#include "app/AppController.h"
#include "app/HarkenerApplication.h"

int runAppControllerTest(int argc, char** argv);
int runBarberPoleTest(int argc, char** argv);
int runMainControllerTest(int argc, char** argv);
int runPreferencesControllerTest(int argc, char** argv);
int runServerTableTest(int argc, char** argv);

// The controllers' suites share one application object: the program's own, so that an
// exception escaping a slot is caught where the program catches it.
int main(int argc, char** argv)
{
    HarkenerApplication application(argc, argv);
    // Leaving the loop would end every local event loop the later tests run.
    AppController::setQuitHandler([] {});
    int failures = 0;
    failures += runAppControllerTest(argc, argv);
    failures += runBarberPoleTest(argc, argv);
    failures += runMainControllerTest(argc, argv);
    failures += runPreferencesControllerTest(argc, argv);
    failures += runServerTableTest(argc, argv);
    return failures == 0 ? 0 : 1;
}
