// SPDX-License-Identifier: GPL-3.0-or-later
// The file of the windows' places: written whole through an AtomicFile in
// the format QSettings reads, and files QSettings wrote read back.
#include "window_places_file.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <filesystem>

#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::TempDir;

QString Q(const std::string& path) {
  return QString::fromStdString(path);
}

// What QSettings itself writes for `places`.
std::string QSettingsText(const TempDir& dir, const StoredPlaces& places) {
  const std::string path = dir.path() + "/qsettings.conf";
  fs::remove(path);
  {
    QSettings settings(Q(path), QSettings::IniFormat);
    for (const auto& [name, at] : places) settings.setValue(name + "/pos", at);
  }
  return ReadAll(path);
}

TEST(WindowPlacesFile, WrittenAsQSettingsWritesItAndReadBack) {
  const StoredPlaces rows[] = {
      {},
      {{"Form2", {37, 41}}},
      {{"Form2", {0, 0}}, {"Form3", {-5000, 20}}, {"Form4", {2469, -100}}},
      // Names QSettings must escape.
      {{"page window", {1, 2}}, {"Fenêtre", {3, 4}}, {"窓", {5, 6}}, {"a%b", {7, 8}}},
      {{"General", {9, 10}}},
  };
  const TempDir dir;
  const std::string path = dir.path() + "/lvx/lvxview-windows.conf";
  for (const StoredPlaces& places : rows) {
    const std::string text = WindowPlacesText(places).toStdString();
    EXPECT_EQ(text, QSettingsText(dir, places));
    ASSERT_TRUE(WriteWindowPlaces(Q(path), places));
    EXPECT_EQ(ReadAll(path), text);
    EXPECT_EQ(ReadWindowPlaces(Q(path)), places) << text;
  }
}

// Files written before, by QSettings, with whatever else a hand put there.
TEST(WindowPlacesFile, ReadsOnlyPlacesFromAnyIniFile) {
  const TempDir dir;
  const struct {
    const char* bytes;
    StoredPlaces places;
  } rows[] = {
      {"[Form2]\npos=@Point(37 41)\n\n[Form3]\npos=@Point(-5 6)\n",
       {{"Form2", {37, 41}}, {"Form3", {-5, 6}}}},
      {"[Form2]\r\npos=@Point(1 2)\r\nsize=@Size(3 4)\r\n[Form3]\r\nsize=@Size(5 6)\r\n",
       {{"Form2", {1, 2}}}},
      {"[page%20window]\npos=@Point(1 2)\n", {{"page window", {1, 2}}}},
      {"pos=@Point(1 2)\n[Form2]\npos=text\n", {}},
      {"\xFF\xFE\x00[garbage\n=\n", {}},
      {"", {}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ReadWindowPlaces(Q(dir.Write("places.conf", row.bytes))), row.places) << row.bytes;
  }
  EXPECT_EQ(ReadWindowPlaces(Q(dir.path() + "/missing.conf")), StoredPlaces{});
}

// The file is replaced, never rewritten in place: a link to where the user
// keeps it stays a link, and what stands where the file should be and is
// none is left alone, as is the old file when the new one cannot be made.
TEST(WindowPlacesFile, ReplacesTheFileWholeOrLeavesItAsItWas) {
  const TempDir dir;
  const StoredPlaces places = {{"Form2", {37, 41}}};
  const std::string kept = dir.Write("dotfiles/places.conf", "[Form2]\npos=@Point(1 2)\n");
  const std::string link = dir.path() + "/config/lvx/lvxview-windows.conf";
  fs::create_directories(fs::path(link).parent_path());
  fs::create_symlink(kept, link);
  ASSERT_TRUE(WriteWindowPlaces(Q(link), places));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadWindowPlaces(Q(link)), places);
  EXPECT_EQ(fs::directory_iterator(fs::path(kept).parent_path())->path(), fs::path(kept));

  const std::string folder = dir.path() + "/folder.conf";
  fs::create_directories(folder + "/inside");
  EXPECT_FALSE(WriteWindowPlaces(Q(folder), places));
  EXPECT_TRUE(fs::is_directory(folder + "/inside"));

  // A file where the folder should be made.
  dir.Write("blocked", "mine");
  EXPECT_FALSE(WriteWindowPlaces(Q(dir.path() + "/blocked/lvx/lvxview-windows.conf"), places));
  EXPECT_EQ(ReadAll(dir.path() + "/blocked"), "mine");
}

}  // namespace
}  // namespace lvx
