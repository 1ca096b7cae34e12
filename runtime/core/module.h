// The program's own module: the instance handle that window classes, controls
// and resources are registered under.
#pragma once

#include <windows.h>

// Taken once by the start chain; asks the platform if the chain has not run.
HINSTANCE module_instance();
void module_instance_take();
