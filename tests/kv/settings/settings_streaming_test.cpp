// Form descriptions of the settings objects: one holder with one object of
// each class, written, read back into a fresh holder and written again.

#include <gtest/gtest.h>

#include <memory>

#include "kv/settings/arrow_settings.h"
#include "kv/settings/bar_settings.h"
#include "kv/settings/bevel_settings.h"
#include "kv/settings/led_settings.h"
#include "kv/settings/line_settings.h"
#include "kv/settings/offset.h"
#include "kv/settings/surface_bevel.h"
#include "platform/core/component.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

namespace {

class TSettingsHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TKvOffset* Offset READ Offset)
  Q_PROPERTY(TKvBevelSettings* Frame READ Frame)
  Q_PROPERTY(TKvLineSettings* Marks READ Marks)
  Q_PROPERTY(TKvBtnBevel* Button READ Button)
  Q_PROPERTY(TKvSBevel* Surface READ Surface)
  Q_PROPERTY(TBarSettings* Bar READ Bar)
  Q_PROPERTY(TLED* Lamp READ Lamp)
  Q_PROPERTY(TArrowSettings* Arrow READ Arrow)
 public:
  Q_INVOKABLE explicit TSettingsHolder(TComponent* owner = nullptr) : TComponent(owner) {
    SetName("Holder1");
  }
  TKvOffset* Offset() const { return offset_.get(); }
  TKvBevelSettings* Frame() const { return frame_.get(); }
  TKvLineSettings* Marks() const { return marks_.get(); }
  TKvBtnBevel* Button() const { return button_.get(); }
  TKvSBevel* Surface() const { return surface_.get(); }
  TBarSettings* Bar() const { return bar_.get(); }
  TLED* Lamp() const { return lamp_.get(); }
  TArrowSettings* Arrow() const { return arrow_.get(); }

 private:
  std::unique_ptr<TKvOffset> offset_ = std::make_unique<TKvOffset>();
  std::unique_ptr<TKvBevelSettings> frame_ = std::make_unique<TKvBevelSettings>();
  std::unique_ptr<TKvLineSettings> marks_ = std::make_unique<TKvLineSettings>();
  std::unique_ptr<TKvBtnBevel> button_ = std::make_unique<TKvBtnBevel>();
  std::unique_ptr<TKvSBevel> surface_ = std::make_unique<TKvSBevel>();
  std::unique_ptr<TBarSettings> bar_ = std::make_unique<TBarSettings>();
  std::unique_ptr<TLED> lamp_ = std::make_unique<TLED>();
  std::unique_ptr<TArrowSettings> arrow_ = std::make_unique<TArrowSettings>();
};

TEST(SettingsStreaming, DeclaredDefaultsAreLeftOutTheRestIsWritten) {
  TSettingsHolder holder;
  const QString text = WriteComponentToText(&holder);
  // Properties with a declared default, at that default: not written.
  for (const char* omitted :
       {"Offset.Top", "Marks.Offset", "Marks.Visible", "Button.ShadowColFrom", "Button.HighlightColFrom",
        "Button.HighlightColTo", "Surface.Color", "Surface.PenColor", "Surface.Offset.", "Lamp.", "Arrow."})
    EXPECT_FALSE(text.contains(QLatin1String(omitted))) << omitted << "\n" << text.toStdString();
  // Properties without one: always written, nested ones by dotted name.
  for (const char* written :
       {"Frame.ColorFrom = clWhite", "Frame.Width = 2", "Marks.Length = 0", "Button.Width = 2",
        "Surface.Style = bsRaised", "Surface.Spacing = 5", "Surface.BevelLine = blNone",
        "Surface.SurfaceGrad.Visible = False", "Bar.Style = bsBar", "Bar.Font.Color = clBtnHighlight",
        "Bar.Options = []", "Bar.Bevel.Style = bsLowered", "Bar.minHeight = 5", "Bar.minWidth = 5"})
    EXPECT_TRUE(text.contains(QLatin1String(written))) << written << "\n" << text.toStdString();
}

TEST(SettingsStreaming, NonDefaultValuesReadBackAndWriteOutIdentically) {
  TSettingsHolder holder;
  holder.Offset()->Write(1, -2, 3, 4);
  holder.Frame()->SetColorFrom(clYellow);
  holder.Marks()->Pen()->SetWidth(2);
  holder.Marks()->SetOffset(-3);
  holder.Marks()->SetVisible(false);
  holder.Button()->SetHighlightColTo(RGBColor(1, 2, 3));
  holder.Button()->SetWidth(0);
  holder.Surface()->SetBevelLine(blBoth);
  holder.Surface()->SetSpacing(-1);
  holder.Surface()->SetPenColor(clBtnShadow);
  holder.Surface()->Offset()->SetRight(9);
  holder.Surface()->SurfaceGrad()->SetStyle(gsElliptic2);
  holder.Bar()->SetStyle(bsLED_Bar);
  holder.Bar()->Font()->SetStyle(fsBold);
  holder.Bar()->SetOptions(opValue | opUseSectorCol | opBidir);
  holder.Bar()->Bevel()->Offset()->SetTop(2);
  holder.Bar()->SetMinWidth(30);
  holder.Lamp()->SetShape(sArrowUp);
  holder.Lamp()->SetColorOff(clMaroon);
  holder.Lamp()->SetHeight(4);
  holder.Arrow()->SetShape(2);
  holder.Arrow()->SetColorCP2Brush(clSilver);
  const QString text = WriteComponentToText(&holder);

  TSettingsHolder copy;
  ReadComponentFromText(text, &copy, "HOLDER");
  EXPECT_EQ(WriteComponentToText(&copy), text);
  // A sample of the values, so that a writer and reader that both lost a
  // property would not pass.
  EXPECT_EQ(copy.Offset()->Left(), -2);
  EXPECT_FALSE(copy.Marks()->Visible());
  EXPECT_EQ(copy.Surface()->TotalWidth(), 2 + 2 - 1);
  EXPECT_EQ(copy.Bar()->Bevel()->Offset()->Top(), 2);
  EXPECT_EQ(copy.Lamp()->Shape(), sArrowUp);
  EXPECT_EQ(copy.Arrow()->ColorCP2Brush(), clSilver);
  EXPECT_TRUE(text.contains("Bar.Bevel.Offset.Top = 2")) << text.toStdString();
  EXPECT_TRUE(text.contains("Bar.Options = [opValue, opUseSectorCol, opBidir]")) << text.toStdString();
}

}  // namespace

#include "settings_streaming_test.moc"
