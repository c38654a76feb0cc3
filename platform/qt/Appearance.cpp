#include "platform/qt/Appearance.h"

#include <QGuiApplication>
#include <QPalette>

#include <cstdlib>

namespace {

QFont ToQFont(const FontDescription& font) {
  QFont result(QString::fromUtf8(font.Name.data(), static_cast<qsizetype>(font.Name.size())));
  // A negative height is the character height without internal leading: the em size in pixels.
  // The character set has no meaning for Qt's Unicode fonts.
  result.setPixelSize(std::abs(font.Height));
  result.setBold(font.Bold);
  return result;
}

}  // namespace

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(TColor color) {
  const QPalette system = QGuiApplication::palette();
  switch (color) {
    case TColor::clBtnFace:
      return system.color(QPalette::Button);
    case TColor::clWindowText:
      return system.color(QPalette::WindowText);
    case TColor::clRed:
      return QColor(255, 0, 0);
  }
  return {};
}

void ApplyFont(QWidget& widget, const FontDescription& font) {
  widget.setFont(ToQFont(font));
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, ToQColor(font.Color));
  palette.setColor(QPalette::ButtonText, ToQColor(font.Color));
  widget.setPalette(palette);
}
