// Reading a command from the list of programs Windows starts at logon: which program it
// starts, so that an entry made by an installer, an administrator or an earlier run is
// recognised as ours whatever its quoting or the way it writes the path.
#pragma once
#include <functional>
#include <string>

namespace runcommand {

// Whether a path leads to the program in question; the file system decides (letter case,
// short names), not a comparison of texts.
using IsProgram = std::function<bool(const std::wstring& path)>;

// True when the command starts the program: its path alone or followed by arguments,
// quoted or not. Unquoted, Windows tries the text up to each blank in turn, so any of
// those that leads to the program counts.
bool StartsProgram(const std::wstring& command, const IsProgram& isProgram);

}  // namespace runcommand
