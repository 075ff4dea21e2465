// The interactive session of sumtra-cli: reads lines from the terminal with
// editing, a history kept between sessions, and Tab completion of the names
// defined so far. Running a line, and everything printed for it, is the caller's.
#pragma once
#include <functional>
#include <string>

// Returns at the end of input (Ctrl+D). Run gets each line that is not blank, as UTF-8.
void RunConsole(const char* Prompt, const std::function<void(const std::string& Line)>& Run);
