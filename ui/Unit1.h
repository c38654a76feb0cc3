#pragma once

// The calculator window. A click on Button1 flows: four field texts -> TextToDouble ->
// ComputeEv -> two texts -> CallEvEdit, FoldEvEdit. The controls and their properties come from
// the form description TFORM1; the fields below are bound to them by name.

#include "platform/forms/Forms.h"

#include <cstddef>

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* Owner);

  TButton* Button1 = Bind<TButton>("Button1");
  TLabel* Label1 = Bind<TLabel>("Label1");
  TLabel* Label2 = Bind<TLabel>("Label2");
  TLabel* Label3 = Bind<TLabel>("Label3");
  TLabel* Label4 = Bind<TLabel>("Label4");
  TLabel* Label5 = Bind<TLabel>("Label5");
  TLabel* Label6 = Bind<TLabel>("Label6");
  TLabel* Label7 = Bind<TLabel>("Label7");
  TEdit* MoneyToCallEdit = Bind<TEdit>("MoneyToCallEdit");
  TEdit* WinningsEdit = Bind<TEdit>("WinningsEdit");
  TEdit* KnownCardsEdit = Bind<TEdit>("KnownCardsEdit");
  TEdit* OutsEdit = Bind<TEdit>("OutsEdit");
  TEdit* CallEvEdit = Bind<TEdit>("CallEvEdit");
  TEdit* FoldEvEdit = Bind<TEdit>("FoldEvEdit");

  void Button1Click(TObject* Sender);

  // Last member: binds the handlers and checks that every control has its field.
  Published published_ = Publish<TForm1>({{"Button1Click", &TForm1::Button1Click}});
};

// A field declared after the handler table would be bound after its check: that does not compile.
// TForm1 is not standard-layout, yet GCC and Clang give the offset of its own members.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(HandlerTableIsLast<TForm1>(offsetof(TForm1, published_), sizeof TForm1::published_),
              "TForm1: declare every field before the handler table published_");
#pragma GCC diagnostic pop

extern TForm1* Form1;

// The form description of TForm1.
extern const FormDescription TFORM1;
