#pragma once

// The Qt backend's side of the seam's opaque handles. Included by the backend and by tests only.

#include "platform/forms/Forms.h"

#include <QApplication>
#include <QWidget>

#include <memory>

struct TControl::Native {
  QWidget* widget = nullptr;  // owned by the form's window
};

struct TForm::Native {
  std::unique_ptr<QWidget> window;
};

struct TApplication::Native {
  std::unique_ptr<QApplication> application;
};

inline QWidget* NativeWidget(const TControl& control) { return control.Handle().widget; }
inline QWidget* NativeWindow(const TForm& form) { return form.Handle().window.get(); }
