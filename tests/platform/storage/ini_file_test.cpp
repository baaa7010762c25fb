// The ini file: what its lines mean when read, what a rewrite keeps, the
// typed reads and writes, and the names and values that a line cannot hold.

#include "platform/storage/ini_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/storage/ini_document.h"

namespace {

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

struct ReadCase {
  const char* text;
  const char* section;
  const char* key;
  const char* expected;  // nullptr: not found
};

TEST(IniDocument, ReadsSectionsAndKeysAsIniUsersExpect) {
  const ReadCase cases[] = {
      {"[Gauge]\nMax=100\n", "Gauge", "Max", "100"},
      {"[Gauge]\nMax=100\n", "gauge", "MAX", "100"},                      // case-insensitive
      {"  [ Gauge ]  \n  Max  =  100  \n", "Gauge", "Max", "100"},        // trimmed
      {"[Gauge]\r\nMax=100\r\n", "Gauge", "Max", "100"},                  // CRLF
      {"\xEF\xBB\xBF[Gauge]\nMax=1\n", "Gauge", "Max", "1"},              // byte order mark
      {"[Gauge]\nName=\"  spaced  \"\n", "Gauge", "Name", "  spaced  "},  // quotes keep spaces
      {"[Gauge]\nName='x'\n", "Gauge", "Name", "x"},
      {"[Gauge]\nName=\"x'\n", "Gauge", "Name", "\"x'"},  // unmatched quotes stay
      {"[Gauge]\nUrl=a=b=c\n", "Gauge", "Url", "a=b=c"},  // first "=" splits
      {"[Gauge]\nEmpty=\n", "Gauge", "Empty", ""},
      {"[Gauge]\n;Max=1\n#Min=2\n", "Gauge", "Max", nullptr},  // comments
      {"[Gauge]\nMin=2\n", "Gauge", "Min", "2"},
      {"[A]\nX=1\n[B]\nX=2\n", "B", "X", "2"},
      {"[A]\nX=1\n[B]\n[a]\nX=3\nY=4\n", "A", "Y", "4"},  // repeated section is one
      {"[A]\nX=1\nX=2\n", "A", "X", "1"},                 // first line counts
      {"Top=1\n[A]\nX=1\n", "", "Top", "1"},              // before any header
      {"[A\nX=1\n", "A", "X", nullptr},                   // broken header
      {"[A]\nX=1\n", "A", "Y", nullptr},
      {"[Caf\xC3\xA9]\nK=\xC3\xA9t\xC3\xA9\n", "Caf\xC3\xA9", "K", "\xC3\xA9t\xC3\xA9"},  // UTF-8
      {"[A]\nX=1", "A", "X", "1"},                                                        // no final line end
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.text);
    const auto doc = TIniDocument::Parse(QByteArray(c.text));
    const auto value = doc.Value(QString::fromUtf8(c.section), QString::fromUtf8(c.key));
    if (!c.expected)
      EXPECT_FALSE(value.has_value());
    else
      EXPECT_EQ(value.value_or(QStringLiteral("<none>")), QString::fromUtf8(c.expected));
  }
}

TEST(IniDocument, Latin1LinesReadAsLatin1) {
  const auto doc = TIniDocument::Parse(QByteArray("[A]\nK=caf\xE9\n"));
  EXPECT_EQ(doc.Value("A", "K").value_or(""), QString::fromUtf8("caf\xC3\xA9"));
}

