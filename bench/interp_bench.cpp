// SPDX-License-Identifier: GPL-3.0-or-later
// The interpreter's throughput over a generated multi-document file with a
// view that draws nothing, beside the time to merely read its lines.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "line_reader.h"
#include "null_view.h"
#include "page_reader.h"

namespace {

using lvx::bench::NullView;

// About 40 texts, 14 boxes and 4 fonts a page, a merged form on every page
// and a document end every 3 pages.
struct Document {
  std::string folder;
  std::string path;
  std::uintmax_t bytes = 0;
  int pages = 0;

  explicit Document(int pageCount) : pages(pageCount) {
    char name[] = "/tmp/lvx-bench-XXXXXX";
    folder = ::mkdtemp(name);
    std::ofstream(folder + "/form.lvx") << "*FONT /N:Arial /S:7\r\n*BOX /X:10 /Y:285 /W:190 "
                                           "/H:0.2 /F\r\n*TEXT /X:10 /Y:287 /T:Form footer\r\n";
    path = folder + "/batch.lvx";
    std::ofstream out(path, std::ios::binary);
    for (int page = 1; page <= pages; ++page) {
      for (int f = 0; f < 4; ++f) out << "*FONT /N:Arial /S:" << 8 + f << " /B\r\n";
      for (int b = 0; b < 14; ++b) {
        out << "*BOX /X:" << 10 + b << " /Y:" << 20 * b << ".5 /W:180 /H:0.3 /C:&H00FF0000 /F\r\n";
      }
      for (int t = 0; t < 40; ++t) {
        out << "*TEXT /X:" << 20 + t % 3 * 60 << " /Y:" << 40 + t * 6 << " /T:Articolo " << t
            << " descrizione della riga 12,50 EUR\r\n";
      }
      out << "*MERGE /N:form.lvx\r\n";
      out << (page % 3 == 0 ? "#EOD\r\n" : "*PAGE\r\n");
    }
    out.close();
    bytes = std::filesystem::file_size(path);
  }
  ~Document() { std::filesystem::remove_all(folder); }
};

const Document& Batch() {
  static const Document document(3000);
  return document;
}

const Document& LargeBatch() {
  static const Document document(30000);
  return document;
}

double PeakRssMiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ReadLinesOnly(benchmark::State& state) {
  const Document& doc = Batch();
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

void BM_InterpretAllPages(benchmark::State& state) {
  const Document& doc = Batch();
  NullView main, upper, lower;
  for (auto _ : state) {
    lvx::PageReader reader(lvx::SplitViews{main, upper, lower}, nullptr);
    reader.SetDocument(doc.path, doc.folder + "/");
    for (int page = 0; page < doc.pages; ++page) reader.ReadPage();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.bytes));
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(doc.pages),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}

// Ten times the pages in the same peak memory: the reader streams. Runs
// last, so the peak it reports covers both sizes.
void BM_InterpretTenTimesLarger(benchmark::State& state) {
  const Document& doc = LargeBatch();
  const double before = PeakRssMiB();
  NullView main, upper, lower;
  for (auto _ : state) {
    lvx::PageReader reader(lvx::SplitViews{main, upper, lower}, nullptr);
    reader.SetDocument(doc.path, doc.folder + "/");
    for (int page = 0; page < doc.pages; ++page) reader.ReadPage();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.bytes));
  state.counters["peak_rss_MiB_before"] = before;
  state.counters["peak_rss_MiB_after"] = PeakRssMiB();
}

BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpretAllPages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterpretTenTimesLarger)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
