#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QStringList>
#include <QStyleFactory>
#include <QTranslator>

#include "ui/icon.h"
#include "ui/storage.h"
#include "ui/window_style.h"

namespace loadcalc::ui {

void configure_application(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
    app.setStyle(new WindowStyle(fusion));
  QFont font;
#ifdef Q_OS_WIN
  // Windows' own simplified-Chinese interface fonts, which the captions are laid out for. Noto
  // serves where neither is installed: under Wine, and on the offscreen platform, which sees
  // only the fonts in QT_QPA_FONTDIR.
  font.setFamilies({QStringLiteral("Microsoft YaHei UI"), QStringLiteral("SimSun"),
                    QStringLiteral("Noto Sans CJK SC")});
#else
  // Named outright: left to fontconfig under the C locale, Chinese falls back to Japanese glyph
  // forms.
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                    QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
#endif
  font.setPointSize(9);
  app.setFont(font);
  // Qt's own texts too: the buttons of the check's message box and a field's context menu.
  auto* qt_texts = new QTranslator(&app);
  if (qt_texts->load(QStringLiteral(":/translations/qtbase_zh_CN.qm")))
    QCoreApplication::installTranslator(qt_texts);
  app.setWindowIcon(app_icon());
  // Where the recent books and the book's recovery copy are kept.
  QCoreApplication::setOrganizationName(QStringLiteral("loadcalc"));
  QCoreApplication::setApplicationName(QStringLiteral("loadcalc"));
  choose_storage(QCoreApplication::applicationDirPath());
  // Lets a Wayland compositor tie the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("loadcalc"));
}

}  // namespace loadcalc::ui
