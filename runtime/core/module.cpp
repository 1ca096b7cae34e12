// The program's own module handle, taken at start-up.
#include "runtime/core/module.h"

namespace {
HINSTANCE instance;
}

void module_instance_take()
{
    instance = GetModuleHandleA(nullptr);
}

HINSTANCE module_instance()
{
    if (!instance)
        module_instance_take();
    return instance;
}
