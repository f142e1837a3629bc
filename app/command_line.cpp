#include "app/command_line.h"
#include "app/workspace.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "book/file.h"
#include "book/schedule.h"
#include "ui/application.h"
#include "ui/book/book_export.h"
#include "ui/qt_text.h"
#include "ui/text_decoding.h"

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
  std::fputs((QStringLiteral("loadcalc：") + message + "\n").toLocal8Bit().constData(), stderr);
  return code;
}

// A schedule saved by a spreadsheet is read by its extension; anything else is taken for a book.
bool is_schedule(const QString& path) {
  static const QStringList suffixes{QStringLiteral("csv"), QStringLiteral("tsv"),
                                    QStringLiteral("txt")};
  return suffixes.contains(QFileInfo(path).suffix().toLower());
}

// The book the input names, or the message (with the file's name) why there is none.
std::variant<Book, QString> load_input(const QString& path) {
  const auto failed = [&](std::string_view message) {
    return path + QStringLiteral("：") + ui::qstring(message);
  };
  if (!is_schedule(path)) {
    auto loaded = load_book(to_path(path));
    if (auto* error = std::get_if<ReadError>(&loaded)) return failed(error->message);
    return std::get<Book>(std::move(loaded));
  }
  std::string bytes;
  if (auto message = read_schedule_file(to_path(path), bytes)) return failed(*message);
  auto text = ui::decode_text(bytes);
  if (auto* error = std::get_if<ui::DecodeError>(&text)) return failed(error->message);
  Book book;
  auto report = import_schedule(std::get<std::string>(text), book);
  if (auto* error = std::get_if<ReadError>(&report)) return failed(error->message);
  const ImportReport& imported = std::get<ImportReport>(report);
  const QString summary = ui::qstring(import_summary(imported.added, imported.defaulted.size()));
  std::fputs((summary + QStringLiteral("\n")).toLocal8Bit().constData(), stdout);
  return book;
}

int export_book_file(const QString& out, const QString& input) {
  if (!ui::export_format_of(out)) return fail(exit_usage, ui::unknown_format_message(out));
  auto book = load_input(input);
  if (auto* message = std::get_if<QString>(&book)) return fail(exit_bad_input, *message);
  // The same writer as the book window's 导出, so that both give the same file.
  const QString message = ui::export_book(std::get<Book>(book), out);
  if (!message.isEmpty()) return fail(exit_bad_input, message);
  return exit_ok;
}

constexpr std::string_view help_option = "--help";
constexpr std::string_view version_option = "--version";

// The formats as the usage lists them: ".pdf、.odt、.html 或 .csv".
QString format_list() {
  QString out;
  const auto formats = ui::export_formats();
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (i > 0) out += i + 1 < formats.size() ? QStringLiteral("、") : QStringLiteral(" 或 ");
    out += u'.' + ui::qstring(formats[i].extension);
  }
  return out;
}

QString usage() {
  return QStringLiteral(
             "用法：\n"
             "  loadcalc\n"
             "      打开计算器\n"
             "  loadcalc 计算书.lcbook\n"
             "      打开计算器和这本计算书\n"
             "  loadcalc --export 输出文件 计算书.lcbook|计算表.csv\n"
             "      导出计算书，不打开窗口；格式由输出文件的扩展名决定：%1\n"
             "  loadcalc --help\n"
             "      显示本说明\n"
             "  loadcalc --version\n"
             "      显示版本\n"
             "\n"
             "导出的退出码：0 成功；1 无法读取计算书或无法写入输出文件；2 参数有误。\n")
      .arg(format_list());
}

}  // namespace

bool asks_for_information(int argc, char* argv[]) {
  return argc == 2 && (argv[1] == help_option || argv[1] == version_option);
}

int print_information(int, char* argv[]) {
  const QString text =
      argv[1] == version_option ? QStringLiteral("loadcalc " LOADCALC_VERSION "\n") : usage();
  std::fputs(text.toLocal8Bit().constData(), stdout);
  return std::fflush(stdout) == 0 ? exit_ok : exit_bad_input;
}

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
  ui::configure_application(app);
  // Taken from Qt rather than argv: on Windows only Qt's copy holds every file name intact.
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 4)
    return fail(exit_usage,
                QStringLiteral("用法：loadcalc --export 输出文件 计算书.lcbook|计算表.csv"));
  return export_book_file(args[2], args[3]);
}

QString book_argument(const QStringList& arguments) {
  return arguments.size() == 2 ? arguments[1] : QString();
}

void open_books(Workspace& workspace, const QStringList& arguments) {
  workspace.offer_recovery();
  const QString path = book_argument(arguments);
  // A book that cannot be read is reported by the book window itself; the calculator stays.
  if (!path.isEmpty()) workspace.open_book(path);
}

}  // namespace loadcalc::app
