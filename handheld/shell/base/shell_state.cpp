/* The one shell state of the process, filled by start-up. */
#include "shell/base/shell_state.h"

ShellState g_shell;
