#include "base/scaling.hpp"

#include <gtest/gtest.h>

namespace {

constexpr int Dpis[] = {96, 120, 144, 192};

TEST(Scaling, RoundsToTheNearestPixelHalvesAwayFromZeroAndUnscalesExactly) {
  const struct {
    int value;
    int pixels[4];  // at 96, 120, 144 and 192 DPI
  } cases[] = {{0, {0, 0, 0, 0}},           {1, {1, 1, 2, 2}},      {5, {5, 6, 8, 10}},
               {22, {22, 28, 33, 44}},      {25, {25, 31, 38, 50}}, {75, {75, 94, 113, 150}},
               {450, {450, 563, 675, 900}}, {-3, {-3, -4, -5, -6}}};
  for (const auto& c : cases) {
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(ScaleToDpi(c.value, Dpis[i]), c.pixels[i]) << c.value << " at " << Dpis[i];
  }
  for (int dpi : Dpis) {
    for (int value = -400; value <= 2000; ++value) {
      ASSERT_EQ(UnscaleFromDpi(ScaleToDpi(value, dpi), dpi), value) << value << " at " << dpi;
      const int text = ScaleToDpi(value, dpi) + 1;  // a measured width, maybe between two values
      const int cover = UnscaleToCover(text, dpi);
      ASSERT_TRUE(text < 0 || (ScaleToDpi(cover, dpi) >= text && ScaleToDpi(cover - 1, dpi) < text))
          << text << " at " << dpi;
    }
  }
}

TEST(Scaling, SpansScaleBothEndsSoThatNeighboursStillMeet) {
  EXPECT_EQ(ScaleSpan(15, 85, 120).start, 19);    // 18.75 to 125
  EXPECT_EQ(ScaleSpan(15, 85, 144).length, 127);  // 22.5 to 150: 23 to 150
  EXPECT_EQ(ScaleSpan(100, 85, 144).start, 150);  // its neighbour: 150 to 277.5, so 278
  EXPECT_EQ(ScaleSpan(100, 85, 144).length, 128);
}

}  // namespace
