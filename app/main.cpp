#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QtGlobal>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string_view>

#include "app/command_line.h"
#include "app/workspace.h"
#include "book/system_error.h"
#include "form/layout.h"
#include "ui/application.h"
#include "ui/calculator/form1.h"

namespace {

// Qt would abort with a platform-plugin error; say plainly what is missing instead.
bool no_display() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
  return false;
#endif
}

// Without a screen the user still gets to see the started window, as a picture.
int show_as_picture(QApplication& app) {
  loadcalc::ui::Form1 form;
  form.show();
  app.processEvents();
  const QString path =
      QDir(QDir::tempPath())
          .filePath(QStringLiteral("loadcalc-%1.png").arg(QApplication::applicationPid()));
  QFile file(path);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) {
    // Read at once: the reason is the operating system's, and the next call may replace it.
    const int error = errno;
    const QString reason =
        error ? QString::fromStdString(loadcalc::system_error_text(error)) : file.errorString();
    const QString message = loadcalc::folder_error(error)
                                ? QStringLiteral("loadcalc：无法写入文件夹 “%1”：%2\n")
                                      .arg(QDir::toNativeSeparators(QDir::tempPath()), reason)
                                : QStringLiteral("loadcalc：无法写入窗口图片 “%1”：%2\n")
                                      .arg(QDir::toNativeSeparators(path), reason);
    std::fputs(message.toLocal8Bit().constData(), stderr);
    return 1;
  }
  if (!form.grab().save(&file, "PNG")) {
    file.remove();
    std::fputs(QStringLiteral("loadcalc：无法写入窗口图片 “%1”\n")
                   .arg(QDir::toNativeSeparators(path))
                   .toLocal8Bit()
                   .constData(),
               stderr);
    return 1;
  }
  // scripts/screenshot reads the file's name from this line.
  std::fputs(QStringLiteral("loadcalc：启动的窗口已存为图片 %1\n")
                 .arg(QDir::toNativeSeparators(path))
                 .toLocal8Bit()
                 .constData(),
             stdout);
  return 0;
}

// The scripts that picture the window ask where things are rather than retype the layout:
// "--print-geometry" prints the client area, "--print-geometry NAME" a control's rectangle in it,
// both in pixels as X11 writes geometry (WxH, WxH+X+Y).
int print_geometry(const char* name) {
  using namespace loadcalc::form;
  if (!name) {
    std::printf("%dx%d\n", to_pixels(client_width_twips), to_pixels(client_height_twips));
    return 0;
  }
  const auto control = control_named(name);
  if (!control) {
    std::fprintf(stderr, "loadcalc：没有名为 %s 的控件\n", name);
    return 2;
  }
  int x = 0;
  int y = 0;
  for (auto c = control; c; c = control_named(c->container)) {
    x += to_pixels(c->left);
    y += to_pixels(c->top);
  }
  std::printf("%dx%d+%d+%d\n", to_pixels(control->width), to_pixels(control->height), x, y);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1 && std::string_view(argv[1]) == "--print-geometry")
    return print_geometry(argc > 2 ? argv[2] : nullptr);
  if (loadcalc::app::asks_for_information(argc, argv))
    return loadcalc::app::print_information(argc, argv);
  if (loadcalc::app::asks_for_export(argc, argv)) return loadcalc::app::run_export(argc, argv);
  const bool headless = no_display();
  if (headless) {
    std::fputs(
        "loadcalc：没有可用的显示（DISPLAY 和 WAYLAND_DISPLAY 都未设置），窗口无法在此显示。\n",
        stderr);
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // A session without a display seldom has a runtime directory, and Qt warns when it has to make
  // one up; this run gets a private one, removed at exit.
  std::optional<QTemporaryDir> runtime_dir;
  if (headless && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    runtime_dir.emplace();
    if (runtime_dir->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_dir->path()));
  }
  QApplication app(argc, argv);
  loadcalc::ui::configure_application(app);
  if (headless) return show_as_picture(app);
  loadcalc::ui::Form1 form;
  loadcalc::app::Workspace workspace(form);
  form.show();
  loadcalc::app::open_books(workspace, QApplication::arguments());
  return QApplication::exec();
}
