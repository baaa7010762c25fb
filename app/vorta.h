#pragma once
// The calculator's main window. Its controls and their initial state come
// from the form description TFORM1 compiled into the program; the handlers
// keep the quantity and time fields up to date and run the calculation.

#include "kv/controls/kv_gradient.h"
#include "platform/controls/button.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/edit.h"
#include "platform/controls/form.h"
#include "platform/controls/image.h"
#include "platform/controls/label.h"
#include "platform/controls/memo.h"
#include "platform/controls/up_down.h"

class TForm1 : public TForm {
  Q_OBJECT
 public:
  // Reads TFORM1 into the new form; raises EReadError if the description
  // does not hold every control below.
  Q_INVOKABLE explicit TForm1(TComponent* AOwner = nullptr);
  ~TForm1() override;

  // The controls, owned by the form.
  TKvGradient* KvGradient1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label5 = nullptr;
  TImage* Image1 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label6 = nullptr;
  TMemo* Memo1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TComboBox* ComboBox2 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TEdit* Edit1 = nullptr;
  TEdit* Edit2 = nullptr;
  TUpDown* UpDown2 = nullptr;
  TButton* Button1 = nullptr;
  TComboBox* ComboBox3 = nullptr;
  TEdit* EditWynik = nullptr;

  // Quantity spinner: its position as plain decimal text into Edit1.
  Q_INVOKABLE void UpDown1Click(TObject* Sender, TUDBtnType Button);
  // Time spinner: its position followed by " ms" into Edit2.
  Q_INVOKABLE void UpDown2Click(TObject* Sender, TUDBtnType Button);
  // Calculates from the current inputs into Memo1 and EditWynik.
  Q_INVOKABLE void Button1Click(TObject* Sender);

 private:
  template <typename T>
  T* Control(const char* name);
};

// The main window once the application created it.
extern TForm1* Form1;
