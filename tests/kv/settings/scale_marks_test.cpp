#include "kv/settings/scale_marks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kv/settings/val_ind.h"
#include "platform/core/component.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

namespace {

// Records the sender of every report of `object`.
struct Recorder {
  explicit Recorder(TKvPersistent& object) {
    object.SetOnChange([this](TObject* sender) { senders.push_back(sender); });
  }
  std::vector<TObject*> senders;
};

TEST(ScaleMarks, FlexSubStepsAcceptOnlyPositiveValues) {
  TKvFlexScale scale;
  Recorder seen(scale);
  EXPECT_EQ(scale.SubStepAt(), 0.0f);
  EXPECT_EQ(scale.StepMulti(), 0);
  EXPECT_EQ(scale.SubStepsVis(), 0);
  scale.SetSubStepAt(0.0f);
  scale.SetSubStepAt(-2.5f);
  scale.SetSubStepAt(std::nanf(""));
  scale.SetStepMulti(0);
  scale.SetSubStepsVis(-1);
  EXPECT_TRUE(seen.senders.empty());
  EXPECT_EQ(scale.SubStepAt(), 0.0f);
  EXPECT_EQ(scale.StepMulti(), 0);
  EXPECT_EQ(scale.SubStepsVis(), 0);

  scale.SetSubStepAt(0.25f);
  scale.SetStepMulti(1);
  scale.SetSubStepsVis(1);
  scale.SetStepMulti(1);  // unchanged
  EXPECT_EQ(seen.senders.size(), 3u);
  EXPECT_EQ(scale.SubStepAt(), 0.25f);
  EXPECT_EQ(scale.StepMulti(), 1);
}

// Who reports, and how often, for the ways a nested object changes.
TEST(ScaleMarks, NestedChangesReachTheOwnerWithTheirSender) {
  TKvScale scale;
  TKvText text;
  Recorder scaleSeen(scale);
  Recorder textSeen(text);
  TFont other;
  other.SetHeight(-20);
  other.SetColor(clRed);

  scale.SetFont(&other);  // the font's copy, then the scale itself
  ASSERT_EQ(scaleSeen.senders.size(), 2u);
  EXPECT_EQ(scaleSeen.senders[0], scale.Font());
  EXPECT_EQ(scaleSeen.senders[1], &scale);
  scale.SetFont(scale.Font());
  EXPECT_EQ(scaleSeen.senders.size(), 2u);

  text.SetFont(&other);  // only the font reports
  ASSERT_EQ(textSeen.senders.size(), 1u);
  EXPECT_EQ(textSeen.senders[0], text.Font());
  EXPECT_EQ(text.Font()->Height(), -20);

  scaleSeen.senders.clear();
  scale.StepLines()->Pen()->SetColor(RGBColor(0, 0, 255));
  scale.SubStepLines()->SetLength(7);
  ASSERT_EQ(scaleSeen.senders.size(), 2u);
  EXPECT_EQ(scaleSeen.senders[0], scale.StepLines()->Pen());
  EXPECT_EQ(scaleSeen.senders[1], scale.SubStepLines());

  // Equal strings built separately report nothing.
  scaleSeen.senders.clear();
  scale.SetText(QStringLiteral("rpm"));
  scale.SetText(QString("r") + QString("pm"));
  scale.SetFormatStr(QString("##0") + QString(".#"));
  EXPECT_EQ(scaleSeen.senders.size(), 1u);
}

TEST(ScaleMarks, MarksStartWithTheirOwnPens) {
  TKvFlexScale scale;
  EXPECT_EQ(scale.FormatStr(), QStringLiteral("##0.#"));
  EXPECT_EQ(scale.TextAlignment(), toMidCenter);
  EXPECT_EQ(scale.StepLines()->Pen()->Color(), clWhite);
  EXPECT_EQ(scale.StepLines()->Pen()->Width(), 2);
  EXPECT_EQ(scale.SubStepLines()->Pen()->Color(), clSilver);
  EXPECT_EQ(scale.SubStepLines()->Pen()->Width(), 1);
  TKvText text;
  EXPECT_TRUE(text.Visible());
  EXPECT_EQ(text.Pos(), toTopLeft);
}

TEST(ScaleMarks, NoneOfThemCanBeCopied) {
  TKvScale scale;
  TKvFlexScale flex;
  TKvText text;
  TKvValInd readout;
  const struct {
    TPersistent* dest;
    TPersistent* source;
    const char* message;
  } cases[] = {
      {&scale, &flex, "Cannot assign a TKvFlexScale to a TKvScale"},
      {&flex, &scale, "Cannot assign a TKvScale to a TKvFlexScale"},
      {&text, &text, "Cannot assign a TKvText to a TKvText"},
      {&readout, &readout, "Cannot assign a TKvValInd to a TKvValInd"},
  };
  for (const auto& c : cases) {
    try {
      c.dest->Assign(c.source);
      ADD_FAILURE() << c.message;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QString::fromLatin1(c.message));
    }
  }
}

