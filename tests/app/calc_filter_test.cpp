// The line filter behind "vort --calc": parsing, output pairing, complaints.

#include "app/calc_filter.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/numbers.h"

namespace {

TEST(CalcLine, FiveThirtyTwoBitIntegersSeparatedByBlanks) {
  TCalcInputs in{};
  EXPECT_EQ(ParseCalcLine("100 1 14 2 0", in), TCalcLine::Inputs);
  EXPECT_EQ(in, (TCalcInputs{100, 1, 14, 2, 0}));
  EXPECT_EQ(ParseCalcLine("\t-2147483648  +2147483647 0 -0 7 \r", in), TCalcLine::Inputs);
  EXPECT_EQ(in,
            (TCalcInputs{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 0, 0, 7}));
  EXPECT_EQ(ParseCalcLine("", in), TCalcLine::Blank);
  EXPECT_EQ(ParseCalcLine(" \t\r", in), TCalcLine::Blank);

  for (const char* bad :
       {"1 2 3 4", "1 2 3 4 5 6", "1 2 3 4 x", "1 2 3 4 2147483648", "1 2 3 4 -2147483649", "1 2 3 4 +-5",
        "1 2 3 4 5.0", "1,2,3,4,5", "1 2 3 4 0x10", "1 2 3 4 +", "1 2 3 4 -"})
    EXPECT_EQ(ParseCalcLine(bad, in), TCalcLine::Malformed) << bad;
}

// Runs the filter on `input`, returning its status, output and complaints.
struct Filtered {
  int status;
  std::string out;
  std::string err;
};

std::string ReadAll(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  return text;
}

Filtered Filter(const std::string& input) {
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  Filtered result{RunCalcFilter(in, out, err), ReadAll(out), ReadAll(err)};
  std::fclose(in);
  std::fclose(out);
  std::fclose(err);
  return result;
}

class CalcFilter : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(u'.'); }
  void TearDown() override { ResetSeparators(); }
};

TEST_F(CalcFilter, OneOutputLinePerInputLine) {
  const Filtered f = Filter("100 1 14 2 0\n60 1 10 0 0\n\n1000 0 5 2 0\n20 4 30 0 -1\n1000 -1 5 2 0");
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.out,
            "2.00 0.00 0.00\t1.97\n1.50 -0.10 0.48\t1.88\n73.00 -0.22 -2.00\t71.10\n0.03 0.36 0.90\t1.29\n"
            "2.2E2 -0.22 2.00\t222.00\n");
  EXPECT_EQ(f.err, "");
}

TEST_F(CalcFilter, TimeZeroIsAnErrorLineNotACrash) {
  const Filtered f = Filter("1 1 0 1 1\n100 1 14 2 0\n");
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.out, "error: time 0 ms divides by zero\n2.00 0.00 0.00\t1.97\n");
}

TEST_F(CalcFilter, MalformedLinesAreNamedAndTheRestIsComputed) {
  const Filtered f = Filter("100 1 14 2 0\nhello\x01 world\n100 1 14 2 0\n");
  EXPECT_EQ(f.status, 1);
  EXPECT_EQ(f.out, "2.00 0.00 0.00\t1.97\nerror: malformed input\n2.00 0.00 0.00\t1.97\n");
  EXPECT_NE(f.err.find("line 2"), std::string::npos) << f.err;
  EXPECT_NE(f.err.find("hello? world"), std::string::npos) << f.err;
}

// The complaint quotes a bad line in plain ASCII whatever bytes it holds.
TEST_F(CalcFilter, MalformedLinesAreQuotedInAscii) {
  const struct {
    std::string line;
    std::string quoted;
  } cases[] = {
      {"caf\xC3\xA9 1 2", "\"caf\\xC3\\xA9 1 2\""},
      {"\xFF\x80\x7F\x1B x", "\"\\xFF\\x80?? x\""},
      {"1 2 3 4 \xE9", "\"1 2 3 4 \\xE9\""},
  };
  for (const auto& c : cases) {
    const Filtered f = Filter(c.line + "\n");
    EXPECT_EQ(f.status, 1);
    EXPECT_NE(f.err.find(c.quoted), std::string::npos) << f.err;
    for (unsigned char byte : f.err) EXPECT_LT(byte, 0x80) << f.err;
  }
}

