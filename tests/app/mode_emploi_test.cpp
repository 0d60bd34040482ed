// The instructions panel as drawn.
#include "panels/mode_emploi.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

namespace {

using namespace ecran;

TEST(ModeEmploi, EachLineIsBlackOnTheBackgroundFromColumn450) {
    const kv::Framebuffer fb = Apres([](HDC hdc) { ModeEmploi(hdc); });
    for (int i = 0; i < 10; i++) {
        const int y = lignes_mode_emploi_y[i];
        EXPECT_EQ(fb.get(450, y), kFond) << "line " << i + 1;
        EXPECT_GT(Compte(fb, kNoir, 450, y, 839, y + 15), 0) << "line " << i + 1;
        EXPECT_GT(Compte(fb, kFond, 450, y, 839, y + 15), 0) << "line " << i + 1;
    }
    // Nothing left of the panel, above it, or between the instructions and the credits.
    EXPECT_EQ(Compte(fb, kNoir, 0, 0, 449, 599), 0);
    EXPECT_EQ(Compte(fb, kFond, 0, 0, 449, 599), 0);
    EXPECT_EQ(Compte(fb, kFond, 0, 0, 839, 369), 0);
    EXPECT_EQ(Compte(fb, kFond, 450, 482, 839, 489), 0);
    EXPECT_EQ(Compte(fb, kFond, 0, 538, 839, 599), 0);
}

TEST(ModeEmploi, LongerLinesReachFurtherRight) {
    const kv::Framebuffer fb = Apres([](HDC hdc) { ModeEmploi(hdc); });
    auto bord_droit = [&](int y) {
        int droite = 0;
        for (int x = 450; x < fb.width(); x++)
            if (fb.get(x, y) == kFond) droite = x;
        return droite;
    };
    // 53 characters against 12: the third line's cells run much further than the seventh's.
    EXPECT_GT(bord_droit(402), bord_droit(466) + 150);
    EXPECT_GT(bord_droit(522), bord_droit(490));
}

} // namespace
