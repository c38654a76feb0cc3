#pragma once

#include "platform/forms/Classes.h"
#include "platform/forms/FormDescription.h"
#include "platform/runtime/FieldText.h"

#include <functional>
#include <memory>

class TForm;

using TNotifyEvent = std::function<void(TObject* Sender)>;

// A control on a form, created from its description by the form and owned by it.
class TControl : public TComponent {
 public:
  ~TControl() override;

  FieldText GetText() const;
  void SetText(const FieldText& text);

  struct Native;  // the backend's control; defined by the backend only
  Native& Handle() const { return *native_; }

 protected:
  TControl(TForm* Owner, const ControlDescription& description);

 private:
  std::unique_ptr<Native> native_;
};

class TLabel final : public TControl {
 public:
  static constexpr std::string_view ClassName = "TLabel";
  TLabel(TForm* Owner, const ControlDescription& description);
};

class TEdit final : public TControl {
 public:
  static constexpr std::string_view ClassName = "TEdit";
  TEdit(TForm* Owner, const ControlDescription& description);
};

class TButton final : public TControl {
 public:
  static constexpr std::string_view ClassName = "TButton";
  TButton(TForm* Owner, const ControlDescription& description);
  TNotifyEvent OnClick;
};
