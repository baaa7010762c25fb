// Feeds arbitrary bytes to TBitmap::LoadFromData. Whatever the input, loading
// must either succeed or raise EInvalidGraphic leaving the bitmap as it was.
// What loads must save, load again to the same pixels and draw.

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/core/exceptions.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  bitmap.Canvas()->SetPixels(1, 1, clRed);
  const QImage before = bitmap.Image();
  try {
    bitmap.LoadFromData(bytes);
  } catch (const EInvalidGraphic& e) {
    if (!e.Message().startsWith(QLatin1String("Bitmap image is not valid")))
      fuzz::Die("fuzz_bmp", "unexpected message", e.Message());
    if (bitmap.Image() != before) fuzz::Die("fuzz_bmp", "a failed load changed the bitmap", e.Message());
    return 0;
  }
  if (bytes.isEmpty() != bitmap.Empty()) fuzz::Die("fuzz_bmp", "empty data and empty bitmap disagree");
  if (bitmap.Empty()) return 0;
  TBitmap again;
  try {
    again.LoadFromData(bitmap.SaveToData());
  } catch (const EInvalidGraphic& e) {
    fuzz::Die("fuzz_bmp", "a saved bitmap does not load", e.Message());
  }
  if (again.Image() != bitmap.Image()) fuzz::Die("fuzz_bmp", "a saved bitmap loads with other pixels");
  TBitmap target;
  target.SetSize(16, 16);
  target.Canvas()->Draw(-3, 2, &bitmap);
  target.Canvas()->StretchDraw(Rect(1, 1, 15, 9), &bitmap);
  return 0;
}
