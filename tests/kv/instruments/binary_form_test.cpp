// The binary instruments in form descriptions: the unit registers them, their
// settings objects are written as dotted properties and read back, and a
// description read and written again comes out the same.

#include <gtest/gtest.h>

#include <memory>

#include "kv/instruments/binary_instruments.h"
#include "kv/instruments/kv_led_lamp.h"
#include "kv/instruments/kv_radio_button.h"
#include "kv/instruments/kv_spin_box.h"
#include "kv/instruments/kv_toggle_switch.h"
#include "platform/controls/form.h"
#include "platform/core/class_registry.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

namespace {

std::unique_ptr<TForm> NewForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName("Panel1");
  return form;
}

TEST(BinaryInstrumentsForm, SettingsSurviveAWriteAndReadRoundTrip) {
  auto form = NewForm();
  auto* lamp = new TKvLedLamp(form.get());
  lamp->SetName("Lamp1");
  lamp->LED()->SetShape(sArrowUp);
  lamp->LED()->SetColorOn(clRed);
  lamp->LED()->SetWidth(20);
  lamp->Bevel()->SetWidth(3);
  lamp->Bevel()->Offset()->SetLeft(2);
  lamp->SetFrequency(ff4Hz);
  lamp->SetFlashing(true);
  lamp->SetChecked(true);
  auto* sw = new TKvToggleSwitch(form.get());
  sw->SetName("Switch1");
  sw->SetCaption("Pump");
  sw->SetSlotColorOn(clAqua);
  sw->Bevel()->SetColor(clYellow);
  sw->SetChecked(true);
  TKvRadioButton* radio[3];
  for (int i = 0; i < 3; ++i) {
    radio[i] = new TKvRadioButton(form.get());
    radio[i]->SetName(QStringLiteral("Radio%1").arg(i + 1));
    radio[i]->SetGroupIndex(1);
    radio[i]->LED()->SetColorOn(clBlue);
  }
  radio[2]->SetChecked(true);
  auto* spin = new TKvSpinBox(form.get());
  spin->SetName("Spin1");
  spin->SetParent(form.get());
  spin->SetDecimals(2);
  spin->SetIncrement(0.05);
  spin->SetMinValue(-1);
  spin->SetMaxValue(2);
  spin->SetValue(1.25);
  spin->SetInterval(60);

  const QString text = WriteComponentToText(form.get());
  const std::string shown = text.toStdString();
  for (const char* expected :
       {"object Lamp1: TKvLedLamp", "LED.Shape = sArrowUp", "LED.ColorOn = clRed", "LED.Width = 20",
        "Bevel.Width = 3", "Bevel.Offset.Left = 2", "Frequency = ff4Hz", "Flashing = True",
        "Caption = 'Pump'", "SlotColorOn = clAqua", "Bevel.Color = clYellow", "Value = 1.25",
        "Increment = 0.05", "Interval = 60"})
    EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected << "\n" << shown;
  // Defaults stay out.
  EXPECT_FALSE(text.contains("LED.ColorOff")) << shown;
  EXPECT_FALSE(text.contains("StartDelay")) << shown;

  KvBinaryInstrumentsUnit().Require();
  auto copy = std::make_unique<TForm>(nullptr);
  ReadComponentFromText(text, copy.get(), "BINFORM");
  // Written again, the copy gives the same text: every stored setting came
  // back. What the text does not show: the live state behind it.
  auto* lamp2 = qobject_cast<TKvLedLamp*>(copy->FindComponent("Lamp1"));
  auto* spin2 = qobject_cast<TKvSpinBox*>(copy->FindComponent("Spin1"));
  auto* radio1 = qobject_cast<TKvRadioButton*>(copy->FindComponent("Radio1"));
  ASSERT_TRUE(lamp2 && spin2 && radio1);
  EXPECT_TRUE(lamp2->Checked() && lamp2->Flashing());
  EXPECT_EQ(spin2->Edit()->Text(), QStringLiteral("1.25"));
  EXPECT_EQ(radio1->StatusInt(), 4);  // the group's word names the third button
  EXPECT_EQ(WriteComponentToText(copy.get()).toStdString(), shown);
}

// A stored value outside bounds that come later in the text (or not at all)
// is clamped once loading ends, not before.
TEST(BinaryInstrumentsForm, SpinBoxBoundsApplyAfterLoading) {
  KvBinaryInstrumentsUnit().Require();
  const char* text =
      "object Panel1: TForm\n"
      "  object Spin1: TKvSpinBox\n"
      "    Value = 150\n"
      "    MaxValue = 200\n"
      "  end\n"
      "  object Spin2: TKvSpinBox\n"
      "    Value = 150\n"
      "  end\n"
      "end\n";
  auto form = NewForm();
  ReadComponentFromText(QString::fromLatin1(text), form.get(), "SPINFORM");
  EXPECT_EQ(qobject_cast<TKvSpinBox*>(form->FindComponent("Spin1"))->Value(), 150);
  auto* spin2 = qobject_cast<TKvSpinBox*>(form->FindComponent("Spin2"));
  EXPECT_EQ(spin2->Value(), 100);
  EXPECT_EQ(spin2->Edit()->Text(), QStringLiteral("100"));
}

}  // namespace