TEST_F(CalcFilter, LinesAcrossReadBlocksAndOverlongLines) {
  // A line split over the reader's blocks, then a line too long to be held.
  std::string input(70000, ' ');
  input += "100 1 14 2 0\n";
  input += std::string(3u << 20, '7') + "\n";
  input += "60 1 10 0 0";
  const Filtered f = Filter(input);
  EXPECT_EQ(f.status, 1);
  EXPECT_EQ(f.out, "2.00 0.00 0.00\t1.97\nerror: malformed input\n1.50 -0.10 0.48\t1.88\n");
  EXPECT_NE(f.err.find("line 2"), std::string::npos);
  EXPECT_LT(f.err.size(), 300u) << "a bad line is quoted only in part";
}

// Every input the window can produce with the listed items: q 20..1000,
// cylinder item -1..4, t 5..30, third item 0..2, machine item 0, in this
// nesting order (q outermost).
std::string WindowRangeInputs(int badEvery, std::vector<size_t>& badLines) {
  std::string input;
  size_t line = 0;
  for (int q = 20; q <= 1000; ++q)
    for (int i2 = -1; i2 <= 4; ++i2)
      for (int t = 5; t <= 30; ++t)
        for (int k3 = 0; k3 <= 2; ++k3) {
          input += std::to_string(q) + ' ' + std::to_string(i2) + ' ' + std::to_string(t) + ' ' +
                   std::to_string(k3) + " 0\n";
          if (++line % size_t(badEvery) == 0) {
            input += "bad\n";
            badLines.push_back(++line);
          }
        }
  return input;
}

TEST_F(CalcFilter, WholeWindowRangeGivesTheFrozenOutputInOrder) {
  // The output was checked line by line against an independent
  // implementation of the calculation; its digest freezes it. The input is
  // several read blocks, split among the workers, with a malformed line
  // after every 997th, which must come out in place and be named by number.
  std::vector<size_t> badLines;
  const Filtered f = Filter(WindowRangeInputs(997, badLines));
  EXPECT_EQ(f.status, 1);
  QCryptographicHash digest(QCryptographicHash::Sha256);
  size_t lines = 0, lineNo = 0, bad = 0;
  for (size_t at = 0; at < f.out.size();) {
    const size_t next = f.out.find('\n', at) + 1;
    const std::string_view text(f.out.data() + at, next - at);
    ++lineNo;
    if (bad < badLines.size() && badLines[bad] == lineNo) {
      ASSERT_EQ(text, "error: malformed input\n") << "line " << lineNo;
      ++bad;
    } else {
      digest.addData(QByteArrayView(text.data(), qsizetype(text.size())));
      ++lines;
    }
    at = next;
  }
  EXPECT_EQ(bad, badLines.size());
  EXPECT_EQ(lines, 459108u);
  EXPECT_EQ(digest.result().toHex().toStdString(),
            "ff208e1692e05580e4ce66e9e721aba6c37de86c319ad043cd2ee7b36a6bc9c8");
  size_t complaints = 0;
  for (size_t at = f.err.find("line "); at != std::string::npos; at = f.err.find("line ", at + 1))
    ++complaints;
  EXPECT_EQ(complaints, badLines.size());
  for (size_t line : {badLines.front(), badLines[badLines.size() / 2], badLines.back()})
    EXPECT_NE(f.err.find("line " + std::to_string(line) + ": "), std::string::npos) << line;
}

TEST_F(CalcFilter, LinesWhereSingleRoundingDecidesTheText) {
  // Inputs and their output, verbatim: each text would change if one of
  // the single stores of the calculation were skipped or done elsewhere.
  QFile file(QStringLiteral(":/app_test/calc_rounding_lines.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  std::string input, expected;
  for (const QByteArray& raw : file.readAll().split('\n')) {
    const QList<QByteArray> fields = raw.split('\t');
    if (fields.size() != 3) continue;
    input += fields[0].toStdString() + '\n';
    expected += fields[1].toStdString() + '\t' + fields[2].toStdString() + '\n';
  }
  ASSERT_GT(input.size(), 2000u);
  const Filtered f = Filter(input);
  EXPECT_EQ(f.status, 0);
  // The first line that differs, with its input.
  size_t at = 0, in = 0;
  while (at < expected.size() && f.out.compare(at, expected.find('\n', at) + 1 - at, expected, at,
                                               expected.find('\n', at) + 1 - at) == 0) {
    at = expected.find('\n', at) + 1;
    in = input.find('\n', in) + 1;
  }
  EXPECT_EQ(at, expected.size()) << "input " << input.substr(in, input.find('\n', in) - in) << ": expected "
                                 << expected.substr(at, expected.find('\n', at) - at) << ", got "
                                 << f.out.substr(at, f.out.find('\n', at) - at);
  EXPECT_EQ(f.out.size(), expected.size());
}

}  // namespace
