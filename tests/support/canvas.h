/*
 * A 32-bit memory picture to paint into and read back pixel by pixel.
 */
#ifndef KESTRUM_TESTS_CANVAS_H
#define KESTRUM_TESTS_CANVAS_H

#include <windows.h>

struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    DWORD *pixels;
    int width, height;

    /* Filled with fill, so that what was not painted shows. */
    Canvas(int w, int h, COLORREF fill);
    /* As large as the window's client area, white. */
    explicit Canvas(HWND window);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    COLORREF At(int x, int y) const;
    /* True when the rectangle holds the same pixels as on other. */
    bool SameAs(const Canvas &other, int left, int top, int right, int bottom) const;
};

#endif
