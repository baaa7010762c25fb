#include "platform/forms/color_idents.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/core/exceptions.h"
#include "tests/platform/forms/form_test_classes.h"

namespace {

TEST(ColorIdents, EveryNamedColourMapsBothWays) {
  std::set<int32_t> seen;
  int count = 0;
  GetColorValues([&](const QString& ident) {
    ++count;
    TColor color;
    ASSERT_TRUE(IdentToColor(ident, color)) << ident.toStdString();
    EXPECT_TRUE(seen.insert(color.value).second) << "two names for one colour: " << ident.toStdString();
    QString back;
    ASSERT_TRUE(ColorToIdent(color, back));
    EXPECT_EQ(back, ident);
    EXPECT_EQ(StringToColor(ident.toUpper()), color);
  });
  // 16 basic colours, clNone, clDefault and the 25 system colours.
  EXPECT_EQ(count, 43);
}

TEST(ColorIdents, KnownConstantsHaveTheirNames) {
  EXPECT_EQ(ColorToString(clBlack), "clBlack");
  EXPECT_EQ(ColorToString(clWhite), "clWhite");
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(clWindowText), "clWindowText");
  EXPECT_EQ(ColorToString(cl3DDkShadow), "cl3DDkShadow");
  EXPECT_EQ(ColorToString(clInfoBk), "clInfoBk");
  EXPECT_EQ(ColorToString(clNone), "clNone");
}

TEST(ColorIdents, OtherValuesAreEightHexDigits) {
  EXPECT_EQ(ColorToString(RGBColor(226, 226, 226)), "$00E2E2E2");
  EXPECT_EQ(ColorToString(RGBColor(1, 2, 3)), "$00030201");
  EXPECT_EQ(ColorToString(TColor(kSystemColorBase | 40)), "$80000028");
  EXPECT_EQ(StringToColor("$00E2E2E2"), RGBColor(226, 226, 226));
  EXPECT_EQ(StringToColor("$80000028"), TColor(kSystemColorBase | 40));
  EXPECT_EQ(StringToColor("65535"), clYellow);
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
}

TEST(ColorIdents, RejectsWhatIsNoColour) {
  for (const char* text : {"", "clMauve", "$", "$123456789", "$12G", "12.5", "0x10"})
    EXPECT_THROW(StringToColor(QString::fromLatin1(text)), EConvertError) << text;
  TColor untouched = clRed;
  EXPECT_FALSE(IdentToColor("Black", untouched));
  EXPECT_EQ(untouched, clRed);
}

}  // namespace
