// Forms whose descriptions hold the extreme int values in a position, a size
// or a font height: reading, showing, painting, clicking and writing them
// back must all work (the sanitizer build aborts on any signed overflow).

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <climits>

#include "kv/controls/kv_gradient.h"
#include "platform/controls/form.h"
#include "platform/controls/std_control_types.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"
#include "platform/graphics/bitmap.h"

namespace {

// A form with a gradient, a label, a picture and an edit; `Left`, `Top`,
// `Width`, `Height` and `Font.Height` lines are replaced per case.
QString Description(const QString& object, const QString& property, long long value) {
  QImage picture(6, 4, QImage::Format_RGB32);
  picture.fill(qRgb(200, 30, 30));
  const QByteArray data = QByteArray("\x07TBitmap") + EncodeBmp(picture);
  const QStringList objects = {"Form1", "KvGradient1", "Label1", "Image1", "Edit1"};
  const int lefts[] = {30, 0, 8, 60, 8}, tops[] = {40, 0, 70, 64, 90}, widths[] = {170, 160, 60, 40, 60},
            heights[] = {150, 60, 13, 20, 21};
  const QStringList classes = {"TForm", "TKvGradient", "TLabel", "TImage", "TEdit"};
  QString text;
  for (int i = 0; i < objects.size(); ++i) {
    const QString indent(i == 0 ? 2 : 4, u' ');
    const auto line = [&](const char* name, long long normal) {
      const long long v = objects[i] == object && property == QLatin1String(name) ? value : normal;
      text += indent + QLatin1String(name) + QStringLiteral(" = ") + QString::number(v) + u'\n';
    };
    text += QString(indent.size() - 2, u' ') + QStringLiteral("object %1: %2\n").arg(objects[i], classes[i]);
    line("Left", lefts[i]);
    line("Top", tops[i]);
    line("Width", widths[i]);
    line("Height", heights[i]);
    line("Font.Height", -11);
    if (classes[i] == "TLabel") text += indent + QStringLiteral("Caption = 'Label text'\n");
    if (classes[i] == "TImage")
      text += indent + QStringLiteral("Center = True\n") + indent + QStringLiteral("Picture.Data = {") +
              QString::fromLatin1(data.toHex()).toUpper() + QStringLiteral("}\n");
    if (i != 0) text += QString(indent.size() - 2, u' ') + QStringLiteral("end\n");
  }
  return text + QStringLiteral("end\n");
}

struct Hostile {
  const char* object;
  const char* property;
  long long value;
};

class HostileBounds : public ::testing::TestWithParam<Hostile> {
 protected:
  void SetUp() override {
    RegisterStandardControls();
    KvgradientUnit().Require();
  }
};

TEST_P(HostileBounds, ReadShowPaintClickAndWriteBack) {
  const Hostile& h = GetParam();
  const QString text = Description(QLatin1String(h.object), QLatin1String(h.property), h.value);
  TForm form(nullptr);
  ReadComponentFromText(text, &form, "HOSTILE");
  form.Show();
  form.Widget()->grab();  // paints every control
  for (const QPoint p : {QPoint(1, 1), QPoint(20, 75), QPoint(70, 70), QPoint(20, 95)}) {
    QTest::mouseMove(form.Widget(), p);
    QTest::mouseClick(form.Widget(), Qt::LeftButton, {}, p);
  }
  form.Hide();
  // Writing, reading and writing again gives the same text, and positions
  // (and the sizes of what neither fits its text nor has a frame) are kept.
  const QString written = WriteComponentToText(&form);
  TForm again(nullptr);
  ReadComponentFromText(written, &again, "HOSTILE-WRITTEN");
  EXPECT_EQ(WriteComponentToText(&again), written);
  const QLatin1String property(h.property), object(h.object);
  const bool position = property == QLatin1String("Left") || property == QLatin1String("Top");
  const bool size = property == QLatin1String("Width") || property == QLatin1String("Height");
  if (position || (size && object != QLatin1String("Form1") && object != QLatin1String("Label1"))) {
    // A shown window takes the place Qt can give it.
    const long long kept = object == QLatin1String("Form1") ? QtCoord(h.value) : h.value;
    const QString expected = QStringLiteral("%1 = %2").arg(QLatin1String(h.property)).arg(kept);
    EXPECT_TRUE(written.contains(expected)) << expected.toStdString() << " not in\n" << written.toStdString();
  }
}

// The values a corrupt description of the calculator's own window produced,
// then every position and size of every kind of control at both ends.
std::vector<Hostile> Cases() {
  std::vector<Hostile> cases = {
      {"Form1", "Font.Height", INT_MIN},  {"Edit1", "Left", INT_MAX},        {"Label1", "Left", INT_MAX},
      {"Form1", "Left", INT_MAX},         {"KvGradient1", "Left", INT_MIN},  {"Image1", "Left", INT_MIN},
      {"Label1", "Font.Height", INT_MIN}, {"Edit1", "Font.Height", INT_MAX},
  };
  for (const char* object : {"Form1", "KvGradient1", "Label1", "Image1", "Edit1"})
    for (const char* property : {"Left", "Top", "Width", "Height"})
      for (long long value : {(long long)INT_MIN, (long long)INT_MAX})
        cases.push_back({object, property, value});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(ExtremeInts, HostileBounds, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Hostile>& info) {
                           std::string name = std::string(info.param.object) + "_" + info.param.property +
                                              "_" + (info.param.value < 0 ? "min" : "max");
                           for (char& c : name)
                             if (c == '.') c = '_';
                           return name + "_" + std::to_string(info.index);
                         });

}  // namespace
