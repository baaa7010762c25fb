#include "kv/core/unit_init.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QVariant>
#include <stdexcept>
#include <string>

#include "kv/core/identification_texts.h"
#include "kv/core/kv_info.h"

namespace {

// Records the order in which test units start and stop.
std::string& Journal() {
  static std::string journal;
  return journal;
}
bool failSecond = false;

TUnit& FirstUnit() {
  static TUnit unit(
      "first", [] { Journal() += "+1"; }, [] { Journal() += "-1"; });
  return unit;
}
TUnit& SecondUnit() {
  static TUnit unit(
      "second",
      [] {
        if (failSecond) throw std::runtime_error("second unit cannot start");
        Journal() += "+2";
      },
      [] { Journal() += "-2"; });
  return unit;
}

TEST(UnitInit, EachInitialisationAndFinalisationRunsOnce) {
  int inits = 0;
  int finals = 0;
  TUnit unit(
      "counted", [&] { ++inits; }, [&] { ++finals; });
  unit.Finalize();  // without holders: nothing
  EXPECT_EQ(finals, 0);
  unit.Initialize();
  unit.Initialize();
  EXPECT_EQ(inits, 1);
  EXPECT_EQ(unit.Count(), 2);
  unit.Finalize();
  EXPECT_EQ(finals, 0);
  EXPECT_TRUE(unit.Initialized());
  unit.Finalize();
  EXPECT_EQ(finals, 1);
  unit.Finalize();
  EXPECT_EQ(finals, 1);
  EXPECT_FALSE(unit.Initialized());

  // A failed initialisation leaves the unit down and can be retried.
  bool fail = true;
  TUnit fragile(
      "fragile",
      [&] {
        if (fail) throw std::runtime_error("no");
      },
      nullptr);
  EXPECT_THROW(fragile.Initialize(), std::runtime_error);
  EXPECT_FALSE(fragile.Initialized());
  fail = false;
  fragile.Initialize();
  EXPECT_TRUE(fragile.Initialized());
  fragile.Finalize();
}

TEST(UnitInit, TheInitObjectRunsRegisteredUnitsInOrderAndStopsThemInReverse) {
  RegisterUnit(FirstUnit());
  RegisterUnit(SecondUnit());
  RegisterUnit(FirstUnit());  // registering twice changes nothing
  Journal().clear();
  {
    TUnitsInitialization units;
    EXPECT_EQ(Journal(), "+1+2");
    EXPECT_TRUE(KvInfoUnit().Initialized());
  }
  EXPECT_EQ(Journal(), "+1+2-2-1");
  EXPECT_FALSE(FirstUnit().Initialized());
}

TEST(UnitInit, AFailingUnitStopsTheOnesAlreadyStarted) {
  RegisterUnit(FirstUnit());
  RegisterUnit(SecondUnit());
  Journal().clear();
  failSecond = true;
  EXPECT_THROW(TUnitsInitialization units, std::runtime_error);
  EXPECT_EQ(Journal(), "+1-1");
  // A program's start-up keeps the error instead, to show it later.
  Journal().clear();
  std::exception_ptr error;
  {
    TUnitsInitialization units(&error);
    EXPECT_EQ(Journal(), "+1-1");
    ASSERT_TRUE(error);
    EXPECT_THROW(std::rethrow_exception(error), std::runtime_error);
  }
  failSecond = false;
  EXPECT_EQ(Journal(), "+1-1");  // nothing held, nothing finalised twice
  EXPECT_FALSE(FirstUnit().Initialized());
  EXPECT_FALSE(SecondUnit().Initialized());
  error = nullptr;
  {
    TUnitsInitialization units(&error);
    EXPECT_FALSE(error);
    EXPECT_TRUE(SecondUnit().Initialized());
  }
  EXPECT_FALSE(FirstUnit().Initialized());
}

TEST(UnitInit, RequireStartsAUnitOnlyWhenNobodyHoldsIt) {
  RegisterUnit(FirstUnit());
  RegisterUnit(SecondUnit());
  Journal().clear();
  {
    TUnitsInitialization units;
    FirstUnit().Require();
    EXPECT_EQ(FirstUnit().Count(), 1);
  }
  EXPECT_EQ(Journal(), "+1+2-2-1");
  FirstUnit().Require();
  FirstUnit().Require();
  EXPECT_EQ(FirstUnit().Count(), 1);
  EXPECT_EQ(Journal(), "+1+2-2-1+1");
  FirstUnit().Finalize();
}

TEST(KvInfo, OneSharedInstanceWithTheLibraryTexts) {
  TKvInfo* info = LoadKavelInfo();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(LoadKavelInfo(), info);
  EXPECT_EQ(info->pName(), QString::fromUtf8(pName));
  EXPECT_EQ(info->pVersion(), QString::fromUtf8(pVersion));
  EXPECT_EQ(info->Copyright(), QString::fromUtf8(Copyright));
  EXPECT_EQ(info->Mail(), QString::fromUtf8(Mail));
  EXPECT_EQ(info->WWW(), QString::fromUtf8(WWW));
  for (const char* text : {pName, pVersion, Copyright, Mail, WWW}) EXPECT_STRNE(text, "");
  EXPECT_EQ(info->property("pName").toString(), info->pName());
  EXPECT_EQ(info->property("WWW").toString(), info->WWW());
}

TEST(KvInfo, FinalisingTheUnitFreesTheInstance) {
  QPointer<TKvInfo> info = LoadKavelInfo();
  ASSERT_FALSE(info.isNull());
  {
    TUnitsInitialization units;  // another holder: the instance stays
    EXPECT_EQ(LoadKavelInfo(), info.data());
  }
  EXPECT_FALSE(info.isNull());
  while (KvInfoUnit().Initialized()) KvInfoUnit().Finalize();
  EXPECT_TRUE(info.isNull());
  TKvInfo* fresh = LoadKavelInfo();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->pName(), QString::fromUtf8(pName));
}

}  // namespace
