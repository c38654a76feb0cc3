#include "platform/forms/Forms.h"

void DispatchEvent(const TNotifyEvent& event, TObject* sender) {
  try {
    if (event) event(sender);
  } catch (const Exception& exception) {
    Application->ShowException(exception);
  } catch (const std::exception& exception) {
    Application->ShowException(Exception(exception.what()));
  } catch (...) {
    Application->ShowException(Exception(""));
  }
}
