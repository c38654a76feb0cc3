#include "ui/Unit1.h"

#include "calc/ComputeEv.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* Owner) : TForm(Owner, TFORM1) {}

void TForm1::Button1Click(TObject* /*Sender*/) {
  const EvResults results = ComputeEv(MoneyToCallEdit->GetText(), WinningsEdit->GetText(),
                                      OutsEdit->GetText(), KnownCardsEdit->GetText());
  CallEvEdit->SetText(results.CallEv);
  FoldEvEdit->SetText(results.FoldEv);
}
