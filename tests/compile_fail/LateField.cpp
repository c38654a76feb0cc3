// Must not compile: a field declared after the handler table.

#include "platform/forms/Forms.h"

#include <cstddef>

class TLateForm : public TForm {
 public:
  explicit TLateForm(TComponent* Owner);
  TEdit* Field = Bind<TEdit>("Field");
  void GoClick(TObject*) {}
  Published published_ = Publish<TLateForm>({{"GoClick", &TLateForm::GoClick}});
  TButton* Go = Bind<TButton>("Go");
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(HandlerTableIsLast<TLateForm>(offsetof(TLateForm, published_),
                                            sizeof TLateForm::published_),
              "TLateForm: declare every field before the handler table published_");
#pragma GCC diagnostic pop
