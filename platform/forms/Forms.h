#pragma once

// The form seam: the application object, forms and their controls. Backends implement these
// classes; this header exposes no backend type.

#include "platform/forms/Classes.h"
#include "platform/forms/Controls.h"
#include "platform/forms/FormDescription.h"
#include "platform/runtime/Exception.h"

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

// A window whose controls are created from a form description. A derived form declares its
// controls as fields initialised with Bind<...>("Name") and ends with one Publish(...) of its
// event handlers, which checks that every control found its field. Any mismatch is an Exception
// raised while the form is constructed. A field declared after the handler table would escape
// that check; HandlerTableIsLast turns the mistake into a compile error (see ui/Unit1.h).
class TForm : public TComponent {
 public:
  ~TForm() override;

  struct Native;  // the backend's window; defined by the backend only
  Native& Handle() const { return *native_; }

 protected:
  TForm(TComponent* Owner, const FormDescription& description);

  template <class Control>
  Control* Bind(std::string_view name) {
    auto* control = dynamic_cast<Control*>(BindComponent(name));
    if (control == nullptr) RaiseWrongKind(name, Control::ClassName);
    return control;
  }

  template <class Form>
  struct Handler {
    std::string_view Name;
    void (Form::*Method)(TObject* Sender);
  };
  struct Published {};

  template <class Form>
  Published Publish(std::initializer_list<Handler<Form>> handlers) {
    std::vector<std::pair<std::string_view, TNotifyEvent>> events;
    for (const Handler<Form>& handler : handlers) {
      events.emplace_back(handler.Name, [form = static_cast<Form*>(this), method = handler.Method](
                                            TObject* sender) { (form->*method)(sender); });
    }
    return Loaded(std::move(events));
  }

 private:
  TComponent* BindComponent(std::string_view name);
  [[noreturn]] void RaiseWrongKind(std::string_view name, std::string_view kind) const;
  Published Loaded(std::vector<std::pair<std::string_view, TNotifyEvent>> events);

  const FormDescription& description_;
  std::vector<const TComponent*> bound_;
  std::unique_ptr<Native> native_;
};

// The application object: owns the forms, runs the event loop and reports errors.
class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Prepares the backend. Where no window can be opened at all (no display, no usable platform),
  // prints one line saying what is missing and ends the process with exit code 1.
  void Initialize();
  // The main form's own window carries the task-bar entry. Both backends give every top-level
  // window its own entry, so true is what they do already and false is not offered.
  void SetApplicationMainFormOnTaskBar(bool /*value*/) {}

  // Constructs a form owned by the application; the first form created is the main form.
  template <class Form>
  void CreateForm(Form*& reference) {
    reference = new Form(this);
    if (mainForm_ == nullptr) mainForm_ = reference;
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and delivers events until it is closed.
  void Run();
  // Shows the message in a modal error box and returns once it is dismissed; without a
  // display, prints it on stderr instead.
  void ShowException(const Exception& exception);

  struct Native;

 private:
  std::unique_ptr<Native> native_;
  TForm* mainForm_ = nullptr;
};

extern TApplication* Application;

// Whether a member at `offset`, `size` bytes long, is Form's last data member: what follows it is
// padding, too short for another field. Used with offsetof after the form's class.
template <class Form>
consteval bool HandlerTableIsLast(std::size_t offset, std::size_t size) {
  return sizeof(Form) - (offset + size) < alignof(Form);
}

// Runs an event handler; an exception it raises is shown by the application, never propagated.
void DispatchEvent(const TNotifyEvent& event, TObject* sender);
