// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_document.h"

#include <QDateTime>
#include <cmath>

#include "pdf_paint_engine.h"
#include "pdf_syntax.h"

namespace lvx {
namespace {

constexpr double kPointsPerInch = 72.0;

std::string Reference(int object) {
  return std::to_string(object) + " 0 R";
}

}  // namespace

PdfDocument::PdfDocument(const std::string& path, const QString& title)
    : file_(path),
      title_(title),
      fonts_(file_),
      images_(file_),
      engine_(std::make_unique<PdfPaintEngine>(*this)) {
  pagesObject_ = file_.Reserve();
  resourcesObject_ = file_.Reserve();
}

PdfDocument::PdfDocument(int fd, const QString& title)
    : file_(fd),
      title_(title),
      fonts_(file_),
      images_(file_),
      engine_(std::make_unique<PdfPaintEngine>(*this)) {
  pagesObject_ = file_.Reserve();
  resourcesObject_ = file_.Reserve();
}

PdfDocument::~PdfDocument() = default;

QPaintEngine* PdfDocument::paintEngine() const {
  return engine_.get();
}

int PdfDocument::metric(PaintDeviceMetric metric) const {
  const double toDots = kResolution / kPointsPerInch;
  switch (metric) {
    case PdmWidth:
      return static_cast<int>(std::lround(pageSize_.width() * toDots));
    case PdmHeight:
      return static_cast<int>(std::lround(pageSize_.height() * toDots));
    case PdmWidthMM:
      return static_cast<int>(std::lround(pageSize_.width() * 25.4 / kPointsPerInch));
    case PdmHeightMM:
      return static_cast<int>(std::lround(pageSize_.height() * 25.4 / kPointsPerInch));
    case PdmNumColors:
      return INT_MAX;
    case PdmDepth:
      return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
      return kResolution;
    case PdmDevicePixelRatio:
      return 1;
    case PdmDevicePixelRatioScaled:
      return static_cast<int>(devicePixelRatioFScale());
  }
  return 0;
}

void PdfDocument::StartPage(QSizeF size) {
  if (pageOpen_) EndPage();
  pageSize_ = size;
  content_.Clear();
  pageOpen_ = true;
}

void PdfDocument::EndPage() {
  if (!pageOpen_) return;
  pageOpen_ = false;
  content_.RestoreAll();
  const int contents = file_.Reserve();
  file_.WriteStream(contents, "", content_.data());
  const int page = file_.Reserve();
  std::string box;
  AppendNumber(box, pageSize_.width(), 3);
  AppendNumber(box, pageSize_.height(), 3);
  box.pop_back();
  file_.WriteObject(page, "<</Type/Page/Parent " + Reference(pagesObject_) + "/MediaBox[0 0 " +
                              box + "]/Resources " + Reference(resourcesObject_) + "/Contents " +
                              Reference(contents) + ">>");
  pages_.push_back(page);
}

std::string PdfDocument::OpacityState(int fill, int stroke) {
  opacities_.insert({fill, stroke});
  std::string name = "A";
  name += std::to_string(fill);
  name += '_';
  name += std::to_string(stroke);
  return name;
}

std::string PdfDocument::OpacityResources() const {
  std::string entries;
  for (const auto& [fill, stroke] : opacities_) {
    entries += "/A";
    entries += std::to_string(fill);
    entries += '_';
    entries += std::to_string(stroke);
    entries += "<</ca ";
    AppendNumber(entries, fill / 255.0);
    entries += "/CA ";
    AppendNumber(entries, stroke / 255.0);
    entries += ">>";
  }
  return entries;
}

bool PdfDocument::Finish() {
  if (finished_) return false;
  finished_ = true;
  EndPage();
  const std::string fonts = fonts_.WriteAll();
  file_.WriteObject(resourcesObject_, "<</ProcSet[/PDF/Text/ImageB/ImageC]/Font<<" + fonts +
                                          ">>/XObject<<" + images_.ResourceEntries() +
                                          ">>/ExtGState<<" + OpacityResources() + ">>>>");
  std::string kids;
  for (const int page : pages_) kids += Reference(page) + " ";
  file_.WriteObject(pagesObject_, "<</Type/Pages/Kids[" + kids + "]/Count " +
                                      std::to_string(pages_.size()) + ">>");
  const int catalog = file_.Reserve();
  file_.WriteObject(catalog, "<</Type/Catalog/Pages " + Reference(pagesObject_) + ">>");
  const int info = file_.Reserve();
  const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
  file_.WriteObject(info, "<</Title" + TextString(title_) + "/Creator" +
                              TextString(QStringLiteral("lvxprint")) + "/Producer" +
                              TextString(QStringLiteral("lvxprint")) +
                              "/CreationDate(D:" + now.toStdString() + "Z)>>");
  return file_.Finish(catalog, info);
}

}  // namespace lvx
