/*
 * Stand-in for the desktop application manager in deskinstall's whole-run
 * tests. It records the arguments it was started with (its command line
 * without the program name) and its current directory, one per line, in
 * D:\Temp\appmgr-started.txt, and ends.
 */
#include <windows.h>

static const char *SkipProgramName(const char *line)
{
    if (*line == '"') {
        line++;
        while (*line && *line != '"')
            line++;
        if (*line == '"')
            line++;
    } else {
        while (*line && *line != ' ' && *line != '\t')
            line++;
    }
    if (*line == ' ')
        line++;
    return line;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char *arguments = SkipProgramName(GetCommandLineA());
    char directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH)
        lstrcpyA(directory, "?");
    HANDLE file = CreateFileA("D:\\Temp\\appmgr-started.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written;
    WriteFile(file, arguments, lstrlenA(arguments), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    WriteFile(file, directory, lstrlenA(directory), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
    return 0;
}