struct RewriteCase {
  const char* name;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

TEST(IniFile, RewriteChangesOnlyTheLineConcerned) {
  const RewriteCase cases[] = {
      {"new file", "", "A", "K", "1", "[A]\nK=1\n"},
      {"value replaced, spacing and comments kept", "; settings\n[A]\nK = 1 ; not a comment\n# end\n", "A",
       "k", "2", "; settings\n[A]\nK = 2\n# end\n"},
      {"new key after the section's last value", "[A]\nX=1\n\n; about B\n[B]\nY=2\n", "a", "Z", "3",
       "[A]\nX=1\nZ=3\n\n; about B\n[B]\nY=2\n"},
      {"new section at the end, set off", "[A]\nX=1", "B", "Y", "2", "[A]\nX=1\n\n[B]\nY=2\n"},
      {"CRLF file stays CRLF", "[A]\r\nX=1\r\n", "A", "Y", "2", "[A]\r\nX=1\r\nY=2\r\n"},
      {"byte order mark kept", "\xEF\xBB\xBF[A]\nX=1\n", "A", "X", "5", "\xEF\xBB\xBF[A]\nX=5\n"},
      {"unknown and Latin-1 lines kept byte for byte", "garbage line\n[A]\nN=caf\xE9\nX=1\n", "A", "X", "2",
       "garbage line\n[A]\nN=caf\xE9\nX=2\n"},
      {"leading spaces quoted", "[A]\n", "A", "X", " x ", "[A]\nX=\" x \"\n"},
      {"quoted value quoted again", "[A]\n", "A", "X", "\"q\"", "[A]\nX=\"\"q\"\"\n"},
      {"key into an empty section", "[A]\n[B]\n", "A", "X", "1", "[A]\nX=1\n[B]\n"},
      {"unchanged value leaves the file alone", "[A]\nX = 1\n", "A", "X", "1", "[A]\nX = 1\n"},
  };
  QTemporaryDir dir;
  for (const RewriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QStringLiteral("rewrite.ini"));
    QFile::remove(path);
    if (*c.before) WriteFile(path, c.before);
    TIniFile ini(path);
    ini.WriteString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString::fromUtf8(c.value));
    EXPECT_EQ(ReadFile(path), QByteArray(c.after));
    EXPECT_EQ(ini.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), "<none>"),
              QString::fromUtf8(c.value));
  }
}

TEST(IniFile, TypedReadsFallBackToTheDefault) {
  QTemporaryDir dir;
  const QString path = dir.filePath("typed.ini");
  WriteFile(path,
            "[T]\nDec=-42\nHex=0x1F\nDollar=$FFFFFFFF\nBig=4294967296\nWord=abc\nYes=yes\nOff=OFF\n"
            "Two=2\nFloat=2.5\nComma=2,5\nBadFloat=2.5x\nBin=00ff10\nOddBin=0f0\n");
  const TIniFile ini(path);
  struct IntCase {
    const char* key;
    int expected;
  };
  for (const IntCase& c : {IntCase{"Dec", -42}, IntCase{"Hex", 31}, IntCase{"Dollar", -1}, IntCase{"Big", 7},
                           IntCase{"Word", 7}, IntCase{"Missing", 7}}) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.ReadInteger("t", c.key, 7), c.expected);
  }
  struct BoolCase {
    const char* key;
    bool deflt, expected;
  };
  for (const BoolCase& c :
       {BoolCase{"Yes", false, true}, BoolCase{"Off", true, false}, BoolCase{"Two", false, true},
        BoolCase{"Word", true, true}, BoolCase{"Word", false, false}}) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.ReadBool("T", c.key, c.deflt), c.expected);
  }
  EXPECT_EQ(ini.ReadFloat("T", "Float", 0), 2.5);
  EXPECT_EQ(ini.ReadFloat("T", "Comma", 0), 2.5);
  EXPECT_EQ(ini.ReadFloat("T", "BadFloat", -1), -1);
  EXPECT_EQ(ini.ReadBinary("T", "Bin", {}), QByteArray("\x00\xff\x10", 3));
  EXPECT_EQ(ini.ReadBinary("T", "OddBin", "d"), QByteArray("d"));
}

