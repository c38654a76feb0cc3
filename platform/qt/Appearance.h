#pragma once

#include "platform/forms/FormDescription.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <QString>

#include <string_view>

// Texts, fonts and colours of a form description, in Qt terms.
QString ToQString(std::string_view text);
QColor ToQColor(TColor color);
void ApplyFont(QWidget& widget, const FontDescription& font);
