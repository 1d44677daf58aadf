/*
 * Bounded single-byte text for the launcher's fixed buffers. The launcher
 * links no C runtime string code, so the little it needs lives here.
 */
#ifndef DESKINSTALL_SETUP_TEXT_H
#define DESKINSTALL_SETUP_TEXT_H

/* Appends piece to the terminated text in buffer (capacity bytes, terminator
 * included). Never writes past the buffer: when the result would not fit the
 * buffer is left as it was and the call returns false. */
bool AppendIfFits(char *buffer, unsigned capacity, const char *piece);

#endif
