// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "scan_error.h"
#include "temp_dir.h"
#include "view_fixture.h"

namespace lvx {
namespace {

using testing::Calls;
using testing::SplitFixture;

TEST(DrawBox, RedBarAtHalfScaleAndInTheUpperView) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*BOX /X:10 /Y:20 /W:50 /H:0.2 /C:&H000000FF /F"),
            (Calls{"main DrawRect 5 10 30 10.1 &H000000FF filled",
                   "upper DrawRect 10 20 60 20.2 &H000000FF filled"}));
}

TEST(DrawBox, SplitBetweenTheZoomViews) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*BOX /X:10 /Y:130 /W:20 /H:30"),
            (Calls{"main DrawRect 5 65 15 80 &H00000000 outline",
                   "upper DrawRect 10 130 30 160 &H00000000 outline",
                   "lower DrawRect 10 -10 30 20 &H00000000 outline"}));
  EXPECT_EQ(f.Run("*BOX /X:10 /Y:140 /W:20 /H:5"),
            (Calls{"main DrawRect 5 70 15 72.5 &H00000000 outline",
                   "upper DrawRect 10 140 30 145 &H00000000 outline",
                   "lower DrawRect 10 0 30 5 &H00000000 outline"}));
  EXPECT_EQ(f.Run("*BOX /X:10 /Y:141 /W:20 /H:5"),
            (Calls{"main DrawRect 5 70.5 15 73 &H00000000 outline",
                   "lower DrawRect 10 1 30 6 &H00000000 outline"}));
  // A box that ends exactly at the split stays in the upper view.
  EXPECT_EQ(f.Run("*BOX /X:0 /Y:130 /W:1 /H:10").size(), 2U);
}

TEST(DrawBox, EmptyOrBadColourDrawsNothing) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*BOX /X:10 /Y:20 /W:5 /H:5 /C:"), Calls{});
  EXPECT_EQ(f.Run("*BOX /X:10 /Y:20 /W:5 /H:5 /C:blue"), Calls{});
  // The position is taken all the same.
  EXPECT_EQ(f.handlers.position().PosX, 10);
}

TEST(DrawBox, MissingOptionsUseThePositionOfAnyEarlierRecord) {
  SplitFixture f;
  f.Run("*TEXT /X:30 /Y:40 /T:x");
  EXPECT_EQ(f.Run("*BOX /W:5 /H:5"), (Calls{"main DrawRect 15 20 17.5 22.5 &H00000000 outline",
                                            "upper DrawRect 30 40 35 45 &H00000000 outline"}));
  // Neither width nor height: a rectangle of size 0 at the point.
  EXPECT_EQ(f.Run("*box /x:1 /y:2")[1], "upper DrawRect 1 2 1 2 &H00000000 outline");
  // Each record resets its own values: no width carried over.
  EXPECT_EQ(f.Run("*BOX /Y:3")[1], "upper DrawRect 1 3 1 3 &H00000000 outline");
}

TEST(DrawText, PositionsAndOffsets) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*TEXT /X:20 /Y:30 /T:Total: 12/2009"),
            (Calls{"main MoveTo 10 15", "main PrintText \"Total: 12/2009\"", "upper MoveTo 20 30",
                   "upper PrintText \"Total: 12/2009\""}));
  EXPECT_EQ(f.Run("*TEXT /D:5 /T:b")[2], "upper MoveTo 20 35");
  EXPECT_EQ(f.Run("*TEXT /D:5 /T:c")[2], "upper MoveTo 20 40");
  EXPECT_EQ(f.Run("*TEXT /R:4 /T:d")[0], "main MoveTo 12 20");
}

TEST(DrawText, OptionsAfterTheTextAreBothOptionsAndText) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*TEXT /T:price /X:10")[3], "upper PrintText \"price /X:10\"");
  EXPECT_EQ(f.Run("*TEXT /T:price /X:10")[2], "upper MoveTo 10 0");
}

TEST(DrawText, PageNumberInsteadOfTextInTheLowerView) {
  SplitFixture f;
  f.pageNumber = 3;
  EXPECT_EQ(f.Run("*TEXT /X:150 /Y:200 /T:ignored /PAGE"),
            (Calls{"main MoveTo 75 100", "main PrintNumber 3", "lower MoveTo 150 60",
                   "lower PrintNumber 3"}));
}

