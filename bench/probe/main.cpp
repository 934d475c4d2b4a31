// SPDX-License-Identifier: GPL-3.0-or-later
// lvxbench: times one step of the programs on a document, for
// bench/compare.sh. Each command prints "NAME MIN_MS MEDIAN_MS" lines over
// repeated runs in one process (minimum first: the machine is shared).
//
//   lvxbench header DOC [RUNS]     the viewer's header pre-read
//   lvxbench interp DOC [RUNS]     every page through the interpreter, null views
//   lvxbench startup DOC [RUNS]    header pre-read and the first page in the viewer's drawings
//   lvxbench pagetimes DOC [N [R]] the first page and N-1 page requests; times of the requests
//   lvxbench pages DOC N [R]       N pages and nothing else (for an outside timer)
//   lvxbench drawings DOC N R DIR  N pages, each page's three drawings written to DIR as
//                                  page-K-main.png, page-K-upper.png, page-K-lower.png
//                                  (to compare what a faster drawing path shows)
// R is the screen's device pixel ratio (1 unless given): 2 draws the
// pages as a screen scaled twice shows them.
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "header_records.h"
#include "null_view.h"
#include "page_reader.h"
#include "stopwatch.h"
#include "trace_run.h"
#include "viewer_pages.h"

namespace {

using lvx::bench::TimeRuns;
using lvx::bench::Timings;

void Print(const char* name, Timings t) {
  std::printf("%s %.3f %.3f\n", name, t.min, t.median);
}

int CountArg(int argc, char** argv, int index, int fallback) {
  return argc > index ? std::atoi(argv[index]) : fallback;
}

// The application the drawing commands need: fonts, no display.
QGuiApplication& App() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "lvxbench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  return app;
}

int Header(const std::string& doc, int runs) {
  lvx::HeaderRecords header;
  Print("header", TimeRuns(runs, [&] { header.ReadHeaderRecords(doc); }));
  return header.MailTo == "unknown" && header.InfoText.empty() ? 1 : 0;
}

int Interp(const std::string& doc, int runs) {
  lvx::bench::NullView main, upper, lower;
  long pages = 0;
  Print("interp", TimeRuns(runs, [&] {
          lvx::PageReader reader(lvx::SplitViews{main, upper, lower}, nullptr);
          reader.SetDocument(doc, lvx::FolderOf(doc));
          pages = 0;
          do {
            reader.ReadPage();
            ++pages;
          } while (reader.IsOpen());
        }));
  std::printf("interp-pages %ld\n", pages);
  return 0;
}

int StartUp(const std::string& doc, int runs) {
  App();
  Timings preRead, firstPage;
  const Timings total = TimeRuns(runs, [&] {
    lvx::bench::ViewerPages pages(doc);
    const Timings read = TimeRuns(1, [&] { pages.ReadHeaderRecords(); });
    const Timings page = TimeRuns(1, [&] { pages.ReadFirstPage(); });
    if (preRead.min == 0 || read.min < preRead.min) preRead = read;
    if (firstPage.min == 0 || page.min < firstPage.min) firstPage = page;
  });
  Print("startup-header", preRead);
  Print("startup-first-page", firstPage);
  Print("startup", total);
  return 0;
}

double RatioArg(int argc, char** argv, int index) {
  const double ratio = argc > index ? std::atof(argv[index]) : 1.0;
  return ratio > 0.0 ? ratio : 1.0;
}

int PageTimes(const std::string& doc, int requests, double ratio) {
  App();
  lvx::bench::ViewerPages pages(doc, ratio);
  pages.ReadFirstPage();
  Print("page", TimeRuns(requests - 1, [&] { pages.NextPage(); }));
  return 0;
}

// The first page, then the next ones up to `requests` pages in all.
int Pages(const std::string& doc, int requests, double ratio) {
  App();
  lvx::bench::ViewerPages pages(doc, ratio);
  pages.ReadFirstPage();
  for (int i = 1; i < requests; ++i) pages.NextPage();
  return 0;
}

bool SaveDrawings(const lvx::ViewerDocument& document, const std::string& dir, int page) {
  const QString prefix = QString::fromStdString(dir) + "/page-" + QString::number(page) + "-";
  return document.PageDrawing().save(prefix + "main.png") &&
         document.ZoomDrawing(lvx::ZoomHalf::kUpper).save(prefix + "upper.png") &&
         document.ZoomDrawing(lvx::ZoomHalf::kLower).save(prefix + "lower.png");
}

int Drawings(const std::string& doc, int requests, double ratio, const std::string& dir) {
  App();
  lvx::bench::ViewerPages pages(doc, ratio);
  pages.ReadFirstPage();
  for (int page = 1; page <= requests; ++page) {
    if (page > 1) pages.NextPage();
    if (!SaveDrawings(pages.document(), dir, page)) {
      std::fprintf(stderr, "lvxbench: cannot write the drawings into %s\n", dir.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: lvxbench header|interp|startup|pagetimes|pages|drawings DOC [COUNT]\n");
    return 2;
  }
  const std::string command = argv[1];
  const std::string doc = argv[2];
  if (command == "header") return Header(doc, CountArg(argc, argv, 3, 10));
  if (command == "interp") return Interp(doc, CountArg(argc, argv, 3, 5));
  if (command == "startup") return StartUp(doc, CountArg(argc, argv, 3, 5));
  if (command == "pagetimes") {
    return PageTimes(doc, CountArg(argc, argv, 3, 50), RatioArg(argc, argv, 4));
  }
  if (command == "pages") return Pages(doc, CountArg(argc, argv, 3, 1), RatioArg(argc, argv, 4));
  if (command == "drawings" && argc > 5) {
    return Drawings(doc, CountArg(argc, argv, 3, 1), RatioArg(argc, argv, 4), argv[5]);
  }
  std::fprintf(stderr, "lvxbench: unknown command %s\n", command.c_str());
  return 2;
}
