#include "app/calc_filter.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <exception>
#include <limits>
#include <thread>
#include <vector>

#include "app/injection.h"
#include "platform/core/numbers.h"

namespace {

constexpr std::string_view kDivideByZero = "error: time 0 ms divides by zero";
constexpr std::string_view kMalformed = "error: malformed input";
// How much of a bad line a complaint quotes.
constexpr size_t kQuotedLength = 80;
// Input is read in blocks of this size; the complete lines of a block are
// computed in parallel slices.
constexpr size_t kReadSize = size_t(1) << 20;
// A slice smaller than this is not worth a thread of its own.
constexpr size_t kMinSliceSize = size_t(64) << 10;
constexpr unsigned kMaxWorkers = 8;
// A line longer than this is malformed whatever it holds; only its start is
// kept, so that input without line breaks cannot exhaust the memory.
constexpr size_t kMaxLineLength = size_t(1) << 20;

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

// The text of a bad line for a message: control bytes shown as '?', bytes
// above 0x7F as \xHH (the line may be in any encoding, or none, and the
// message must stay plain ASCII on any terminal), long lines cut.
std::string Quote(std::string_view line) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (char c : line.substr(0, kQuotedLength)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      text += "\\x";
      text += kHex[byte >> 4];
      text += kHex[byte & 0xF];
    } else {
      text += (byte < 0x20 || byte == 0x7F) ? '?' : c;
    }
  }
  if (line.size() > kQuotedLength) text += "...";
  return text;
}

// The texts of recently formatted partial values. The same single values
// recur from line to line (B depends on t alone, D on q / c alone), and
// formatting is most of the work of a line.
class TPartialTexts {
 public:
  // The fixed format of precision 2 of `value`, as the window shows it.
  const std::string& Text(float value) {
    const QChar separator = DecimalSeparator();
    if (separator != separator_) {
      // The texts hold the separator: start afresh when it changed.
      for (Entry& entry : entries_) entry.used = false;
      separator_ = separator;
    }
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    Entry& entry = entries_[(bits ^ (bits >> 13)) % entries_.size()];
    if (!entry.used || entry.bits != bits) {
      entry.text = FloatToStrF(value, ffFixed, 2, 2).toStdString();
      entry.bits = bits;
      entry.used = true;
    }
    return entry.text;
  }

 private:
  struct Entry {
    uint32_t bits = 0;
    bool used = false;
    std::string text;
  };
  std::vector<Entry> entries_ = std::vector<Entry>(4093);
  QChar separator_;
};

// What one slice of lines produced.
struct TSlice {
  std::string_view text;  // whole lines; the last one may lack its "\n"
  std::string out;
  uint64_t lines = 0;
  // Malformed lines: number within the slice (from 1) and quoted text.
  std::vector<std::pair<uint64_t, std::string>> malformed;
  std::exception_ptr error;
};

void AppendMalformed(TSlice& slice, std::string_view line) {
  slice.out += kMalformed;
  slice.out += '\n';
  slice.malformed.emplace_back(slice.lines, Quote(line));
}

void ComputeSlice(TSlice& slice) {
  try {
    std::string_view text = slice.text;
    slice.out.reserve(text.size() + text.size() / 2);
    while (!text.empty()) {
      const size_t newline = text.find('\n');
      const std::string_view line = text.substr(0, newline);
      text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
      ++slice.lines;
      TCalcInputs inputs{};
      switch (ParseCalcLine(line, inputs)) {
        case TCalcLine::Blank:
          break;
        case TCalcLine::Inputs:
          AppendCalcOutput(inputs, slice.out);
          break;
        case TCalcLine::Malformed:
          AppendMalformed(slice, line);
          break;
      }
    }
  } catch (...) {
    slice.error = std::current_exception();
  }
}

// Computes blocks of lines and writes their results in input order.
class TCalcWriter {
 public:
  TCalcWriter(std::FILE* out, std::FILE* err) : out_(out), err_(err) {
    const unsigned cores = std::thread::hardware_concurrency();
    workers_ = std::clamp(cores, 1u, kMaxWorkers);
  }

