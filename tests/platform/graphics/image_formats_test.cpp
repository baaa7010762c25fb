#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "platform/core/exceptions.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"
#include "platform/graphics/jpeg_image.h"
#include "platform/graphics/picture.h"
#include "platform/graphics/resources.h"

namespace {

// A picture with smooth areas and sharp edges, so that its JPEG has a
// sizeable body of entropy-coded data.
QImage TestPattern(int w = 64, int h = 48) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, ((x / 8 + y / 8) % 2) ? qRgb(x * 4, 255 - y * 5, 128) : qRgb(240, 240, 40));
  return image;
}

void AppendLe(QByteArray& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

// A palette BMP file (4 or 8 bits per pixel, bottom-up rows padded to
// four bytes) whose pixel (x, y) has the palette index index(x, y).
template <typename IndexFn>
QByteArray PaletteBmp(int w, int h, int bits, const std::vector<QRgb>& palette, IndexFn index) {
  const int rowBytes = ((w * bits + 31) / 32) * 4;
  QByteArray rows;
  for (int y = h - 1; y >= 0; --y) {
    QByteArray row(rowBytes, '\0');
    for (int x = 0; x < w; ++x) {
      const int i = index(x, y);
      if (bits == 8) {
        row[x] = char(i);
      } else {
        row[x / 2] = char(uint8_t(row[x / 2]) | (x % 2 ? i : i << 4));
      }
    }
    rows.append(row);
  }
  const int offset = 14 + 40 + 4 * int(palette.size());
  QByteArray out("BM");
  AppendLe(out, uint32_t(offset + rows.size()), 4);
  AppendLe(out, 0, 4);
  AppendLe(out, uint32_t(offset), 4);
  AppendLe(out, 40, 4);
  AppendLe(out, uint32_t(w), 4);
  AppendLe(out, uint32_t(h), 4);
  AppendLe(out, 1, 2);
  AppendLe(out, uint32_t(bits), 2);
  AppendLe(out, 0, 4);
  AppendLe(out, uint32_t(rows.size()), 4);
  AppendLe(out, 2835, 4);
  AppendLe(out, 2835, 4);
  AppendLe(out, uint32_t(palette.size()), 4);
  AppendLe(out, 0, 4);
  for (QRgb c : palette) AppendLe(out, c & 0xFFFFFF, 4);  // blue, green, red, 0
  out.append(rows);
  return out;
}

std::vector<QRgb> Palette16() {
  std::vector<QRgb> p;
  for (int i = 0; i < 16; ++i) p.push_back(qRgb(i * 16, 255 - i * 16, (i * 37) % 256));
  return p;
}

TEST(BitmapFiles, FourBitPaletteBitmapsLoadForEveryRowPadding) {
  const std::vector<QRgb> palette = Palette16();
  for (int w : {1, 2, 7, 8, 9, 17}) {
    const QByteArray bmp = PaletteBmp(w, 3, 4, palette, [](int x, int y) { return (x * 3 + y * 5) % 16; });
    TBitmap bitmap;
    bitmap.LoadFromData(bmp);
    ASSERT_EQ(bitmap.Width(), w);
    ASSERT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(bitmap.Pixel(x, y), FromQRgb(palette[size_t((x * 3 + y * 5) % 16)]))
            << w << ": " << x << "," << y;
  }
}

TEST(BitmapFiles, EightAndTwentyFourBitBitmapsLoad) {
  std::vector<QRgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(qRgb(i, (i * 7) % 256, 255 - i));
  TBitmap bitmap;
  bitmap.LoadFromData(PaletteBmp(13, 4, 8, palette, [](int x, int y) { return x * 19 + y; }));
  EXPECT_EQ(bitmap.Pixel(12, 3), FromQRgb(palette[12 * 19 + 3]));
  // 24-bit: what a bitmap saves it loads again unchanged.
  TBitmap pattern;
  pattern.SetImage(TestPattern(23, 9));
  const QByteArray saved = pattern.SaveToData();
  EXPECT_EQ(saved.left(2), "BM");
  TBitmap copy;
  copy.LoadFromData(saved);
  EXPECT_EQ(copy.Image(), pattern.Image());
}

TEST(BitmapFiles, DamagedBitmapsAreRefused) {
  const QByteArray good = PaletteBmp(8, 8, 4, Palette16(), [](int x, int) { return x; });
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  EXPECT_THROW(bitmap.LoadFromData("not a bitmap at all"), EInvalidGraphic);
  EXPECT_THROW(bitmap.LoadFromData(good.left(40)), EInvalidGraphic);
  QByteArray huge = good;
  huge[18] = char(0xFF);
  huge[19] = char(0xFF);
  huge[20] = char(0xFF);
  huge[21] = char(0x7F);  // width 2^31 - 1
  EXPECT_THROW(bitmap.LoadFromData(huge), EInvalidGraphic);
  EXPECT_EQ(bitmap.Width(), 2);  // unchanged after a failed load
  bitmap.LoadFromData(QByteArray());
  EXPECT_TRUE(bitmap.Empty());
}

// A 4 x 2 bitmap of run-length coded 8-bit pixels: the bottom row (stored
// first) palette index 1, the top row index 0, then the end-of-bitmap code.
QByteArray RunLengthBmp() {
  const QByteArray pixels("\x04\x01\x00\x00\x04\x00\x00\x01", 8);
  const int offset = 14 + 40 + 2 * 4;
  QByteArray out("BM");
  AppendLe(out, uint32_t(offset + pixels.size()), 4);
  AppendLe(out, 0, 4);
  AppendLe(out, uint32_t(offset), 4);
  for (uint32_t v : {40u, 4u, 2u}) AppendLe(out, v, 4);
  AppendLe(out, 1, 2);
  AppendLe(out, 8, 2);
  for (uint32_t v : {1u, uint32_t(pixels.size()), 2835u, 2835u, 2u, 0u}) AppendLe(out, v, 4);
  AppendLe(out, 0x0000FF, 4);  // blue
  AppendLe(out, 0xFF0000, 4);  // red
  return out + pixels;
}

// A file missing any part of its pixel data is refused, not loaded with black
// rows, and the bitmap keeps what it held.
TEST(BitmapFiles, TruncatedBitmapsAreRefusedAndChangeNothing) {
  TBitmap rle;
  rle.LoadFromData(RunLengthBmp());
  ASSERT_EQ(rle.Width(), 4);
  EXPECT_EQ(rle.Pixel(0, 0), clBlue);
  EXPECT_EQ(rle.Pixel(3, 1), clRed);

  const QImage pattern = TestPattern(64, 64);
  const struct {
    const char* what;
    QByteArray file;
  } files[] = {
      {"24-bit", EncodeBmp(pattern)},
      {"4-bit palette", PaletteBmp(63, 64, 4, Palette16(), [](int x, int y) { return (x + y) % 16; })},
      {"8-bit palette", PaletteBmp(61, 3, 8, Palette16(), [](int x, int y) { return (x * y) % 16; })},
      {"run-length", RunLengthBmp()},
  };
  for (const auto& f : files) {
    TBitmap bitmap;
    bitmap.LoadFromData(f.file);
    const QImage loaded = bitmap.Image();
    int accepted = 0;
    for (qsizetype size = 1; size < f.file.size(); ++size) {
      try {
        bitmap.LoadFromData(f.file.left(size));
        ++accepted;
      } catch (const EInvalidGraphic& e) {
        EXPECT_TRUE(e.Message().startsWith("Bitmap image is not valid")) << e.what();
      }
      if (bitmap.Image() != loaded) {
        ADD_FAILURE() << f.what << " cut to " << size << " bytes changed the bitmap";
        break;
      }
    }
    EXPECT_EQ(accepted, 0) << f.what << ": cut files accepted";
  }
  try {
    TBitmap bitmap;
    bitmap.LoadFromData(EncodeBmp(pattern).chopped(1));
    ADD_FAILURE() << "a file missing its last byte loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(
        e.Message(),
        "Bitmap image is not valid: the file holds 12341 bytes, its 64 x 64 pixels at 24 bits need 12342");
  }
}

