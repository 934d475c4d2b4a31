// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_editor.h"

#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <unistd.h>

#include <QFile>
#include <memory>

namespace lvx {
namespace {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct ErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};

// A descriptor of /dev/null, closed with this object.
class NullDevice {
 public:
  NullDevice() : fd_(open("/dev/null", O_RDWR | O_CLOEXEC)) {}
  ~NullDevice() {
    if (fd_ >= 0) close(fd_);
  }
  NullDevice(const NullDevice&) = delete;
  NullDevice& operator=(const NullDevice&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

bool IsDesktopEntry(GAppInfo* app) {
  return g_type_check_instance_is_a(reinterpret_cast<GTypeInstance*>(app),
                                    g_desktop_app_info_get_type());
}

// Desktop entries are started with the output given to /dev/null; the
// generic launch, for other kinds of application, cannot redirect it.
bool Launch(GAppInfo* app, GFile* file) {
  GError* rawError = nullptr;
  bool launched = false;
  if (IsDesktopEntry(app)) {
    NullDevice null;
    if (null.fd() < 0) return false;
    char* uri = g_file_get_uri(file);
    GList uris{uri, nullptr, nullptr};
    launched = g_desktop_app_info_launch_uris_as_manager_with_fds(
        reinterpret_cast<GDesktopAppInfo*>(app), &uris, nullptr, G_SPAWN_SEARCH_PATH, nullptr,
        nullptr, nullptr, nullptr, -1, null.fd(), null.fd(), &rawError);
    g_free(uri);
  } else {
    GList files{file, nullptr, nullptr};
    launched = g_app_info_launch(app, &files, nullptr, &rawError);
  }
  std::unique_ptr<GError, ErrorFree> error(rawError);
  return launched;
}

}  // namespace

bool LaunchDefaultTextEditor(const QString& file) {
  if (file.isEmpty()) return false;
  GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type("text/plain", FALSE));
  if (!app) return false;
  // GIO hands out an entry named in mimeapps.list even when the user's copy
  // marks it Hidden, that is deleted.
  if (IsDesktopEntry(app.get()) &&
      g_desktop_app_info_get_is_hidden(reinterpret_cast<GDesktopAppInfo*>(app.get()))) {
    return false;
  }
  GObjectPtr<GFile> gfile(g_file_new_for_path(QFile::encodeName(file).constData()));
  return Launch(app.get(), gfile.get());
}

}  // namespace lvx
