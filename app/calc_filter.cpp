#include "app/calc_filter.h"

#include <charconv>
#include <limits>
#include <vector>

#include "app/injection.h"

namespace {

constexpr std::string_view kDivideByZero = "error: time 0 ms divides by zero";
constexpr std::string_view kMalformed = "error: malformed input";
// How much of a bad line a complaint quotes.
constexpr size_t kQuotedLength = 80;
// Output is written in blocks of about this size.
constexpr size_t kFlushSize = 1 << 16;
// A line longer than this is malformed whatever it holds; only its start is
// kept, so that input without line breaks cannot exhaust the memory.
constexpr size_t kMaxLineLength = 1 << 20;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

bool ParseInt32(std::string_view token, int32_t& value) {
  if (!token.empty() && token.front() == '+') {
    token.remove_prefix(1);
    if (!token.empty() && token.front() == '-') return false;
  }
  int64_t wide = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), wide);
  if (error != std::errc() || end != token.data() + token.size()) return false;
  if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max()) return false;
  value = int32_t(wide);
  return true;
}

// The text of a bad line for a message: control bytes shown as '?', long
// lines cut.
std::string Quote(std::string_view line) {
  std::string text;
  for (char c : line.substr(0, kQuotedLength))
    text += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
  if (line.size() > kQuotedLength) text += "...";
  return text;
}

bool Flush(std::string& out, std::FILE* file) {
  const bool ok = out.empty() || std::fwrite(out.data(), 1, out.size(), file) == out.size();
  out.clear();
  return ok;
}

}  // namespace

TCalcLine ParseCalcLine(std::string_view line, TCalcInputs& inputs) {
  size_t count = 0;
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) break;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (count == inputs.size() || !ParseInt32(line.substr(start, i - start), inputs[count]))
      return TCalcLine::Malformed;
    ++count;
  }
  if (count == 0) return TCalcLine::Blank;
  return count == inputs.size() ? TCalcLine::Inputs : TCalcLine::Malformed;
}

void AppendCalcOutput(const TCalcInputs& inputs, std::string& out) {
  const auto texts = ComputeInjection(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4]);
  if (!texts) {
    out += kDivideByZero;
  } else {
    out += texts->memo.toStdString();
    out += '\t';
    out += texts->result.toStdString();
  }
  out += '\n';
}

int RunCalcFilter(std::FILE* in, std::FILE* out, std::FILE* err) {
  std::vector<char> buffer(1 << 16);
  std::string pending;  // an unfinished line carried over to the next block
  std::string output;
  output.reserve(kFlushSize + 256);
  uint64_t lineNumber = 0;
  bool failed = false;
  bool writeFailed = false;

  bool overlong = false;  // `pending` was cut at kMaxLineLength

  auto processLine = [&](std::string_view line) {
    ++lineNumber;
    TCalcInputs inputs{};
    const TCalcLine kind = overlong ? TCalcLine::Malformed : ParseCalcLine(line, inputs);
    overlong = false;
    switch (kind) {
      case TCalcLine::Blank:
        return;
      case TCalcLine::Inputs:
        AppendCalcOutput(inputs, output);
        break;
      case TCalcLine::Malformed:
        failed = true;
        output += kMalformed;
        output += '\n';
        std::fprintf(err, "vort: line %llu: expected five integers \"q i2 t k3 k1\", got \"%s\"\n",
                     static_cast<unsigned long long>(lineNumber), Quote(line).c_str());
        break;
    }
    if (output.size() >= kFlushSize && !Flush(output, out)) writeFailed = true;
  };

  size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0 && !writeFailed) {
    std::string_view block(buffer.data(), got);
    size_t start = 0;
    for (size_t newline = block.find('\n'); newline != std::string_view::npos;
         newline = block.find('\n', start)) {
      if (pending.empty()) {
        processLine(block.substr(start, newline - start));
      } else {
        if (!overlong) pending.append(block.substr(start, newline - start));
        processLine(pending);
        pending.clear();
      }
      start = newline + 1;
    }
    if (!overlong) pending.append(block.substr(start));
    if (pending.size() > kMaxLineLength) {
      pending.resize(kQuotedLength + 1);
      overlong = true;
    }
  }
  if (std::ferror(in)) {
    std::fprintf(err, "vort: cannot read the input\n");
    failed = true;
  }
  if ((!pending.empty() || overlong) && !writeFailed) processLine(pending);
  if (!Flush(output, out) || std::fflush(out) != 0) writeFailed = true;
  if (writeFailed) {
    std::fprintf(err, "vort: cannot write the output\n");
    failed = true;
  }
  return failed ? 1 : 0;
}
