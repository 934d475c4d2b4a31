// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_view.h"
#include "sheet_page_view.h"

namespace lvx {
namespace {

// Writes the pages a job gets as "P" (portrait) or "L" (landscape) and
// "." at a successful end ("!" at a failed one); the fixture adds "+" for
// every drawing call that reaches the page.
class RecordingDevice : public SheetDevice {
 public:
  bool OpenFirstPage(std::int16_t orientation) override { return Open(orientation); }
  bool OpenNextPage(std::int16_t orientation) override { return Open(orientation); }
  bool Finish() override {
    log += finishFails ? "!" : ".";
    return !finishFails;
  }
  SheetPoint Origin() const override { return paper.Origin(orientation_); }

  std::string log;
  int failOnPage = 0;  // the page whose opening fails, 0 for none
  bool finishFails = false;
  SheetPaper paper;

 private:
  bool Open(std::int16_t orientation) {
    if (++pages_ == failOnPage) return false;
    orientation_ = orientation;
    log += orientation == 2 ? "L" : "P";
    return true;
  }
  int pages_ = 0;
  std::int16_t orientation_ = 1;
};

// The sheet view over a recording view, on a recording device.
struct SheetFixture {
  RecordingDevice device;
  SheetPages pages{device};
  std::vector<std::string> calls;
  RecordingView inner{"inner", calls};
  SheetPageView view{pages, inner};
  bool finished = false;

  // Marks a drawing call that reached the inner view.
  template <typename Draw>
  void Ink(Draw draw) {
    const auto before = calls.size();
    draw();
    if (calls.size() > before) device.log += "+";
  }

  // Runs a script: "d" draws a box, "t" prints a text, "n" a new page,
  // "h" landscape, "v" portrait, "m" a move and a font call (no ink).
  std::string Run(std::string_view script) {
    for (char step : script) {
      switch (step) {
        case 'd':
          Ink([&] { view.DrawRect(1, 1, 2, 2, 0, false); });
          break;
        case 't':
          Ink([&] { view.PrintText("x"); });
          break;
        case 'n':
          pages.NewPage();
          break;
        case 'h':
          pages.SetOrientation(2);
          break;
        case 'v':
          pages.SetOrientation(1);
          break;
        case 'm':
          view.MoveTo(3, 4);
          view.SetFontSize(12);
          break;
      }
    }
    finished = pages.Finish();
    return device.log;
  }
};

TEST(SheetPages, PagesReachTheDeviceAsTheyAreDrawnOrLeft) {
  const struct {
    std::string_view script;
    std::string_view pages;
  } rows[] = {
      {"", "P."},          // a job has at least one page
      {"m", "P."},         // moves and font calls put no ink on the page
      {"d", "P+."},        //
      {"dt", "P++."},      //
      {"dnd", "P+P+."},    //
      {"dnnd", "P+PP+."},  // a page left blank is still printed
      {"dn", "P+."},       // but a new page that stays blank at the end is not
      {"dnn", "P+P."},     //
      {"n", "P."},         //
      {"nd", "PP+."},      //
  };
  for (const auto& row : rows) {
    SheetFixture f;
    EXPECT_EQ(f.Run(row.script), row.pages) << row.script;
    EXPECT_TRUE(f.finished) << row.script;
  }
}

TEST(SheetPages, OrientationActsOnThePageNotYetDrawnOn) {
  const struct {
    std::string_view script;
    std::string_view pages;
  } rows[] = {
      {"hd", "L+."},    // at the top of the first page
      {"dhd", "P++."},  // after ink: from the next page on
      {"dhndvnd", "P+L+P+."},
      {"dnhd", "P+L+."},      // at the top of a new page, before anything is drawn
      {"dnhvd", "P+P+."},     // the last setting before the ink counts
      {"hdndnd", "L+L+L+."},  // it stays for the pages that follow
      {"hnd", "LL+."},        // a page left before any ink is printed blank
      {"dnhnvd", "P+LP+."},   // a blank page keeps the orientation it was left in
  };
  for (const auto& row : rows) {
    SheetFixture f;
    EXPECT_EQ(f.Run(row.script), row.pages) << row.script;
  }
}

TEST(SheetPages, AFailedDeviceGetsNothingMore) {
  SheetFixture f;
  f.device.failOnPage = 2;
  EXPECT_EQ(f.Run("dtndnd"), "P++.");
  EXPECT_TRUE(f.pages.failed());
  EXPECT_EQ(f.pages.pagesOpened(), 1);
  // Only the drawing of page 1 reached the view.
  EXPECT_EQ(f.calls.size(), 2U);
  EXPECT_FALSE(f.finished);

  SheetFixture first;
  first.device.failOnPage = 1;
  EXPECT_EQ(first.Run("d"), "");  // never started, so nothing to end
  EXPECT_TRUE(first.calls.empty());
  EXPECT_FALSE(first.finished);

  SheetFixture end;
  end.device.finishFails = true;
  EXPECT_EQ(end.Run("d"), "P+!");
  EXPECT_FALSE(end.finished);
}

TEST(SheetPaper, PagesAndPrintableCornersByOrientation) {
  const SheetPaper letter{"na_letter_8.5x11in", 215.9, 279.4, 5, 12, 7, 10};
  const struct {
    SheetPaper paper;
    std::int16_t orientation;
    SheetPoint size;
    SheetPoint origin;
  } rows[] = {
      {SheetPaper::A4(), 1, {210, 297}, {0, 0}},
      {SheetPaper::A4(), 2, {297, 210}, {0, 0}},
      {letter, 1, {215.9, 279.4}, {5, 12}},
      // A quarter turn anticlockwise: the bottom margin comes to the left,
      // the left margin to the top.
      {letter, 2, {279.4, 215.9}, {10, 5}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.paper.PageSize(row.orientation), row.size) << row.paper.media;
    EXPECT_EQ(row.paper.Origin(row.orientation), row.origin) << row.paper.media;
  }
}

TEST(SheetPageView, PositionsMoveToThePrintableCornerOfTheirOwnPage) {
  const struct {
    std::string_view script;  // as SheetFixture::Run; "m" moves to (3, 4)
    std::vector<std::string> calls;
  } rows[] = {
      {"d", {"inner DrawRect 6 13 7 14 &H00000000 outline"}},
      {"mt", {"inner MoveTo 8 16", "inner PrintText \"x\""}},
      // The move is placed once the page it lands on is open, in its
      // orientation.
      {"mht", {"inner MoveTo 13 9", "inner PrintText \"x\""}},
      {"dnhmt",
       {"inner DrawRect 6 13 7 14 &H00000000 outline", "inner MoveTo 13 9",
        "inner PrintText \"x\""}},
  };
  for (const auto& row : rows) {
    SheetFixture f;
    f.device.paper = {"iso_a4_210x297mm", 210, 297, 5, 12, 7, 10};
    f.Run(row.script);
    std::vector<std::string> drawn;
    for (const auto& call : f.calls) {
      if (call.find("SetFont") == std::string::npos) drawn.push_back(call);
    }
    EXPECT_EQ(drawn, row.calls) << row.script;
  }
}

}  // namespace
}  // namespace lvx
