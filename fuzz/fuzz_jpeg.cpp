// Feeds arbitrary bytes to TJPEGImage::LoadFromData. Whatever the input,
// loading must either succeed or raise EInvalidGraphic leaving the picture as
// it was, without allocating more than the data can describe. What loads
// keeps its data and draws.

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/core/exceptions.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/jpeg_image.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  static const QByteArray kSmall = [] {
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    return EncodeJpeg(image, 90);
  }();
  TJPEGImage jpeg;
  jpeg.LoadFromData(kSmall);
  try {
    jpeg.LoadFromData(bytes);
  } catch (const EInvalidGraphic& e) {
    if (!e.Message().startsWith(QLatin1String("JPEG ")))
      fuzz::Die("fuzz_jpeg", "unexpected message", e.Message());
    if (jpeg.SaveToData() != kSmall || jpeg.Width() != 5 || jpeg.Height() != 3)
      fuzz::Die("fuzz_jpeg", "a failed load changed the picture", e.Message());
    return 0;
  }
  if (jpeg.SaveToData() != bytes) fuzz::Die("fuzz_jpeg", "the picture does not keep its data");
  if (jpeg.Empty()) return 0;
  // The bound the loader promises: no more than 4096 pixels a byte.
  if (qint64(jpeg.Width()) * jpeg.Height() > 4096 * qint64(size))
    fuzz::Die("fuzz_jpeg", "more pixels than the data can describe");
  TBitmap target;
  target.SetSize(16, 16);
  target.Canvas()->Draw(-2, 3, &jpeg);
  target.Canvas()->StretchDraw(Rect(1, 1, 15, 9), &jpeg);
  return 0;
}
