// The registry store: typed values under backslash key paths, where they are
// kept, the machine-wide files underneath the user's, and the errors of
// reading a value as the wrong type or writing without rights.

#include "platform/storage/registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = qgetenv("VORT_REGISTRY_DIR");
    qputenv("VORT_REGISTRY_DIR", dir_.path().toUtf8());
  }
  void TearDown() override {
    if (previous_.isEmpty())
      qunsetenv("VORT_REGISTRY_DIR");
    else
      qputenv("VORT_REGISTRY_DIR", previous_);
  }
  QByteArray UserFile() const {
    QFile f(dir_.filePath("HKEY_LOCAL_MACHINE.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void WriteSystemFile(const QByteArray& text) {
    QDir().mkpath(dir_.filePath("system"));
    QFile f(dir_.filePath("system/HKEY_LOCAL_MACHINE.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QTemporaryDir dir_;
  QByteArray previous_;
};

TEST_F(RegistryTest, StoreLivesWhereTheVariableSays) {
  EXPECT_EQ(TRegistry::UserStorePath(HKEY_LOCAL_MACHINE), dir_.filePath("HKEY_LOCAL_MACHINE.ini"));
  EXPECT_EQ(TRegistry::SystemStorePaths(HKEY_LOCAL_MACHINE),
            QStringList{dir_.filePath("system/HKEY_LOCAL_MACHINE.ini")});
  EXPECT_TRUE(TRegistry::SystemStorePaths(HKEY_CURRENT_USER).isEmpty());
}

TEST_F(RegistryTest, ValuesRoundTripWithTheirTypesAndAreReadableText) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Kavel VCL\\Data\\TForm1", true));
  const int32_t pos[2] = {-20, 30};
  reg.WriteBinaryData("Position", pos, sizeof pos);
  reg.WriteString("RootDir", "C:\\Kavel\nsecond line");
  reg.WriteExpandString("Path", "$HOME/x");
  reg.WriteInteger("Count", -2);
  reg.WriteValue("Big", {REG_QWORD, QByteArray("\x01\0\0\0\0\0\0\0", 8)});
  reg.WriteString("", "default");
  reg.WriteString("odd=name", "v");
  EXPECT_EQ(UserFile(),
            "[SOFTWARE\\Kavel VCL\\Data\\TForm1]\n"
            "Position=hex:ec,ff,ff,ff,1e,00,00,00\n"
            "RootDir=text:C:\\\\Kavel\\nsecond line\n"
            "Path=expand:$HOME/x\n"
            "Count=dword:fffffffe\n"
            "Big=hex(b):01,00,00,00,00,00,00,00\n"
            "@=text:default\n"
            "odd%3Dname=text:v\n");
  reg.CloseKey();

  TRegistry again;
  ASSERT_TRUE(again.OpenKey("software\\KAVEL VCL\\data\\tform1", false));  // names ignore case
  int32_t back[2] = {0, 0};
  EXPECT_EQ(again.ReadBinaryData("position", back, sizeof back), 8);
  EXPECT_EQ(back[0], -20);
  EXPECT_EQ(back[1], 30);
  EXPECT_EQ(again.ReadString("RootDir"), "C:\\Kavel\nsecond line");
  EXPECT_EQ(again.ReadString("Path"), "$HOME/x");
  EXPECT_EQ(again.ReadInteger("Count"), -2);
  EXPECT_EQ(again.ReadString(""), "default");
  EXPECT_EQ(again.ReadString("odd=name"), "v");
  EXPECT_EQ(again.GetValueNames(),
            (QStringList{"Position", "RootDir", "Path", "Count", "Big", "", "odd=name"}));
  EXPECT_TRUE(again.KeyExists("\\SOFTWARE\\Kavel VCL"));
  EXPECT_FALSE(again.KeyExists("\\SOFTWARE\\Other"));
}

TEST_F(RegistryTest, ReadingAsTheWrongTypeNamesTheValue) {
  WriteSystemFile(
      "[K]\nText=text:abc\nExpand=expand:abc\nInt=dword:00000001\nLong=hex:01,02,03,04,05,06,07,08,09\n"
      "Short=hex:05,00\nQword=hex(b):01,00,00,00,00,00,00,00\nNone=hex(0):\nHand=typed by hand\n");
  TRegistry reg(KEY_READ);
  ASSERT_TRUE(reg.OpenKeyReadOnly("K"));
  struct Case {
    const char* name;
    int size;       // bytes read into an 8-byte buffer, -1: error
    uint8_t first;  // first byte read
  };
  const Case cases[] = {{"Text", -1, 0}, {"Expand", -1, 0}, {"Int", -1, 0},
                        {"Long", -1, 0}, {"Hand", -1, 0},   {"Short", 2, 5},
                        {"Qword", 8, 1}, {"None", 0, 0xAA}, {"Missing", 0, 0xAA}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint8_t buffer[8];
    std::memset(buffer, 0xAA, sizeof buffer);
    try {
      EXPECT_EQ(reg.ReadBinaryData(c.name, buffer, sizeof buffer), c.size);
      EXPECT_EQ(buffer[0], c.first);
    } catch (const ERegistryException& e) {
      EXPECT_EQ(c.size, -1) << e.what();
      EXPECT_EQ(e.Message(), QStringLiteral("Invalid data type for '%1'").arg(c.name));
    }
  }
  EXPECT_EQ(reg.ReadString("Hand"), "typed by hand");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_THROW(reg.ReadString("Int"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
  try {
    reg.ReadInteger("Missing");
    ADD_FAILURE();
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), "Failed to get data for 'Missing'");
  }
}

TEST_F(RegistryTest, MachineWideValuesAreReadButWritesGoToTheUser) {
  WriteSystemFile("[SOFTWARE\\Kavel VCL]\nRootDir=/opt/kavel\nShared=text:system\n");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Kavel VCL", false));
  EXPECT_EQ(reg.ReadString("RootDir"), "/opt/kavel");
  reg.WriteString("Shared", "mine");
  EXPECT_EQ(reg.ReadString("Shared"), "mine");
  QFile system(dir_.filePath("system/HKEY_LOCAL_MACHINE.ini"));
  ASSERT_TRUE(system.open(QIODevice::ReadOnly));
  EXPECT_EQ(system.readAll(), "[SOFTWARE\\Kavel VCL]\nRootDir=/opt/kavel\nShared=text:system\n");
  EXPECT_EQ(UserFile(), "[SOFTWARE\\Kavel VCL]\nShared=text:mine\n");
  EXPECT_TRUE(reg.DeleteValue("Shared"));
  EXPECT_EQ(reg.ReadString("Shared"), "system");  // the machine-wide value shows again
  EXPECT_FALSE(reg.DeleteValue("RootDir"));       // never removed from the system file
}

TEST_F(RegistryTest, WithoutRightsOpeningFailsAndWritingRaises) {
  // The store's folder cannot be made (a file stands in its way): this holds
  // for every user, the superuser too.
  QFile blocker(dir_.filePath("blocker"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  qputenv("VORT_REGISTRY_DIR", dir_.filePath("blocker/registry").toUtf8());
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Kavel VCL\\Data\\TForm1", true));
  const int32_t pos[2] = {1, 2};
  try {
    reg.WriteBinaryData("Position", pos, sizeof pos);
    ADD_FAILURE() << "wrote without an open key";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), "Failed to set data for 'Position'");
  }
  TRegistry reader(KEY_READ);
  EXPECT_FALSE(reader.OpenKeyReadOnly("SOFTWARE\\Kavel VCL\\Data\\TForm1"));
}

TEST_F(RegistryTest, KeysAreCreatedListedAndDeletedWithTheirSubkeys) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("A\\B\\C", true));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey("A\\B2", true));
  reg.WriteInteger("N", 1);
  ASSERT_TRUE(reg.OpenKey("\\A", false));
  EXPECT_EQ(reg.GetKeyNames(), (QStringList{"B", "B2"}));
  ASSERT_TRUE(reg.OpenKey("b", false));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), "A\\b");
  EXPECT_TRUE(reg.DeleteKey("\\A\\B"));
  EXPECT_FALSE(reg.KeyExists("\\A\\B\\C"));
  EXPECT_TRUE(reg.KeyExists("\\A\\B2"));
}

}  // namespace
