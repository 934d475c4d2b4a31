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

PdfDocument::PdfDocument(int fd, const QString& title)
    : file_(fd),
      title_(title),
      fonts_(file_),
      images_(file_),
      sharedStart_(file_),
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

std::string PdfDocument::MediaBox(QSizeF size) {
  std::string box = "[0 0 ";
  AppendNumber(box, size.width(), 3);
  AppendNumber(box, size.height(), 3);
  box.back() = ']';
  return box;
}

void PdfDocument::EndPage() {
  if (!pageOpen_) return;
  pageOpen_ = false;
  content_.RestoreAll();
  const std::string_view data = content_.data();
  const PdfSharedStart::Start start = sharedStart_.For(data);
  std::string page = "<</Type/Page/Parent " + Reference(pagesObject_);
  const std::string box = MediaBox(pageSize_);
  if (pages_.empty()) mediaBox_ = box;
  if (box != mediaBox_) page += "/MediaBox" + box;
  page += "/Contents ";
  if (start.objects.empty()) {
    page += Reference(WriteContent(data));
  } else {
    page += '[';
    for (const int object : start.objects) page += Reference(object) + " ";
    if (start.length < data.size()) {
      page += Reference(WriteContent(data.substr(start.length)));
    } else {
      page.pop_back();
    }
    page += ']';
  }
  page += ">>";
  const int object = file_.Reserve();
  file_.WriteObject(object, page);
  pages_.push_back(object);
}

int PdfDocument::WriteContent(std::string_view data) {
  const int object = file_.Reserve();
  file_.WriteStream(object, "", data);
  return object;
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
  if (!kids.empty()) kids.pop_back();
  if (pages_.empty()) mediaBox_ = MediaBox(pageSize_);
  file_.WriteObject(pagesObject_, "<</Type/Pages/Kids[" + kids + "]/Count " +
                                      std::to_string(pages_.size()) + "/MediaBox" + mediaBox_ +
                                      "/Resources " + Reference(resourcesObject_) + ">>");
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