  // `block` holds whole lines (the last may lack its "\n" at the end of input).
  void Compute(std::string_view block) {
    const size_t count = std::clamp<size_t>(block.size() / kMinSliceSize, 1, workers_);
    std::vector<TSlice> slices(count);
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
      size_t end = i + 1 == count ? block.size() : std::max(start, block.size() * (i + 1) / count);
      if (end < block.size()) {
        const size_t newline = block.find('\n', end);
        end = newline == std::string_view::npos ? block.size() : newline + 1;
      }
      slices[i].text = block.substr(start, end - start);
      start = end;
    }
    std::vector<std::thread> threads;
    threads.reserve(count - 1);
    for (size_t i = 1; i < count; ++i) threads.emplace_back(ComputeSlice, std::ref(slices[i]));
    ComputeSlice(slices[0]);
    for (std::thread& thread : threads) thread.join();
    for (TSlice& slice : slices) Write(slice);
  }

  // A line cut at kMaxLineLength.
  void Overlong(std::string_view start) {
    TSlice slice;
    slice.lines = 1;
    AppendMalformed(slice, start);
    Write(slice);
  }

  // Writes what is pending; false if the output failed.
  bool Finish() {
    if (!failedOutput_ && (std::fflush(out_) != 0 || std::ferror(out_))) failedOutput_ = true;
    return !failedOutput_;
  }
  bool Malformed() const { return malformed_; }
  bool OutputFailed() const { return failedOutput_; }

 private:
  void Write(const TSlice& slice) {
    if (slice.error) std::rethrow_exception(slice.error);
    for (const auto& [line, text] : slice.malformed) {
      malformed_ = true;
      std::fprintf(err_, "vort: line %llu: expected five integers \"q i2 t k3 k1\", got \"%s\"\n",
                   static_cast<unsigned long long>(lineNumber_ + line), text.c_str());
    }
    lineNumber_ += slice.lines;
    if (!failedOutput_ && std::fwrite(slice.out.data(), 1, slice.out.size(), out_) != slice.out.size())
      failedOutput_ = true;
  }

  std::FILE* out_;
  std::FILE* err_;
  size_t workers_ = 1;
  uint64_t lineNumber_ = 0;
  bool malformed_ = false;
  bool failedOutput_ = false;
};

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
  // One cache per thread: the filter's workers never share one.
  thread_local TPartialTexts partials;
  const auto values = ComputeInjectionValues(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4]);
  if (!values) {
    out += kDivideByZero;
  } else {
    // The memo and result texts of FormatInjection, built from cached parts.
    out += partials.Text(values->E);
    out += ' ';
    out += partials.Text(values->B);
    out += ' ';
    out += partials.Text(values->D);
    out += '\t';
    out += FloatToStrF(values->S, ffFixed, 3, 2).toStdString();
  }
  out += '\n';
}

int RunCalcFilter(std::FILE* in, std::FILE* out, std::FILE* err) {
  TCalcWriter writer(out, err);
  bool readFailed = false;
  try {
    std::vector<char> chunk(kReadSize);
    std::string pending;  // the start of a line whose end was not read yet
    bool overlong = false;
    std::string overlongStart;
    size_t got = 0;
    while (!writer.OutputFailed() && (got = std::fread(chunk.data(), 1, chunk.size(), in)) > 0) {
      std::string_view data(chunk.data(), got);
      if (overlong) {
        // Skip to the end of the line that was too long.
        const size_t newline = data.find('\n');
        if (newline == std::string_view::npos) continue;
        writer.Overlong(overlongStart);
        overlong = false;
        data.remove_prefix(newline + 1);
      }
      pending.append(data);
      const size_t last = pending.rfind('\n');
      if (last != std::string::npos) {
        writer.Compute(std::string_view(pending).substr(0, last + 1));
        pending.erase(0, last + 1);
      }
      if (pending.size() > kMaxLineLength) {
        overlongStart = pending.substr(0, kQuotedLength + 1);
        pending.clear();
        overlong = true;
      }
    }
    readFailed = std::ferror(in) != 0;
    if (overlong)
      writer.Overlong(overlongStart);
    else if (!pending.empty() && !writer.OutputFailed())
      writer.Compute(pending);
  } catch (const std::exception& e) {
    std::fprintf(err, "vort: %s\n", e.what());
    writer.Finish();
    return 1;
  }
  if (readFailed) std::fprintf(err, "vort: cannot read the input\n");
  const bool written = writer.Finish();
  if (!written) std::fprintf(err, "vort: cannot write the output\n");
  return readFailed || !written || writer.Malformed() ? 1 : 0;
}
