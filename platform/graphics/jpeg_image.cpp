#include "platform/graphics/jpeg_image.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/core/exceptions.h"
#include "platform/graphics/canvas.h"

namespace {

// Images larger than this are refused before decoding: a few corrupt header
// bytes must not make us allocate gigabytes.
constexpr long long kMaxPixels = 1LL << 28;
// Nor may a small file claim a large image. Huffman-coded data spends at least
// one bit on every 8 x 8 block of its most finely sampled component, which
// covers at most 256 pixels with the widest sampling factors: 2048 pixels a
// byte. Twice that, plus the headers' share, is a bound no whole file exceeds,
// and refusing beyond it keeps a cut or forged file from costing the memory
// and the time of the image it claims.
constexpr long long kMaxPixelsPerByte = 4096;

// libjpeg reports errors by calling error_exit, which must not return. It
// jumps back to the setjmp of the decoding routine, which cleans up and lets
// the caller throw; no C++ object lives in the frames that are skipped.
struct JpegState {
  jpeg_error_mgr err{};
  std::jmp_buf jump{};
  int errorCode = 0;
  char errorText[JMSG_LENGTH_MAX] = {};
  int warningCode = 0;
  char warningText[JMSG_LENGTH_MAX] = {};
  // The size the header claims, for the message that refuses it.
  unsigned long width = 0;
  unsigned long height = 0;
};

void ErrorExit(j_common_ptr cinfo) {
  auto* state = static_cast<JpegState*>(cinfo->client_data);
  state->errorCode = cinfo->err->msg_code;
  (*cinfo->err->format_message)(cinfo, state->errorText);
  std::longjmp(state->jump, 1);
}

// Warnings that say nothing about damaged image data.
bool BenignWarning(int code) {
  return code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC;
}

void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  auto* state = static_cast<JpegState*>(cinfo->client_data);
  ++cinfo->err->num_warnings;
  // A file cut inside its image data or with damaged entropy-coded data
  // only produces warnings (and grey or garbled pixels). The image is refused
  // then, so stop at the first one instead of decoding the rest of a damaged
  // (possibly huge) image for nothing.
  if (!BenignWarning(cinfo->err->msg_code)) {
    state->warningCode = cinfo->err->msg_code;
    (*cinfo->err->format_message)(cinfo, state->warningText);
    std::longjmp(state->jump, 1);
  }
}

void OutputMessage(j_common_ptr) {}  // never print

void InstallErrorManager(JpegState& state) {
  jpeg_std_error(&state.err);
  state.err.error_exit = ErrorExit;
  state.err.emit_message = EmitMessage;
  state.err.output_message = OutputMessage;
}

[[noreturn]] void ThrowJpegError(int code, const char* text) {
  throw EInvalidGraphic(QStringLiteral("JPEG error #%1: %2").arg(code).arg(QString::fromLatin1(text)));
}

// Decodes into `image`; false after a libjpeg error (details in `state`).
bool Decompress(JpegState& state, jpeg_decompress_struct& cinfo, const QByteArray& data, QImage& image,
                bool& tooLarge) {
  cinfo.err = &state.err;
  cinfo.client_data = &state;
  if (setjmp(state.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  state.width = cinfo.image_width;
  state.height = cinfo.image_height;
  const long long pixels = (long long)cinfo.image_width * cinfo.image_height;
  if (pixels > kMaxPixels || pixels > kMaxPixelsPerByte * (long long)data.size()) {
    tooLarge = true;
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
  if (image.isNull()) {
    tooLarge = true;
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image.scanLine(int(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  if (cmyk) {
    // Adobe writes CMYK inverted; with K applied each channel is c * k / 255.
    for (int y = 0; y < image.height(); ++y) {
      uchar* p = image.scanLine(y);
      auto* out = reinterpret_cast<QRgb*>(p);
      for (int x = 0; x < image.width(); ++x) {
        const int c = p[4 * x], m = p[4 * x + 1], yl = p[4 * x + 2], k = p[4 * x + 3];
        out[x] = qRgb(c * k / 255, m * k / 255, yl * k / 255);
      }
    }
  } else {
    // The fourth byte of the extended output is not guaranteed; make it opaque.
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) line[x] |= 0xFF000000u;
    }
  }
  return true;
}

struct Compressor {
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  ~Compressor() { std::free(buffer); }
};

bool Compress(JpegState& state, jpeg_compress_struct& cinfo, const QImage& image, int quality,
              Compressor& out) {
  cinfo.err = &state.err;
  cinfo.client_data = &state;
  if (setjmp(state.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &out.buffer, &out.size);
  cinfo.image_width = JDIMENSION(image.width());
  cinfo.image_height = JDIMENSION(image.height());
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
  JpegState state;
  InstallErrorManager(state);
  jpeg_decompress_struct cinfo{};
  QImage image;
  bool tooLarge = false;
  if (!Decompress(state, cinfo, data, image, tooLarge)) {
    if (tooLarge)
      throw EInvalidGraphic(
          QStringLiteral(
              "JPEG image is too large: %1 x %2 pixels claimed by %3 bytes of data (at most %4 pixels "
              "a byte, and %5 pixels in all)")
              .arg(state.width)
              .arg(state.height)
              .arg(data.size())
              .arg(kMaxPixelsPerByte)
              .arg(kMaxPixels));
    if (state.warningCode != 0) ThrowJpegError(state.warningCode, state.warningText);
    ThrowJpegError(state.errorCode, state.errorText);
  }
  return image;
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
  if (image.isNull()) return QByteArray();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  JpegState state;
  InstallErrorManager(state);
  jpeg_compress_struct cinfo{};
  Compressor out;
  if (!Compress(state, cinfo, rgb, std::clamp(quality, 0, 100), out))
    ThrowJpegError(state.errorCode, state.errorText);
  return QByteArray(reinterpret_cast<const char*>(out.buffer), qsizetype(out.size));
}

void TJPEGImage::LoadFromData(const QByteArray& data) {
  QImage image;
  if (!data.isEmpty()) image = DecodeJpeg(data);
  data_ = data;
  image_ = std::move(image);
  Changed();
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
  if (!canvas || image_.isNull()) return;
  canvas->DrawImage(rect, image_, image_.rect());
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    data_.clear();
    image_ = QImage();
    Changed();
    return;
  }
  if (auto* jpeg = qobject_cast<TJPEGImage*>(Source)) {
    data_ = jpeg->data_;
    image_ = jpeg->image_;
    Changed();
    return;
  }
  if (auto* graphic = qobject_cast<TGraphic*>(Source)) {
    // Any other picture is compressed; what is kept is what a reload gives.
    const QImage pixels = graphic->ToImage();
    data_ = EncodeJpeg(pixels);
    image_ = data_.isEmpty() ? QImage() : DecodeJpeg(data_);
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}
