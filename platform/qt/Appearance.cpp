#include "platform/qt/Appearance.h"

#include "platform/forms/Contrast.h"
#include "platform/qt/DesktopContrast.h"

#include <QEvent>
#include <QPalette>

#include <cstdlib>
#include <optional>

namespace {

QFont ToQFont(const FontDescription& font) {
  QFont result(QString::fromUtf8(font.Name.data(), static_cast<qsizetype>(font.Name.size())));
  // A negative height is the character height without internal leading: the em size in pixels.
  // The character set has no meaning for Qt's Unicode fonts.
  result.setPixelSize(std::abs(font.Height));
  result.setBold(font.Bold);
  return result;
}

// The palette role a system colour is; red is no system colour.
std::optional<QPalette::ColorRole> RoleOf(TColor color) {
  switch (color) {
    case TColor::clBtnFace:
      return QPalette::Button;
    case TColor::clWindowText:
      return QPalette::WindowText;
    case TColor::clRed:
      break;
  }
  return std::nullopt;
}

Rgb ToRgb(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return {static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
          static_cast<std::uint8_t>(rgb.blue())};
}

// Keeps a red text readable on the background it is drawn on: pure red on a light one, a lighter
// red on a dark one, and the window's text colour where the desktop asks for higher contrast.
// Worked out again whenever the palette, the theme or the contrast preference changes.
class RedText : public QObject {
 public:
  explicit RedText(QWidget& widget) : QObject(&widget), widget_(widget) {
    widget.setForegroundRole(QPalette::WindowText);  // not the one that goes with the background
    widget.installEventFilter(this);
    connect(&DesktopContrast::Instance(), &DesktopContrast::Changed, this, &RedText::Update);
    Update();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::PaletteChange:
      case QEvent::ApplicationPaletteChange:
      case QEvent::ThemeChange:
      case QEvent::StyleChange:
      case QEvent::ParentChange:
        Update();
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QColor Wanted() const {
    const QWidget* ground = widget_.parentWidget() != nullptr ? widget_.parentWidget() : &widget_;
    const QPalette& palette = ground->palette();
    if (DesktopContrast::Instance().High()) return palette.color(QPalette::WindowText);
    const Rgb colour = HintColourOn(ToRgb(palette.color(ground->backgroundRole())));
    return {colour.r, colour.g, colour.b};
  }

  // Setting the colour changes the palette again: only a different colour is set.
  void Update() {
    const QColor wanted = Wanted();
    QPalette palette = widget_.palette();
    if (palette.isBrushSet(QPalette::Active, QPalette::WindowText) &&
        palette.color(QPalette::WindowText) == wanted) {
      return;
    }
    palette.setColor(QPalette::WindowText, wanted);
    widget_.setPalette(palette);
  }

  QWidget& widget_;
};

}  // namespace

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void ApplyFont(QWidget& widget, const FontDescription& font) {
  widget.setFont(ToQFont(font));
  if (const auto role = RoleOf(font.Color)) {
    widget.setForegroundRole(*role);
  } else {
    new RedText(widget);  // owned by the widget
  }
}

void ApplyBackground(QWidget& window, TColor color) {
  if (const auto role = RoleOf(color)) {
    window.setBackgroundRole(*role);
  } else {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 0));
    window.setPalette(palette);
  }
  window.setAutoFillBackground(true);
}
