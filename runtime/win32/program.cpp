// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up on Windows: the wide command line (GetCommandLineW, whatever the code page), the
// answer to --help and --version on the console or in a box, then the start-up form and the
// message loop. Closing the start-up form posts WM_QUIT: the loop ends with status 0 and every
// window of the program goes with its form. The thread is a single-threaded COM apartment, served
// by the message loop, for the controls' accessible objects. Does not: Qt's own options
// (-platform, -style, ...), which are unknown here; dialog keyboard navigation (no
// IsDialogMessage: the list is the one control that takes the focus).

#include "program.h"

#include "accessibility.h"
#include "commandline.h"
#include "console.h"
#include "utf16.h"
#include "win32driver.h"

#include <string_view>
#include <vector>

namespace rt {

namespace {

// Whether anything follows the program's name, which runs to the next quote when it starts with
// one and otherwise to the first blank.
bool hasArguments(std::wstring_view line)
{
    const std::size_t nameEnd = line.starts_with(L'"') ? line.find(L'"', 1) : line.find_first_of(L" \t");
    return nameEnd != std::wstring_view::npos && line.find_first_not_of(L" \t", nameEnd + 1) != std::wstring_view::npos;
}

// The arguments after the program's name, in UTF-8. The C runtime's argv is in the ANSI code
// page, which cannot hold every name. shell32, which splits the line, is loaded only when there
// is something to split: a plain start goes without it and the libraries it brings.
std::vector<std::string> commandLineArguments()
{
    const wchar_t* line = GetCommandLineW();
    if (!hasArguments(line))
        return {};
    using CommandLineToArgvFunction = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    const auto toArgv = win32::systemFunction<CommandLineToArgvFunction>(L"shell32.dll", "CommandLineToArgvW");
    int count = 0;
    LPWSTR* wide = toArgv ? toArgv(line, &count) : nullptr;
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(win32::narrow(wide[i]));
    if (wide)
        LocalFree(wide);
    return arguments;
}

} // namespace

int run(Form& startupForm)
{
    win32::FormWindow& window = win32::window(startupForm);
    window.onClosed([] { PostQuitMessage(0); });
    startupForm.load();
    startupForm.setVisible(true);
    MSG message{};
    BOOL got = FALSE;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    window.onClosed({});
    return got < 0 ? 1 : static_cast<int>(message.wParam);
}

int start(int /*argc*/, char** /*argv*/, const ProgramInfo& info, const std::function<std::unique_ptr<Form>()>& makeStartupForm)
{
    if (const auto answer = answerCommandLine(commandLineArguments(), info)) {
        if (answer->isError)
            win32::printError(answer->text, info.name);
        else
            win32::printOut(answer->text, info.name);
        return answer->status;
    }
    // Before any window, and ended after every one: screen readers reach the controls through COM.
    const win32::ComApartment apartment;
    const std::unique_ptr<Form> startupForm = makeStartupForm();
    if (!win32::window(*startupForm).handle()) {
        win32::printError(info.name + ": får ikke laget vinduet til spillet\n", info.name);
        return 1;
    }
    return run(*startupForm);
}

} // namespace rt
