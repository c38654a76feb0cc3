#pragma once

#include "platform/forms/FormDescription.h"

#include <QColor>
#include <QFont>
#include <QWidget>

// Fonts and colours of a form description, in Qt terms.
QFont ToQFont(const FontDescription& font);
QColor ToQColor(TColor color);
void ApplyFont(QWidget& widget, const FontDescription& font);