// A few bytes of run-length data may claim any size; neither such a file nor
// a size asked of a bitmap may cost more than 2^26 pixels.
TEST(BitmapFiles, SizesAreHeldToThePixelLimit) {
  QByteArray huge = RunLengthBmp();
  huge.replace(18, 8, QByteArray("\x00\x80\x00\x00\x00\x80\x00\x00", 8));  // 32768 x 32768
  try {
    DecodeBmp(huge);
    ADD_FAILURE() << "a 32768 x 32768 claim in 70 bytes loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Bitmap image is not valid: 32768 x 32768 pixels are more than 67108864");
  }
  TBitmap bitmap;
  bitmap.SetSize(32768, 32768);
  EXPECT_EQ(bitmap.Width(), 32768);
  EXPECT_EQ(bitmap.Height(), 2048);
  bitmap.SetSize(5, 32768);
  EXPECT_EQ(bitmap.Height(), 32768);
}

TEST(BitmapFiles, ResourcesAreFoundByNameWithoutRegardToCase) {
  EXPECT_EQ(FindResource("graphics-test/glyphs/testglyph.bmp"), ":/graphics-test/Glyphs/TestGlyph.bmp");
  EXPECT_EQ(FindResource("TESTGLYPH"), ":/graphics-test/Glyphs/TestGlyph.bmp");
  EXPECT_EQ(FindResource(":/Graphics-Test/Glyphs/notes.txt"), ":/graphics-test/Glyphs/Notes.TXT");
  EXPECT_EQ(FindResource("nothing-here"), "");
  EXPECT_EQ(LoadResource("notes"), "hello resources\n");
  try {
    LoadResource("KVMISSING");
    FAIL() << "a missing resource must raise";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource KVMISSING not found");
  }
  TBitmap glyph;
  glyph.LoadFromResourceName("testGlyph");
  ASSERT_EQ(glyph.Width(), 5);
  ASSERT_EQ(glyph.Height(), 3);
  const std::vector<QRgb> palette = Palette16();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(glyph.Pixel(x, y), FromQRgb(palette[size_t((x + 2 * y) % 16)]));
  EXPECT_THROW(glyph.LoadFromResourceName("KVSPINNOTHERE"), EResNotFound);
}

