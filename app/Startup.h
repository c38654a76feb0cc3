#pragma once

#include "platform/forms/Forms.h"

// The program's start-up: prepare the application, create the main form, run until it closes.
// An escaping error is shown once in the error dialog; the exit code then is 1, else 0.
template <class MainForm>
int StartApplication(MainForm*& mainForm) {
  try {
    Application->Initialize();
    Application->SetApplicationMainFormOnTaskBar(true);
    Application->CreateForm(mainForm);
    Application->Run();
  } catch (const Exception& exception) {
    Application->ShowException(exception);
    return 1;
  } catch (...) {
    try {
      throw Exception("");
    } catch (const Exception& exception) {
      Application->ShowException(exception);
    }
    return 1;
  }
  return 0;
}