TEST(IniFile, TypedWritesReadBackExactly) {
  QTemporaryDir dir;
  TIniFile ini(dir.filePath("roundtrip.ini"));
  const double values[] = {0.1, -1e-300, 1.0 / 3.0, 123456789.125};
  for (double v : values) {
    ini.WriteFloat("F", "V", v);
    EXPECT_EQ(ini.ReadFloat("F", "V", 0), v);
  }
  for (int v : {0, -1, INT32_MIN, INT32_MAX}) {
    ini.WriteInteger("I", "V", v);
    EXPECT_EQ(ini.ReadInteger("I", "V", 5), v);
  }
  ini.WriteBool("B", "V", true);
  EXPECT_TRUE(ini.ReadBool("B", "V", false));
  const QDateTime when(QDate(2024, 5, 1), QTime(13, 45, 7, 250));
  ini.WriteDateTime("D", "V", when);
  EXPECT_EQ(ini.ReadDateTime("D", "V", QDateTime()), when);
  const QByteArray bytes("\x00\x01\xfe", 3);
  ini.WriteBinary("Bin", "V", bytes);
  EXPECT_EQ(ini.ReadBinary("Bin", "V", {}), bytes);
  EXPECT_EQ(ini.ReadSections(), (QStringList{"F", "I", "B", "D", "Bin"}));
}

TEST(IniFile, SectionsListsAndErasing) {
  QTemporaryDir dir;
  const QString path = dir.filePath("lists.ini");
  WriteFile(path, "; head\n[A]\nX=1\nY=2\n[B]\nZ=3\n[a]\nx=9\nW=4\n");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadSections(), (QStringList{"A", "B"}));
  EXPECT_EQ(ini.ReadSection("a"), (QStringList{"X", "Y", "W"}));
  EXPECT_EQ(ini.ReadSectionValues("A"), (QStringList{"X=1", "Y=2", "W=4"}));
  EXPECT_TRUE(ini.SectionExists("b"));
  EXPECT_TRUE(ini.ValueExists("B", "z"));
  ini.DeleteKey("A", "x");
  EXPECT_FALSE(ini.ValueExists("A", "X"));
  ini.EraseSection("A");
  EXPECT_EQ(ReadFile(path), QByteArray("; head\n[B]\nZ=3\n"));
  TIniFile missing(dir.filePath("none/missing.ini"));
  EXPECT_EQ(missing.ReadString("A", "X", "d"), "d");
  missing.EraseSection("A");  // nothing to erase: no error, no file
  EXPECT_FALSE(QFile::exists(missing.FileName()));
}

TEST(IniFile, RefusesWhatALineCannotHold) {
  QTemporaryDir dir;
  const QString path = dir.filePath("refuse.ini");
  WriteFile(path, "[A]\nX=1\n");
  TIniFile ini(path);
  struct Case {
    const char *section, *key, *value, *why;
  };
  const Case cases[] = {
      {"A", "X", "two\nlines", "a value cannot contain a line break"},
      {"A", "K=V", "1", "a key cannot contain \"=\""},
      {"A", " ", "1", "a key cannot be empty"},
      {"A", ";K", "1", "a key cannot begin with \";\""},
      {"A]", "K", "1", "a section name cannot contain \"]\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    try {
      ini.WriteString(c.section, c.key, c.value);
      ADD_FAILURE() << "accepted";
    } catch (const EIniFileException& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Cannot write [%1] %2 to %3: %4")
                                 .arg(c.section, c.key, QDir::toNativeSeparators(path), c.why));
    }
  }
  EXPECT_EQ(ReadFile(path), QByteArray("[A]\nX=1\n"));
  // A folder that does not exist is not created.
  TIniFile nowhere(dir.filePath("no/such/dir.ini"));
  try {
    nowhere.WriteString("A", "X", "1");
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const EIniFileException& e) {
    EXPECT_TRUE(e.Message().startsWith("Unable to write to " + QDir::toNativeSeparators(nowhere.FileName())))
        << e.what();
  }
}

}  // namespace
