// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_probe.h"

#include <QProcess>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "pdf_check.h"

namespace lvx::testing {
namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;

std::optional<std::string> Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  return process.readAllStandardOutput().toStdString();
}

std::string Unescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (auto p = text.find(entity); p != std::string::npos; p = text.find(entity, p + 1)) {
      text.replace(p, std::string_view(entity).size(), plain);
    }
  }
  return text;
}

std::vector<PdfPage> ParseBoxes(const std::string& xhtml) {
  static const std::regex kPage(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
  static const std::regex kWord(
      R"re(<word xMin="([0-9.-]+)" yMin="([0-9.-]+)" xMax="([0-9.-]+)" yMax="([0-9.-]+)">([^<]*)</word>)re");
  std::vector<PdfPage> pages;
  std::istringstream lines(xhtml);
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_search(line, match, kPage)) {
      pages.push_back({std::stod(match[1]) * kMmPerPoint, std::stod(match[2]) * kMmPerPoint, {}});
    } else if (!pages.empty() && std::regex_search(line, match, kWord)) {
      pages.back().words.push_back({Unescaped(match[5]), std::stod(match[1]) * kMmPerPoint,
                                    std::stod(match[2]) * kMmPerPoint,
                                    std::stod(match[3]) * kMmPerPoint,
                                    std::stod(match[4]) * kMmPerPoint});
    }
  }
  return pages;
}

// page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
std::vector<PdfImage> ParseImages(const std::string& list) {
  std::vector<PdfImage> images;
  std::istringstream lines(list);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    PdfImage image;
    std::string num, type, color, comp, bpc, interp, generation;
    if (!(fields >> image.page >> num >> type >> image.width >> image.height >> color >> comp >>
          bpc >> image.encoding >> interp >> image.object >> generation >> image.xPpi >>
          image.yPpi)) {
      continue;  // the heading
    }
    images.push_back(image);
  }
  return images;
}

}  // namespace

const PdfWord* PdfPage::Find(const std::string& text) const {
  for (const PdfWord& word : words) {
    if (word.text == text) return &word;
  }
  return nullptr;
}

std::string PdfPage::Text() const {
  std::string text;
  for (const PdfWord& word : words) {
    if (!text.empty()) text += ' ';
    text += word.text;
  }
  return text;
}

std::optional<PdfProbe> PdfProbe::Read(const std::string& path) {
  if (!PdfFaults(path).empty()) return std::nullopt;
  const QString file = QString::fromStdString(path);
  const auto boxes = Output("pdftotext", {"-bbox", file, "-"});
  const auto list = Output("pdfimages", {"-list", file});
  if (!boxes || !list) return std::nullopt;
  return PdfProbe{ParseBoxes(*boxes), ParseImages(*list)};
}

PdfProbe PdfProbe::Require(const std::string& path) {
  auto probe = Read(path);
  if (!probe) throw std::runtime_error("poppler cannot read " + path + "\n" + PdfFaults(path));
  return *probe;
}

std::vector<std::string> PdfProbe::Texts() const {
  std::vector<std::string> texts;
  for (const PdfPage& page : pages) texts.push_back(page.Text());
  return texts;
}

QImage RenderedPage(const std::string& pdf, int page, int dpi, QSize part) {
  const QString base = QString::fromStdString(pdf) + QStringLiteral("-page");
  const QString number = QString::number(page);
  QStringList arguments = {"-r", QString::number(dpi), "-f", number, "-l", number};
  if (!part.isEmpty()) {
    arguments += {"-x", "0",
                  "-y", "0",
                  "-W", QString::number(part.width()),
                  "-H", QString::number(part.height())};
  }
  arguments += {"-png", "-singlefile", QString::fromStdString(pdf), base};
  if (!Output(QStringLiteral("pdftoppm"), arguments)) {
    throw std::runtime_error("pdftoppm cannot draw page " + std::to_string(page) + " of " + pdf);
  }
  return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

}  // namespace lvx::testing
