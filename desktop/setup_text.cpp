/* Bounded appending for the launcher's single-byte text buffers. */
#include "setup_text.h"

static unsigned TextLength(const char *text)
{
    unsigned length = 0;
    while (text[length] != '\0')
        length++;
    return length;
}

bool AppendIfFits(char *buffer, unsigned capacity, const char *piece)
{
    unsigned used = TextLength(buffer);
    unsigned added = TextLength(piece);
    if (used >= capacity || added >= capacity - used)
        return false;
    for (unsigned i = 0; i <= added; i++)
        buffer[used + i] = piece[i];
    return true;
}
