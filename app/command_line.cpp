#include "app/command_line.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "book/book.h"

namespace loadcalc::app {
namespace {

std::filesystem::path to_path(const QString& s) {
#ifdef _WIN32
  return std::filesystem::path(s.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(s).toStdString());
#endif
}

int fail(int code, const QString& message) {
  std::fputs(("loadcalc: " + message + "\n").toLocal8Bit().constData(), stderr);
  return code;
}

int export_book_file(const QString& out, const QString& book_path) {
  const QString suffix = QFileInfo(out).suffix().toLower();
  if (suffix != QLatin1String("csv") && suffix != QLatin1String("html"))
    return fail(exit_usage, QStringLiteral("不能导出为“%1”：请用 .csv 或 .html").arg(out));
  auto loaded = load_book(to_path(book_path));
  if (auto* error = std::get_if<ReadError>(&loaded))
    return fail(exit_bad_input,
                book_path + QStringLiteral("：") + QString::fromStdString(error->message));
  const Book& book = std::get<Book>(loaded);
  const std::string bytes = suffix == QLatin1String("csv") ? summary_csv(book) : book_html(book);
  if (auto message = replace_file(to_path(out), bytes))
    return fail(exit_bad_input, QString::fromStdString(*message));
  return exit_ok;
}

}  // namespace

bool asks_for_export(int argc, char* argv[]) {
  return argc >= 2 && std::strcmp(argv[1], "--export") == 0;
}

int run_export(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt warns when it has to make up a runtime directory; this run gets a private one.
  std::unique_ptr<QTemporaryDir> runtime_dir;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    runtime_dir = std::make_unique<QTemporaryDir>();
    if (runtime_dir->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_dir->path()));
  }
  QApplication app(argc, argv);
  // Taken from Qt rather than argv: on Windows only Qt's copy holds every file name intact.
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 4)
    return fail(exit_usage, QStringLiteral("用法：loadcalc --export 输出文件 计算书.lcbook"));
  return export_book_file(args[2], args[3]);
}

QString book_argument(const QStringList& arguments) {
  return arguments.size() == 2 ? arguments[1] : QString();
}

}  // namespace loadcalc::app