// --- Form descriptions -----------------------------------------------------------

class TMarksHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TKvScale* Scale READ Scale)
  Q_PROPERTY(TKvFlexScale* Flex READ Flex)
  Q_PROPERTY(TKvValInd* Readout READ Readout)
 public:
  Q_INVOKABLE explicit TMarksHolder(TComponent* owner = nullptr) : TComponent(owner) { SetName("Holder1"); }
  TKvScale* Scale() const { return scale_.get(); }
  TKvFlexScale* Flex() const { return flex_.get(); }
  TKvValInd* Readout() const { return readout_.get(); }

 private:
  std::unique_ptr<TKvScale> scale_ = std::make_unique<TKvScale>();
  std::unique_ptr<TKvFlexScale> flex_ = std::make_unique<TKvFlexScale>();
  std::unique_ptr<TKvValInd> readout_ = std::make_unique<TKvValInd>();
};

TEST(ScaleMarksStreaming, DeclaredDefaultsAreLeftOut) {
  TMarksHolder holder;
  const QString text = WriteComponentToText(&holder);
  for (const char* omitted :
       {"Scale.Angle ", "Scale.AngleMode", "Scale.TextOffsetX", "Flex.TextOffsetY", "Scale.FormatStr",
        "Flex.Text ", "Scale.StepLines.Offset", "Flex.StepLines.Visible"})
    EXPECT_FALSE(text.contains(QLatin1String(omitted))) << omitted << "\n" << text.toStdString();
  for (const char* written :
       {"Scale.Text = ''", "Flex.FormatStr = '##0.#'", "Flex.SubStepAt = 0", "Scale.StepLines.Length = 0",
        "Readout.FormatStr = '##0.0'", "Readout.Caption.Visible = True", "Readout.Bevel.Width = 2"})
    EXPECT_TRUE(text.contains(QLatin1String(written))) << written << "\n" << text.toStdString();
}

TEST(ScaleMarksStreaming, ChangedValuesReadBackAndWriteOutIdentically) {
  TMarksHolder holder;
  holder.Scale()->SetAngle(-30);
  holder.Scale()->SetAngleMode(amManual);
  holder.Scale()->SetText(QStringLiteral("0;50;100;"));
  holder.Scale()->StepLines()->SetLength(9);
  holder.Scale()->SubStepLines()->Pen()->SetColor(clRed);
  holder.Flex()->SetSubStepAt(0.1f);
  holder.Flex()->SetStepMulti(5);
  holder.Flex()->SetSubStepsVis(2);
  holder.Flex()->SetFormatStr(QStringLiteral("0e-0"));
  holder.Flex()->SetTextAlignment(toBotRight);
  holder.Flex()->Font()->SetName(QStringLiteral("Arial"));
  holder.Readout()->SetColor(RGBColor(0, 0, 128));
  holder.Readout()->SetOffsetY(-4);
  holder.Readout()->Caption()->SetText(QStringLiteral("Boost"));
  holder.Readout()->Caption()->SetPos(toMidRight);
  holder.Readout()->TxtSpacing()->SetLeft(-3);
  holder.Readout()->Bevel()->SetWidth(1);
  const QString text = WriteComponentToText(&holder);

  TMarksHolder copy;
  ReadComponentFromText(text, &copy, "HOLDER");
  EXPECT_EQ(WriteComponentToText(&copy), text);
  EXPECT_EQ(copy.Flex()->SubStepAt(), 0.1f);
  EXPECT_EQ(copy.Scale()->SubStepLines()->Pen()->Color(), clRed);
  EXPECT_EQ(copy.Readout()->Caption()->Pos(), toMidRight);
}

}  // namespace

#include "scale_marks_test.moc"
