// Small helpers of the Qt code: Qt strings from the core's UTF-8 texts, and the look the windows
// share (the white bands, fonts sized in pixels).
#pragma once

#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <string>

[[nodiscard]] inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
[[nodiscard]] inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// The white bands of the design: a header, a list of steps.
inline void MakeWhite(QWidget& widget) {
  widget.setAutoFillBackground(true);
  QPalette pal = widget.palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  widget.setPalette(pal);
}

[[nodiscard]] inline QFont PixelFont(const QString& family, int pixels, bool bold = false) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}