TEST(DrawText, NoTextStillMovesThePosition) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*TEXT /X:20 /Y:30"), (Calls{"main MoveTo 10 15", "main PrintText \"\"",
                                               "upper MoveTo 20 30", "upper PrintText \"\""}));
  EXPECT_EQ(f.handlers.position().PosY, 30);
}

TEST(DrawText, TextStartingAboveTheSplitGoesToTheUpperViewOnly) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*TEXT /X:1 /Y:140 /T:x")[2], "upper MoveTo 1 140");
  EXPECT_EQ(f.Run("*TEXT /D:0.5 /T:x")[2], "lower MoveTo 1 0.5");
}

TEST(Dispatch, FixedKeywordOrderTextBeforeFont) {
  SplitFixture f;
  const Calls calls = f.Run("*FONT /N:Arial /S:12 *TEXT /X:1 /Y:1 /T:a");
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0], "main MoveTo 0.5 0.5");
  EXPECT_EQ(calls.back(), "lower SetTransparent 1");  // "/T" of "/T:a"
}

TEST(Dispatch, OrientationDoesNothingOnScreen) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*ORIENTATION /H"), Calls{});
  EXPECT_EQ(f.Run("REM total 12"), Calls{});
}

TEST(SelectFont, CompleteDescriptionPerRecord) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*FONT /N:Arial /S:10 /B"), (Calls{"main SetFontName \"Arial\"",
                                                     "main SetFontSize 5",
                                                     "main SetTextColour &H00000000",
                                                     "main SetItalic 0",
                                                     "main SetBold 1",
                                                     "main SetUnderline 0",
                                                     "main SetTransparent 0",
                                                     "upper SetFontName \"Arial\"",
                                                     "upper SetFontSize 10",
                                                     "upper SetTextColour &H00000000",
                                                     "upper SetItalic 0",
                                                     "upper SetBold 1",
                                                     "upper SetUnderline 0",
                                                     "upper SetTransparent 0",
                                                     "lower SetFontName \"Arial\"",
                                                     "lower SetFontSize 10",
                                                     "lower SetTextColour &H00000000",
                                                     "lower SetItalic 0",
                                                     "lower SetBold 1",
                                                     "lower SetUnderline 0",
                                                     "lower SetTransparent 0"}));
}

TEST(SelectFont, SizesRoundAndHalve) {
  SplitFixture f;
  EXPECT_EQ(f.Run("*FONT /N:Arial /S:9")[1], "main SetFontSize 4");
  EXPECT_EQ(f.Run("*FONT /N:Arial /S:9")[8], "upper SetFontSize 9");
  const Calls courier = f.Run("*FONT /N: Courier New /S:10.5");
  EXPECT_EQ(courier[0], "main SetFontName \"Courier New\"");
  EXPECT_EQ(courier[8], "upper SetFontSize 10");
  EXPECT_EQ(f.Run("*FONT /N:Arial")[8], "upper SetFontSize 10");  // default size
  EXPECT_EQ(f.Run("*FONT /N:Arial /S:-9")[1], "main SetFontSize -5 failed");
}

TEST(SelectFont, ColourAndTransparency) {
  SplitFixture f;
  const Calls blue = f.Run("*FONT /N:Arial /C:&H00FF0000 /T");
  EXPECT_EQ(blue[2], "main SetTextColour &H00FF0000");
  EXPECT_EQ(blue[6], "main SetTransparent 1");
  // An empty colour skips only the colour call.
  const Calls empty = f.Run("*FONT /N:Arial /C:");
  EXPECT_EQ(empty.size(), 18U);
  EXPECT_EQ(empty[2], "main SetItalic 0");
}

TEST(SelectFont, ASizeBeyond16BitsChangesNothingAndEndsTheLine) {
  SplitFixture f;
  f.calls.clear();
  f.scanner.SetRecord("*FONT /N:Arial /S:40000 *IMAGE /X:5 /Y:5");
  EXPECT_THROW(DispatchRecord(f.scanner, f.handlers), ScanError);
  EXPECT_EQ(f.calls, Calls{});
  EXPECT_EQ(f.handlers.position().PosX, 0);  // the image record was not reached
}

