// The line filter behind "vort --calc": parsing, output pairing, complaints.

#include "app/calc_filter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
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

TEST_F(CalcFilter, LargeInputsComputedInSlicesKeepTheirOrderAndLineNumbers) {
  // Enough lines for several read blocks, each split among the workers;
  // every 997th line is malformed. The result must be what computing line
  // after line gives.
  std::string input;
  std::string expected;
  std::vector<size_t> badLines;
  for (int i = 1; i <= 300000; ++i) {
    if (i % 997 == 0) {
      input += "bad " + std::to_string(i) + "\n";
      expected += "error: malformed input\n";
      badLines.push_back(size_t(i));
      continue;
    }
    const TCalcInputs in{20 + i % 981, i % 7 - 1, i % 26, i % 4 - 1, -(i % 2)};
    input += std::to_string(in[0]) + ' ' + std::to_string(in[1]) + ' ' + std::to_string(in[2]) + ' ' +
             std::to_string(in[3]) + ' ' + std::to_string(in[4]) + '\n';
    AppendCalcOutput(in, expected);
  }
  const Filtered f = Filter(input);
  EXPECT_EQ(f.status, 1);
  EXPECT_TRUE(f.out == expected) << "output differs from the line-by-line result";
  size_t complaints = 0;
  for (size_t at = f.err.find("line "); at != std::string::npos; at = f.err.find("line ", at + 1))
    ++complaints;
  EXPECT_EQ(complaints, badLines.size());
  for (size_t line : {badLines.front(), badLines[badLines.size() / 2], badLines.back()})
    EXPECT_NE(f.err.find("line " + std::to_string(line) + ": "), std::string::npos) << line;
}

}  // namespace
