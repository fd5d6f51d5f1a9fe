// The image service with real bitmaps: what DecodeImage makes of each kind of
// file (row order included), what ScaleImage does and refuses, and how an
// ImageView takes their size and reports a drag. (How it draws them is seen
// on the screen in the About window's end-to-end test.)
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "assets/logo.hpp"
#include "tests/toolkit/toolkit_test_support.hpp"
#include "tests/unit/image_samples.hpp"
#include "toolkit/events.hpp"
#include "toolkit/images.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/views.hpp"

namespace {

// Pixel x, y (top row 0) of a bitmap section, or of an icon drawn into one.
Rgba PixelOf(int image, int x, int y) {
  ImageFacts facts = ImageFactsOf(image);
  BitmapHolder drawn;
  auto bitmap = static_cast<HBITMAP>(NativeImageHandle(image));
  if (facts.isIcon) {
    drawn.Reset(CreateBitmapSection(facts.width, facts.height, 32));
    MemoryContext target(drawn.Get());
    DrawIconEx(target.Get(), 0, 0, static_cast<HICON>(NativeImageHandle(image)), facts.width,
               facts.height, 0, nullptr, DI_NORMAL);
    bitmap = drawn.Get();
  }
  PixelRows rows = SectionRows(bitmap);
  const uint8_t* p = rows.firstRow + y * rows.stride + x * (rows.depth / 8);
  return Rgba{p[0], p[1], p[2], rows.depth == 32 ? p[3] : uint8_t{255}};
}

// Whether the bitmap's first memory row holds the picture's bottom row.
bool BottomUp(int image) {
  DIBSECTION section{};
  GetObjectA(NativeImageHandle(image), sizeof section, &section);
  return section.dsBmih.biHeight > 0;
}

struct DecodeCase {
  const char* name;
  Bytes file;
  ImageFacts facts;
  std::optional<PngKind> pixels;  // the pattern as it must come out (Rgb8: opaque)
};

TEST(DecodeImage, EachFormatGivesItsBitmapOrIcon) {
  constexpr int W = 9, H = 7;
  const DecodeCase cases[] = {
      {"PNG truecolour", MakePng(PngKind::Rgb8, W, H), {W, H, 24, 24, false}, PngKind::Rgb8},
      {"PNG with alpha", MakePng(PngKind::Rgba8, W, H), {W, H, 32, 32, false}, PngKind::Rgba8},
      {"bitmap with alpha", MakeBitmapFile(W, H, false), {W, H, 32, 32, false}, PngKind::Rgba8},
      {"bitmap, all alpha 0: opaque",
       MakeBitmapFile(W, H, true),
       {W, H, 32, 32, false},
       PngKind::Rgb8},
      // The 16 x 16 entry with the most bits: the 32-bit pattern, not the grey 8-bit one.
      {"icon", MakeIconFile(), {16, 16, 32, 32, true}, PngKind::Rgb8},
      {"logo", Bytes(LogoPng, LogoPng + LogoPngLength), {128, 128, 32, 32, false}, std::nullopt},
  };
  int images = LiveImageCount();
  for (const DecodeCase& test : cases) {
    SCOPED_TRACE(test.name);
    int image = DecodeImage(AutoId, test.file.data(), test.file.size());
    ASSERT_NE(image, 0);
    ImageFacts facts = ImageFactsOf(image);
    EXPECT_EQ(facts.width, test.facts.width);
    EXPECT_EQ(facts.height, test.facts.height);
    EXPECT_EQ(facts.depth, test.facts.depth);
    EXPECT_EQ(facts.sourceDepth, test.facts.sourceDepth);
    EXPECT_EQ(facts.isIcon, test.facts.isIcon);
    if (!facts.isIcon) {
      EXPECT_TRUE(BottomUp(image));
    }
    for (int y = 0; y < facts.height && test.pixels; ++y) {
      for (int x = 0; x < facts.width; ++x)
        ASSERT_EQ(PixelOf(image, x, y), DecodedPixel(*test.pixels, x, y)) << x << "," << y;
    }
    ReleaseImage(image);
  }
  const char garbage[] = "neither bitmap nor icon nor PNG";
  EXPECT_EQ(DecodeImage(AutoId, garbage, sizeof garbage), 0);
  EXPECT_EQ(LiveImageCount(), images);
}

TEST(ScaleImage, ReplacesTheBitmapOnlyWhenItSucceeds) {
  int logo = DecodeImage(AutoId, LogoPng, LogoPngLength);
  auto original = static_cast<HBITMAP>(NativeImageHandle(logo));
  EXPECT_EQ(ScaleImage(logo, 128, 128), original) << "same size: nothing happens";
  for (int refused : {0, -5, MaxImageSide + 1}) {
    EXPECT_EQ(ScaleImage(logo, refused, 100), nullptr);
    EXPECT_EQ(NativeImageHandle(logo), original);
    EXPECT_EQ(ImageFactsOf(logo).width, 128);
    EXPECT_EQ(GetObjectType(original), static_cast<DWORD>(OBJ_BITMAP)) << "old bitmap kept";
  }
  NativeHandle scaled = ScaleImage(logo, 100, 100);
  ASSERT_NE(scaled, nullptr);
  EXPECT_EQ(NativeImageHandle(logo), scaled);
  EXPECT_EQ(ImageFactsOf(logo).height, 100);
  EXPECT_EQ(GetObjectType(original), 0u) << "old bitmap deleted";
  // The resampler keeps the logo's transparent corner transparent, reading white.
  EXPECT_EQ(PixelOf(logo, 0, 0), (Rgba{255, 255, 255, 0}));
  ReleaseImage(logo);

  Bytes icon = MakeIconFile();
  int iconImage = DecodeImage(AutoId, icon.data(), icon.size());
  EXPECT_EQ(ScaleImage(iconImage, 32, 32), nullptr);
  EXPECT_EQ(ImageFactsOf(iconImage).width, 16);
  ReleaseImage(iconImage);
}

// A 24-bit image is stretched: twice as large colour on colour (each pixel
// repeated), and back in smooth mode with the halftone stretch.
TEST(ScaleImage, TwentyFourBitImagesAreStretched) {
  Bytes file = MakePng(PngKind::Rgb8, 9, 7);
  int image = DecodeImage(AutoId, file.data(), file.size());
  for (int factor : {2, 1}) {
    int mode = factor == 2 ? RawScaling : SmoothScaling;
    ASSERT_NE(ScaleImage(image, 9 * factor, 7 * factor, mode), nullptr);
    EXPECT_EQ(ImageFactsOf(image).depth, 24);
    for (int y = 0; y < 7 * factor; ++y) {
      for (int x = 0; x < 9 * factor; ++x) {
        ASSERT_EQ(PixelOf(image, x, y), DecodedPixel(PngKind::Rgb8, x / factor, y / factor))
            << factor << ": " << x << "," << y;
      }
    }
  }
  ReleaseImage(image);
}

// ----- ImageView ----------------------------------------------------------------

class ImageViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ =
        static_cast<int>(WindowOpen(AutoId, 0, 0, 300, 200, "Images", CentreOnScreen, nullptr));
    ASSERT_NE(window_, 0);
  }
  void TearDown() override {
    WindowClose(window_);
    for (int image : images_)
      ReleaseImage(image);
  }
  NativeHandle Decoded(const Bytes& file) {
    images_.push_back(DecodeImage(AutoId, file.data(), file.size()));
    return NativeImageHandle(images_.back());
  }

  int window_ = 0;
  std::vector<int> images_;
};

