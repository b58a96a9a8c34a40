// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up in the browser: the start-up form in the page, then the page's events. The browser runs
// the event loop: run() leaves the program running when it returns to the page, its start-up form
// alive, and closing the page's tab ends the program.

#include "program.h"

#include "system.h"
#include "webdriver.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace rt {

int run(Form& startupForm)
{
    startupForm.load();
    startupForm.setVisible(true);
    rtWebListen();
    // Returns to the browser without unwinding: the forms on this stack live on with the page.
    emscripten_exit_with_live_runtime();
    return 0;
}

int start(int /*argc*/, char** /*argv*/, const ProgramInfo& /*info*/, const std::function<std::unique_ptr<Form>()>& makeStartupForm)
{
    const std::unique_ptr<Form> startupForm = makeStartupForm();
    return run(*startupForm);
}

} // namespace rt

extern "C" EMSCRIPTEN_KEEPALIVE void rtWebPutFile(const char* name, const char* bytes, int length)
{
    const std::string_view fileName(name);
    if (fileName.empty() || fileName.find('/') != std::string_view::npos || fileName == "..")
        return;
    // C's streams rather than C++'s, which would double the program's size.
    std::FILE* file = std::fopen(rt::fileIn(rt::programDirectory(), fileName).c_str(), "wb");
    if (!file)
        return;
    std::fwrite(bytes, 1, static_cast<std::size_t>(std::max(0, length)), file);
    std::fclose(file);
}
