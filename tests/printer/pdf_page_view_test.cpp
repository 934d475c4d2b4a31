// SPDX-License-Identifier: GPL-3.0-or-later
// The print job's view, which hands lines of text straight to the PDF
// writer, against the painter view that draws them through QPainter: the
// pages must come out the same.
#include <fcntl.h>

#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "owned_fd.h"
#include "pdf_page_view.h"
#include "pdf_probe.h"
#include "picture_cache.h"
#include "print_run.h"
#include "sheet_page_view.h"
#include "temp_dir.h"

namespace lvx::testing {
namespace {

// The texts of an invoice: opaque over a shaded box and transparent, in
// the three faces, bold, italic, coloured, a figure column, and what only
// QPainter draws (an underline, a tab, a character the face lacks).
constexpr const char* kDocument =
    "*BOX /X:10 /Y:10 /W:190 /H:40 /C:&H00D0D0D0 /F\r\n"
    "*FONT /N:Arial /S:14 /B /C:&H00663300\r\n"
    "*TEXT /X:12 /Y:12 /T:FATTURA N. 2024/000017\r\n"
    "*TEXT /D:6.5 /T:AVAVAVAV Tyre Totale imponibile\r\n"
    "*FONT /N:Times New Roman /S:11 /I /T\r\n"
    "*TEXT /X:12 /Y:30 /T:Spett.le Fran\xe7oise Lef\xe8vre SARL\r\n"
    "*FONT /N:Courier New /S:10\r\n"
    "*TEXT /X:120 /Y:60 /T:   17.964,92\r\n"
    "*TEXT /X:120 /Y:66 /T:    1.204,80 \x80\r\n"
    "*FONT /N:Arial /S:9 /U\r\n"
    "*TEXT /X:12 /Y:80 /T:Firma del cliente\r\n"
    "*FONT /N:Arial /S:9\r\n"
    "*TEXT /X:12 /Y:90 /T:Colonna\tdopo la tabulazione\r\n"
    "*TEXT /X:12 /Y:100 /T:Pagamento: bonifico (30 gg d.f.)\r\n"
    "*PAGE\r\n"
    "*FONT /N:Arial /S:9\r\n"
    "*TEXT /X:12 /Y:100 /T:Pagamento: bonifico (30 gg d.f.)\r\n"
    "*TEXT /X:170 /Y:285 /PAGE\r\n";

using MakeView = std::function<std::unique_ptr<PainterPageView>(PdfSheet&)>;

std::string Printed(const TempDir& dir, const std::string& name, const MakeView& makeView) {
  const std::string doc = dir.Write("invoice.lvx", kDocument);
  const std::string pdf = dir.path() + "/" + name + ".pdf";
  const OwnedFd file(::open(pdf.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (file.fd() < 0) throw std::runtime_error("cannot create " + pdf);
  {
    PdfSheet sheet(file.fd(), QStringLiteral("Test"));
    SheetPages pages(sheet);
    const std::unique_ptr<PainterPageView> view = makeView(sheet);
    SheetPageView sheetView(pages, *view);
    PictureCache pictures;
    PrintRun run(sheetView, pages, &pictures);
    EXPECT_TRUE(run.Run(doc, dir.path(), 1));
    EXPECT_TRUE(pages.Finish());
  }
  return pdf;
}

int Differing(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                    std::abs(qBlue(p) - qBlue(q))}) > 48) {
        ++differing;
      }
    }
  }
  return differing;
}

TEST(PdfPageView, TextShapedOnceLooksAsThroughQPainter) {
  const TempDir dir;
  const ViewScale mm = ViewScale::Millimetres(PdfDocument::kResolution);
  const std::string straight = Printed(
      dir, "straight", [&](PdfSheet& sheet) { return std::make_unique<PdfPageView>(sheet, mm); });
  const std::string painted = Printed(dir, "painted", [&](PdfSheet& sheet) {
    return std::make_unique<PainterPageView>(sheet.painter(), mm);
  });
  const auto straightProbe = PdfProbe::Read(straight);
  const auto paintedProbe = PdfProbe::Read(painted);
  ASSERT_TRUE(straightProbe && paintedProbe) << "poppler and qpdf take both files";
  ASSERT_EQ(straightProbe->pages.size(), 2U);
  EXPECT_EQ(straightProbe->Texts(), paintedProbe->Texts());
  EXPECT_NE(straightProbe->pages[0].Find("Lef\xc3\xa8vre"), nullptr);
  for (std::size_t page = 0; page < 2; ++page) {
    const auto& words = straightProbe->pages[page].words;
    const auto& paintedWords = paintedProbe->pages[page].words;
    ASSERT_EQ(words.size(), paintedWords.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
      EXPECT_NEAR(words[i].left, paintedWords[i].left, 0.01) << words[i].text;
      EXPECT_NEAR(words[i].right, paintedWords[i].right, 0.01) << words[i].text;
    }
    const QImage a = RenderedPage(straight, static_cast<int>(page) + 1, 150);
    const QImage b = RenderedPage(painted, static_cast<int>(page) + 1, 150);
    ASSERT_FALSE(a.isNull());
    ASSERT_EQ(a.size(), b.size());
    // Opaque cells may end a fraction of a pixel apart: Qt rounds the
    // advances it adds up.
    EXPECT_LE(Differing(a, b), a.height()) << "page " << page + 1;
  }
}

}  // namespace
}  // namespace lvx::testing
