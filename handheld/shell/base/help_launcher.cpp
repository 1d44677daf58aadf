/*
 * Starting the help viewer at a topic.
 */
#include "shell/base/help_launcher.h"
#include "common/bounded_text.h"
#include "platform/process_start.h"

static const WCHAR HELP_VIEWER[] = L"peghelp.exe";
static const WCHAR HELP_FILE_PREFIX[] = L"file:Kestrum.htm#";

bool FormatHelpArgument(WCHAR *dst, size_t capacity, const WCHAR *topic)
{
    /* "file:Kestrum.htm#%s": the topic follows the "#" as it is, unescaped. */
    return CopyText(dst, capacity, HELP_FILE_PREFIX) && AppendText(dst, capacity, topic);
}

void OpenHelp(const WCHAR *topic)
{
    WCHAR argument[HELP_ARGUMENT_CHARS];
    if (!FormatHelpArgument(argument, HELP_ARGUMENT_CHARS, topic))
        return; /* a topic too long for the argument opens nothing rather than a cut topic */
    PlatformStartProgram(HELP_VIEWER, argument);
}
