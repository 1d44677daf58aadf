#include "canvas.h"

static RECT ClientOf(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return client;
}

Canvas::Canvas(int w, int h, COLORREF fill) : width(w), height(h)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = NULL;
    dc = CreateCompatibleDC(NULL);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    previous = SelectObject(dc, bitmap);
    pixels = (DWORD *)bits;
    /* A DIB keeps 0x00RRGGBB; a COLORREF is 0x00BBGGRR. */
    DWORD pixel = (DWORD)(GetRValue(fill) << 16 | GetGValue(fill) << 8 | GetBValue(fill));
    for (int i = 0; i < w * h; i++)
        pixels[i] = pixel;
}

Canvas::Canvas(HWND window) : Canvas(ClientOf(window).right, ClientOf(window).bottom, RGB(255, 255, 255)) {}

Canvas::~Canvas()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

COLORREF Canvas::At(int x, int y) const
{
    DWORD p = pixels[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool Canvas::SameAs(const Canvas &other, int left, int top, int right, int bottom) const
{
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++)
            if (At(x, y) != other.At(x, y))
                return false;
    return true;
}
