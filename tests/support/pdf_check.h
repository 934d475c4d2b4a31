// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lvx::testing {

// What `qpdf --check` reports on the PDF file at `path` when it finds a
// fault or a warning in its structure or streams, or when it cannot run;
// empty when the file is sound. poppler's tools read and draw what they
// silently repair, so every PDF a test writes passes through here too:
// EXPECT_EQ(PdfFaults(path), "").
std::string PdfFaults(const std::string& path);

}  // namespace lvx::testing
