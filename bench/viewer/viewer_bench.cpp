// SPDX-License-Identifier: GPL-3.0-or-later
// The header pre-read the viewer runs before showing a document and after
// every step to another one, over a 50 MB document, beside the time to
// merely read its lines. Target: well under a second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "header_records.h"
#include "line_reader.h"

namespace {

// Header records at the top, then pages of boxes and texts until the file
// holds 50 MB; one document, so the pre-read keeps every field.
struct LargeDocument {
  std::string folder;
  std::string path;
  std::uintmax_t bytes = 0;

  LargeDocument() {
    char name[] = "/tmp/lvx-viewer-bench-XXXXXX";
    folder = ::mkdtemp(name);
    path = folder + "/large.lvx";
    std::ofstream out(path, std::ios::binary);
    out << "*INFO /T:Fatture marzo 2009\r\n*FAX /N:0123 456789\r\n*FAX /T:Ufficio acquisti\r\n"
           "*EMAIL /T:acquisti@example.com\r\n*EMAIL /C:contabilita@example.com\r\n"
           "*EMAIL /M:Gentile cliente,\r\n*EMAIL /M:in allegato le fatture del mese.\r\n"
           "*EMAIL /D:20090331\r\n*EMAIL /H:17:45\r\n";
    constexpr std::uintmax_t kTarget = 50U * 1024U * 1024U;
    std::uintmax_t written = 0;
    for (int page = 1; written < kTarget; ++page) {
      std::string text = "*FONT /N:Arial /S:9 /B\r\n";
      for (int b = 0; b < 14; ++b) {
        text += "*BOX /X:" + std::to_string(10 + b) + " /Y:" + std::to_string(20 * b) +
                ".5 /W:180 /H:0.3 /C:&H00FF0000 /F\r\n";
      }
      for (int t = 0; t < 40; ++t) {
        text += "*TEXT /X:" + std::to_string(20 + t % 3 * 60) +
                " /Y:" + std::to_string(40 + t * 6) + " /T:Articolo " + std::to_string(t) +
                " descrizione della riga 12,50 EUR\r\n";
      }
      text += "*PAGE\r\n";
      out << text;
      written += text.size();
    }
    out.close();
    bytes = std::filesystem::file_size(path);
  }
  ~LargeDocument() { std::filesystem::remove_all(folder); }
};

const LargeDocument& Large() {
  static const LargeDocument document;
  return document;
}

void BM_ReadLinesOnly(benchmark::State& state) {
  const LargeDocument& doc = Large();
  for (auto _ : state) {
    lvx::LineReader reader;
    reader.Open(doc.path);
    std::string line;
    std::size_t lines = 0;
    while (reader.ReadLine(line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.bytes));
}

void BM_ReadHeaderRecords50MB(benchmark::State& state) {
  const LargeDocument& doc = Large();
  lvx::HeaderRecords header;
  for (auto _ : state) {
    header.ReadHeaderRecords(doc.path);
    benchmark::DoNotOptimize(header.MailLines.data());
  }
  if (header.FaxTo != "Ufficio acquisti") state.SkipWithError("header fields not read");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.bytes));
}

BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHeaderRecords50MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
