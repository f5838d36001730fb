// The verdicts that the evaluation window and the printed report both draw from the same figures:
// where each one turns over. Ratios are formed from whole totals as the pages form them, so a
// bound such as 13 against 10 meets the literal it is compared with.

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "desk/testing/antwortstatistik.h"
#include "desk/testing/rangfolge.h"

namespace {

double unter(double x) { return std::nextafter(x, 0.0); }

TEST(Urteile, HaupttypFluegelUndVerbindungstypenKippenAnIhrenGrenzen) {
    // Level of the mean per statement: both bounds belong to the middle text.
    EXPECT_EQ(typrang::niveauUrteil(std::nextafter(1.9f, 0.0f)), 304);
    EXPECT_EQ(typrang::niveauUrteil(1.9f), 306);
    EXPECT_EQ(typrang::niveauUrteil(2.3f), 306);
    EXPECT_EQ(typrang::niveauUrteil(std::nextafter(2.3f, 3.0f)), 305);

    // Wings 4 (lower) and 6 (upper): 1.3 already favours the lower, 0.8 no longer the upper.
    EXPECT_EQ(typrang::staerkererFluegel(13.0 / 10.0, 4, 6), 4);
    EXPECT_EQ(typrang::staerkererFluegel(unter(13.0 / 10.0), 4, 6), 0);
    EXPECT_EQ(typrang::staerkererFluegel(8.0 / 10.0, 4, 6), 0);
    EXPECT_EQ(typrang::staerkererFluegel(unter(8.0 / 10.0), 4, 6), 6);

    // Low answers of a connected type: each step starts at its count, the last one within the 14
    // statements of a type.
    for (const auto& [anzahl, erste, zweite] :
         {std::tuple{4, 0, 0}, std::tuple{5, 353, 291}, std::tuple{9, 353, 291}, std::tuple{10, 354, 291},
          std::tuple{11, 354, 291}, std::tuple{12, 355, 356}, std::tuple{14, 355, 356}}) {
        const typrang::Hinweis h = typrang::niedrigHinweis(anzahl);
        EXPECT_EQ(h.erste, erste) << anzahl;
        EXPECT_EQ(h.zweite, zweite) << anzahl;
    }

    // Second connected type: below 1 it is the stronger, at 1 as strong, 1.2 is already close, 1.4
    // no longer.
    EXPECT_EQ(typrang::zweiterVerbindungstypUrteil(unter(1.0)), 323);
    EXPECT_EQ(typrang::zweiterVerbindungstypUrteil(1.0), 324);
    EXPECT_EQ(typrang::zweiterVerbindungstypUrteil(std::nextafter(1.0, 2.0)), 362);
    EXPECT_EQ(typrang::zweiterVerbindungstypUrteil(unter(12.0 / 10.0)), 362);
    EXPECT_EQ(typrang::zweiterVerbindungstypUrteil(12.0 / 10.0), 361);
    EXPECT_EQ(typrang::zweiterVerbindungstypUrteil(unter(14.0 / 10.0)), 361);
    EXPECT_EQ(typrang::zweiterVerbindungstypUrteil(14.0 / 10.0), 0);
}

TEST(Urteile, NaeheZurSpitzeMisstDenAbstandAnDerGroesseDerSpitze) {
    // A positive top: the quotient as it always was, 17 of 20 not above the stored 0.85.
    EXPECT_EQ(typrang::naehe(17, 20), 17.0 / 20.0);
    EXPECT_FALSE(typrang::nahe(17, 20, 0.85f, false));
    EXPECT_TRUE(typrang::nahe(18, 20, 0.85f, false));
    // A negative top: the quotient would turn round (-30 of -6 is 5); measured against the top's
    // size, -30 lies four times the top's size behind it and -6.5 close to it.
    EXPECT_EQ(typrang::naehe(-30, -6), -3.0);
    EXPECT_FALSE(typrang::nahe(-30, -6, 0.85f, false));
    EXPECT_TRUE(typrang::nahe(-11, -10, 0.85f, false));
    EXPECT_FALSE(typrang::nahe(-12, -10, 0.85f, true));
    // A top of 0 has no size: only an equal score is close, at any threshold.
    EXPECT_TRUE(typrang::nahe(0, 0, 0.85f, false));
    EXPECT_FALSE(typrang::nahe(-1, 0, 0.0f, true));
}

TEST(Urteile, InformationsmassKlasseKipptAnIhrenGrenzen) {
    EXPECT_EQ(antwortstatistik::informationsKlasse(0.0), 373);
    EXPECT_EQ(antwortstatistik::informationsKlasse(unter(0.3)), 373);
    EXPECT_EQ(antwortstatistik::informationsKlasse(0.3), 375);
    EXPECT_EQ(antwortstatistik::informationsKlasse(0.7), 375);
    EXPECT_EQ(antwortstatistik::informationsKlasse(std::nextafter(0.7, 1.0)), 374);
    EXPECT_EQ(antwortstatistik::informationsKlasse(1.0), 374);
}

}  // namespace
