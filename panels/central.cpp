#include "panels/central.h"

#include "base/geometrie.h"
#include "base/palette.h"

void CentralPaint(HDC hdc, int r) {
    SelectObject(hdc, background_brush);
    SelectObject(hdc, background_pen);
    Ellipse(hdc, CENTRE_X - r, CENTRE_Y - r, CENTRE_X + r, CENTRE_Y + r);
}
