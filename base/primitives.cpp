#include "base/primitives.h"

void CreateLine(HDC hdc, int x1, int y1, int x2, int y2) {
    POINT points[2];
    points[0].x = x1;
    points[0].y = y1;
    points[1].x = x2;
    points[1].y = y2;
    Polyline(hdc, points, 2);
}

void CreatePoint(HDC hdc, int x, int y) {
    CreateLine(hdc, x, y, x, y);
}
