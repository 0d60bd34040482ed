// Drawing the application's operations into a plain framebuffer, and reading back what a user
// would see.
#pragma once

#include "core/framebuffer.h"
#include "gdi/memory_dc.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "drawing/masdessin.h"

#include <initializer_list>
#include <sstream>
#include <string>

namespace ecran {

// A colour the program never draws with, so every pixel it touches shows.
inline constexpr COLORREF kVide = RGB(12, 34, 56);

inline constexpr COLORREF kNoir = RGB(0, 0, 0);
inline constexpr COLORREF kBlanc = RGB(255, 255, 255);
inline constexpr COLORREF kFond = RGB(0, 200, 200); // the window's background
inline constexpr COLORREF kGris = RGB(170, 170, 170);
inline constexpr COLORREF kCuivre = RGB(255, 110, 0);
inline constexpr COLORREF kJaune = RGB(255, 255, 0);
inline constexpr COLORREF kJauneFonce = RGB(155, 155, 0);
inline constexpr COLORREF kRouge = RGB(255, 0, 0);
inline constexpr COLORREF kVert = RGB(0, 255, 0);

// Wider than the window's client area, so that the plot's right edge (x = 810) shows too.
inline kv::Framebuffer Vide() {
    return kv::Framebuffer(840, 600, kVide);
}

// Runs `dessin` on a fresh device context (Win32's defaults) over `fb`.
template <class Dessin> void Sur(kv::Framebuffer& fb, Dessin&& dessin) {
    kv::gdi::ScopedDC dc(fb);
    dessin(dc.get());
}

// The screen after `dessin` on an empty screen, through one device context.
template <class Dessin> kv::Framebuffer Apres(Dessin&& dessin) {
    kv::Framebuffer fb = Vide();
    Sur(fb, dessin);
    return fb;
}

struct Segment {
    int x1, y1, x2, y2;
};

// The expected picture: plain two-point polylines in `pen`, in the order given.
inline void Traits(HDC hdc, HPEN pen, std::initializer_list<Segment> segments) {
    SelectObject(hdc, pen);
    for (const Segment& s : segments) {
        POINT p[2];
        p[0].x = s.x1;
        p[0].y = s.y1;
        p[1].x = s.x2;
        p[1].y = s.y2;
        Polyline(hdc, p, 2);
    }
}

// Where two screens first differ, or "" when they are the same.
inline std::string Difference(const kv::Framebuffer& obtenu, const kv::Framebuffer& attendu) {
    int n = 0;
    std::ostringstream out;
    for (int y = 0; y < attendu.height(); y++)
        for (int x = 0; x < attendu.width(); x++)
            if (obtenu.get(x, y) != attendu.get(x, y)) {
                if (n < 8)
                    out << "(" << x << ", " << y << ") is " << std::hex << obtenu.get(x, y)
                        << " not " << attendu.get(x, y) << std::dec << "; ";
                n++;
            }
    if (n > 0) out << n << " pixels differ";
    return out.str();
}

// The two screens are the same, and the expected one shows something: a comparison of two empty
// screens proves nothing.
inline testing::AssertionResult MemeDessin(const kv::Framebuffer& obtenu,
                                           const kv::Framebuffer& attendu) {
    if (Difference(attendu, Vide()).empty())
        return testing::AssertionFailure() << "the expected picture is empty";
    const std::string d = Difference(obtenu, attendu);
    if (!d.empty()) return testing::AssertionFailure() << d;
    return testing::AssertionSuccess();
}

// Pixels of colour c in the box [x0, x1] by [y0, y1], bounds included.
inline int Compte(const kv::Framebuffer& fb, COLORREF c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++)
            if (fb.get(x, y) == c) n++;
    return n;
}

inline int Compte(const kv::Framebuffer& fb, COLORREF c) {
    return Compte(fb, c, 0, 0, fb.width() - 1, fb.height() - 1);
}

// A motor drawing that shows the three coils' fields and the resultant as asked.
inline tagMasDessin MasDessin(bool champ1, bool champ2, bool champ3, bool resultant) {
    tagMasDessin d;
    d.show_field1 = champ1;
    d.show_field2 = champ2;
    d.show_field3 = champ3;
    d.show_resultant = resultant;
    return d;
}

} // namespace ecran
