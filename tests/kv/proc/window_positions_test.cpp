// Window positions in the registry, and the procedure unit's start-up values.

#include "kv/proc/window_positions.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "kv/proc/proc_values.h"
#include "platform/storage/registry.h"

namespace {

// A registry of its own in a temporary folder and a 1920 x 1080 screen.
class StoreFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previousDir_ = qgetenv("VORT_REGISTRY_DIR");
    qputenv("VORT_REGISTRY_DIR", dir_.path().toUtf8());
    previousScreen_ = KvSetScreenSizeSource([] { return QSize(1920, 1080); });
  }
  void TearDown() override {
    KvSetScreenSizeSource(previousScreen_);
    if (previousDir_.isEmpty())
      qunsetenv("VORT_REGISTRY_DIR");
    else
      qputenv("VORT_REGISTRY_DIR", previousDir_);
  }
  void Store(const QString& key, const char* name, const TRegValue& value) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteValue(QString::fromLatin1(name), value);
  }
  std::optional<TRegValue> Stored(const QString& key, const char* name) {
    TRegistry reg(KEY_READ);
    if (!reg.OpenKeyReadOnly(key)) return std::nullopt;
    return reg.ReadValue(QString::fromLatin1(name));
  }
  QTemporaryDir dir_;
  QByteArray previousDir_;
  TScreenSizeSource previousScreen_;
};

QByteArray Pos(int32_t left, int32_t top) {
  QByteArray b(8, '\0');
  qToLittleEndian(left, b.data());
  qToLittleEndian(top, b.data() + 4);
  return b;
}

const QString kFormKey = QStringLiteral("SOFTWARE\\Kavel VCL\\Data\\TForm");

TEST(ClampFormPos, PullsTheWindowOntoTheScreenRightAndBottomLast) {
  struct Case {
    TPoint in;
    int width, height;
    TPoint out;
  };
  const Case cases[] = {
      {{-20, 30}, 400, 300, {0, 30}},       {{1900, 100}, 400, 300, {1520, 100}},
      {{0, 0}, 2000, 300, {-80, 0}},         // wider than the screen
      {{-50, -50}, 400, 1200, {0, -120}},    // taller than the screen
      {{1520, 780}, 400, 300, {1520, 780}},  // touching the corner stays
      {{1521, 781}, 400, 300, {1520, 780}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in.X << "," << c.in.Y << " " << c.width << "x" << c.height);
    EXPECT_EQ(KvClampFormPos(c.in, c.width, c.height, QSize(1920, 1080)), c.out);
  }
  EXPECT_EQ(KvClampFormPos({5000, -3}, 400, 300, QSize()), TPoint(5000, 0));  // no screen known
}

TEST_F(StoreFixture, SaveStoresTheClampedPosition) {
  struct Case {
    int left, top, width;
    QByteArray stored;
  };
  const Case cases[] = {
      {-20, 30, 400, Pos(0, 30)}, {1900, 100, 400, Pos(1520, 100)}, {0, 5, 2000, Pos(-80, 5)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    TForm form;
    form.SetBounds(c.left, c.top, c.width, 300);
    KvSaveFormPos(&form);
    const auto v = Stored(kFormKey, "Position");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->Kind, REG_BINARY);
    EXPECT_EQ(v->Data, c.stored);
    EXPECT_EQ(form.Left(), c.left);  // saving does not move the window
  }
}

