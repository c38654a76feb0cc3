#pragma once

#include "platform/forms/FormDescription.h"

#include <QWidget>

#include <QString>

#include <string_view>

// Texts, fonts and colours of a form description, in Qt terms. System colours are palette roles,
// so that a widget follows the desktop's palette while the program runs.
QString ToQString(std::string_view text);
// The font, and the text colour it names.
void ApplyFont(QWidget& widget, const FontDescription& font);
// A window's background colour.
void ApplyBackground(QWidget& window, TColor color);
