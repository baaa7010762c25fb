// The read-out gallery: value read-outs with their caption at each of the
// nine positions, in several number formats and colours, written to <test
// output>/readout_gallery.png (docs/ keeps a copy). Each cell must show its
// value where the read-out's value area is.

#include <gtest/gtest.h>

#include <QMetaEnum>

#include "kv/proc/text_output.h"
#include "kv/settings/val_ind.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

constexpr int kCellWidth = 190;
constexpr int kCellHeight = 96;
constexpr TColor kPanel = RGBColor(52, 56, 62);

TEST(ReadoutGallery, NineCaptionPositionsInSeveralFormats) {
  const struct {
    const char* format;
    double value;
    TColor color;
    TColor ink;
  } looks[] = {
      {"##0.0", 87.25, clBlack, clLime},
      {"0.00", 3.14159, RGBColor(0, 0, 64), clAqua},
      {"##0", 1234, clBlack, clYellow},
      {"0e-0", 0.0012, RGBColor(40, 0, 0), RGBColor(255, 96, 64)},
      {"#,##0.0", 9876.5, clBlack, clLime},
      {"0.000", -0.25, RGBColor(0, 0, 64), clWhite},
      {"##0.#", 12.5, RGBColor(0, 32, 0), clLime},
      {"00", 7, clBlack, clYellow},
      {"##0.0' V'", 230.4, clBlack, clAqua},
  };
  const QMetaEnum names = QMetaEnum::fromType<toPos>();
  TBitmap sheet;
  sheet.SetSize(3 * kCellWidth, 3 * kCellHeight);
  TCanvas* canvas = sheet.Canvas();
  canvas->Brush()->SetColor(kPanel);
  canvas->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
  for (int p = 0; p < 9; ++p) {
    const int cx = (p % 3) * kCellWidth + kCellWidth / 2;
    const int cy = (p / 3) * kCellHeight + kCellHeight / 2;
    TKvValInd readout;
    readout.SetFormatStr(QString::fromLatin1(looks[p].format));
    readout.SetColor(looks[p].color);
    readout.Font()->SetColor(looks[p].ink);
    readout.Caption()->SetText(QString::fromLatin1(names.valueToKey(p)));
    readout.Caption()->Font()->SetColor(RGBColor(220, 220, 220));
    readout.Caption()->SetPos(toPos(p));
    readout.Draw(canvas, TPoint(cx, cy), toMidCenter);
    readout.DrawValue(canvas, looks[p].value);
    canvas->Font()->SetColor(RGBColor(150, 150, 150));
    canvas->Brush()->SetStyle(bsClear);
    KvTextOut(canvas, (p % 3) * kCellWidth + 4, (p / 3 + 1) * kCellHeight - 2,
              QString::fromLatin1(looks[p].format), toBotLeft);
    EXPECT_GT(kv::test::CountColor(sheet, looks[p].ink, readout.ValueRect().toQRect()), 10) << p;
  }
  kv::test::savePng(sheet.Image(), QStringLiteral("readout_gallery"));
}

}  // namespace