TEST(JpegPictures, DecodeWhatTheEncoderWrote) {
  const QImage pattern = TestPattern();
  const QByteArray jpeg = EncodeJpeg(pattern, 95);
  ASSERT_GT(jpeg.size(), 500);
  EXPECT_EQ(uint8_t(jpeg[0]), 0xFF);
  EXPECT_EQ(uint8_t(jpeg[1]), 0xD8);
  TJPEGImage image;
  image.LoadFromData(jpeg);
  EXPECT_EQ(image.Width(), 64);
  EXPECT_EQ(image.Height(), 48);
  EXPECT_EQ(image.SaveToData(), jpeg);
  // Lossy, but close in the middle of flat blocks.
  const QImage decoded = image.ToImage();
  EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
  for (const QPoint p : {QPoint(3, 3), QPoint(12, 4), QPoint(60, 44), QPoint(28, 20)}) {
    const QRgb a = decoded.pixel(p), b = pattern.pixel(p);
    EXPECT_NEAR(qRed(a), qRed(b), 12) << p.x() << "," << p.y();
    EXPECT_NEAR(qGreen(a), qGreen(b), 12);
    EXPECT_NEAR(qBlue(a), qBlue(b), 12);
    EXPECT_EQ(qAlpha(a), 255);
  }
  // Drawn like any graphic.
  TBitmap target;
  target.SetSize(64, 48);
  target.Canvas()->Draw(0, 0, &image);
  EXPECT_EQ(target.Image(), decoded);
}

