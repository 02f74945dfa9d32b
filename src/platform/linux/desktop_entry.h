#pragma once

// The desktop's default web browser as xdg-open finds it on a desktop of no
// particular kind: the application that xdg-mime names for web addresses,
// and the command line of its desktop entry.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kazunavi {

// The Exec value of the [Desktop Entry] group of a desktop file's text;
// nullopt when it has none.
std::optional<std::string> desktopEntryExec(std::string_view fileText);

// The words of an Exec value for one address: the value's escapes undone,
// split where the format's double quotes allow, %f %F %u %U replaced by the
// address (added at the end when none stands), %% by '%', any other field
// code dropped. nullopt for a value left with an open quote.
std::optional<std::vector<std::string>> execWords(std::string_view exec, std::string_view address);

// The desktop file of an application id in the applications folders of
// $XDG_DATA_HOME (else ~/.local/share) and $XDG_DATA_DIRS (else
// /usr/local/share:/usr/share), given as NAME=value entries.
std::optional<std::filesystem::path> desktopFileOf(std::string_view id,
                                                   const std::vector<std::string>& environment);

// The Exec value of the default web browser's desktop entry: xdg-mime asked
// for the handler of http addresses, its desktop file read. nullopt when
// none is set or found.
std::optional<std::string> defaultBrowserExec(const std::vector<std::string>& environment);

}  // namespace kazunavi
