#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "kv/core/kv_persistent.h"
#include "platform/graphics/font.h"

namespace {

// A settings object that owns a font, as the text and value read-out
// settings do: the font reports through ChangeObject, and re-assigning the
// whole font reports once more with the settings object itself as sender.
class TTextSettings : public TKvPersistent {
 public:
  TTextSettings() : font_(std::make_unique<TFont>()) { font_->SetOnChange(ChangeObjectHandler()); }
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value) {
    font_->Assign(value);
    ChangeObject(this);
  }

 private:
  std::unique_ptr<TFont> font_;
};

TEST(NestedFont, FontChangesArriveWithTheFontAsSender) {
  TTextSettings settings;
  std::vector<TObject*> senders;
  settings.SetOnChange([&](TObject* sender) { senders.push_back(sender); });
  settings.Font()->SetColor(clRed);
  settings.Font()->SetHeight(-20);
  ASSERT_EQ(senders.size(), 2u);
  EXPECT_EQ(senders[0], settings.Font());
  EXPECT_EQ(senders[1], settings.Font());
}

TEST(NestedFont, ReassigningTheFontEndsWithTheSettingsObjectAsSender) {
  TTextSettings settings;
  TFont other;
  other.SetColor(clLime);
  other.SetHeight(-15);
  std::vector<TObject*> senders;
  settings.SetOnChange([&](TObject* sender) { senders.push_back(sender); });
  settings.SetFont(&other);
  EXPECT_EQ(settings.Font()->Color(), clLime);
  EXPECT_EQ(settings.Font()->Height(), -15);
  ASSERT_FALSE(senders.empty());
  EXPECT_EQ(senders.back(), &settings);
  for (size_t i = 0; i + 1 < senders.size(); ++i) EXPECT_EQ(senders[i], settings.Font());
}

}  // namespace
