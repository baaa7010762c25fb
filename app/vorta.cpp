#include "app/vorta.h"

#include "app/injection.h"
#include "platform/controls/std_control_types.h"
#include "platform/core/numbers.h"
#include "platform/forms/form_reader.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  // The program's unit initialisation has registered the library's classes
  // already; a form made without it (a test) brings the unit up itself.
  KvgradientUnit().Require();
  RegisterStandardControls();
  ReadComponentRes(QStringLiteral("TFORM1"), this);
  KvGradient1 = Control<TKvGradient>("KvGradient1");
  Label1 = Control<TLabel>("Label1");
  Label2 = Control<TLabel>("Label2");
  Label3 = Control<TLabel>("Label3");
  Label5 = Control<TLabel>("Label5");
  Image1 = Control<TImage>("Image1");
  Label4 = Control<TLabel>("Label4");
  Label6 = Control<TLabel>("Label6");
  Memo1 = Control<TMemo>("Memo1");
  ComboBox1 = Control<TComboBox>("ComboBox1");
  ComboBox2 = Control<TComboBox>("ComboBox2");
  UpDown1 = Control<TUpDown>("UpDown1");
  Edit1 = Control<TEdit>("Edit1");
  Edit2 = Control<TEdit>("Edit2");
  UpDown2 = Control<TUpDown>("UpDown2");
  Button1 = Control<TButton>("Button1");
  ComboBox3 = Control<TComboBox>("ComboBox3");
  EditWynik = Control<TEdit>("EditWynik");
}

TForm1::~TForm1() {
  Destroying();
  if (Form1 == this) Form1 = nullptr;
}

template <typename T>
T* TForm1::Control(const char* name) {
  TComponent* component = FindComponent(QLatin1String(name));
  if (!component)
    throw EReadError(Exception::Fmt("TFORM1: component %s is missing", QString::fromLatin1(name)));
  return CheckedCast<T>(component);
}

void TForm1::UpDown1Click(TObject* /*Sender*/, TUDBtnType /*Button*/) {
  Edit1->SetText(IntToStr(UpDown1->Position()));
}

void TForm1::UpDown2Click(TObject* /*Sender*/, TUDBtnType /*Button*/) {
  Edit2->SetText(IntToStr(UpDown2->Position()) + QStringLiteral(" ms"));
}

void TForm1::Button1Click(TObject* /*Sender*/) {
  const std::optional<InjectionTexts> texts =
      ComputeInjection(UpDown1->Position(), ComboBox2->ItemIndex(), UpDown2->Position(),
                       ComboBox3->ItemIndex(), ComboBox1->ItemIndex());
  // The window's time spinner never reaches 0; a program that moves it there
  // gets the error in the result field rather than a division by zero.
  if (!texts) {
    Memo1->SetText(QString());
    EditWynik->SetText(QStringLiteral("error: time 0 ms"));
    return;
  }
  Memo1->SetText(texts->memo);
  EditWynik->SetText(texts->result);
}