TEST(SelectFont, AnUnknownFaceFailsOnItsOwn) {
  SplitFixture f;
  f.upper.unknownFonts.insert("Nofont");
  const Calls calls = f.Run("*FONT /N:Nofont /S:12 /I");
  EXPECT_EQ(calls[7], "upper SetFontName \"Nofont\" failed");
  EXPECT_EQ(calls[8], "upper SetFontSize 12");
  EXPECT_EQ(calls[10], "upper SetItalic 1");
}

// A picture whose size comes from its file's first line.
class FakePicture : public Picture {
 public:
  FakePicture(double w, double h) : w_(w), h_(h) {}
  double WidthHmm() const override { return w_; }
  double HeightHmm() const override { return h_; }

 private:
  double w_, h_;
};

class FakeLoader : public PictureLoader {
 public:
  std::shared_ptr<const Picture> Load(const std::string& path) override {
    loaded.push_back(path);
    if (testing::ReadAll(path).rfind("PIC", 0) != 0) return nullptr;
    return std::make_shared<FakePicture>(10583.3, 5291.7);  // 400 x 200 px at 96 dpi
  }
  std::vector<std::string> loaded;
};

struct ImageFixture : SplitFixture {
  testing::TempDir dir;
  FakeLoader loader;
  SplitViewHandlers pictures{scanner, SplitViews{main, upper, lower}, pageNumber, &loader};
  ImageFixture() { pictures.SetDocFolder(dir.path() + "/"); }
  Calls Place(const std::string& line) {
    calls.clear();
    scanner.SetRecord(line);
    DispatchRecord(scanner, pictures);
    return calls;
  }
};

TEST(PlaceImage, HalfSizeOnMainOwnSizeOnTheViewOfItsTopEdge) {
  ImageFixture f;
  f.dir.Write("logo.bmp", "PIC");
  EXPECT_EQ(f.Place("*IMAGE /X:20 /Y:150 /N:logo.bmp"),
            (Calls{"main DrawPicture 10 75 52.9165 26.458502 own 10583.3x5291.7",
                   "lower DrawPicture 20 10 own 10583.3x5291.7"}));
  EXPECT_EQ(f.loader.loaded.back(), f.dir.path() + "//logo.bmp");
  EXPECT_EQ(f.Place("*IMAGE /N:LOGO.BMP /X:10 /Y:10")[1],
            "upper DrawPicture 10 10 own 10583.3x5291.7");
}

TEST(PlaceImage, NothingDrawnForMissingEmptyOrUnreadableFiles) {
  ImageFixture f;
  const auto empty = f.dir.Write("empty.bmp", "");
  f.dir.Write("junk.jpg", "not a picture");
  EXPECT_EQ(f.Place("*IMAGE /X:10 /Y:10 /N:empty.bmp"), Calls{});
  EXPECT_FALSE(std::filesystem::exists(empty));  // the check deletes empty files
  EXPECT_EQ(f.Place("*IMAGE /X:10 /Y:10 /N:missing.bmp"), Calls{});
  EXPECT_EQ(f.Place("*IMAGE /X:10 /Y:10 /N:junk.jpg"), Calls{});
  EXPECT_EQ(f.Place("*IMAGE /X:12 /Y:14"), Calls{});
  EXPECT_EQ(f.pictures.position().PosX, 12);
  EXPECT_EQ(f.pictures.position().PosY, 14);
}

TEST(PlaceImage, NamesWithASeparatorAreUsedAsTheyStand) {
  ImageFixture f;
  f.dir.Write("pics/sign.jpg", "PIC");
  // A value cannot hold "/", so documents name folders with backslashes.
  std::string folder = f.dir.path();
  std::replace(folder.begin(), folder.end(), '/', '\\');
  f.Place("*IMAGE /X:1 /Y:1 /N:" + folder + "\\pics\\sign.jpg");
  ASSERT_EQ(f.loader.loaded.size(), 1U);
  EXPECT_EQ(f.loader.loaded[0], f.dir.path() + "/pics/sign.jpg");
}

}  // namespace
}  // namespace lvx