TEST(JpegPictures, FileCutInsideTheImageDataIsRefused) {
  const QByteArray jpeg = EncodeJpeg(TestPattern(), 95);
  TJPEGImage image;
  try {
    image.LoadFromData(jpeg.left(jpeg.size() * 2 / 3));
    FAIL() << "a cut file must be refused";
  } catch (const EInvalidGraphic& e) {
    EXPECT_TRUE(e.Message().startsWith("JPEG error #")) << e.what();
    EXPECT_TRUE(e.Message().contains("Premature end of JPEG file")) << e.what();
  }
  EXPECT_TRUE(image.Empty());
}

TEST(JpegPictures, FileCutInsideTheHeadersIsRefused) {
  const QByteArray jpeg = EncodeJpeg(TestPattern(), 95);
  for (int size : {0, 1, 2, 20, 100, 300}) {
    EXPECT_THROW(DecodeJpeg(jpeg.left(size)), EInvalidGraphic) << size;
  }
  try {
    DecodeJpeg("GIF89a this is not a JPEG file");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_TRUE(e.Message().startsWith("JPEG error #")) << e.what();
    EXPECT_TRUE(e.Message().contains("Not a JPEG file")) << e.what();
  }
}

// A header claiming far more pixels than the data can describe is refused
// before anything is allocated, with the claim in the message; a large image
// whose data is really there still loads.
TEST(JpegPictures, SizeClaimsTheDataCannotFillAreRefused) {
  const QByteArray jpeg = EncodeJpeg(TestPattern(), 95);
  const qsizetype sof = jpeg.indexOf("\xFF\xC0");
  ASSERT_GT(sof, 0);
  const struct {
    int width, height;
    const char* claim;
  } cases[] = {
      {16384, 16384, "16384 x 16384 pixels claimed by "},
      {65500, 65500, "65500 x 65500 pixels claimed by "},
      {65500, 1024, "65500 x 1024 pixels claimed by "},
  };
  for (const auto& c : cases) {
    QByteArray forged = jpeg;
    forged[sof + 5] = char(c.height >> 8);
    forged[sof + 6] = char(c.height & 0xFF);
    forged[sof + 7] = char(c.width >> 8);
    forged[sof + 8] = char(c.width & 0xFF);
    TJPEGImage image;
    image.LoadFromData(jpeg);
    try {
      image.LoadFromData(forged);
      ADD_FAILURE() << c.claim << "accepted";
    } catch (const EInvalidGraphic& e) {
      EXPECT_TRUE(e.Message().startsWith(QLatin1String("JPEG image is too large: ") + c.claim)) << e.what();
    }
    EXPECT_EQ(image.Width(), 64);
  }
  QImage flat(2048, 1536, QImage::Format_RGB32);
  flat.fill(qRgb(20, 90, 200));
  const QByteArray large = EncodeJpeg(flat, 75);
  EXPECT_EQ(DecodeJpeg(large).size(), QSize(2048, 1536)) << large.size() << " bytes";
}

TEST(JpegPictures, DamagedImageDataIsRefused) {
  const QByteArray jpeg = EncodeJpeg(TestPattern(), 95);
  // Find the start of scan and overwrite part of the entropy-coded data
  // with an unexpected marker.
  const qsizetype sos = jpeg.indexOf("\xFF\xDA");
  ASSERT_GT(sos, 0);
  QByteArray damaged = jpeg;
  const qsizetype at = sos + (jpeg.size() - sos) / 2;
  damaged[at] = char(0xFF);
  damaged[at + 1] = char(0xD9);  // end of image in the middle
  EXPECT_THROW(DecodeJpeg(damaged), EInvalidGraphic);
  TJPEGImage image;
  image.LoadFromData(jpeg);
  EXPECT_THROW(image.LoadFromData(damaged), EInvalidGraphic);
  EXPECT_EQ(image.Width(), 64);  // the old picture stays
}