TEST_F(StoreFixture, LoadMovesToTheStoredPositionOrRefusesWrongValues) {
  struct Case {
    const char* name;
    std::optional<TRegValue> stored;  // nothing: no value at all
    TPoint start;
    int width;
    TPoint expected;
    const char* error;
  };
  const Case cases[] = {
      {"stored and clamped", TRegValue{REG_BINARY, Pos(1900, 100)}, {10, 10}, 400, {1520, 100}, nullptr},
      {"nothing stored: clamped only", std::nullopt, {-5, 2000}, 400, {0, 780}, nullptr},
      {"short value replaces its first bytes",
       TRegValue{REG_BINARY, QByteArray("\x05\x00", 2)},
       {100, 200},
       400,
       {5, 200},
       nullptr},
      {"other 8-byte kind is read", TRegValue{REG_QWORD, Pos(7, 8)}, {100, 200}, 400, {7, 8}, nullptr},
      {"wide window to -80", TRegValue{REG_BINARY, Pos(0, 0)}, {1, 1}, 2000, {-80, 0}, nullptr},
      {"text",
       TRegValue{REG_SZ, "12345678"},
       {100, 200},
       400,
       {100, 200},
       "Invalid data type for 'Position'"},
      {"expandable text",
       TRegValue{REG_EXPAND_SZ, "12345678"},
       {100, 200},
       400,
       {100, 200},
       "Invalid data type for 'Position'"},
      {"integer",
       TRegValue{REG_DWORD, QByteArray(4, '\0')},
       {100, 200},
       400,
       {100, 200},
       "Invalid data type for 'Position'"},
      {"too long",
       TRegValue{REG_BINARY, Pos(1, 2) + 'x'},
       {100, 200},
       400,
       {100, 200},
       "Invalid data type for 'Position'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      TRegistry reg;
      reg.DeleteKey(kFormKey);
    }
    if (c.stored) Store(kFormKey, "Position", *c.stored);
    TForm form;
    form.SetBounds(c.start.X, c.start.Y, c.width, 300);
    try {
      KvLoadFormPos(&form);
      EXPECT_EQ(c.error, nullptr) << "no error raised";
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), QString::fromLatin1(c.error ? c.error : "<none>"));
    }
    EXPECT_EQ(TPoint(form.Left(), form.Top()), c.expected);
    EXPECT_EQ(form.Width(), c.width);
    EXPECT_EQ(form.Height(), 300);
  }
}

TEST_F(StoreFixture, SaveWhereTheStoreCannotBeWrittenRaises) {
  QFile blocker(dir_.filePath("blocker"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  qputenv("VORT_REGISTRY_DIR", dir_.filePath("blocker/registry").toUtf8());
  TForm form;
  form.SetBounds(10, 10, 100, 100);
  try {
    KvSaveFormPos(&form);
    ADD_FAILURE() << "saved without rights";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), "Failed to set data for 'Position'");
  }
  KvLoadFormPos(&form);  // a key that cannot be opened counts as missing
  EXPECT_EQ(TPoint(form.Left(), form.Top()), TPoint(10, 10));
}

TEST_F(StoreFixture, StartUpReadsTheLibraryFolder) {
  struct Case {
    const char* name;
    std::optional<TRegValue> rootDir;
    const char* kvkRoot;
    const char* vclRoot;
    const char* error;
  };
  const Case cases[] = {
      {"no RootDir", std::nullopt, "", "\\CB6", nullptr},
      {"RootDir set", TRegValue{REG_SZ, "/opt/kavel"}, "/opt/kavel", "/opt/kavel\\CB6", nullptr},
      {"expandable text", TRegValue{REG_EXPAND_SZ, "/usr/kavel"}, "/usr/kavel", "/usr/kavel\\CB6", nullptr},
      {"integer RootDir", TRegValue{REG_DWORD, QByteArray(4, '\0')}, "", "",
       "Invalid data type for 'RootDir'"},
  };
  KvprocUnit().Require();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      TRegistry reg;
      reg.DeleteKey(QString::fromLatin1(KavelRootPath));
    }
    if (c.rootDir) Store(QString::fromLatin1(KavelRootPath), "RootDir", *c.rootDir);
    KvprocUnit().Finalize();
    try {
      KvprocUnit().Initialize();
      EXPECT_EQ(c.error, nullptr);
      EXPECT_EQ(KvkRoot(), QString::fromLatin1(c.kvkRoot));
      EXPECT_EQ(VCLRoot(), QString::fromLatin1(c.vclRoot));
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), QString::fromLatin1(c.error ? c.error : "<none>"));
      EXPECT_FALSE(KvprocUnit().Initialized());
    }
  }
  TRegistry().DeleteKey(QString::fromLatin1(KavelRootPath));
  if (!KvprocUnit().Initialized()) KvprocUnit().Initialize();
  // The program's folder, with the trailing separator.
  EXPECT_EQ(AppPath(), QCoreApplication::applicationDirPath() + u'/');
}

}  // namespace
