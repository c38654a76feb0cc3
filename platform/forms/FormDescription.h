#pragma once

#include <span>
#include <string_view>

// A form as data: the form's properties and every control's, read when the form is created.

enum class TColor { clBtnFace, clWindowText, clRed };
enum class TFontCharset { Default, Ansi };  // DEFAULT_CHARSET, ANSI_CHARSET

struct FontDescription {
  std::string_view Name;
  int Height;  // negative: character height in pixels without internal leading
  TColor Color;
  TFontCharset Charset;
  bool Bold;
};

enum class ControlKind { Label, Edit, Button };

struct ControlDescription {
  ControlKind Kind;
  std::string_view Name;
  int Left, Top, Width, Height;
  std::string_view Caption{};             // a label's or button's caption, an edit's initial text
  const FontDescription* Font = nullptr;  // nullptr: the form's font
  bool ReadOnly = false;
  int TabOrder = -1;                // -1: not a tab stop
  std::string_view FocusControl{};  // a label: the field it names
  std::string_view OnClick{};       // a button: the form's handler, by name
};

struct FormDescription {
  std::string_view Name;
  std::string_view Caption;
  int Left, Top, ClientWidth, ClientHeight;
  TColor Color;
  FontDescription Font;
  int PixelsPerInch;
  int TextHeight;
  std::span<const ControlDescription> Controls;
};