TEST(Pictures, DataHoldsTheClassNameAndTheGraphicsBytes) {
  const QByteArray jpeg = EncodeJpeg(TestPattern(), 80);
  TPicture picture;
  int changes = 0;
  picture.SetOnChange([&](TObject* sender) {
    EXPECT_EQ(sender, &picture);
    ++changes;
  });
  EXPECT_TRUE(picture.Data().isEmpty());
  QByteArray data;
  data.append(char(10));
  data.append("TJPEGImage");
  data.append(jpeg);
  picture.SetData(data);
  EXPECT_EQ(changes, 1);
  ASSERT_NE(qobject_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 64);
  EXPECT_EQ(picture.Height(), 48);
  EXPECT_EQ(picture.Data(), data);
  // A bitmap streams the same way.
  TPicture other;
  other.Bitmap()->SetSize(3, 2);
  const QByteArray bmpData = other.Data();
  EXPECT_EQ(bmpData.left(8), QByteArray("\x07TBitmap"));
  TPicture copy;
  copy.SetData(bmpData);
  EXPECT_EQ(copy.Width(), 3);
  // Empty data: no picture.
  picture.SetData(QByteArray());
  EXPECT_EQ(picture.Graphic(), nullptr);
  EXPECT_EQ(changes, 2);
}

TEST(Pictures, BadDataLeavesThePictureUnchanged) {
  TPicture picture;
  picture.Bitmap()->SetSize(4, 4);
  QByteArray unknown("\x05TIcon1234");
  EXPECT_THROW(picture.SetData(unknown), EReadError);
  EXPECT_THROW(picture.SetData(QByteArray("\x30TJPEG")), EReadError);
  QByteArray badJpeg("\x0ATJPEGImage\xFF\xD8\xFF\xE0 broken");
  EXPECT_THROW(picture.SetData(badJpeg), EInvalidGraphic);
  EXPECT_EQ(picture.Width(), 4);
  ASSERT_NE(qobject_cast<TBitmap*>(picture.Graphic()), nullptr);
}

TEST(Pictures, AssignCopiesTheGraphic) {
  TPicture a, b;
  a.Bitmap()->SetSize(5, 6);
  a.Bitmap()->Canvas()->SetPixels(1, 1, clRed);
  b.Assign(&a);
  ASSERT_NE(b.Graphic(), a.Graphic());
  EXPECT_EQ(b.Bitmap()->Pixel(1, 1), clRed);
  a.Bitmap()->Canvas()->SetPixels(1, 1, clBlue);
  EXPECT_EQ(b.Bitmap()->Pixel(1, 1), clRed);
  TJPEGImage jpeg;
  jpeg.LoadFromData(EncodeJpeg(TestPattern(), 90));
  b.Assign(&jpeg);
  EXPECT_NE(qobject_cast<TJPEGImage*>(b.Graphic()), nullptr);
  TBitmap bitmap;
  bitmap.Assign(&b);  // a picture hands over its graphic
  EXPECT_EQ(bitmap.Width(), 64);
  b.Assign(nullptr);
  EXPECT_EQ(b.Graphic(), nullptr);
  TPen pen;
  EXPECT_THROW(b.Assign(&pen), EConvertError);
}

TEST(Pictures, LoadFromFileChoosesTheGraphicByExtension) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString jpg = dir.filePath("rail.JPG");
  QFile f(jpg);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(EncodeJpeg(TestPattern(), 90));
  f.close();
  TPicture picture;
  picture.LoadFromFile(jpg);
  EXPECT_NE(qobject_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  TBitmap bitmap;
  bitmap.SetImage(TestPattern(8, 8));
  bitmap.SaveToFile(dir.filePath("small.bmp"));
  picture.LoadFromFile(dir.filePath("small.bmp"));
  EXPECT_EQ(picture.Width(), 8);
  EXPECT_THROW(picture.LoadFromFile(dir.filePath("x.gif")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir.filePath("missing.bmp")), EInvalidGraphic);
  EXPECT_EQ(picture.Width(), 8);
}

}  // namespace
