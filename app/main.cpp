#include "ui/Unit1.h"

int main() {
  try {
    Application->Initialize();
    Application->SetApplicationMainFormOnTaskBar(true);
    Application->CreateForm(Form1);
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
