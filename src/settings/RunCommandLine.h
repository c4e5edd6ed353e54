// Reading a command from the list of programs Windows starts at logon: which program it
// starts, so that an entry made by an installer, an administrator or an earlier run is
// recognised as ours whatever its quoting or the case of its letters.
#pragma once
#include <string>

namespace runcommand {

// True when the command starts the program at programPath: the path alone or followed by
// arguments, quoted or not, with A to Z matching either case as file names do on Windows.
bool StartsProgram(const std::wstring& command, const std::wstring& programPath);

}  // namespace runcommand
