// The form description of TForm1: every property of the window and its controls.

#include "ui/Unit1.h"

#include <array>

namespace {

// clang-format off
constexpr FontDescription kCaptionFont{.Name = "Arial", .Height = -13, .Color = TColor::clWindowText,
                                       .Charset = TFontCharset::Ansi, .Bold = true};
constexpr FontDescription kHintFont{.Name = "Arial", .Height = -16, .Color = TColor::clRed,
                                    .Charset = TFontCharset::Ansi, .Bold = true};

constexpr auto Label = ControlKind::Label;
constexpr auto Edit = ControlKind::Edit;

constexpr std::array kControls{
  ControlDescription{.Kind = Label, .Name = "Label6", .Left = 8, .Top = 8, .Width = 343, .Height = 19,
                     .Caption = "Input a . instead of a comma example:  124.56", .Font = &kHintFont},
  ControlDescription{.Kind = Label, .Name = "Label1", .Left = 8, .Top = 65, .Width = 89, .Height = 16,
                     .Caption = "Money to call:", .Font = &kCaptionFont, .FocusControl = "MoneyToCallEdit"},
  ControlDescription{.Kind = Edit, .Name = "MoneyToCallEdit", .Left = 195, .Top = 64, .Width = 137, .Height = 21,
                     .TabOrder = 1},
  ControlDescription{.Kind = Label, .Name = "Label2", .Left = 8, .Top = 96, .Width = 181, .Height = 16,
                     .Caption = "Money to win after your call:", .Font = &kCaptionFont, .FocusControl = "WinningsEdit"},
  ControlDescription{.Kind = Edit, .Name = "WinningsEdit", .Left = 195, .Top = 91, .Width = 137, .Height = 21,
                     .TabOrder = 2},
  ControlDescription{.Kind = Label, .Name = "Label7", .Left = 8, .Top = 128, .Width = 153, .Height = 16,
                     .Caption = "Amount of known cards:", .Font = &kCaptionFont, .FocusControl = "KnownCardsEdit"},
  ControlDescription{.Kind = Edit, .Name = "KnownCardsEdit", .Left = 195, .Top = 127, .Width = 137, .Height = 21,
                     .TabOrder = 3},
  ControlDescription{.Kind = Label, .Name = "Label3", .Left = 8, .Top = 163, .Width = 62, .Height = 16,
                     .Caption = "Your outs:", .Font = &kCaptionFont, .FocusControl = "OutsEdit"},
  ControlDescription{.Kind = Edit, .Name = "OutsEdit", .Left = 195, .Top = 162, .Width = 137, .Height = 21,
                     .TabOrder = 4},
  ControlDescription{.Kind = Label, .Name = "Label4", .Left = 8, .Top = 208, .Width = 49, .Height = 16,
                     .Caption = "Call EV:", .Font = &kCaptionFont, .FocusControl = "CallEvEdit"},
  ControlDescription{.Kind = Edit, .Name = "CallEvEdit", .Left = 195, .Top = 207, .Width = 137, .Height = 21,
                     .ReadOnly = true, .TabOrder = 5},
  ControlDescription{.Kind = Label, .Name = "Label5", .Left = 8, .Top = 239, .Width = 52, .Height = 16,
                     .Caption = "Fold EV:", .Font = &kCaptionFont, .FocusControl = "FoldEvEdit"},
  ControlDescription{.Kind = Edit, .Name = "FoldEvEdit", .Left = 195, .Top = 239, .Width = 137, .Height = 21,
                     .ReadOnly = true, .TabOrder = 6},
  ControlDescription{.Kind = ControlKind::Button, .Name = "Button1", .Left = 195, .Top = 296, .Width = 75,
                     .Height = 25, .Caption = "Calculated", .TabOrder = 0, .OnClick = "Button1Click"},
};
// clang-format on

}  // namespace

const FormDescription TFORM1{
    .Name = "Form1",
    .Caption = "Quarn EV calculator",
    .Left = 0,
    .Top = 0,
    .ClientWidth = 375,
    .ClientHeight = 342,
    .Color = TColor::clBtnFace,
    .Font = {.Name = "Tahoma",
             .Height = -11,
             .Color = TColor::clWindowText,
             .Charset = TFontCharset::Default,
             .Bold = false},
    .PixelsPerInch = 96,
    .TextHeight = 13,
    .Controls = kControls,
};
