// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include <algorithm>

namespace rt {

namespace {

using Value = PlatformOption::Value;

constexpr PlatformOption ownOptions[] = {{"h"}, {"help"}, {"v"}, {"version"}};

const PlatformOption* find(std::span<const PlatformOption> options, std::string_view name)
{
    // Not std::ranges::find: Emscripten's C++ library has no ranges yet.
    const auto found = std::find_if(options.begin(), options.end(), [name](const PlatformOption& option) { return option.name == name; });
    return found != options.end() ? &*found : nullptr;
}

std::string quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

} // namespace

std::optional<CommandLineAnswer> answerCommandLine(const std::vector<std::string>& arguments, const ProgramInfo& info,
    std::span<const PlatformOption> platformOptions)
{
    bool help = false;
    bool version = false;
    // The faults, each kind named before the next; of several wrong values the last is named.
    std::optional<std::string> unknown;
    std::optional<std::string> wrongValue;
    std::optional<std::string> attachedValue;
    std::optional<std::string> stray;
    bool optionsEnded = false;
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        if (optionsEnded || argument->size() < 2 || argument->front() != '-') {
            // A lone "-" is an argument too, as it usually means standard input.
            if (!stray)
                stray = *argument;
            continue;
        }
        if (*argument == "--") {
            optionsEnded = true;
            continue;
        }
        // The option as typed, dashes and all, without a value after "=".
        const std::string_view typed = std::string_view(*argument).substr(0, argument->find('='));
        const bool hasValue = typed.size() != argument->size();
        const std::string_view name = typed.substr(typed.starts_with("--") ? 2 : 1);
        const PlatformOption* option = find(ownOptions, name);
        if (!option)
            option = find(platformOptions, name);
        if (!option) {
            if (!unknown)
                unknown = typed;
            continue;
        }
        help = help || name == "h" || name == "help";
        version = version || name == "v" || name == "version";
        if (option->value == Value::None) {
            if (hasValue)
                wrongValue = "valget " + quoted(typed) + " tar ingen verdi";
        } else if (hasValue) {
            if (option->value == Value::NextArgument && !attachedValue)
                attachedValue = typed;
        } else if (std::next(argument) == arguments.end()) {
            wrongValue = "valget " + quoted(typed) + " mangler en verdi";
        } else {
            ++argument; // its value, whatever it looks like
        }
    }

    std::string error;
    if (unknown)
        error = "ukjent valg " + quoted(*unknown);
    else if (wrongValue)
        error = *wrongValue;
    else if (attachedValue)
        error = "skriv verdien til " + quoted(*attachedValue) + " som eget argument, uten «=»";
    else if (stray)
        error = "tar ingen argumenter, fikk " + quoted(*stray);
    if (!error.empty())
        return CommandLineAnswer{1, info.name + ": " + error + "; se «" + info.name + " --help»\n", true};
    if (help)
        return CommandLineAnswer{0, info.usage, false};
    if (version)
        return CommandLineAnswer{0, info.name + ' ' + info.version + '\n', false};
    return std::nullopt;
}

} // namespace rt
