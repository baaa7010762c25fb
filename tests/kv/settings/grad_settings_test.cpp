#include "kv/settings/grad_settings.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

namespace {

// What a listener saw: the sender and the destination's four values.
struct Seen {
  TObject* sender;
  TColor from;
  TColor to;
  bool visible;
  TGradientStyle style;
};

// Fixture: a settings object whose listener records every call.
class GradSettingsTest : public ::testing::Test {
 protected:
  GradSettingsTest() {
    settings_.SetOnChange([this](TObject* sender) {
      seen_.push_back(
          {sender, settings_.ColorFrom(), settings_.ColorTo(), settings_.Visible(), settings_.Style()});
    });
  }
  TKvGradSettings settings_;
  std::vector<Seen> seen_;
};

TEST_F(GradSettingsTest, StartsWithTheTwoGreysNotVisibleInTheFirstStyle) {
  TKvGradSettings fresh;
  EXPECT_EQ(fresh.ColorFrom(), RGBColor(226, 226, 226));
  EXPECT_EQ(fresh.ColorTo(), RGBColor(143, 143, 143));
  EXPECT_FALSE(fresh.Visible());
  EXPECT_EQ(fresh.Style(), gsHorizontal1);
  EXPECT_FALSE(fresh.OnChange().Assigned());
}

TEST_F(GradSettingsTest, EachSetterNotifiesOnceForANewValueAndNeverForTheSame) {
  settings_.SetColorFrom(clRed);
  settings_.SetColorTo(clBtnFace);
  settings_.SetVisible(true);
  settings_.SetStyle(gsDiamond2);
  ASSERT_EQ(seen_.size(), 4u);
  for (const Seen& s : seen_) EXPECT_EQ(s.sender, &settings_);
  // The value is stored before the listener runs.
  EXPECT_EQ(seen_[0].from, clRed);
  EXPECT_EQ(seen_[1].to, clBtnFace);
  EXPECT_TRUE(seen_[2].visible);
  EXPECT_EQ(seen_[3].style, gsDiamond2);

  settings_.SetColorFrom(clRed);
  settings_.SetColorTo(clBtnFace);
  settings_.SetVisible(true);
  settings_.SetStyle(gsDiamond2);
  EXPECT_EQ(seen_.size(), 4u);
}

TEST_F(GradSettingsTest, CopyingNotifiesOncePerDifferingPropertyThenOnceMore) {
  TKvGradSettings source;
  source.SetColorFrom(clYellow);
  source.SetStyle(gsElliptic3);
  settings_.Assign(&source);
  // ColorFrom, Style, and the final change; the listener sees the properties
  // arrive in the order ColorFrom, ColorTo, Visible, Style.
  ASSERT_EQ(seen_.size(), 3u);
  EXPECT_EQ(seen_[0].from, clYellow);
  EXPECT_EQ(seen_[0].style, gsHorizontal1);
  EXPECT_EQ(seen_[1].style, gsElliptic3);
  for (const Seen& s : seen_) EXPECT_EQ(s.sender, &settings_);
  EXPECT_EQ(settings_.ColorFrom(), clYellow);
  EXPECT_EQ(settings_.Style(), gsElliptic3);

  seen_.clear();
  source.SetColorFrom(clRed);
  source.SetColorTo(clBlue);
  source.SetVisible(true);
  source.SetStyle(gsVertical2);
  source.AssignTo(&settings_);
  ASSERT_EQ(seen_.size(), 5u);
  EXPECT_EQ(seen_[0].from, clRed);
  EXPECT_EQ(seen_[0].to, RGBColor(143, 143, 143));
  EXPECT_EQ(seen_[1].to, clBlue);
  EXPECT_FALSE(seen_[1].visible);
  EXPECT_TRUE(seen_[2].visible);
  EXPECT_EQ(seen_[2].style, gsElliptic3);
  EXPECT_EQ(seen_[3].style, gsVertical2);
}

TEST_F(GradSettingsTest, CopyingEqualObjectsNotifiesOnce) {
  TKvGradSettings source;
  settings_.Assign(&source);
  EXPECT_EQ(seen_.size(), 1u);
  settings_.Assign(&settings_);  // onto itself: nothing differs
  EXPECT_EQ(seen_.size(), 2u);
}

// A descendant is a gradient settings object too.
class TDerivedGradSettings : public TKvGradSettings {
  Q_OBJECT
};

TEST_F(GradSettingsTest, CopiesIntoDescendants) {
  TDerivedGradSettings dest;
  int calls = 0;
  dest.SetOnChange([&](TObject*) { ++calls; });
  settings_.SetVisible(true);
  dest.Assign(&settings_);
  EXPECT_TRUE(dest.Visible());
  EXPECT_EQ(calls, 2);
}

TEST_F(GradSettingsTest, CopyingIntoAnotherClassRaisesTheAssignmentError) {
  TKvPersistent other;
  try {
    settings_.AssignTo(&other);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TKvGradSettings to a TKvPersistent"));
  }
  try {
    settings_.Assign(&other);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TKvPersistent to a TKvGradSettings"));
  }
  EXPECT_TRUE(seen_.empty());
}

// --- Form descriptions ------------------------------------------------------------

class TGradHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TKvGradSettings* Grad READ Grad)
 public:
  Q_INVOKABLE explicit TGradHolder(TComponent* owner = nullptr) : TComponent(owner) {}
  TKvGradSettings* Grad() const { return grad_.get(); }

 private:
  std::unique_ptr<TKvGradSettings> grad_ = std::make_unique<TKvGradSettings>();
};

TEST(GradSettingsStreaming, InitialColoursAreLeftOutVisibleAndStyleAreWritten) {
  TGradHolder holder;
  holder.SetName("Holder1");
  const QString text = WriteComponentToText(&holder);
  EXPECT_TRUE(text.contains("Grad.Visible = False")) << text.toStdString();
  EXPECT_TRUE(text.contains("Grad.Style = gsHorizontal1")) << text.toStdString();
  EXPECT_FALSE(text.contains("ColorFrom")) << text.toStdString();
  EXPECT_FALSE(text.contains("ColorTo")) << text.toStdString();
}

TEST(GradSettingsStreaming, ChangedValuesRoundTrip) {
  TGradHolder holder;
  holder.SetName("Holder1");
  holder.Grad()->SetColorFrom(clBtnFace);
  holder.Grad()->SetColorTo(RGBColor(1, 2, 3));
  holder.Grad()->SetVisible(true);
  holder.Grad()->SetStyle(gsTopRight);
  const QString text = WriteComponentToText(&holder);
  EXPECT_TRUE(text.contains("Grad.ColorFrom = clBtnFace")) << text.toStdString();

  TGradHolder copy;
  int calls = 0;
  copy.Grad()->SetOnChange([&](TObject*) { ++calls; });
  ReadComponentFromText(text, &copy, "HOLDER");
  EXPECT_EQ(copy.Grad()->ColorFrom(), clBtnFace);
  EXPECT_EQ(copy.Grad()->ColorTo(), RGBColor(1, 2, 3));
  EXPECT_TRUE(copy.Grad()->Visible());
  EXPECT_EQ(copy.Grad()->Style(), gsTopRight);
  EXPECT_EQ(calls, 4);  // read through the setters
}

}  // namespace

#include "grad_settings_test.moc"
