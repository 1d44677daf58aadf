/*
 * A program for tests of the device harness itself, by its one argument:
 *   ok         ends at once with status 0
 *   block      makes D:\probe-running, then waits until it is killed
 *   read-null  reads through a null pointer
 */
#include <windows.h>
#include <string.h>

// Read at run time, so the compiler cannot tell the read faults and put a
// trap of its own in its place.
static const char *volatile null_pointer = NULL;

// A real page fault in the undefined-behaviour-trapping build too, whose own
// null check would otherwise stop the read as an illegal instruction.
__attribute__((no_sanitize_undefined)) static int ReadNull(void)
{
    return *null_pointer;
}

int main(int argc, char **argv)
{
    if (argc != 2) return 2;
    if (strcmp(argv[1], "ok") == 0) return 0;
    if (strcmp(argv[1], "read-null") == 0) return ReadNull();
    if (strcmp(argv[1], "block") == 0) {
        HANDLE never = CreateEventW(NULL, TRUE, FALSE, NULL);
        HANDLE mark = CreateFileW(L"\\probe-running", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (never == NULL || mark == INVALID_HANDLE_VALUE) return 3;
        CloseHandle(mark);
        WaitForSingleObject(never, INFINITE);   // nothing sets it
    }
    return 2;
}
