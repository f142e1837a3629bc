#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QStringList>
#include <QStyleFactory>
#include <QTranslator>

#include "ui/icon.h"
#include "ui/window_style.h"

namespace loadcalc::ui {

void configure_application(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
    app.setStyle(new WindowStyle(fusion));
  // Named outright: left to fontconfig under the C locale, Chinese falls back to Japanese glyph
  // forms.
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                    QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
  font.setPointSize(9);
  app.setFont(font);
  // Qt's own texts too: the buttons of the check's message box and a field's context menu.
  auto* qt_texts = new QTranslator(&app);
  if (qt_texts->load(QStringLiteral(":/translations/qtbase_zh_CN.qm")))
    QCoreApplication::installTranslator(qt_texts);
  app.setWindowIcon(app_icon());
  // Lets a Wayland compositor tie the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("loadcalc"));
}

}  // namespace loadcalc::ui
