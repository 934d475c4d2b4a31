// SPDX-License-Identifier: GPL-3.0-or-later
// The check every PDF a test writes passes: it finds what poppler's tools
// would silently repair.
#include "pdf_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace lvx::testing {
namespace {

// A one-page PDF file whose cross-reference table is off by `shift` bytes.
std::string OnePagePdf(int shift) {
  const std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>",
  };
  std::string pdf = "%PDF-1.4\n";
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const std::size_t xref = pdf.size();
  pdf += "xref\n0 4\n0000000000 65535 f \n";
  for (const std::size_t offset : offsets) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset + shift);
    pdf += entry;
  }
  pdf += "trailer\n<< /Size 4 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

TEST(PdfFaults, NoneInASoundFileEveryOneElse) {
  const TempDir dir;
  const std::string sound = OnePagePdf(0);
  const struct {
    const char* what;
    std::string bytes;
    bool sound;
  } rows[] = {
      {"sound", sound, true},
      {"objects not where the table says", OnePagePdf(2), false},
      {"cut short", sound.substr(0, sound.size() / 2), false},
      {"no PDF", "not a PDF\n", false},
      {"empty", "", false},
  };
  for (const auto& row : rows) {
    const std::string path = dir.Write("a.pdf", row.bytes);
    EXPECT_EQ(PdfFaults(path).empty(), row.sound) << row.what << ": " << PdfFaults(path);
  }
  EXPECT_NE(PdfFaults(dir.path() + "/missing.pdf"), "");
}

}  // namespace
}  // namespace lvx::testing
