#pragma once

// A small form for tests of the form machinery, around the controls a test gives it.

#include "platform/forms/FormDescription.h"

#include <span>
#include <string_view>

constexpr FormDescription TestForm(std::string_view name,
                                   std::span<const ControlDescription> controls) {
  return {.Name = name,
          .Caption = name,
          .Left = 0,
          .Top = 0,
          .ClientWidth = 100,
          .ClientHeight = 60,
          .Color = TColor::clBtnFace,
          .Font = {.Name = "Tahoma",
                   .Height = -11,
                   .Color = TColor::clWindowText,
                   .Charset = TFontCharset::Default,
                   .Bold = false},
          .PixelsPerInch = 96,
          .TextHeight = 13,
          .Controls = controls};
}
