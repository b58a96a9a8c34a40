#pragma once

// Start-up of the program: the application object, the start-up form and the event loop.

#include "form.h"

#include <functional>
#include <memory>

namespace rt {

// Loads and shows the start-up form, then dispatches events. Closing the start-up form ends
// the program with status 0, whatever other windows of the program are still open or hidden.
int run(Form& startupForm);

int start(int& argc, char** argv, const std::function<std::unique_ptr<Form>()>& makeStartupForm);

} // namespace rt
