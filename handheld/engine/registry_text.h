/*
 * Reading a text value (a folder path) from the registry into a path buffer
 * of 260 characters, with the capacity of 520 bytes that the cleaning tasks
 * use. A value is only used when it is a whole, terminated text that fits
 * and is stored as text (REG_SZ or REG_EXPAND_SZ).
 */
#ifndef KESTRUM_ENGINE_REGISTRY_TEXT_H
#define KESTRUM_ENGINE_REGISTRY_TEXT_H

#include <windows.h>

/* Reads valueName of root\keyPath into path (PATH_CHARS characters). Returns
 * false, with path empty, when the key or value is missing, the value is
 * not stored as text, does not fit, or is not terminated within the buffer. */
bool ReadRegistryPath(HKEY root, const WCHAR *keyPath, const WCHAR *valueName, WCHAR *path);

/* Makes the bytesStored bytes read into text (capacity characters) a
 * terminated text: the stored terminator is kept, a missing one is added
 * when there is room. False when there is no room for it. */
bool TerminateStoredText(WCHAR *text, DWORD bytesStored, size_t capacity);

#endif