TEST_F(ImageViewTest, TakesTheSizeOfItsImage) {
  NativeHandle logo = Decoded(Bytes(LogoPng, LogoPng + LogoPngLength));
  NativeHandle icon = Decoded(MakeIconFile());
  int view = static_cast<int>(CreateImageView(AutoId, 20, 30, 10, 10, logo));
  EXPECT_EQ(ControlWidth(view), 128);
  EXPECT_EQ(ControlHeight(view), 128);
  EXPECT_EQ(ControlGetState(view), reinterpret_cast<intptr_t>(logo));
  ControlSetState(view, reinterpret_cast<intptr_t>(icon));
  EXPECT_EQ(ControlWidth(view), 16);
  EXPECT_EQ(ControlHeight(view), 16);
  EXPECT_EQ(ControlX(view), 20);
  EXPECT_EQ(ControlY(view), 30);
  int empty = static_cast<int>(CreateImageView(AutoId, 150, 30, 100, 100, nullptr));
  EXPECT_EQ(ControlWidth(empty), 100) << "no picture: the size stays";
  EXPECT_EQ(ControlGetState(empty), 0);
}

void LeftButton(DWORD flag) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  SendInput(1, &input, sizeof(INPUT));
}

bool DragSeen(int view) {
  return PumpUntil(
      [view] { return EventSourceControl() == view && EventDetail() == DetailDragBegin; }, 500);
}

TEST_F(ImageViewTest, DraggingPastTheDragDistancePostsDragBegin) {
  int view = static_cast<int>(
      CreateImageView(AutoId, 10, 10, 1, 1, Decoded(Bytes(LogoPng, LogoPng + LogoPngLength))));
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window_))));
  POINT centre = CentreOf(static_cast<HWND>(ControlHandle(view)));
  struct Drag {
    int distance;
    bool posts;
  };
  for (Drag drag : {Drag{1, false}, Drag{12, true}}) {
    MovePointerTo(centre);
    PumpEvents(50);
    LeftButton(MOUSEEVENTF_LEFTDOWN);
    PumpEvents(50);
    MovePointerTo(POINT{centre.x + drag.distance, centre.y});
    EXPECT_EQ(DragSeen(view), drag.posts) << drag.distance;
    LeftButton(MOUSEEVENTF_LEFTUP);
    PumpEvents(50);
  }
}

}  // namespace
